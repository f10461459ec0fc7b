#pragma once

#include "input/KeyBindings.h"

#include <SDL.h>

#include <vector>

// The walking keys, pad buttons and stick directions held down, in the order they were pressed,
// and the steps they owe: a held walk steps at a steady rate of its own, whatever the desktop's
// key repeat does. The latest press walks; releasing it hands the walk back to the one before.
class HeldWalk {
public:
    static constexpr Uint64 kStepsPerSecond = 30;  // a held walk steps every 1/30 s
    static constexpr int kMaxCatchUp = 3;          // after a stall (a dragged window) the hero does not leap

    using Clock = Uint64 (*)();
    static Uint64 systemClock();  // SDL's milliseconds

    // A source (a key, a pad's button or stick) went down at time now, for a walking action or
    // for None, which holds the walk still while it is the latest press.
    void press(long long source, KeyBindings::Action action, Uint64 now);
    // A source went up. True when it was held; the one held before it, if any, walks from now.
    bool release(long long source, Uint64 now);

    // The action a source holds, or None.
    KeyBindings::Action actionOf(long long source) const;
    // The action that walks now, or None.
    KeyBindings::Action current() const;
    // How many steps the current walk owes at time now; they count as made.
    int dueSteps(Uint64 now);

private:
    struct Held {
        long long source;            // who holds it
        KeyBindings::Action action;  // which way it walks
    };
    std::vector<Held> held;  // in press order; the last one walks
    Uint64 since = 0;        // when the current walk began (its first step was the press)
    Uint64 made = 0;         // steps made since then, the press not counted

    void restart(Uint64 now);
};
