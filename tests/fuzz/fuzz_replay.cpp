// Feeds arbitrary bytes to the replay loader as the replay file.

#include "FuzzSupport.h"

#include "persist/Replay.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr long long kMaxPosition = 1000000000;

bool inReach(int v) { return std::llabs(static_cast<long long>(v)) <= kMaxPosition; }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::setUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzzsupport::pathOf("replay.txt");
    fuzzsupport::writeBytes(path, data, size);

    std::vector<int> xs;
    std::vector<int> ys;
    Replay::load(path, xs, ys);
    fuzzsupport::require(xs.size() == ys.size(), "one y per x");
    for (std::size_t i = 0; i < xs.size(); ++i) {
        fuzzsupport::require(inReach(xs[i]) && inReach(ys[i]), "loaded positions are in reach");
    }

    // The whole input as one line through the pieces the loader uses.
    const std::string line(reinterpret_cast<const char*>(data), size);
    int x = 0;
    int y = 0;
    if (Replay::parseLine(line, x, y)) {
        fuzzsupport::require(inReach(x) && inReach(y), "a parsed line is in reach");
    }
    int value = 0;
    if (Replay::parseNumber(line, value)) {
        fuzzsupport::require(inReach(value), "a parsed number is in reach");
    }
    return 0;
}
