#pragma once

#include <string>
#include <vector>

// A settings file in INI form, read with inih: its entries with the line each stands on, and one
// problem per line that is no section, entry, comment or blank. What the entries mean is for the
// caller to judge.
class SettingsFile {
public:
    // Larger than any settings file a player writes by hand; a bigger one is not read at all.
    static constexpr std::size_t kMaxBytes = 64 * 1024;

    struct Entry {
        int line;             // 1-based line number
        std::string section;  // the [section] it stands in, "" before the first
        std::string name;
        std::string value;  // inih's: trimmed, inline "; comment" removed
    };
    struct Problem {
        int line;          // 0 for the file as a whole
        std::string what;  // what is wrong, without the file's name
    };

    std::vector<Entry> entries;
    std::vector<Problem> problems;

    // Reads path. False when there is nothing to read (no such file, or a problem with the whole
    // file, which is then in problems); a missing file is not a problem.
    bool read(const std::string& path);
    // Reads the text of a file already in memory.
    void parse(const std::string& text);
    // Whether the reader takes a line (its end included, if it has one) as a blank: one too long
    // for inih's buffer, or one holding a zero byte, is refused whole.
    static bool refusedWhole(const std::string& line);
};
