#pragma once

#include <SDL.h>

// Which the player used last, the keyboard (and mouse) or a pad, so that the prompts on the
// panels and cards name the keys or the buttons in the player's hands. The input hands it every
// event as it leaves SDL's queue.
class LastDevice {
public:
    // A stick pushed past a third of its travel is the pad in use; less may be a resting drift.
    static constexpr int kStickUse = 32767 / 3;

    // Takes one event: a key, a click or a wheel means the keyboard; a pad's button or stick the pad.
    void see(const SDL_Event& event);
    bool padLast() const { return pad; }

private:
    bool pad = false;  // the keyboard until a pad is used
};
