#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// How each played run went, kept in a file of its own beside its recordings (the players file keeps
// its format): per players-file record, how it ended, the level reached, the frames played at
// each level and the level play began at. A run's time is counted in frames of play (60 a second), so a pause does not count
// and a recording played again agrees with it. The file is written whole or not at all, under the
// save lock; a damaged one is refused as a whole, and the board then shows as without it.
class RunTimes {
public:
    static constexpr const char* kPath = "files/runs/times.txt";
    static constexpr const char* kHeading = "bramblehoof times 1";  // the first line: format 1
    static constexpr int kFramesPerSecond = 60;
    static constexpr int kLevels = 3;
    // No run lasts this long (a day of play); a count beyond it is damage.
    static constexpr int64_t kMaxFrames = int64_t{kFramesPerSecond} * 60 * 60 * 24;
    static constexpr std::size_t kMaxBytes = std::size_t{64} << 20;

    enum class Ending { Won, Lost, Left };  // the last level won; the hero fell; the window closed or the player quit

    struct Entry {
        Ending ending = Ending::Left;
        int level = 1;                          // the level reached, 1 to kLevels
        std::array<int64_t, kLevels> frames{};  // frames played at each level
        // Played with assists (easier speed, damage, refills or a held attack): ranked after
        // every run played without them.
        bool assisted = false;
        // The level play began at: 1 for a new game, the saved level for a resumed one, whose
        // levels before it were played in another run and have no frames here.
        int from = 1;

        int64_t total() const { return frames[0] + frames[1] + frames[2]; }
        // Whether the frames are the whole run's, so its time stands against another's.
        bool whole() const { return from == 1; }
    };

    // The times file kept beside the players file at playersPath (in its folder's runs/).
    static std::string pathBeside(const std::string& playersPath);
    // Whether a run with score a and times ta (nullptr when none are kept) is listed before one
    // with score b and times tb: the higher score, then on equal scores a run without times (an
    // older one) before those with times, which go the faster first, and a resumed run, timed
    // only from its saved level, after those. Neither is before the other when both have the
    // same score and no times, or the same score and time, or both were resumed: they then keep
    // their file order. An assisted run is after every run without assists,
    // whatever the scores.
    static bool ahead(int32_t a, const Entry* ta, int32_t b, const Entry* tb);

    // Every entry of the file at path, by record number. False with why when the file is there but
    // damaged or unreadable (nothing is then taken from it); true and empty when it is missing.
    static bool read(const std::string& path, std::map<std::size_t, Entry>& entries, std::string& why);
    // The entries as the file holds them.
    static std::string encode(const std::map<std::size_t, Entry>& entries);
    // Adds the entry of record (replacing one of the same number) under the lock of the saved game at
    // savePath, the file read afresh; a damaged file is written anew. False with error (one line).
    static bool add(const std::string& path, std::size_t record, const Entry& entry, const std::string& savePath,
                    std::string& error);

    // frames as a player reads a time: M:SS.t, or M:SS without tenths.
    static std::string clock(int64_t frames, bool tenths = true);
    // The frames of each level cut at the tenths the run's clock showed when the level began, so
    // the levels' times as shown add up to the run's time as shown.
    static std::array<int64_t, kLevels> shownSplits(const std::array<int64_t, kLevels>& frames);
};
