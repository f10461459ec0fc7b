// Feeds arbitrary bytes to the ghost track's reader: any input is refused in one line or read
// whole, every frame of every level it claims is found or safely absent, and it encodes back to
// the same bytes.

#include "FuzzSupport.h"

#include "persist/GhostTrack.h"

#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::setUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    GhostTrack track;
    std::string why;
    if (!track.decode(bytes, why)) {
        fuzzsupport::require(!why.empty() && why.find('\n') == std::string::npos, "a one-line reason");
        return 0;
    }
    fuzzsupport::require(track.steps.size() <= GhostTrack::kMaxSteps, "no more steps than a track keeps");
    for (int level = 0; level <= GhostTrack::kLevels + 1; ++level) {
        const std::size_t frames = level >= 1 && level <= GhostTrack::kLevels ? track.levelFrames[level - 1] : 4;
        for (std::size_t frame = 0; frame <= frames + 1 && frame < 4096; ++frame) {
            const GhostTrack::Step* step = track.at(level, frame);
            fuzzsupport::require(step == nullptr || (step->level == level || step->level == 0), "a step of its level");
        }
    }
    fuzzsupport::require(track.encode() == bytes, "encodes back to the same bytes");
    return 0;
}
