#include "world/RandomSeed.h"

#include <cstdlib>

std::time_t RandomSeed::systemClock() { return std::time(nullptr); }

void RandomSeed::reseed() const { srand(static_cast<unsigned>(clock())); }
