#include "persist/RunPlace.h"

#include "persist/FileIO.h"
#include "persist/Player.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <vector>

int RunPlace::of(int32_t score, const std::string& playersPath, int shown) {
    std::string error;  // a file that is not a plain one holds no runs; the score board says why
    std::FILE* file = FileIO::openForReading(playersPath, error);
    if (file == nullptr) {
        return 1;
    }
    constexpr std::size_t kRunsPerBlock = 4096;
    std::vector<unsigned char> block(PlayerRecord::kSize * kRunsPerBlock);
    int ahead = 0;
    std::size_t runs = 0;
    std::size_t kept = 0;  // bytes of a record begun in the previous block
    bool known = true;
    while (ahead < shown) {
        if (runs >= kMaxRuns) {
            // Past the runs read, a record may still be ahead; one byte more says whether any is.
            known = std::fread(block.data() + kept, 1, PlayerRecord::kSize - kept, file) < PlayerRecord::kSize - kept;
            break;
        }
        const std::size_t wanted = std::min(block.size(), (kMaxRuns - runs) * PlayerRecord::kSize) - kept;
        const std::size_t got = std::fread(block.data() + kept, 1, wanted, file);
        const std::size_t have = kept + got;
        const std::size_t records = have / PlayerRecord::kSize;
        for (std::size_t i = 0; i < records && ahead < shown; ++i) {
            if (PlayerRecord::scoreOf(block.data() + i * PlayerRecord::kSize) >= score) {
                ++ahead;
            }
        }
        runs += records;
        kept = have - records * PlayerRecord::kSize;
        if (got < wanted) {
            break;
        }
        std::copy(block.begin() + static_cast<std::ptrdiff_t>(records * PlayerRecord::kSize),
                  block.begin() + static_cast<std::ptrdiff_t>(have), block.begin());
    }
    std::fclose(file);
    return known ? ahead + 1 : 0;
}
