#pragma once

#include "persist/RunTimes.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>

// Where a run's score places among the runs already in the players file, the way the score
// board orders them: higher scores first, equal scores the faster first and else in file order,
// so a new run comes after every earlier run with the same score and no slower time.
class RunPlace {
public:
    // The most runs read to place one: the end of a run must not wait on a players file of any
    // size. A million runs is years of play, and reading them takes a blink.
    static constexpr std::size_t kMaxRuns = std::size_t{1} << 20;

    // 1 for the best run; a file that cannot be read holds no runs. Counting stops once the place
    // is past shown (the places a card names), which is then told as shown + 1. 0 when the place
    // is not known: the file holds more than kMaxRuns runs and too few of the first ones are
    // ahead to tell. Reads a block at a time, so a long file costs no memory; a trailing fragment
    // is not a record.
    // With the run's times, a run with the same score and kept times is ahead only when it was
    // as fast or faster (RunTimes::ahead).
    static int of(int32_t score, const std::string& playersPath, int shown = INT_MAX - 1,
                  const RunTimes::Entry* times = nullptr);
};
