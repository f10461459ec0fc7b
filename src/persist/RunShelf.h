#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The recordings kept beside the score board: files/runs/N.run is the recording of the run whose
// record is the N-th (from 0) of the players file, kept while that record is among the board's
// rows. The players file itself is only read.
class RunShelf {
public:
    static constexpr const char* kFolder = "files/runs";
    static constexpr const char* kLastPath = "files/runs/last.run";  // the run played last
    static constexpr const char* kSuffix = ".run";

    // Where the recording of the players file's record-th record is kept.
    static std::string pathOf(std::size_t record, const std::string& folder = kFolder);
    // The records the board shows, in its order: the best `rows` by score, equal scores by their
    // kept times (RunTimes::ahead) and else in file order, leaving out runs that never played (no
    // points and no name).
    static std::vector<std::size_t> boardRecords(const std::string& playersPath, std::size_t rows);
    // The last record of the file with this name (as the file stores it) and score; false when none.
    static bool lastRecordOf(const std::string& playersPath, const std::string& name, int32_t score,
                             std::size_t& record);
    // Puts a copy of the recording at recordingPath under the record's name when the board shows
    // that record, and removes the kept recordings of records it no longer shows. False with error
    // (one line) when a copy or a removal fails; the rest is still done.
    // Takes the saves' lock (SaveLock beside playersPath) for all of it.
    static bool keep(const std::string& recordingPath, std::size_t record, const std::string& playersPath,
                     std::size_t rows, std::string& error, const std::string& folder = kFolder);
    // Removes the temporaries that games no longer running left in folder (a game killed while it
    // recorded); a running game's own stay. How many went.
    static std::size_t sweep(const std::string& folder = kFolder);
};
