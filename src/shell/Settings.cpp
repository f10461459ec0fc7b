#include "shell/Settings.h"

#include "persist/FileIO.h"
#include "persist/SettingsFile.h"

#include "present/Render.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <cstdlib>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr const char* kKeysSection = "keys";
constexpr const char* kPadSection = "pad";
constexpr const char* kSoundSection = "sound";
constexpr const char* kWindowSection = "window";
constexpr const char* kPlaySection = "play";

// Tells the refused lines, the first kMaxToldLines of them one by one and the rest as a count, so
// a file of junk cannot flood the terminal. What the file holds is quoted escaped.
class Refusals {
public:
    static constexpr int kMaxToldLines = 10;

    explicit Refusals(std::ostream& out) : out(out) {}

    void add(int line, const std::string& what) {
        if (told >= kMaxToldLines) {
            ++untold;
            return;
        }
        ++told;
        std::string text = std::string(Settings::kFileName);
        if (line > 0) {
            text += " line " + std::to_string(line);
        }
        out << "bramblehoof: " << FileIO::printable(text + ": " + what) << std::endl;
    }

    void finish() {
        if (untold > 0) {
            out << "bramblehoof: " << Settings::kFileName << ": ... and " << untold << " more line"
                << (untold == 1 ? "" : "s") << " refused" << std::endl;
        }
    }

private:
    std::ostream& out;
    int told = 0;
    int untold = 0;
};

// The keys or pad buttons of one entry's value: names as SDL spells them, comma-separated, each
// looked up by named (which gives none for a name it does not know). False, with the first
// unknown name, when one is unknown; an empty value names nothing.
template <typename T>
bool listNamed(const std::string& value, T (*named)(const char*), T none, std::vector<T>& found, std::string& unknown) {
    std::size_t from = 0;
    while (from <= value.size()) {
        std::size_t comma = value.find(',', from);
        if (comma == std::string::npos) {
            comma = value.size();
        }
        const std::string name = FileIO::trimmed(value.substr(from, comma - from));
        from = comma + 1;
        if (name.empty()) {
            continue;
        }
        const T item = named(name.c_str());
        if (item == none) {
            unknown = name;
            return false;
        }
        found.push_back(item);
    }
    return true;
}

// One value of a Number or Switch row; false with why when the value is not one.
bool readValue(const Settings::Row& row, const std::string& value, Settings& into, std::string& why) {
    if (row.kind == Settings::Kind::Switch) {
        static const char* const kOn[] = {"on", "true", "yes", "1"};
        static const char* const kOff[] = {"off", "false", "no", "0"};
        for (int i = 0; i < 4; ++i) {
            if (value == kOn[i] || value == kOff[i]) {
                into.*row.flag = value == kOn[i];
                return true;
            }
        }
        why = "'" + value + "' is neither on nor off";
        return false;
    }
    char* end = nullptr;
    const long number = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || *end != '\0' || number < row.low || number > row.high) {
        why =
            "'" + value + "' is not a whole number from " + std::to_string(row.low) + " to " + std::to_string(row.high);
        return false;
    }
    into.*row.number = static_cast<int>(number);
    return true;
}

const Settings::Row* rowOf(const std::string& section, const std::string& name) {
    for (const Settings::Row& row : Settings::table()) {
        if (section == row.section && name == row.name) {
            return &row;
        }
    }
    return nullptr;
}

bool sectionKnown(const std::string& section) {
    for (const Settings::Row& row : Settings::table()) {
        if (section == row.section) {
            return true;
        }
    }
    return false;
}

void applyEntries(const SettingsFile& file, Settings& settings, std::ostream& out) {
    Refusals problems(out);
    std::size_t nextProblem = 0;
    // Every refused line in the order of the file, whatever refused it.
    auto problemsBefore = [&](int line) {
        for (; nextProblem < file.problems.size() && file.problems[nextProblem].line < line; ++nextProblem) {
            problems.add(file.problems[nextProblem].line, file.problems[nextProblem].what);
        }
    };
    // The actions the file gives keys or buttons are freed of their own first: two actions may
    // swap keys, whichever line comes first (as the game itself writes them after a rebinding).
    const KeyBindings before = settings.keys;
    std::array<bool, KeyBindings::kActions> keysGiven{};
    std::array<bool, KeyBindings::kActions> buttonsGiven{};
    std::array<bool, KeyBindings::kActions> keysTaken{};  // a line of the action's was taken
    std::array<bool, KeyBindings::kActions> buttonsTaken{};
    for (const SettingsFile::Entry& entry : file.entries) {
        const Settings::Row* row = rowOf(entry.section, entry.name);
        if (row != nullptr && row->kind == Settings::Kind::Keys) {
            keysGiven[static_cast<std::size_t>(row->action) - 1] = true;
            settings.keys.unbindKeys(row->action);
        } else if (row != nullptr && row->kind == Settings::Kind::Buttons) {
            buttonsGiven[static_cast<std::size_t>(row->action) - 1] = true;
            std::string none;
            settings.keys.bindButtons(row->action, {}, none);
        }
    }
    for (const SettingsFile::Entry& entry : file.entries) {
        problemsBefore(entry.line);
        const Settings::Row* row = rowOf(entry.section, entry.name);
        if (row == nullptr) {
            if (sectionKnown(entry.section)) {
                problems.add(entry.line, "unknown entry '" + entry.name + "'");
            } else {
                problems.add(entry.line, "unknown entry '" + entry.name + "' in section [" + entry.section + "]");
            }
            continue;
        }
        std::string why;
        if (row->kind == Settings::Kind::Buttons) {
            std::vector<SDL_GameControllerButton> named;
            std::string unknown;
            if (!listNamed(entry.value, &SDL_GameControllerGetButtonFromString, SDL_CONTROLLER_BUTTON_INVALID, named,
                           unknown)) {
                problems.add(entry.line, "unknown pad button '" + unknown + "'");
                continue;
            }
            const auto kept = std::find_if(named.begin(), named.end(), &KeyBindings::reservedButton);
            if (kept != named.end()) {
                problems.add(entry.line, "button '" + std::string(SDL_GameControllerGetStringForButton(*kept)) +
                                             "' is the game's own (pause, the system's)");
            } else if (!settings.keys.bindButtons(row->action, named, why)) {
                problems.add(entry.line, why);
            } else {
                buttonsTaken[static_cast<std::size_t>(row->action) - 1] = true;
            }
            continue;
        }
        if (row->kind != Settings::Kind::Keys) {
            if (!readValue(*row, entry.value, settings, why)) {
                problems.add(entry.line, why);
            }
            continue;
        }
        std::vector<SDL_Keycode> named;
        std::string unknown;
        if (!listNamed(entry.value, &SDL_GetKeyFromName, static_cast<SDL_Keycode>(SDLK_UNKNOWN), named, unknown)) {
            problems.add(entry.line, "unknown key name '" + unknown + "'");
            continue;
        }
        const auto kept = std::find_if(named.begin(), named.end(), &KeyBindings::reserved);
        if (kept != named.end()) {
            problems.add(entry.line, "key '" + std::string(SDL_GetKeyName(*kept)) +
                                         "' is the game's own (pause, help, fullscreen, mute, menus)");
            continue;
        }
        if (!settings.keys.bind(row->action, named, why)) {
            problems.add(entry.line, why);
        } else {
            keysTaken[static_cast<std::size_t>(row->action) - 1] = true;
        }
    }
    problemsBefore(1 << 30);
    problems.finish();
    // An action whose every line was refused takes back what it had that no other action took.
    for (int i = 0; i < KeyBindings::kActions; ++i) {
        const auto action = static_cast<KeyBindings::Action>(i + 1);
        std::string unused;
        if (keysGiven[static_cast<std::size_t>(i)] && !keysTaken[static_cast<std::size_t>(i)]) {
            std::vector<SDL_Keycode> free;
            for (SDL_Keycode key : before.keysOf(action)) {
                if (settings.keys.actionOf(key) == KeyBindings::Action::None) {
                    free.push_back(key);
                }
            }
            settings.keys.bind(action, free, unused);  // none free: the action is left to the mouse or pad
        }
        if (buttonsGiven[static_cast<std::size_t>(i)] && !buttonsTaken[static_cast<std::size_t>(i)]) {
            std::vector<SDL_GameControllerButton> free;
            for (SDL_GameControllerButton button : before.buttonsOf(action)) {
                if (settings.keys.actionOfButton(button) == KeyBindings::Action::None) {
                    free.push_back(button);
                }
            }
            settings.keys.bindButtons(action, free, unused);
        }
    }
}

}  // namespace

const std::vector<Settings::Row>& Settings::table() {
    using A = KeyBindings::Action;
    constexpr int kMaxSide = 16384;  // larger than any screen; the desktop clamps the rest
    static const std::vector<Row> rows = {
        {kSoundSection, "music", Kind::Number, 0, 10, 10, &Settings::musicVolume, nullptr, A::None, "Music volume",
         Acts::Volumes},
        {kSoundSection, "effects", Kind::Number, 0, 10, 10, &Settings::effectsVolume, nullptr, A::None,
         "Effects volume", Acts::Volumes, true},
        {kSoundSection, "mute", Kind::Switch, 0, 1, 0, nullptr, &Settings::muted, A::None, "Mute", Acts::Mute},
        {kWindowSection, "fullscreen", Kind::Switch, 0, 1, 0, nullptr, &Settings::fullscreen, A::None, "Fullscreen",
         Acts::Fullscreen},
        {kWindowSection, "width", Kind::Number, kMinWindowWidth, kMaxSide, Render::kPicture.w, &Settings::windowWidth,
         nullptr, A::None},
        {kWindowSection, "height", Kind::Number, kMinWindowHeight, kMaxSide, Render::kPicture.h,
         &Settings::windowHeight, nullptr, A::None},
        {kPlaySection, "reduced_motion", Kind::Switch, 0, 1, 0, nullptr, &Settings::reducedMotion, A::None,
         "Reduced motion", Acts::Nothing},
        {kKeysSection, "up", Kind::Keys, 0, 0, 0, nullptr, nullptr, A::Up},
        {kKeysSection, "left", Kind::Keys, 0, 0, 0, nullptr, nullptr, A::Left},
        {kKeysSection, "down", Kind::Keys, 0, 0, 0, nullptr, nullptr, A::Down},
        {kKeysSection, "right", Kind::Keys, 0, 0, 0, nullptr, nullptr, A::Right},
        {kKeysSection, "stop", Kind::Keys, 0, 0, 0, nullptr, nullptr, A::Stop},
        {kKeysSection, "attack", Kind::Keys, 0, 0, 0, nullptr, nullptr, A::Attack},
        {kPadSection, "up", Kind::Buttons, 0, 0, 0, nullptr, nullptr, A::Up},
        {kPadSection, "left", Kind::Buttons, 0, 0, 0, nullptr, nullptr, A::Left},
        {kPadSection, "down", Kind::Buttons, 0, 0, 0, nullptr, nullptr, A::Down},
        {kPadSection, "right", Kind::Buttons, 0, 0, 0, nullptr, nullptr, A::Right},
        {kPadSection, "stop", Kind::Buttons, 0, 0, 0, nullptr, nullptr, A::Stop},
        {kPadSection, "attack", Kind::Buttons, 0, 0, 0, nullptr, nullptr, A::Attack},
    };
    return rows;
}

Settings::Settings() {
    for (const Row& row : table()) {
        if (row.kind == Kind::Number) {
            this->*row.number = row.fallback;
        } else if (row.kind == Kind::Switch) {
            this->*row.flag = row.fallback != 0;
        }
    }
}

namespace {

// The value a row has in settings now, as the file writes it.
std::string valueText(const Settings& settings, const Settings::Row& row) {
    if (row.kind == Settings::Kind::Number) {
        return std::to_string(settings.*row.number);
    }
    if (row.kind == Settings::Kind::Switch) {
        return settings.*row.flag ? "on" : "off";
    }
    std::string text;
    if (row.kind == Settings::Kind::Buttons) {
        for (SDL_GameControllerButton button : settings.keys.buttonsOf(row.action)) {
            text += (text.empty() ? "" : ", ") + std::string(SDL_GameControllerGetStringForButton(button));
        }
        return text;
    }
    for (SDL_Keycode key : settings.keys.keysOf(row.action)) {
        // ", ;" would start a comment for the reader: a ';' key's name follows its comma at once.
        const std::string name = SDL_GetKeyName(key);
        text += (text.empty() ? "" : name[0] == ';' ? "," : ", ") + name;
    }
    return text;
}

// A "name = value" line; an empty value leaves no blank at the line's end.
std::string entryLine(const std::string& name, const std::string& value) {
    return name + " =" + (value.empty() ? "" : " " + value);
}

// How the reader (inih) takes a line of a settings file, told apart as it does so that a merged
// file reads back as the game wrote it.
struct LineKind {
    enum Kind { Quiet, Continued, Section, Entry, Bad } kind = Quiet;
    std::string name;  // the section's or the entry's
};

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
        afterBlank = std::isspace(static_cast<unsigned char>(t[i])) != 0;
    }
    return std::string::npos;
}

// What the reader strips around lines and names: all that isspace() takes, '\r' included.
const char* const kReaderBlanks = " \t\n\v\f\r";

// afterEntry: an entry came since the last section began, so an indented line continues it.
LineKind kindOf(const std::string& line, bool afterEntry) {
    const std::string t = FileIO::trimmed(line, kReaderBlanks);
    if (t.empty() || t[0] == ';' || t[0] == '#') {
        return {LineKind::Quiet, ""};
    }
    if (afterEntry && std::isspace(static_cast<unsigned char>(line[0])) != 0) {
        return {LineKind::Continued, ""};
    }
    if (t[0] == '[') {
        const std::size_t close = beforeComment(t.substr(1), "]");
        return close == std::string::npos ? LineKind{LineKind::Bad, ""}
                                          : LineKind{LineKind::Section, t.substr(1, close)};
    }
    const std::size_t separator = beforeComment(t, "=:");
    if (separator == std::string::npos) {
        return {LineKind::Bad, ""};
    }
    return {LineKind::Entry, FileIO::trimmed(t.substr(0, separator), kReaderBlanks)};
}

}  // namespace

std::string Settings::text() const {
    std::string out;
    std::string section;
    for (const Row& row : table()) {
        if (section != row.section) {
            section = row.section;
            out += (out.empty() ? "[" : "\n[") + section + "]\n";
        }
        out += entryLine(row.name, valueText(*this, row)) + "\n";
    }
    return out;
}

std::string Settings::merged(const std::string& old) const {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < old.size();) {
        std::size_t end = old.find('\n', at);
        end = end == std::string::npos ? old.size() : end;
        lines.push_back(old.substr(at, end - at));
        at = end + 1;
    }
    const std::vector<Row>& rows = table();
    std::vector<bool> written(rows.size(), false);
    struct Place {
        std::string section;
        std::size_t last;    // its last entry (or its header): what it lacks goes after it
        bool risky = false;  // an indented line follows there, which a line put there would take in
    };
    std::vector<Place> places;
    std::string section;
    bool afterEntry = false;
    bool afterOurs = false;  // that entry was one of ours, rewritten
    // The reader skips a byte-order mark; the line after it is read as any other.
    const std::string bom = "\xEF\xBB\xBF";
    const std::size_t marked = !lines.empty() && lines[0].compare(0, bom.size(), bom) == 0 ? bom.size() : 0;
    for (std::size_t i = 0; i < lines.size();) {
        const std::string line = i == 0 ? lines[0].substr(marked) : lines[i];
        const bool ended = i + 1 < lines.size() || old.back() == '\n';
        const LineKind kind =
            SettingsFile::refusedWhole(lines[i] + (ended ? "\n" : "")) ? LineKind{} : kindOf(line, afterEntry);
        if (kind.kind == LineKind::Continued && afterOurs) {
            lines.erase(lines.begin() + static_cast<long>(i));  // ours says all in one line
            continue;
        }
        const bool indented = !line.empty() && std::isspace(static_cast<unsigned char>(line[0])) != 0;
        if (kind.kind == LineKind::Section) {
            if (indented && !places.empty()) {
                places.back().risky = true;  // a line put before it would take it in
            }
            section = kind.name;
            places.push_back(Place{section, i});
            afterEntry = false;
        } else if (kind.kind == LineKind::Entry) {
            bool ours = false;
            for (std::size_t r = 0; r < rows.size(); ++r) {
                if (section == rows[r].section && kind.name == rows[r].name) {
                    lines[i] = entryLine(kind.name, valueText(*this, rows[r]));
                    written[r] = true;
                    ours = true;
                }
            }
            afterEntry = !kind.name.empty();  // the reader continues no nameless entry
            afterOurs = ours;
            if (!places.empty()) {
                places.back().last = i;
                places.back().risky = false;
            }
        } else if (kind.kind != LineKind::Quiet && indented && !places.empty()) {
            places.back().risky = true;
        }
        ++i;
    }
    // What the file lacks goes after the last entry of its section, in the table's order, or in a
    // section of its own at the end where an indented line would take it in.
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (written[r]) {
            continue;
        }
        const std::string line = entryLine(rows[r].name, valueText(*this, rows[r]));
        bool placed = false;
        for (std::size_t s = places.size(); s-- > 0 && !placed;) {
            if (places[s].section == rows[r].section && !places[s].risky) {
                const std::size_t after = places[s].last;
                lines.insert(lines.begin() + static_cast<long>(after) + 1, line);
                for (auto& other : places) {
                    other.last += other.last > after ? 1 : 0;
                }
                places[s].last = after + 1;  // the next one goes after this one
                placed = true;
            } else if (places[s].section == rows[r].section) {
                break;  // the last such section is risky: a new one at the end
            }
        }
        if (!placed) {
            while (!lines.empty() && FileIO::trimmed(lines.back()).empty()) {
                lines.pop_back();
            }
            if (!lines.empty()) {
                lines.push_back("");
            }
            lines.push_back(std::string("[") + rows[r].section + "]");
            places.push_back(Place{rows[r].section, lines.size() - 1});
            lines.push_back(line);
            places.back().last = lines.size() - 1;
        }
    }
    std::string out;
    for (const std::string& line : lines) {
        out += line + "\n";
    }
    return out;
}

bool Settings::save(std::string& why) const {
    const std::string path = file(kFileName);
    if (path.empty()) {
        why = "no folder for the settings (neither XDG_CONFIG_HOME nor HOME is set)";
        return false;
    }
    // The folder and the one above it (~/.config on a fresh account).
    mkdir(FileIO::folderOf(folder).c_str(), 0755);
    mkdir(folder.c_str(), 0755);
    std::string old;
    std::string unread;
    if (!FileIO::readSmall(path, SettingsFile::kMaxBytes, old, unread) && !unread.empty()) {
        why = unread;  // a file the game cannot read is not replaced: it may be the player's own
        return false;
    }
    const std::string fresh = path + ".tmp";
    if (!FileIO::writeFresh(fresh, merged(old), why) || !FileIO::rename(fresh, path, why)) {
        FileIO::removeIfThere(fresh);
        return false;
    }
    return FileIO::syncFolder(path, why);
}

std::string Settings::configFolder() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') {
        return std::string(xdg) + "/bramblehoof";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + "/.config/bramblehoof";
    }
    return "";
}

std::string Settings::file(const char* name) const { return folder.empty() ? "" : folder + "/" + name; }

void Settings::load(std::ostream& problems) {
    folder = configFolder();
    if (folder.empty()) {
        return;
    }
    SettingsFile read;
    read.read(file(kFileName));
    applyEntries(read, *this, problems);
}

void Settings::apply(const std::string& text, std::ostream& problems) {
    SettingsFile read;
    read.parse(text);
    applyEntries(read, *this, problems);
}
