#include "world/RandomSeed.h"

#include <cstdlib>

std::time_t RandomSeed::systemClock() { return std::time(nullptr); }

RandomSeed::Clock RandomSeed::clock = &RandomSeed::systemClock;

void RandomSeed::reseed() { srand(static_cast<unsigned>(clock())); }
