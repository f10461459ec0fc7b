#include "input/HeldWalk.h"

#include <gtest/gtest.h>

namespace {

using Action = KeyBindings::Action;

// Sources as the hero names them: a key's code, or a number of a pad's own.
constexpr long long kD = SDLK_d;
constexpr long long kUp = SDLK_UP;
constexpr long long kB = SDLK_b;

// Steps owed when the walk is asked every frame (1/60 s) from `from`, and once more at `to`.
int stepsAskedEachFrame(HeldWalk& walk, Uint64 from, Uint64 to) {
    int steps = 0;
    for (Uint64 now = from; now < to; now += 1000 / 60) {
        steps += walk.dueSteps(now);
    }
    return steps + walk.dueSteps(to);
}

// The rate is the walk's own: 30 steps a second however often it is asked, the press being its
// first; a stall is caught up by a few steps only, and the walk then goes on at its pace instead of
// owing what it skipped.
TEST(HeldWalk, AWalkStepsThirtyTimesASecondAndCatchesUpAStallOnlyAFew) {
    HeldWalk walk;
    EXPECT_EQ(walk.dueSteps(5000), 0) << "nothing held owes nothing";
    walk.press(kD, Action::Right, 1000);
    EXPECT_EQ(walk.current(), Action::Right);
    EXPECT_EQ(walk.dueSteps(1000), 0) << "the press is the first step";
    EXPECT_EQ(walk.dueSteps(1033), 0);
    EXPECT_EQ(walk.dueSteps(1034), 1) << "the next after 1/30 s";
    EXPECT_EQ(walk.dueSteps(1034), 0) << "steps handed out count as made";
    EXPECT_EQ(1 + stepsAskedEachFrame(walk, 1050, 2000), 30) << "30 in the second after the press";

    EXPECT_EQ(walk.dueSteps(4000), HeldWalk::kMaxCatchUp) << "two seconds of stall";
    EXPECT_EQ(walk.dueSteps(4034), 1) << "and on at his pace: the skipped steps are not owed";
    EXPECT_EQ(walk.dueSteps(3000), 0) << "a clock read before the walk's last step owes nothing";
}

// A walk pressed after a reading of the clock that is later (another walker's clock ran ahead)
// owes nothing until its own time comes, instead of wrapping round to a leap.
TEST(HeldWalk, AClockBeforeThePressOwesNothing) {
    HeldWalk walk;
    walk.press(kD, Action::Right, 5000);
    EXPECT_EQ(walk.dueSteps(4000), 0);
    EXPECT_EQ(walk.dueSteps(5034), 1);
}

// The latest press walks; releasing it hands the walk back to the one held before, counted from
// the release; releasing an older one changes nothing of the walk under way.
TEST(HeldWalk, TheLatestPressWalksAndAReleaseHandsTheWalkBack) {
    HeldWalk walk;
    walk.press(kD, Action::Right, 0);
    walk.press(kUp, Action::Up, 100);
    EXPECT_EQ(walk.current(), Action::Up);
    EXPECT_EQ(walk.actionOf(kD), Action::Right) << "still held under it";
    EXPECT_EQ(walk.dueSteps(150), 1) << "up's steps count from its own press";

    EXPECT_TRUE(walk.release(kD, 160));
    EXPECT_EQ(walk.current(), Action::Up);
    EXPECT_EQ(walk.actionOf(kD), Action::None);
    EXPECT_EQ(walk.dueSteps(200), 2) << "letting go of an older key does not restart the walk";

    walk.press(kD, Action::Right, 300);
    EXPECT_TRUE(walk.release(kD, 400));
    EXPECT_EQ(walk.current(), Action::Up) << "up walks again";
    EXPECT_EQ(walk.dueSteps(433), 0) << "from the release, not from its own old press";
    EXPECT_EQ(walk.dueSteps(434), 1);

    EXPECT_FALSE(walk.release(kB, 500)) << "a key never pressed was not held";
    EXPECT_EQ(walk.current(), Action::Up);
    EXPECT_TRUE(walk.release(kUp, 500));
    EXPECT_EQ(walk.current(), Action::None);
    EXPECT_EQ(walk.dueSteps(2000), 0);
}

// A source pressed again (a stick turned another way) is held once, at the top; a press for None
// (the stop key) holds the walk still until it is let go.
TEST(HeldWalk, ASourcePressedAgainIsHeldOnceAndAStopHoldsTheWalkStill) {
    HeldWalk walk;
    walk.press(kD, Action::Right, 0);
    walk.press(kUp, Action::Up, 10);
    walk.press(kD, Action::Down, 20);
    EXPECT_EQ(walk.current(), Action::Down);
    EXPECT_EQ(walk.actionOf(kD), Action::Down);
    EXPECT_TRUE(walk.release(kD, 30));
    EXPECT_EQ(walk.current(), Action::Up) << "its first press is gone with it";
    EXPECT_FALSE(walk.release(kD, 40));

    walk.press(kB, Action::None, 50);
    EXPECT_EQ(walk.current(), Action::None) << "the stop key holds the walk";
    EXPECT_EQ(walk.actionOf(kUp), Action::Up);
    EXPECT_TRUE(walk.release(kB, 60));
    EXPECT_EQ(walk.current(), Action::Up);
}

}  // namespace
