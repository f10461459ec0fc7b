#include "persist/SettingsFile.h"

#include "persist/FileIO.h"

#include <ini.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// The inline comment of an entry's line with the blanks before it (" ; quiet"), or "" for none:
// what the reader drops, so a new value can stand before it.
std::string commentOf(const std::string& line) {
    const std::size_t separator = beforeComment(line, "=:");
    if (separator == std::string::npos) {
        return "";
    }
    bool afterBlank = false;  // as inih looks at the value: from the separator's next byte
    for (std::size_t i = separator + 1; i < line.size(); ++i) {
        if (afterBlank && line[i] == ';') {
            std::size_t from = i;
            while (from > separator + 1 && isBlank(line[from - 1])) {
                --from;
            }
            return line.substr(from);
        }
        afterBlank = isBlank(line[i]);
    }
    return "";
}

// The characters a quoted item writes after a backslash.
bool escaped(char c) { return c == '"' || c == '\\' || c == ',' || c == ';'; }

// Every line of settings reads back from text with its value: none is cut by the reader.
bool readsBack(const std::string& text, const std::vector<SettingsFile::Setting>& settings, std::string& why) {
    SettingsFile file;
    file.parse(text);
    for (const SettingsFile::Setting& setting : settings) {
        bool found = false;
        for (const SettingsFile::Entry& entry : file.entries) {
            if (entry.section != setting.section || entry.name != setting.name) {
                continue;
            }
            found = true;
            if (entry.value != setting.value) {
                found = false;
                break;
            }
        }
        if (!found) {
            why = "[" + setting.section + "] " + setting.name +
                  " would not read back as written (a line the reader refuses?); the file is kept as it is";
            return false;
        }
    }
    return true;
}

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
                    out.back() = entryLine(line.name, settings[s].value) + commentOf(line.text);
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
    SettingsFile back;
    back.parse("v = " + text + "\n");
    if (back.entries.size() == 1 && back.entries[0].value == text && SettingsFile::items(text) == items) {
        return text;  // as the game always wrote it
    }
    std::string quoted;
    for (const std::string& item : items) {
        quoted += std::string(quoted.empty() ? "" : ", ") + "\"";
        for (const char c : item) {
            quoted += escaped(c) ? std::string("\\") + c : std::string(1, c);
        }
        quoted += "\"";
    }
    return quoted;
}

std::vector<std::string> SettingsFile::items(const std::string& value) {
    std::vector<std::string> found;
    std::size_t from = 0;
    while (from <= value.size()) {
        std::size_t comma = value.find(',', from);
        comma = comma == std::string::npos ? value.size() : comma;
        const std::string item = FileIO::trimmed(value.substr(from, comma - from));
        if (!item.empty()) {
            found.push_back(item);
        }
        from = comma + 1;
    }
    return found;
}

bool SettingsFile::quotedItems(const std::string& value, std::vector<std::string>& found) {
    found.clear();
    std::size_t at = 0;
    while (at <= value.size()) {
        while (at < value.size() && (value[at] == ' ' || value[at] == '\t')) {
            ++at;
        }
        if (at < value.size() && value[at] == '"') {
            std::string item;
            bool closed = false;
            for (++at; at < value.size() && !closed; ++at) {
                if (value[at] == '\\' && at + 1 < value.size()) {
                    item += value[++at];
                } else if (value[at] == '"') {
                    closed = true;
                } else {
                    item += value[at];
                }
            }
            while (at < value.size() && (value[at] == ' ' || value[at] == '\t')) {
                ++at;
            }
            if (!closed || (at < value.size() && value[at] != ',')) {
                return false;
            }
            found.push_back(item);
            ++at;  // past the comma, or the end
            continue;
        }
        std::size_t comma = value.find(',', at);
        comma = comma == std::string::npos ? value.size() : comma;
        const std::string item = FileIO::trimmed(value.substr(at, comma - at));
        if (!item.empty()) {
            found.push_back(item);
        }
        at = comma + 1;
    }
    return true;
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

namespace {

// Opens and locks the lock file beside a settings file: its descriptor, held until closed, or -1
// with why. The lock file is never written or removed, so every game locks the same file.
int lockedFile(const std::string& path, std::string& why) {
    const int fd = FileIO::openRegular(path, O_RDONLY | O_CREAT, why);
    if (fd >= 0 && !FileIO::lockExclusive(fd, path)) {
        why = errno == EWOULDBLOCK
                  ? "another game kept " + path + " locked for " + std::to_string(FileIO::kLockWaitMillis / 1000) + " s"
                  : path + ": " + std::strerror(errno);
        ::close(fd);
        return -1;
    }
    return fd;
}

// Removes the temporaries of writes that never finished (a game killed mid-write). Every game
// writes its temporary only while it holds the lock, so none found under it is still being written.
void removeLeftovers(const std::string& target) {
    const std::string folder = FileIO::folderOf(target);
    const std::string stem = target.substr(target.find_last_of('/') + 1) + ".tmp-";
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    for (const dirent* entry = ::readdir(dir); entry != nullptr; entry = ::readdir(dir)) {
        if (std::strncmp(entry->d_name, stem.c_str(), stem.size()) == 0) {
            FileIO::removeIfThere(folder + "/" + entry->d_name);
        }
    }
    ::closedir(dir);
}

// text put at target (no link) through a temporary of its own with mode (0: a fresh file's),
// renamed over it, then its folder flushed; saved says how it went.
void putInPlace(const std::string& target, const std::string& text, mode_t mode, SettingsFile::Saved& saved) {
    removeLeftovers(target);
    std::string temporary;
    if (!FileIO::writeTemporary(target, text, mode, temporary, saved.why)) {
        return;
    }
    if (!FileIO::rename(temporary, target, saved.why)) {
        FileIO::removeIfThere(temporary);
        return;
    }
    saved.written = true;
    FileIO::syncFolder(target, saved.why);
}

// What a file looked like when read: a hand edit or another program's write changes one of these.
struct Seen {
    bool there = false;
    struct stat info {};
    bool operator==(const Seen& other) const {
        return there == other.there &&
               (!there || (info.st_ino == other.info.st_ino && info.st_size == other.info.st_size &&
                           info.st_mtim.tv_sec == other.info.st_mtim.tv_sec &&
                           info.st_mtim.tv_nsec == other.info.st_mtim.tv_nsec &&
                           info.st_ctim.tv_sec == other.info.st_ctim.tv_sec &&
                           info.st_ctim.tv_nsec == other.info.st_ctim.tv_nsec));
    }
};

Seen seen(const std::string& target) {
    Seen now;
    now.there = ::lstat(target.c_str(), &now.info) == 0;
    return now;
}

// An editor does not take our lock: a file changed by hand while it was merged is read and merged
// again rather than overwritten, a few times at most (a program rewriting it without end wins).
constexpr int kMergeTries = 4;

// The save, once the lock is held.
SettingsFile::Saved saveLocked(const std::string& path, const std::vector<SettingsFile::Setting>& changed,
                               const std::vector<SettingsFile::Setting>& whole) {
    SettingsFile::Saved saved;
    // A link (as a dotfile manager keeps the file) is written through: the file it leads to is
    // replaced, and the link stays.
    std::string target;
    if (!FileIO::throughLinks(path, target, saved.why)) {
        return saved;
    }
    removeLeftovers(target);
    for (int tries = 1;; ++tries) {
        // Looked at before it is read, so an edit between the two is seen as a change below.
        const Seen before = seen(target);
        if (before.there && S_ISREG(before.info.st_mode) && before.info.st_nlink > 1) {
            saved.why = "it has another name (a hard link), which a new file would part from it";
            return saved;
        }
        std::string old;
        std::string unread;
        if (!FileIO::readSmall(target, SettingsFile::kMaxBytes, old, unread) && !unread.empty()) {
            saved.why = unread;  // a file the game cannot read is not replaced: it may be the player's own
            return saved;
        }
        const bool fresh = !before.there;
        const std::string text = fresh ? SettingsFile::merged("", whole) : SettingsFile::merged(old, changed);
        if (text.size() > SettingsFile::kMaxBytes) {
            saved.why = "it would be " + std::to_string(text.size()) + " bytes, more than the " +
                        std::to_string(SettingsFile::kMaxBytes) + " the game reads; the file is kept as it is";
            return saved;
        }
        if (!readsBack(text, fresh ? whole : changed, saved.why)) {
            return saved;
        }
        std::string temporary;
        const mode_t mode = before.there ? before.info.st_mode & 07777 : 0;
        if (!FileIO::writeTemporary(target, text, mode, temporary, saved.why)) {
            return saved;
        }
        if (!(seen(target) == before) && tries < kMergeTries) {
            FileIO::removeIfThere(temporary);
            continue;
        }
        if (!FileIO::rename(temporary, target, saved.why)) {
            FileIO::removeIfThere(temporary);
            return saved;
        }
        saved.written = true;
        FileIO::syncFolder(target, saved.why);
        return saved;
    }
}

// A file replaced whole by text, once the lock is held: as a settings file is written.
SettingsFile::Saved replaceLocked(const std::string& path, const std::string& text) {
    SettingsFile::Saved saved;
    std::string target;
    if (!FileIO::throughLinks(path, target, saved.why)) {
        return saved;
    }
    struct stat info {};
    const bool there = ::lstat(target.c_str(), &info) == 0;
    if (there && S_ISREG(info.st_mode) && info.st_nlink > 1) {
        saved.why = "it has another name (a hard link), which a new file would part from it";
        return saved;
    }
    putInPlace(target, text, there ? info.st_mode & 07777 : 0, saved);
    return saved;
}

}  // namespace

SettingsFile::Saved SettingsFile::replace(const std::string& path, const std::string& text) {
    Saved saved;
    const int lock = lockedFile(path + kLockSuffix, saved.why);
    if (lock < 0) {
        return saved;
    }
    saved = replaceLocked(path, text);
    ::close(lock);
    return saved;
}

SettingsFile::Saved SettingsFile::save(const std::string& path, const std::vector<Setting>& changed,
                                       const std::vector<Setting>& whole) {
    Saved saved;
    const int lock = lockedFile(path + kLockSuffix, saved.why);
    if (lock < 0) {
        return saved;
    }
    saved = saveLocked(path, changed, whole);
    ::close(lock);  // releases the lock
    return saved;
}
