// Feeds arbitrary bytes to the times file's reader: any input is refused in one line or read whole,
// and what is read whole is written again to the same entries.

#include "FuzzSupport.h"

#include "persist/RunTimes.h"

#include <map>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::setUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzzsupport::pathOf("times.txt");
    fuzzsupport::writeBytes(path, data, size);
    std::map<std::size_t, RunTimes::Entry> entries;
    std::string why;
    if (!RunTimes::read(path, entries, why)) {
        fuzzsupport::require(!why.empty() && why.find('\n') == std::string::npos, "a one-line reason");
        fuzzsupport::require(entries.empty(), "nothing kept from a file refused");
        return 0;
    }
    for (const auto& [record, entry] : entries) {
        fuzzsupport::require(entry.level >= 1 && entry.level <= RunTimes::kLevels, "a level the game has");
        for (const int64_t frames : entry.frames) {
            fuzzsupport::require(frames >= 0 && frames <= RunTimes::kMaxFrames, "frames within a day");
        }
        // What the card and the board show of it never fails.
        fuzzsupport::require(!RunTimes::clock(entry.total()).empty(), "a shown time");
        const auto splits = RunTimes::shownSplits(entry.frames);
        fuzzsupport::require(splits[0] + splits[1] + splits[2] >= 0, "splits add up");
        (void)record;
    }
    // Written again, it reads back the same.
    const std::string again = RunTimes::encode(entries);
    fuzzsupport::writeBytes(path, reinterpret_cast<const uint8_t*>(again.data()), again.size());
    std::map<std::size_t, RunTimes::Entry> back;
    fuzzsupport::require(RunTimes::read(path, back, why), "its own writing reads back");
    fuzzsupport::require(back.size() == entries.size(), "the same records");
    for (const auto& [record, entry] : entries) {
        const auto it = back.find(record);
        fuzzsupport::require(it != back.end() && it->second.level == entry.level && it->second.frames == entry.frames &&
                                 it->second.ending == entry.ending && it->second.assisted == entry.assisted,
                             "the same entry");
    }
    return 0;
}
