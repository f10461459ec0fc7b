#pragma once

#include "input/Input.h"
#include "present/Screen.h"
#include "present/SettingsKeeper.h"
#include "present/Sound.h"
#include "shell/FramePacer.h"

#include <memory>
#include <vector>

// Runs a screen and the screens opened over it: each pass pumps the input, hands every waiting
// event to the screen on top, steps it, draws it when something may have changed, presents and
// paces. The screens opened over the one run are the loop's: made when opened, gone when done. A
// screen that does not change by itself is drawn again only after an event (an expose, a resize,
// a key), so it costs next to no CPU. The menu and play drive themselves (Screen::drivesItself):
// while nothing stands over them the loop runs their own pass and paces it; what they open
// (the letter grid, the options, the pause panel) it runs as any screen. Their passes pump
// through it too, so the mute key is heard everywhere.
class ScreenLoop {
public:
    ScreenLoop(FramePacer& pacer, Input& input, Sound& sound, SettingsKeeper& keeper)
        : pacer(pacer), input(input), sound(sound), keeper(keeper) {}
    ScreenLoop(const ScreenLoop&) = delete;
    ScreenLoop& operator=(const ScreenLoop&) = delete;

    // Once a pass: what the system sent, looked at; the mute key heeded at once. True when an
    // event waits.
    bool pumpInput();
    // Keys, clicks and pad buttons still queued were meant for what came before, not for the
    // screen about to open.
    void flushInput();

    // The next pass is a screen's first: it draws whatever happens; nothing is open over it.
    void open() {
        shown = false;
        over.clear();
    }
    // Opens a screen over the one run, as if it had opened it.
    void push(std::unique_ptr<Screen> screen);
    // One pass; false, with nothing drawn, once the screen is done.
    bool pass(Screen& screen);
    // Passes from a fresh start until the screen is done; `first` opened over it at once (a
    // screen shown over the menu's picture, which is done as soon as nothing stands over it).
    void run(Screen& screen, std::unique_ptr<Screen> first = nullptr);
    // The last run ended on a close of the window (or a signal): it is the caller's to heed.
    bool closed() const { return quitSeen; }
    // The screen on top, or null when nothing is open over the one run.
    Screen* top() const { return over.empty() ? nullptr : over.back().get(); }

private:
    void heedMute();
    // The screen `draw` starts from: the top, or under a panel the nearest screen that is not one.
    const Screen& base(const Screen& screen) const;

    FramePacer& pacer;                          // shared with the menu and the frames: one pace for the whole game
    Input& input;                               // the one reader of SDL's events
    Sound& sound;                               // muted and unmuted by the mute key
    SettingsKeeper& keeper;                     // remembers F11, M and the window's size as they change
    bool shown = false;                         // the top screen's picture is on screen as it stands
    std::vector<std::unique_ptr<Screen>> over;  // screens opened over the one run, the top last
    bool quitSeen = false;                      // a close came during the last run
};
