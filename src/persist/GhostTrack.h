#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Where the hero of a won run stood and how he was drawn, frame by frame, so a later run can show
// him faintly beside the live hero. Kept per name in files/runs/ when a win from a new game is the
// name's fastest; written whole or not at all. Binary, little-endian: the magic and format, the
// frames of each level, then per frame the level, the world place and the sheet's cut.
class GhostTrack {
public:
    static constexpr const char* kFolder = "files/runs";
    static constexpr char kMagic[8] = {'B', 'H', 'G', 'H', 'O', 'S', 'T', '\n'};
    static constexpr uint32_t kFormat = 1;
    static constexpr int kLevels = 3;
    // Half an hour of play; a longer run keeps no track (and a file claiming more is damage).
    static constexpr std::size_t kMaxSteps = 60 * 60 * 30;
    static constexpr std::size_t kHeaderBytes = 8 + 4 + 4 * kLevels;
    static constexpr std::size_t kStepBytes = 1 + 4 * 8;

    // One frame: the hero as he was drawn (his place in the world and the cut of his sheet), or
    // none when he had fallen.
    struct Step {
        int level = 0;                                   // 1 to kLevels; 0 for a frame without the hero
        int32_t x = 0, y = 0, w = 0, h = 0;              // where in the world he was drawn
        int32_t srcX = 0, srcY = 0, srcW = 0, srcH = 0;  // the cut of his sheet
    };

    std::array<uint32_t, kLevels> levelFrames{};  // frames played at each level, in order
    std::vector<Step> steps;                      // every frame of the run, level by level

    // The file kept for the player with this name (as the players file stores it).
    static std::string pathFor(const std::string& name, const std::string& folder = kFolder);

    uint64_t total() const { return uint64_t{levelFrames[0]} + levelFrames[1] + levelFrames[2]; }
    // The step of the frame-th frame (from 0) of level; nullptr when the run had none there.
    const Step* at(int level, std::size_t frame) const;

    std::string encode() const;
    // False with why when bytes are not a whole track of this format.
    bool decode(const std::string& bytes, std::string& why);
    // Reads the track at path; false with why (empty when nothing is there).
    bool read(const std::string& path, std::string& why);
    // Puts this track at path, whole or not at all, under the lock of the saved game at savePath,
    // when it is faster than the one kept there (or none is). False with error when a write failed;
    // written says whether it was put in place.
    bool keepIfFaster(const std::string& path, const std::string& savePath, bool& written, std::string& error) const;
};
