#include "persist/SettingsFile.h"

#include "persist/FileIO.h"

#include <ini.h>

#include <cctype>
#include <cstring>

namespace {

// What the reader strips around lines and names: all that isspace() takes, '\r' included.
const char* const kBlanks = " \t\n\v\f\r";

bool isBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// Where the first of chars stands in t, or npos when an inline comment (';' after a blank) or the
// end comes first.
std::size_t beforeComment(const std::string& t, const char* chars) {
    bool afterBlank = false;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (std::strchr(chars, t[i]) != nullptr) {
            return i;
        }
        if (afterBlank && t[i] == ';') {
            return std::string::npos;
        }
        afterBlank = isBlank(t[i]);
    }
    return std::string::npos;
}

// How the reader takes line (a byte-order mark already skipped); afterEntry: an entry came since
// the last section began, so an indented line continues it.
SettingsFile::Line kindOf(const std::string& line, bool afterEntry) {
    using Line = SettingsFile::Line;
    const std::string t = FileIO::trimmed(line, kBlanks);
    if (t.empty() || t[0] == ';' || t[0] == '#') {
        return {Line::Quiet, "", ""};
    }
    if (afterEntry && isBlank(line[0])) {
        return {Line::Continued, "", ""};
    }
    if (t[0] == '[') {
        const std::size_t close = beforeComment(t.substr(1), "]");
        return close == std::string::npos ? Line{Line::Bad, "", ""} : Line{Line::Section, t.substr(1, close), ""};
    }
    const std::size_t separator = beforeComment(t, "=:");
    if (separator == std::string::npos) {
        return {Line::Bad, "", ""};
    }
    return {Line::Entry, FileIO::trimmed(t.substr(0, separator), kBlanks), ""};
}

// Feeds inih one line at a time and keeps count, so every entry and every bad line can be named
// by its line number (inih's handler is not told the line).
struct LineFeed {
    const std::string* text = nullptr;
    std::size_t at = 0;                                      // where the next line starts
    int line = 0;                                            // the line inih is working on
    bool lineUsed = false;                                   // inih made an entry of it
    const std::vector<SettingsFile::Line>* kinds = nullptr;  // how the reader takes each line
    SettingsFile* file = nullptr;
};

// A line inih made no entry of is a bad one unless it is a blank, a comment or a section header.
void closeLine(LineFeed& feed) {
    if (feed.line == 0 || feed.lineUsed) {
        return;
    }
    const SettingsFile::Line::Kind kind = (*feed.kinds)[static_cast<std::size_t>(feed.line) - 1].kind;
    if (kind != SettingsFile::Line::Quiet && kind != SettingsFile::Line::Section) {
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
    const std::string text = feed.text->substr(feed.at, end - feed.at);
    feed.at = end;
    ++feed.line;
    feed.lineUsed = false;
    if (SettingsFile::refusedWhole(text) || text.size() >= static_cast<std::size_t>(room)) {
        // inih would cut it and read the rest as lines of their own: give it a blank instead.
        feed.file->problems.push_back({feed.line, "line too long or not text"});
        feed.lineUsed = true;
        std::strcpy(into, "\n");
        return into;
    }
    std::memcpy(into, text.c_str(), text.size() + 1);
    return into;
}

int takeEntry(void* user, const char* section, const char* name, const char* value) {
    LineFeed& feed = *static_cast<LineFeed*>(user);
    feed.lineUsed = true;
    feed.file->entries.push_back({feed.line, section, name, value});
    return 1;  // go on: every line is judged on its own
}

// The line the game writes for an entry; an empty value leaves no blank at the line's end.
std::string entryLine(const std::string& name, const std::string& value) {
    return name + " =" + (value.empty() ? "" : " " + value);
}

std::string headerLine(const std::string& section) { return "[" + section + "]"; }

}  // namespace

bool SettingsFile::refusedWhole(const std::string& line) {
    return line.size() >= static_cast<std::size_t>(ini_max_line) || line.find('\0') != std::string::npos;
}

std::vector<SettingsFile::Line> SettingsFile::lines(const std::string& text) {
    std::vector<Line> found;
    bool afterEntry = false;
    // The reader skips a byte-order mark; the line after it is read as any other.
    const std::string bom = "\xEF\xBB\xBF";
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        const bool ended = end != std::string::npos;
        end = ended ? end : text.size();
        const std::string whole = text.substr(at, end - at);
        const std::size_t marked = at == 0 && whole.compare(0, bom.size(), bom) == 0 ? bom.size() : 0;
        at = end + 1;
        Line line = refusedWhole(whole + (ended ? "\n" : "")) ? Line{Line::Refused, "", ""}
                                                              : kindOf(whole.substr(marked), afterEntry);
        if (line.kind == Line::Section) {
            afterEntry = false;
        } else if (line.kind == Line::Entry) {
            afterEntry = !line.name.empty();  // the reader continues no nameless entry
        }
        line.text = whole;
        line.indented = whole.size() > marked && isBlank(whole[marked]);
        found.push_back(line);
    }
    return found;
}

std::string SettingsFile::written(const std::vector<Setting>& settings) {
    std::string out;
    std::string section;
    for (const Setting& setting : settings) {
        if (section != setting.section) {
            section = setting.section;
            out += (out.empty() ? "" : "\n") + headerLine(section) + "\n";
        }
        out += entryLine(setting.name, setting.value) + "\n";
    }
    return out;
}

std::string SettingsFile::merged(const std::string& old, const std::vector<Setting>& settings) {
    const std::vector<Line> kinds = lines(old);
    std::vector<std::string> out;
    std::vector<bool> written(settings.size(), false);
    struct Place {
        std::string section;
        std::size_t last;    // its last entry (or its header) in out: what it lacks goes after it
        bool risky = false;  // an indented line follows there, which a line put there would take in
    };
    std::vector<Place> places;
    std::string section;
    bool afterOurs = false;  // the last entry was one of settings, rewritten
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const Line& line = kinds[i];
        if (line.kind == Line::Continued && afterOurs) {
            continue;  // ours says all in one line
        }
        const bool indented = line.indented;
        out.push_back(line.text);
        if (line.kind == Line::Section) {
            if (indented && !places.empty()) {
                places.back().risky = true;  // a line put before it would take it in
            }
            section = line.name;
            places.push_back(Place{section, out.size() - 1});
        } else if (line.kind == Line::Entry) {
            bool ours = false;
            for (std::size_t s = 0; s < settings.size(); ++s) {
                if (section == settings[s].section && line.name == settings[s].name) {
                    out.back() = entryLine(line.name, settings[s].value);
                    written[s] = true;
                    ours = true;
                }
            }
            afterOurs = ours;
            if (!places.empty()) {
                places.back().last = out.size() - 1;
                places.back().risky = false;
            }
        } else if (line.kind != Line::Quiet && line.kind != Line::Refused && indented && !places.empty()) {
            places.back().risky = true;
        }
    }
    // What the file lacks goes after the last entry of its section, in the order of settings, or
    // in a section of its own at the end where an indented line would take it in.
    for (std::size_t s = 0; s < settings.size(); ++s) {
        if (written[s]) {
            continue;
        }
        const std::string line = entryLine(settings[s].name, settings[s].value);
        bool placed = false;
        for (std::size_t p = places.size(); p-- > 0 && !placed;) {
            if (places[p].section == settings[s].section && !places[p].risky) {
                const std::size_t after = places[p].last;
                out.insert(out.begin() + static_cast<long>(after) + 1, line);
                for (auto& other : places) {
                    other.last += other.last > after ? 1 : 0;
                }
                places[p].last = after + 1;  // the next one goes after this one
                placed = true;
            } else if (places[p].section == settings[s].section) {
                break;  // the last such section is risky: a new one at the end
            }
        }
        if (!placed) {
            while (!out.empty() && FileIO::trimmed(out.back()).empty()) {
                out.pop_back();
            }
            if (!out.empty()) {
                out.push_back("");
            }
            out.push_back(headerLine(settings[s].section));
            places.push_back(Place{settings[s].section, out.size() - 1});
            out.push_back(line);
            places.back().last = out.size() - 1;
        }
    }
    std::string text;
    for (const std::string& line : out) {
        text += line + "\n";
    }
    return text;
}

std::string SettingsFile::listed(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) {
        // ", ;" would start a comment for the reader: an item that starts with ';' follows its
        // comma at once.
        text += (text.empty() ? "" : !item.empty() && item[0] == ';' ? "," : ", ") + item;
    }
    return text;
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
    const std::vector<Line> kinds = lines(text);
    LineFeed feed;
    feed.text = &text;
    feed.kinds = &kinds;
    feed.file = this;
    ini_parse_stream(&readLine, &feed, &takeEntry, &feed);
    closeLine(feed);
}
