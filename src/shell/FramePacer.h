#pragma once

#include <SDL.h>

// Keeps a loop at no more than 60 passes a second (fewer with the speed assist). Movement is counted per frame, so without
// this a renderer that does not wait for the display would run the game at machine speed.
class FramePacer {
public:
    static constexpr double kPassesPerSecond = 60.0;

    bool enabled = true;  // tests step the game as fast as they like
    // The share of kPassesPerSecond kept, in percent (the speed assist slows play so): each pass
    // is the same, only further apart.
    int percent = 100;
    // Where the time comes from and how it is waited out; tests hand in their own.
    Uint64 (*counter)() = &SDL_GetPerformanceCounter;
    Uint64 (*frequency)() = &SDL_GetPerformanceFrequency;
    void (*wait)(Uint32 ms) = &SDL_Delay;

    // Waits out what is left of the current pass's time, then starts the next pass.
    void endPass();
    // A pass's time in counter ticks at the share kept now.
    Uint64 period() const;

private:
    Uint64 deadline = 0;  // performance-counter time at which the next pass may start
};
