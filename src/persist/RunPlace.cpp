#include "persist/RunPlace.h"

#include "persist/Player.h"

int RunPlace::of(int32_t score, const std::string& playersPath, int shown) {
    std::string error;  // a file that is not a plain one holds no runs; the score board says why
    int ahead = 0;
    std::size_t runs = 0;
    bool more = false;  // a run past the most read: one ahead of this one may stand there
    Player::forEachRecordWhile(
        playersPath,
        [&](const unsigned char* bytes) {
            if (runs == kMaxRuns) {
                more = true;
                return false;
            }
            ++runs;
            if (PlayerRecord::scoreOf(bytes) >= score) {
                ++ahead;
            }
            return ahead < shown;
        },
        error);
    return more && ahead < shown ? 0 : ahead + 1;
}
