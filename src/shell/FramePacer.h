#pragma once

#include <SDL.h>

// Keeps a loop at no more than 60 passes a second. Movement is counted per frame, so without
// this a renderer that does not wait for the display would run the game at machine speed.
class FramePacer {
public:
    static constexpr double kPassesPerSecond = 60.0;

    bool enabled = true;  // tests step the game as fast as they like

    // Waits out what is left of the current pass's 1/60 s, then starts the next pass.
    void endPass();

private:
    Uint64 deadline = 0;  // performance-counter time at which the next pass may start
};
