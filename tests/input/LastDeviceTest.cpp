#include "input/LastDevice.h"

#include <gtest/gtest.h>
#include "TestSupport.h"

namespace {

using testsupport::keyDown;
using testsupport::ofType;
using testsupport::padDown;

SDL_Event stick(Sint16 value) {
    SDL_Event e = ofType(SDL_CONTROLLERAXISMOTION);
    e.caxis.axis = SDL_CONTROLLER_AXIS_LEFTX;
    e.caxis.value = value;
    return e;
}

// The prompts follow what the player's hands last did: a press of a key, a click or a wheel is
// the keyboard; a pad's button or a stick pushed well off centre is the pad.
TEST(LastDevice, ThePadOnceUsedUntilAKeyAClickOrAWheel) {
    LastDevice device;
    EXPECT_FALSE(device.padLast()) << "the keyboard until a pad is used";
    device.see(ofType(SDL_CONTROLLERBUTTONDOWN));
    EXPECT_TRUE(device.padLast());
    for (const Uint32 type : {SDL_KEYDOWN, SDL_MOUSEBUTTONDOWN, SDL_MOUSEWHEEL}) {
        device.see(ofType(SDL_CONTROLLERBUTTONDOWN));
        device.see(ofType(type));
        EXPECT_FALSE(device.padLast()) << "event type " << type;
    }
}

// What a device does without the player's hands on it (a mouse nudged by the desk, a key let go,
// a pad's stick resting off centre, a pad's button let go) changes nothing.
TEST(LastDevice, WhatHappensWithoutTheHandsChangesNothing) {
    LastDevice device;
    device.see(stick(LastDevice::kStickUse));
    device.see(stick(-LastDevice::kStickUse));
    device.see(ofType(SDL_CONTROLLERBUTTONUP));
    device.see(ofType(SDL_CONTROLLERDEVICEADDED));
    EXPECT_FALSE(device.padLast()) << "a stick's drift is not the pad in use";
    device.see(stick(LastDevice::kStickUse + 1));
    EXPECT_TRUE(device.padLast()) << "pushed past a third of its travel";

    for (const Uint32 type : {SDL_MOUSEMOTION, SDL_KEYUP, SDL_MOUSEBUTTONUP, SDL_TEXTINPUT, SDL_WINDOWEVENT}) {
        device.see(ofType(type));
        EXPECT_TRUE(device.padLast()) << "event type " << type;
    }
    device.see(stick(0));
    EXPECT_TRUE(device.padLast()) << "the stick let back to the middle is still the pad";

    device.see(ofType(SDL_KEYDOWN));
    device.see(stick(-32768));
    EXPECT_TRUE(device.padLast()) << "pushed all the way the other way";
}

}  // namespace
