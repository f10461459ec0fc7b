#include "persist/RunPlace.h"

#include "persist/Player.h"

#include <map>

int RunPlace::of(int32_t score, const std::string& playersPath, int shown, const RunTimes::Entry* times) {
    std::string error;  // a file that is not a plain one holds no runs; the score board says why
    std::map<std::size_t, RunTimes::Entry> kept;
    std::string why;
    if (times != nullptr) {
        RunTimes::read(RunTimes::pathBeside(playersPath), kept, why);
    }
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
            const auto its = kept.find(runs);
            ++runs;
            // Every run this one is not listed before stays ahead of it.
            if (!RunTimes::ahead(score, times, PlayerRecord::scoreOf(bytes),
                                 its != kept.end() ? &its->second : nullptr)) {
                ++ahead;
            }
            return ahead < shown;
        },
        error);
    return more && ahead < shown ? 0 : ahead + 1;
}
