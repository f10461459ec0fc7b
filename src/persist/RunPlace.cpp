#include "persist/RunPlace.h"

#include "persist/Player.h"

#include <fstream>

int RunPlace::of(int32_t score, const std::string& playersPath) {
    std::ifstream in(playersPath, std::ios::binary);
    unsigned char bytes[PlayerRecord::kSize];
    int ahead = 0;
    while (in.read(reinterpret_cast<char*>(bytes), sizeof bytes)) {
        if (PlayerRecord::decode(bytes).score >= score) {
            ++ahead;
        }
    }
    return ahead + 1;
}
