#include "world/RandomSeed.h"

#include "input/SimInput.h"

#include <cstdlib>

std::time_t RandomSeed::systemClock() { return std::time(nullptr); }

void RandomSeed::reseed() const {
    const auto seconds = static_cast<unsigned>(clock());
    srand(sim != nullptr ? sim->seed(seconds) : seconds);
}
