#pragma once

#include "input/KeyBindings.h"

#include <SDL.h>

// The keys around play: a pause key or a lost focus asks for the pause panel, help for how to play,
// and neither ever reaches the hero. Acts only while a run is in play and not paused. A pad pulled
// out pauses too.
class PlayKeys {
public:
    bool active = false;      // a run is in play and not paused
    bool pauseAsked = false;  // a pause key or a lost focus since the last pause began
    bool helpAsked = false;   // the help key since the help was last shown

    explicit PlayKeys(const KeyBindings& keys) : keys(keys) {}
    PlayKeys(const PlayKeys&) = delete;
    PlayKeys& operator=(const PlayKeys&) = delete;

    // A run begins: nothing asked yet, and not in play until its set-up.
    void startRun() {
        active = false;
        pauseAsked = false;
        helpAsked = false;
    }
    // Looks at one event on its way to play; false when it is play's own and the hero must not
    // see it.
    bool passes(const SDL_Event& event);

private:
    const KeyBindings& keys;  // the player's: a pause key one of the hero's actions has is the hero's
};
