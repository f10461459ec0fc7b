#include "shell/FramePacer.h"

#include <gtest/gtest.h>

#include <vector>

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

namespace {

// A clock that stands still unless a wait moves it, and the waits asked.
Uint64 standingTicks = 0;
std::vector<Uint32> waits;
Uint64 standingCounter() { return standingTicks; }
Uint64 thousandPerSecond() { return 1000; }
void noteWait(Uint32 ms) { waits.push_back(ms); }

// The waits a pacer at `percent` asks for over a few passes that take no time of their own.
std::vector<Uint32> waitsAt(int percent) {
    standingTicks = 5000;
    waits.clear();
    FramePacer pacer;
    pacer.percent = percent;
    pacer.counter = &standingCounter;
    pacer.frequency = &thousandPerSecond;
    pacer.wait = &noteWait;
    for (int i = 0; i < 4; ++i) {
        pacer.endPass();
        standingTicks += 1;  // a pass that takes a millisecond
    }
    return waits;
}

}  // namespace

// The speed assist: the same passes, further apart. At 50 the pacer waits twice as long a pass.
TEST(FramePacer, AtHalfSpeedEachPassWaitsTwiceAsLong) {
    const std::vector<Uint32> full = waitsAt(100);
    const std::vector<Uint32> half = waitsAt(50);
    const std::vector<Uint32> threeQuarters = waitsAt(75);
    ASSERT_EQ(full.size(), 3u) << "the first pass only starts the count";
    ASSERT_EQ(half.size(), 3u);
    ASSERT_EQ(threeQuarters.size(), 3u);
    EXPECT_EQ(full[0], 15u) << "1/60 s less the pass's own millisecond";
    EXPECT_EQ(half[0], 32u) << "1/30 s less the pass's own millisecond";
    EXPECT_EQ(threeQuarters[0], 21u) << "1/45 s less the pass's own millisecond";
}
