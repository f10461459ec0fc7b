#pragma once

#include <ctime>

// Where rand() gets its seed: the time in seconds, at every point that places the waves or
// restarts the hero. The clock is replaceable so that a test can fix the second and know
// every placement exactly.
class RandomSeed {
public:
    using Clock = std::time_t (*)();

    static std::time_t systemClock();  // the time in seconds

    Clock clock = &systemClock;  // a test puts its own to fix the second

    // srand with the clock's seconds.
    void reseed() const;
};
