#pragma once

#include "input/KeyBindings.h"
#include "input/LastDevice.h"
#include "present/HelpPanel.h"

#include <SDL.h>

// The keys around play, taken out of SDL's queue as they arrive so that the hero never sees them:
// a pause key or a lost focus asks for the pause panel, F1 shows how to play. Acts only while
// a run is in play and not paused. A pad pulled out pauses too.
class PlayKeys {
public:
    bool active = false;      // a run is in play and not paused
    bool pauseAsked = false;  // a pause key or a lost focus since the last pause began

    PlayKeys(const KeyBindings& keys, HelpPanel& help, LastDevice& device) : keys(keys), help(help), device(device) {}
    PlayKeys(const PlayKeys&) = delete;
    PlayKeys& operator=(const PlayKeys&) = delete;

    // Sets SDL's event filter to this object, or takes it away.
    void install();
    static void uninstall();

private:
    static int SDLCALL filter(void* self, SDL_Event* event);

    const KeyBindings& keys;  // the player's: P pauses only while no action has it
    HelpPanel& help;          // shown on F1
    LastDevice& device;       // told of every event
};
