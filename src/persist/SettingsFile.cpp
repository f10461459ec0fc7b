#include "persist/SettingsFile.h"

#include "persist/FileIO.h"

#include <ini.h>

#include <cstring>

namespace {

// Feeds inih one line at a time and keeps count, so every entry and every bad line can be named
// by its line number (inih's handler is not told the line).
struct LineFeed {
    const std::string* text = nullptr;
    std::size_t at = 0;     // where the next line starts
    int line = 0;           // the line inih is working on
    bool lineUsed = false;  // inih made an entry of it
    std::string lineText;   // its text
    SettingsFile* file = nullptr;
};

std::string trimmed(const std::string& s) {
    const std::size_t first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return "";
    }
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

// Whether inih has nothing to say about a line it made no entry of: a blank, a comment or a
// section header. Anything else it skipped is a bad line.
bool isQuietLine(std::string line, int number) {
    if (number == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        line.erase(0, 3);  // inih skips a byte-order mark
    }
    line = trimmed(line);
    return line.empty() || line[0] == ';' || line[0] == '#' || (line[0] == '[' && line.find(']') != std::string::npos);
}

void closeLine(LineFeed& feed) {
    if (feed.line > 0 && !feed.lineUsed && !isQuietLine(feed.lineText, feed.line)) {
        feed.file->problems.push_back({feed.line, "not a [section], a name = value line or a comment"});
    }
}

char* readLine(char* into, int room, void* stream) {
    LineFeed& feed = *static_cast<LineFeed*>(stream);
    closeLine(feed);
    if (feed.at >= feed.text->size()) {
        feed.line = 0;
        return nullptr;
    }
    std::size_t end = feed.text->find('\n', feed.at);
    end = end == std::string::npos ? feed.text->size() : end + 1;
    feed.lineText = feed.text->substr(feed.at, end - feed.at);
    feed.at = end;
    ++feed.line;
    feed.lineUsed = false;
    if (SettingsFile::refusedWhole(feed.lineText) || feed.lineText.size() >= static_cast<std::size_t>(room)) {
        // inih would cut it and read the rest as lines of their own: give it a blank instead.
        feed.file->problems.push_back({feed.line, "line too long or not text"});
        feed.lineText.clear();
        feed.lineUsed = true;
        std::strcpy(into, "\n");
        return into;
    }
    std::memcpy(into, feed.lineText.c_str(), feed.lineText.size() + 1);
    return into;
}

int takeEntry(void* user, const char* section, const char* name, const char* value) {
    LineFeed& feed = *static_cast<LineFeed*>(user);
    feed.lineUsed = true;
    feed.file->entries.push_back({feed.line, section, name, value});
    return 1;  // go on: every line is judged on its own
}

}  // namespace

bool SettingsFile::refusedWhole(const std::string& line) {
    return line.size() >= static_cast<std::size_t>(ini_max_line) || line.find('\0') != std::string::npos;
}

bool SettingsFile::read(const std::string& path) {
    std::string text;
    std::string why;
    if (!FileIO::readSmall(path, kMaxBytes, text, why)) {
        if (!why.empty()) {
            problems.push_back({0, why});
        }
        return false;
    }
    parse(text);
    return true;
}

void SettingsFile::parse(const std::string& text) {
    LineFeed feed;
    feed.text = &text;
    feed.file = this;
    ini_parse_stream(&readLine, &feed, &takeEntry, &feed);
    closeLine(feed);
}
