#include "persist/RunTimes.h"

#include "persist/FileIO.h"
#include "persist/SaveLock.h"

#include <sstream>

namespace {

const char* const kEndings[] = {"won", "lost", "left"};

bool parseCount(const std::string& word, int64_t limit, int64_t& value) {
    if (word.empty() || word.size() > 12 || word.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    value = std::stoll(word);
    return value <= limit;
}

}  // namespace

std::string RunTimes::pathBeside(const std::string& playersPath) {
    return FileIO::folderOf(playersPath) + "/runs/times.txt";
}

bool RunTimes::ahead(int32_t a, const Entry* ta, int32_t b, const Entry* tb) {
    // Assisted runs are ranked apart, after every run played without help, whatever their score.
    const bool helpedA = ta != nullptr && ta->assisted;
    const bool helpedB = tb != nullptr && tb->assisted;
    if (helpedA != helpedB) {
        return helpedB;
    }
    if (a != b) {
        return a > b;
    }
    // A run without times was played before times were kept: it stays before those that have them,
    // as the file's order has it.
    if (ta == nullptr || tb == nullptr) {
        return ta == nullptr && tb != nullptr;
    }
    // A resumed run's frames leave out the levels played before its save: no time to compare.
    if (!ta->whole() || !tb->whole()) {
        return ta->whole() && !tb->whole();
    }
    return ta->total() < tb->total();
}

bool RunTimes::read(const std::string& path, std::map<std::size_t, Entry>& entries, std::string& why) {
    entries.clear();
    std::string text;
    if (!FileIO::readSmall(path, kMaxBytes, text, why)) {
        return why.empty();  // missing: no times yet
    }
    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line) || line != kHeading) {
        why = "not a times file of this game";
        return false;
    }
    std::map<std::size_t, Entry> read;
    int number = 1;
    while (std::getline(lines, line)) {
        ++number;
        std::istringstream words(line);
        std::string record, ending, level, assisted, from, extra;
        std::array<std::string, kLevels> frames;
        words >> record >> ending >> level >> frames[0] >> frames[1] >> frames[2] >> assisted >> from;
        int64_t index = 0;
        int64_t reached = 0;
        int64_t began = 0;
        Entry entry;
        bool ok = !(words >> extra) && parseCount(record, int64_t{1} << 40, index) &&
                  parseCount(level, kLevels, reached) && reached >= 1 && (assisted == "0" || assisted == "1") &&
                  parseCount(from, kLevels, began) && began >= 1 && began <= reached;
        bool named = false;
        for (int e = 0; e < 3; ++e) {
            if (ending == kEndings[e]) {
                entry.ending = static_cast<Ending>(e);
                named = true;
            }
        }
        for (int l = 0; ok && l < kLevels; ++l) {
            ok = parseCount(frames[l], kMaxFrames, entry.frames[l]);
        }
        if (!ok || !named || read.count(static_cast<std::size_t>(index)) != 0) {
            why = "line " + std::to_string(number) + " is damaged";
            return false;
        }
        entry.level = static_cast<int>(reached);
        entry.assisted = assisted == "1";
        entry.from = static_cast<int>(began);
        read[static_cast<std::size_t>(index)] = entry;
    }
    if (!text.empty() && text.back() != '\n') {
        why = "its last line is cut short";
        return false;
    }
    entries = std::move(read);
    return true;
}

std::string RunTimes::encode(const std::map<std::size_t, Entry>& entries) {
    std::string text = std::string(kHeading) + "\n";
    for (const auto& [record, entry] : entries) {
        text +=
            std::to_string(record) + " " + kEndings[static_cast<int>(entry.ending)] + " " + std::to_string(entry.level);
        for (const int64_t frames : entry.frames) {
            text += " " + std::to_string(frames);
        }
        text += entry.assisted ? " 1 " : " 0 ";
        text += std::to_string(entry.from) + "\n";
    }
    return text;
}

bool RunTimes::add(const std::string& path, std::size_t record, const Entry& entry, const std::string& savePath,
                   std::string& error) {
    const SaveLock lock(savePath);
    if (!lock.held()) {
        error = path + ": not written: " + lock.problem();
        return false;
    }
    std::map<std::size_t, Entry> entries;
    std::string why;
    if (!read(path, entries, why)) {
        FileIO::report(path + ": " + why + "; it is written anew");
        entries.clear();
    }
    entries[record] = entry;
    std::string made;
    if (!FileIO::writeTemporary(path, encode(entries), 0, made, error) || !FileIO::rename(made, path, error)) {
        FileIO::removeIfThere(made);
        return false;
    }
    return true;
}

std::string RunTimes::clock(int64_t frames, bool tenths) {
    const int64_t tenthsOfSecond = frames * 10 / kFramesPerSecond;
    const int64_t seconds = tenthsOfSecond / 10;
    std::string shown = std::to_string(seconds / 60) + ":";
    const int64_t rest = seconds % 60;
    shown += (rest < 10 ? "0" : "") + std::to_string(rest);
    if (tenths) {
        shown += "." + std::to_string(tenthsOfSecond % 10);
    }
    return shown;
}

std::array<int64_t, RunTimes::kLevels> RunTimes::shownSplits(const std::array<int64_t, kLevels>& frames) {
    // Each level from the tenth its start showed to the tenth its end showed, in frames.
    const int64_t perTenth = kFramesPerSecond / 10;
    std::array<int64_t, kLevels> splits{};
    int64_t before = 0;
    for (int l = 0; l < kLevels; ++l) {
        const int64_t after = before + frames[l];
        splits[l] = (after / perTenth - before / perTenth) * perTenth;
        before = after;
    }
    return splits;
}
