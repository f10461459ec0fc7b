#pragma once

#include "input/KeyBindings.h"
#include "input/LastDevice.h"
#include "input/PlayKeys.h"

#include <SDL.h>

#include <deque>

// The one reader of SDL's event queue. Every event leaves SDL's queue here and is looked at once,
// in the order it came: the device it came from, the process's own keys (fullscreen, mute) and, in
// play, the pause and help keys, which the hero must never see. The rest waits here for whoever
// reads input next: the one-event steps of the menu and the hero (`Button::clickOn`,
// `Cowboy::handleEvents`, one event per call where they always took it) and the screens.
class Input {
public:
    // What the process does whatever screen is up (the table's Fullscreen and Mute); noted when
    // its key is looked at, taken once by whoever heeds it.
    using Command = KeyBindings::Command;

    LastDevice device;       // keyboard or pad: which the prompts name
    PlayKeys play;           // the pause and help keys while a run is in play
    bool muteKeyOn = false;  // M mutes: off on the menu, where an m is part of a name

    explicit Input(const KeyBindings& keys) : play(keys), keys(keys) {}
    Input(const Input&) = delete;
    Input& operator=(const Input&) = delete;

    // Once a pass: asks SDL for what the system has sent (the one call to the display server) and
    // looks at it. True when an event waits.
    bool pump();
    // The next waiting event, with what was queued meanwhile (a test's push, a pad's update) looked
    // at first; false when none waits. Asks the system for nothing.
    bool next(SDL_Event& event);
    // Keys, clicks, the wheel and pad buttons still waiting were meant for what came before, not
    // for what comes next: they are looked at (a fullscreen key still counts) and dropped. A close
    // (the window's, or SIGTERM) is never dropped: it waits for whoever reads next.
    void flush();
    // Puts an event last in the queue for the next step to take (a close handed on), unlooked at.
    void handOn(const SDL_Event& event);
    // Whether a click read together with the window's gain of focus counts (SDL drops it by
    // default, as a click meant only to focus); a player's SDL_MOUSE_FOCUS_CLICKTHROUGH wins.
    static void takeFocusClicks(bool take);
    // True once for each time the command (Fullscreen or Mute) was asked since it was last taken.
    bool take(Command command);

private:
    // Moves what SDL's queue holds here, looking at each event.
    void gather();
    void look(const SDL_Event& event);
    // The motion SDL sends when the window changes size or place under a pointer that rests: no
    // input, so no highlight follows it.
    bool restingPointer(const SDL_Event& event);

    const KeyBindings& keys;        // the player's: which keys are fullscreen and mute
    std::deque<SDL_Event> waiting;  // looked at, not yet taken
    int fullscreenAsked = 0;        // fullscreen presses (F11, Alt+Enter) not yet heeded
    int muteAsked = 0;              // mute presses (M) not yet heeded
    bool windowChanged = false;     // the window changed size or place since the last motion
};
