#include "shell/FramePacer.h"

#include <gtest/gtest.h>

namespace {

double secondsFor(FramePacer& pacer, int passes) {
    const Uint64 start = SDL_GetPerformanceCounter();
    for (int i = 0; i < passes; ++i) {
        pacer.endPass();
    }
    return static_cast<double>(SDL_GetPerformanceCounter() - start) /
           static_cast<double>(SDL_GetPerformanceFrequency());
}

TEST(FramePacer, HoldsPassesToSixtyASecond) {
    FramePacer pacer;
    pacer.endPass();  // the first pass only starts the count
    const double paced = secondsFor(pacer, 30);
    EXPECT_GE(paced, 0.48) << "30 passes take half a second";
    EXPECT_LT(paced, 0.75);

    FramePacer off;
    off.enabled = false;
    EXPECT_LT(secondsFor(off, 30), 0.05);
}

TEST(FramePacer, ASlowPassIsNotMadeUpByRacing) {
    FramePacer pacer;
    pacer.endPass();
    SDL_Delay(200);  // a stall of twelve frames
    pacer.endPass();
    const double after = secondsFor(pacer, 6);
    EXPECT_GE(after, 0.09) << "after a stall the pace starts afresh instead of running fast";
}

}  // namespace
