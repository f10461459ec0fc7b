#pragma once

#include <cstdint>
#include <string>

// Where a run's score places among the runs already in the players file, the way the score
// board orders them: higher scores first, equal scores in file order, so a new run comes after
// every earlier run with the same score.
class RunPlace {
public:
    // 1 for the best run; a file that cannot be read holds no runs. Reads one record at a time,
    // so a long file costs no memory; a trailing fragment is not a record.
    static int of(int32_t score, const std::string& playersPath);
};
