#include "persist/RunPlace.h"

#include "persist/Player.h"

int RunPlace::of(int32_t score, const std::string& playersPath) {
    int ahead = 0;
    std::string error;  // a file that is not a plain one holds no runs; the score board says why
    Player::forEachRecord(
        playersPath,
        [&](const unsigned char* bytes) {
            if (PlayerRecord::scoreOf(bytes) >= score) {
                ++ahead;
            }
        },
        error);
    return ahead + 1;
}
