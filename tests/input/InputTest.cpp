#include "input/Input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "InputFixture.h"
#include "TestSupport.h"

namespace {

using testsupport::keyDown;
using testsupport::ofType;
using testsupport::padDown;

using InputTest = InputFixture;

// Events the steps leave waiting are looked at once, however many passes pump before they are
// taken: a waiting F11 or M must not toggle again at every pass.
TEST_F(InputTest, EachEventIsLookedAtOnceAndWaitsInItsOrder) {
    input.muteKeyOn = true;
    push(keyDown(SDLK_F11));
    push(keyDown(SDLK_m));
    push(keyDown(SDLK_a));
    for (int pass = 0; pass < 3; ++pass) {
        EXPECT_TRUE(input.pump()) << "pass " << pass;
    }
    EXPECT_TRUE(input.take(Input::Command::Fullscreen));
    EXPECT_FALSE(input.take(Input::Command::Fullscreen)) << "one press, one toggle";
    EXPECT_TRUE(input.take(Input::Command::Mute));
    EXPECT_FALSE(input.take(Input::Command::Mute));

    // What a test or a pad pushes after the pump still comes after what was waiting.
    push(keyDown(SDLK_b));
    SDL_Event quit = ofType(SDL_QUIT);
    input.handOn(quit);
    EXPECT_EQ(drain(),
              (std::vector<std::string>{"key F11", "key M", "key A", "key B", "type " + std::to_string(SDL_QUIT)}))
        << "the process's keys stay for the steps too";
    EXPECT_FALSE(input.pump());
}

TEST_F(InputTest, RepeatsPlainEnterAndAnMOnTheMenuAskForNothing) {
    input.muteKeyOn = false;  // on the menu an m is part of the name
    push(keyDown(SDLK_m));
    push(keyDown(SDLK_F11, 1));
    push(keyDown(SDLK_RETURN));
    push(keyDown(SDLK_RETURN, 0, KMOD_RALT));
    input.pump();
    EXPECT_FALSE(input.take(Input::Command::Mute));
    EXPECT_TRUE(input.take(Input::Command::Fullscreen)) << "Alt+Enter";
    EXPECT_FALSE(input.take(Input::Command::Fullscreen)) << "not the repeat of F11, nor a plain Enter";
    input.muteKeyOn = true;
    push(keyDown(SDLK_m, 1));
    input.pump();
    EXPECT_FALSE(input.take(Input::Command::Mute)) << "a held M's repeat";
}

TEST_F(InputTest, AFlushDropsPressesAndPointersButKeepsTheRestAndStillSeesTheWindowKeys) {
    push(keyDown(SDLK_F11));
    SDL_Event click = ofType(SDL_MOUSEBUTTONDOWN);
    push(click);
    push(ofType(SDL_MOUSEWHEEL));
    push(padDown(SDL_CONTROLLER_BUTTON_A));
    SDL_Event shown = ofType(SDL_WINDOWEVENT);
    shown.window.event = SDL_WINDOWEVENT_EXPOSED;
    push(shown);
    push(ofType(SDL_QUIT));
    input.flush();
    EXPECT_TRUE(input.take(Input::Command::Fullscreen));
    EXPECT_TRUE(input.device.padLast()) << "the pad was used last, flushed or not";
    EXPECT_EQ(drain(), (std::vector<std::string>{"type " + std::to_string(SDL_WINDOWEVENT),
                                                 "type " + std::to_string(SDL_QUIT)}));
    push(keyDown(SDLK_x));
    input.pump();
    EXPECT_FALSE(input.device.padLast());
}

}  // namespace
