#pragma once

#include <SDL.h>

#include <memory>

// What every screen and panel can do: take the events given to it, one at a time, move on by one
// pass, and draw itself. The loop that runs a screen reads the events, paces the passes and
// presents the picture; a screen never polls SDL itself. The menu and play are screens that drive
// themselves: their one-event steps take the input where they always have, and each of their
// passes draws and presents its own picture.
class Screen {
public:
    virtual ~Screen() = default;

    // One event of the pass, in the order SDL gave them. A screen that drives itself is given only
    // a close that came while something stood over it (what stood over it is gone by then).
    virtual void take(const SDL_Event& event) = 0;
    // Once a pass, after its events: what time alone changes. For a screen that drives itself, the
    // whole pass: its input read, its picture drawn and presented.
    virtual void step() {}
    // The menu and play: the loop hands them no events, draws them only under a panel, and leaves
    // the window keys and the pump to their passes, which take them at their own moments.
    virtual bool drivesItself() const { return false; }
    // The screen's picture: the whole picture, or for a panel what it draws over the picture under.
    virtual void draw(SDL_Renderer* renderer) const = 0;
    // What a panel opened over this screen stands on: the whole picture unless the screen has
    // lines of its own that the panel would not quite hide (the pause panel's).
    virtual void drawUnderPanel(SDL_Renderer* renderer) const { draw(renderer); }
    // A panel stands over the nearest screen under it that is not a panel: the loop draws that one
    // first (a panel opened from a panel hides the one it came from).
    virtual bool isPanel() const { return false; }
    // The screen has what it waited for: the loop goes back to the screen under it, or ends.
    virtual bool done() const { return false; }
    // A screen to show over this one, asked once a pass (a panel's sub-screen): the loop owns it,
    // runs it until it is done and then comes back here.
    virtual std::unique_ptr<Screen> opens() { return nullptr; }
    // The screen over this one is done: `gone` is it, still whole, so what it chose can be read; it
    // is destroyed right after. What it changed may show here now.
    virtual void uncovered(const Screen& /*gone*/) {}
};
