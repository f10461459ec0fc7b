#include "persist/RunShelf.h"

#include "persist/FileIO.h"
#include "persist/Player.h"
#include "persist/RunRecording.h"
#include "persist/RunTimes.h"
#include "persist/SaveLock.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <csignal>
#include <dirent.h>
#include <map>
#include <unistd.h>

namespace {

// A kept recording's record number, from its file name; false for any other name.
bool recordOfName(const std::string& name, std::size_t& record) {
    const std::string suffix = RunShelf::kSuffix;
    if (name.size() <= suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
        return false;
    }
    const std::string digits = name.substr(0, name.size() - suffix.size());
    if (digits.empty() || digits.size() > 12 || (digits.size() > 1 && digits[0] == '0') ||
        digits.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    record = static_cast<std::size_t>(std::stoull(digits));
    return true;
}

}  // namespace

std::string RunShelf::pathOf(std::size_t record, const std::string& folder) {
    return folder + "/" + std::to_string(record) + kSuffix;
}

std::vector<std::size_t> RunShelf::boardRecords(const std::string& playersPath, std::size_t rows) {
    struct Row {
        int32_t score;
        std::size_t record;
        const RunTimes::Entry* times;  // nullptr when none are kept
    };
    // In the board's order: its times, when the file of them is whole, settle equal scores.
    std::map<std::size_t, RunTimes::Entry> times;
    std::string why;
    RunTimes::read(RunTimes::pathBeside(playersPath), times, why);
    std::vector<Row> best;
    std::size_t index = 0;
    std::string error;
    Player::forEachRecord(
        playersPath,
        [&](const unsigned char* bytes) {
            const PlayerRecord record = PlayerRecord::decode(bytes);
            if (record.score != 0 || !record.name.empty()) {
                const auto kept = times.find(index);
                const Row row{record.score, index, kept != times.end() ? &kept->second : nullptr};
                // After every row listed before it or alike: alike rows stay in file order.
                auto after = std::upper_bound(best.begin(), best.end(), row, [](const Row& a, const Row& b) {
                    return RunTimes::ahead(a.score, a.times, b.score, b.times);
                });
                best.insert(after, row);
                if (best.size() > rows) {
                    best.pop_back();
                }
            }
            ++index;
        },
        error);
    std::vector<std::size_t> records;
    for (const Row& row : best) {
        records.push_back(row.record);
    }
    return records;
}

bool RunShelf::lastRecordOf(const std::string& playersPath, const std::string& name, int32_t score,
                            std::size_t& record) {
    const std::string stored = name.substr(0, FileIO::prefixOnBoundary(name, PlayerRecord::kNameBytes - 1));
    std::size_t index = 0;
    bool found = false;
    std::string error;
    Player::forEachRecord(
        playersPath,
        [&](const unsigned char* bytes) {
            if (PlayerRecord::scoreOf(bytes) == score && PlayerRecord::decode(bytes).name == stored) {
                record = index;
                found = true;
            }
            ++index;
        },
        error);
    return found;
}

bool RunShelf::keep(const std::string& recordingPath, std::size_t record, const std::string& playersPath,
                    std::size_t rows, std::string& error, const std::string& folder) {
    // Under the saves' lock: two games ending at once would otherwise copy and remove each other's
    // rows from boards read before the other's record went in.
    const SaveLock lock(playersPath);
    if (!lock.held()) {
        error = lock.problem();
        return false;
    }
    const std::vector<std::size_t> shown = boardRecords(playersPath, rows);
    const auto onBoard = [&](std::size_t r) { return std::find(shown.begin(), shown.end(), r) != shown.end(); };
    bool ok = true;
    if (onBoard(record)) {
        std::string bytes;
        std::string why;
        std::string made;
        if (!FileIO::readSmall(recordingPath, RunRecording::kMaxBytes, bytes, why)) {
            error = recordingPath + ": " + (why.empty() ? "missing" : why);
            ok = false;
        } else if (!FileIO::writeTemporary(pathOf(record, folder), bytes, 0, made, error) ||
                   !FileIO::rename(made, pathOf(record, folder), error)) {
            FileIO::removeIfThere(made);
            ok = false;
        }
    }
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return ok;
    }
    std::vector<std::string> gone;
    while (const dirent* entry = ::readdir(dir)) {
        std::size_t kept = 0;
        if (recordOfName(entry->d_name, kept) && !onBoard(kept)) {
            gone.push_back(folder + "/" + entry->d_name);
        }
    }
    ::closedir(dir);
    for (const std::string& path : gone) {
        if (!FileIO::removeIfThere(path) && ok) {
            error = path + ": " + std::strerror(errno);
            ok = false;
        }
    }
    return ok;
}

std::size_t RunShelf::sweep(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return 0;
    }
    std::vector<std::string> gone;
    while (const dirent* entry = ::readdir(dir)) {
        // A recording's temporary is named NAME.run.tmp-PID-N by the game writing it.
        const std::string name = entry->d_name;
        const std::size_t mark = name.find(std::string(kSuffix) + ".tmp-");
        if (mark == std::string::npos) {
            continue;
        }
        const std::string rest = name.substr(mark + std::string(kSuffix).size() + 5);
        const std::size_t dash = rest.find('-');
        if (dash == 0 || dash == std::string::npos || rest.find_first_not_of("0123456789") != dash) {
            continue;
        }
        const long pid = std::stol(rest.substr(0, dash));
        // A game still running (or this one) keeps its own; a game gone left it behind.
        if (pid > 0 && pid != ::getpid() && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            gone.push_back(folder + "/" + name);
        }
    }
    ::closedir(dir);
    std::size_t removed = 0;
    for (const std::string& path : gone) {
        removed += FileIO::removeIfThere(path) ? 1 : 0;
    }
    return removed;
}
