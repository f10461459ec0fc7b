#pragma once

#include <SDL.h>

#include <memory>

// What every screen and panel around play can do: take the events given to it, one at a time,
// move on by one pass, and draw itself. The loop that runs a screen reads the events, paces the
// passes and presents the picture; a screen never polls SDL itself.
class Screen {
public:
    virtual ~Screen() = default;

    // One event of the pass, in the order SDL gave them.
    virtual void take(const SDL_Event& event) = 0;
    // Once a pass, after its events: what time alone changes.
    virtual void step() {}
    // The screen's picture: the whole picture, or for a panel what it draws over the picture under.
    virtual void draw(SDL_Renderer* renderer) const = 0;
    // A panel stands over the nearest screen under it that is not a panel: the loop draws that one
    // first (a panel opened from a panel hides the one it came from).
    virtual bool isPanel() const { return false; }
    // The screen has what it waited for: the loop goes back to the screen under it, or ends.
    virtual bool done() const { return false; }
    // A screen to show over this one, asked once a pass (a panel's sub-screen): the loop owns it,
    // runs it until it is done and then comes back here.
    virtual std::unique_ptr<Screen> opens() { return nullptr; }
    // The screen over this one is done and gone: what it changed may show here now.
    virtual void uncovered() {}
};
