#include "present/Settings.h"

#include "persist/FileIO.h"
#include "persist/SettingsFile.h"

#include "present/Language.h"
#include "present/Render.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr const char* kKeysSection = "keys";
constexpr const char* kPadSection = "pad";
constexpr const char* kSoundSection = "sound";
constexpr const char* kWindowSection = "window";
constexpr const char* kPlaySection = "play";
constexpr const char* kDisplaySection = "display";

// The language row's values in the file: the desktop's, then each shipped language's code.
const std::vector<const char*>& languageChoices() {
    static const std::vector<const char*> choices = [] {
        std::vector<const char*> all = {"system"};
        for (const Language::Shipped& one : Language::shipped()) {
            all.push_back(one.code);
        }
        return all;
    }();
    return choices;
}

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
// Names the game quotes (a ';' first, "Keypad ,") are read quoted when the plain reading fails,
// so a file the plain reading takes reads as it always did.
template <typename T>
bool listNamed(const std::string& value, T (*named)(const char*), T none, std::vector<T>& found, std::string& unknown) {
    const auto look = [&](const std::vector<std::string>& names, std::string& missing) {
        found.clear();
        for (const std::string& name : names) {
            const T item = named(name.c_str());
            if (item == none) {
                missing = name;
                return false;
            }
            found.push_back(item);
        }
        return true;
    };
    if (look(SettingsFile::items(value), unknown)) {
        return true;
    }
    std::vector<std::string> quoted;
    std::string unused;
    if (SettingsFile::quotedItems(value, quoted) && look(quoted, unused)) {
        return true;
    }
    found.clear();
    return false;
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
    if (row.kind == Settings::Kind::Choice) {
        std::string all;
        for (std::size_t i = 0; i < row.choices->size(); ++i) {
            if (value == (*row.choices)[i]) {
                into.*row.number = static_cast<int>(i);
                return true;
            }
            all += (i == 0 ? "" : ", ") + std::string((*row.choices)[i]);
        }
        why = "'" + value + "' is none of " + all;
        return false;
    }
    char* end = nullptr;
    const long number = std::strtol(value.c_str(), &end, 10);
    if (!row.steps.empty()) {
        if (value.empty() || *end != '\0' ||
            std::find(row.steps.begin(), row.steps.end(), number) == row.steps.end()) {
            std::string listed;
            for (const int choice : row.steps) {
                listed += (listed.empty() ? "" : ", ") + std::to_string(choice);
            }
            why = "'" + value + "' is not one of " + listed;
            return false;
        }
        into.*row.number = static_cast<int>(number);
        return true;
    }
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

// One refused line: told in the order of the file, whatever pass refused it.
struct Refused {
    int line;
    std::string what;
};

using Action = KeyBindings::Action;
using Command = KeyBindings::Command;

std::size_t slotOf(Action action) { return static_cast<std::size_t>(action) - 1; }
std::size_t slotOf(Command command) { return static_cast<std::size_t>(command) - 1; }

// A hero's entry, or a sound, window or play one.
void applyEntry(const SettingsFile::Entry& entry, const Settings::Row& row, Settings& settings,
                std::vector<Refused>& refused, std::array<bool, KeyBindings::kActions>& keysTaken,
                std::array<bool, KeyBindings::kActions>& buttonsTaken) {
    std::string why;
    if (row.kind == Settings::Kind::Buttons) {
        std::vector<SDL_GameControllerButton> named;
        std::string unknown;
        if (!listNamed(entry.value, &SDL_GameControllerGetButtonFromString, SDL_CONTROLLER_BUTTON_INVALID, named,
                       unknown)) {
            refused.push_back({entry.line, "unknown pad button '" + unknown + "'"});
            return;
        }
        const auto kept = std::find_if(named.begin(), named.end(), [&settings](SDL_GameControllerButton button) {
            return settings.keys.keptButton(button);
        });
        if (kept != named.end()) {
            refused.push_back({entry.line, "button '" + std::string(SDL_GameControllerGetStringForButton(*kept)) +
                                               "' is the game's own (pause, the system's)"});
        } else if (!settings.keys.bindButtons(row.action, named, why)) {
            refused.push_back({entry.line, why});
        } else {
            buttonsTaken[slotOf(row.action)] = true;
        }
        return;
    }
    if (row.kind != Settings::Kind::Keys) {
        if (!readValue(row, entry.value, settings, why)) {
            refused.push_back({entry.line, why});
        }
        return;
    }
    std::vector<SDL_Keycode> named;
    std::string unknown;
    if (!listNamed(entry.value, &SDL_GetKeyFromName, static_cast<SDL_Keycode>(SDLK_UNKNOWN), named, unknown)) {
        refused.push_back({entry.line, "unknown key name '" + unknown + "'"});
        return;
    }
    const auto kept =
        std::find_if(named.begin(), named.end(), [&settings](SDL_Keycode key) { return settings.keys.kept(key); });
    if (kept != named.end()) {
        refused.push_back({entry.line, "key '" + std::string(SDL_GetKeyName(*kept)) +
                                           "' is the game's own (pause, help, fullscreen, mute, menus)"});
        return;
    }
    if (!settings.keys.bind(row.action, named, why)) {
        refused.push_back({entry.line, why});
    } else {
        keysTaken[slotOf(row.action)] = true;
    }
}

// A command's key by its name; none (as listNamed wants it) for a name SDL does not know.
KeyBindings::Chord chordOf(const char* name) {
    const KeyBindings::Chord chord = KeyBindings::chordNamed(name);
    return chord.key == SDLK_UNKNOWN ? KeyBindings::Chord{} : chord;
}

// A command's entry: its keys ("Shift+Tab" with a modifier) or its pad buttons. The hero's lines
// come later, so an action still holds only its defaults here: what a command of play is given
// is taken from them (pause = Space leaves the attack to the click), as the hero could not use it.
bool applyCommandEntry(const SettingsFile::Entry& entry, const Settings::Row& row, Settings& settings,
                       std::vector<Refused>& refused) {
    std::string why;
    std::string unknown;
    if (row.kind == Settings::Kind::Buttons) {
        std::vector<SDL_GameControllerButton> named;
        if (!listNamed(entry.value, &SDL_GameControllerGetButtonFromString, SDL_CONTROLLER_BUTTON_INVALID, named,
                       unknown)) {
            refused.push_back({entry.line, "unknown pad button '" + unknown + "'"});
            return false;
        }
        KeyBindings trial = settings.keys;
        for (int i = 1; i <= KeyBindings::kActions && KeyBindings::actsInPlay(row.command); ++i) {
            const auto action = static_cast<Action>(i);
            std::vector<SDL_GameControllerButton> left;
            for (const SDL_GameControllerButton button : trial.buttonsOf(action)) {
                if (std::find(named.begin(), named.end(), button) == named.end()) {
                    left.push_back(button);
                }
            }
            trial.bindButtons(action, left, why);
        }
        if (!trial.bindCommandButtons(row.command, named, why)) {
            refused.push_back({entry.line, why});
            return false;
        }
        settings.keys = trial;
        return true;
    }
    std::vector<KeyBindings::Chord> named;
    if (!listNamed(entry.value, &chordOf, KeyBindings::Chord{}, named, unknown)) {
        refused.push_back({entry.line, "unknown key name '" + unknown + "'"});
        return false;
    }
    KeyBindings trial = settings.keys;
    for (int i = 1; i <= KeyBindings::kActions && KeyBindings::actsInPlay(row.command); ++i) {
        const auto action = static_cast<Action>(i);
        std::vector<SDL_Keycode> left;
        for (const SDL_Keycode key : trial.keysOf(action)) {
            if (std::none_of(named.begin(), named.end(), [key](const KeyBindings::Chord& c) { return c.key == key; })) {
                left.push_back(key);
            }
        }
        trial.bind(action, left, why);
    }
    if (!trial.bindCommand(row.command, named, why)) {
        refused.push_back({entry.line, why});
        return false;
    }
    settings.keys = trial;
    return true;
}

void applyEntries(const SettingsFile& file, Settings& settings, std::ostream& out) {
    std::vector<Refused> refused;
    // The actions and commands the file gives keys or buttons are freed of their own first: two
    // may swap keys, whichever line comes first (as the game itself writes them after a rebinding).
    const KeyBindings before = settings.keys;
    std::array<bool, KeyBindings::kActions> keysGiven{};
    std::array<bool, KeyBindings::kActions> buttonsGiven{};
    std::array<bool, KeyBindings::kActions> keysTaken{};  // a line of the action's was taken
    std::array<bool, KeyBindings::kActions> buttonsTaken{};
    std::array<bool, KeyBindings::kCommands> commandKeysGiven{};
    std::array<bool, KeyBindings::kCommands> commandButtonsGiven{};
    std::array<bool, KeyBindings::kCommands> commandKeysTaken{};
    std::array<bool, KeyBindings::kCommands> commandButtonsTaken{};
    std::string none;
    for (const SettingsFile::Entry& entry : file.entries) {
        const Settings::Row* row = rowOf(entry.section, entry.name);
        if (row == nullptr || (row->kind != Settings::Kind::Keys && row->kind != Settings::Kind::Buttons)) {
            continue;
        }
        const bool keys = row->kind == Settings::Kind::Keys;
        if (row->command != Command::None && keys) {
            commandKeysGiven[slotOf(row->command)] = true;
            settings.keys.bindCommand(row->command, {}, none);
        } else if (row->command != Command::None) {
            commandButtonsGiven[slotOf(row->command)] = true;
            settings.keys.bindCommandButtons(row->command, {}, none);
        } else if (keys) {
            keysGiven[slotOf(row->action)] = true;
            settings.keys.unbindKeys(row->action);
        } else {
            buttonsGiven[slotOf(row->action)] = true;
            settings.keys.bindButtons(row->action, {}, none);
        }
    }
    // The commands' lines first, judged screen by screen; a key or button one gives a command of
    // play is taken from the hero's defaults. Then the hero's lines, refused what the game keeps.
    for (const SettingsFile::Entry& entry : file.entries) {
        const Settings::Row* row = rowOf(entry.section, entry.name);
        if (row != nullptr && row->command != Command::None && applyCommandEntry(entry, *row, settings, refused)) {
            (row->kind == Settings::Kind::Keys ? commandKeysTaken : commandButtonsTaken)[slotOf(row->command)] = true;
        }
    }
    // A command whose every line was refused takes back each key or button it had that means
    // nothing else where it is read.
    for (int i = 0; i < KeyBindings::kCommands; ++i) {
        const auto command = static_cast<Command>(i + 1);
        const auto slot = static_cast<std::size_t>(i);
        if (commandKeysGiven[slot] && !commandKeysTaken[slot]) {
            std::vector<KeyBindings::Chord> free;
            for (const KeyBindings::Chord& chord : before.chordsOf(command)) {
                std::vector<KeyBindings::Chord> more = free;
                more.push_back(chord);
                if (settings.keys.bindCommand(command, more, none)) {
                    free = more;
                }
            }
            settings.keys.bindCommand(command, free, none);
        }
        if (commandButtonsGiven[slot] && !commandButtonsTaken[slot]) {
            std::vector<SDL_GameControllerButton> free;
            for (const SDL_GameControllerButton button : before.buttonsOf(command)) {
                std::vector<SDL_GameControllerButton> more = free;
                more.push_back(button);
                if (settings.keys.bindCommandButtons(command, more, none)) {
                    free = more;
                }
            }
            settings.keys.bindCommandButtons(command, free, none);
        }
    }
    for (const SettingsFile::Entry& entry : file.entries) {
        const Settings::Row* row = rowOf(entry.section, entry.name);
        if (row == nullptr) {
            if (sectionKnown(entry.section)) {
                refused.push_back({entry.line, "unknown entry '" + entry.name + "'"});
            } else {
                refused.push_back(
                    {entry.line, "unknown entry '" + entry.name + "' in section [" + entry.section + "]"});
            }
        } else if (row->command == Command::None) {
            applyEntry(entry, *row, settings, refused, keysTaken, buttonsTaken);
        }
    }
    // An action whose every line was refused takes back what it had that no other action took.
    for (int i = 0; i < KeyBindings::kActions; ++i) {
        const auto action = static_cast<Action>(i + 1);
        std::string unused;
        if (keysGiven[static_cast<std::size_t>(i)] && !keysTaken[static_cast<std::size_t>(i)]) {
            std::vector<SDL_Keycode> free;
            for (SDL_Keycode key : before.keysOf(action)) {
                if (settings.keys.actionOf(key) == Action::None && !settings.keys.kept(key)) {
                    free.push_back(key);
                }
            }
            settings.keys.bind(action, free, unused);  // none free: the action is left to the mouse or pad
        }
        if (buttonsGiven[static_cast<std::size_t>(i)] && !buttonsTaken[static_cast<std::size_t>(i)]) {
            std::vector<SDL_GameControllerButton> free;
            for (SDL_GameControllerButton button : before.buttonsOf(action)) {
                if (settings.keys.actionOfButton(button) == Action::None && !settings.keys.keptButton(button)) {
                    free.push_back(button);
                }
            }
            settings.keys.bindButtons(action, free, unused);
        }
    }
    // The file's own problems after an entry's on the same line, as they were always told.
    for (const SettingsFile::Problem& problem : file.problems) {
        refused.push_back({problem.line, problem.what});
    }
    std::stable_sort(refused.begin(), refused.end(),
                     [](const Refused& a, const Refused& b) { return a.line < b.line; });
    Refusals problems(out);
    for (const Refused& one : refused) {
        problems.add(one.line, one.what);
    }
    problems.finish();
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
        {kPlaySection, "ghost", Kind::Switch, 0, 1, 1, nullptr, &Settings::ghost, A::None, "Ghost of your best run",
         Acts::Nothing},
        {kDisplaySection, "language", Kind::Choice, 0, static_cast<int>(languageChoices().size()) - 1, 0,
         &Settings::language, nullptr, A::None, "Language", Acts::Language, false, KeyBindings::Command::None,
         &languageChoices()},
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
    static const std::vector<Row> all = [] {
        std::vector<Row> withCommands = rows;
        // The assists follow the play section, so a written file lists them after it.
        const auto choice = [](const char* name, const char* label, int Settings::*member, std::vector<int> choices) {
            Row row{kAssistSection,  name,   Kind::Number, choices.back(), choices.front(),
                    choices.front(), member, nullptr,      A::None,        label};
            row.steps = std::move(choices);
            return row;
        };
        const auto flag = [](const char* name, const char* label, bool Settings::*member) {
            return Row{kAssistSection, name, Kind::Switch, 0, 1, 0, nullptr, member, A::None, label};
        };
        const std::vector<Row> assists = {
            choice("speed", "Game speed", &Settings::assistSpeed, {100, 75, 50}),
            choice("damage", "Damage taken", &Settings::assistDamage, {100, 50}),
            flag("refill", "Full health each level", &Settings::assistRefill),
            flag("auto_attack", "Hold to attack", &Settings::assistAutoAttack),
        };
        const auto afterPlay = std::find_if(withCommands.begin(), withCommands.end(),
                                            [](const Row& row) { return std::string(row.section) == kKeysSection; });
        withCommands.insert(afterPlay, assists.begin(), assists.end());
        for (const char* section : {kKeysSection, kPadSection}) {
            for (int i = 1; i <= KeyBindings::kCommands; ++i) {
                const auto command = static_cast<KeyBindings::Command>(i);
                Row row{section,
                        KeyBindings::nameOf(command),
                        section == kKeysSection ? Kind::Keys : Kind::Buttons,
                        0,
                        0,
                        0,
                        nullptr,
                        nullptr,
                        A::None};
                row.command = command;
                withCommands.push_back(row);
            }
        }
        return withCommands;
    }();
    return all;
}

Settings::Settings() {
    for (const Row& row : table()) {
        if (row.kind == Kind::Number || row.kind == Kind::Choice) {
            this->*row.number = row.fallback;
        } else if (row.kind == Kind::Switch) {
            this->*row.flag = row.fallback != 0;
        }
    }
    noteKnown();
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
    if (row.kind == Settings::Kind::Choice) {
        return (*row.choices)[static_cast<std::size_t>(settings.*row.number)];
    }
    std::vector<std::string> names;
    if (row.kind == Settings::Kind::Buttons) {
        for (SDL_GameControllerButton button : settings.keys.buttonsOf(row.action)) {
            names.push_back(SDL_GameControllerGetStringForButton(button));
        }
    } else {
        for (SDL_Keycode key : settings.keys.keysOf(row.action)) {
            names.push_back(SDL_GetKeyName(key));
        }
    }
    return SettingsFile::listed(names);
}

// Every setting as the file states it, in the table's order.
std::vector<SettingsFile::Setting> settingsOf(const Settings& settings) {
    std::vector<SettingsFile::Setting> all;
    for (const Settings::Row& row : Settings::table()) {
        if (row.command != KeyBindings::Command::None) {
            continue;  // the player's own lines: the game never changes them
        }
        all.push_back({row.section, row.name, valueText(settings, row)});
    }
    return all;
}

}  // namespace

void Settings::noteKnown() {
    known.clear();
    for (const Row& row : table()) {
        known.push_back(row.command != KeyBindings::Command::None ? "" : valueText(*this, row));
    }
}

bool Settings::assisted() const {
    return assistSpeed != 100 || assistDamage != 100 || assistRefill || assistAutoAttack;
}

std::string Settings::text() const { return SettingsFile::written(settingsOf(*this)); }

bool Settings::namesKey(SDL_Keycode key) {
    const char* name = SDL_GetKeyName(key);
    return name != nullptr && name[0] != '\0' && SDL_GetKeyFromName(name) == key;
}

std::string Settings::languageCode() const {
    return language <= 0 ? "" : Language::shipped()[static_cast<std::size_t>(language - 1)].code;
}

std::string Settings::merged(const std::string& old) const { return SettingsFile::merged(old, settingsOf(*this)); }

bool Settings::save(std::string& why) {
    why.clear();
    std::vector<SettingsFile::Setting> changed;
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < table().size(); ++i) {
        const Row& row = table()[i];
        if (row.command == KeyBindings::Command::None && valueText(*this, row) != known[i]) {
            changed.push_back({row.section, row.name, valueText(*this, row)});
            rows.push_back(i);
        }
    }
    if (changed.empty()) {
        return true;  // nothing of this process's to write
    }
    const std::string path = file(kFileName);
    if (path.empty()) {
        why = "no folder for the settings (neither XDG_CONFIG_HOME nor HOME is set)";
        return false;
    }
    // The folder and the one above it (~/.config on a fresh account).
    mkdir(FileIO::folderOf(folder).c_str(), 0755);
    mkdir(folder.c_str(), 0755);
    const SettingsFile::Saved saved = SettingsFile::save(path, changed, settingsOf(*this));
    why = saved.why;
    if (saved.written) {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            known[rows[i]] = changed[i].value;
        }
    }
    return saved.written;
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
    noteKnown();
}

void Settings::apply(const std::string& text, std::ostream& problems) {
    SettingsFile read;
    read.parse(text);
    applyEntries(read, *this, problems);
    noteKnown();
}
