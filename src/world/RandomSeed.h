#pragma once

#include <ctime>

class SimInput;

// Where rand() gets its seed: the time in seconds, at every point that places the waves or
// restarts the hero. The clock is replaceable so that a test can fix the second and know
// every placement exactly.
class RandomSeed {
public:
    using Clock = std::time_t (*)();

    static std::time_t systemClock();  // the time in seconds

    Clock clock = &systemClock;  // a test puts its own to fix the second
    SimInput* sim = nullptr;     // notes each seed for the run's recording, or gives the recorded one

    // srand with the clock's seconds (through sim when set).
    void reseed() const;
};
