#pragma once

#include <SDL.h>

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
    // The screen's picture over whatever stands under it.
    virtual void draw(SDL_Renderer* renderer) const = 0;
    // The screen has what it waited for: its loop ends with this pass.
    virtual bool done() const { return false; }
    // A screen to show over this one, asked once a pass (a panel's sub-screen): the loop runs it
    // until it is done and then comes back here. The screen readies it before handing it over.
    virtual Screen* opens() { return nullptr; }
};
