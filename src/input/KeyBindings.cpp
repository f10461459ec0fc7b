#include "input/KeyBindings.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {

using Command = KeyBindings::Command;
using Place = KeyBindings::Place;

// Names as the settings file spells them, in the order of the actions from Up on.
const char* const kNames[KeyBindings::kActions] = {"up", "left", "down", "right", "stop", "attack"};
// Each command as the settings file names it, with the keys and pad buttons a fresh game gives
// it; in the order of the commands from MenuUp on. Where each is read is the place table below.
struct CommandRow {
    Command command;
    const char* name;
    std::vector<KeyBindings::Chord> keys;
    std::vector<SDL_GameControllerButton> buttons;
};

const std::vector<CommandRow>& commandRows() {
    static const std::vector<CommandRow> rows = {
        {Command::MenuUp, "menu_up", {{SDLK_UP}}, {SDL_CONTROLLER_BUTTON_DPAD_UP}},
        {Command::MenuDown, "menu_down", {{SDLK_DOWN}}, {SDL_CONTROLLER_BUTTON_DPAD_DOWN}},
        {Command::MenuLeft, "menu_left", {{SDLK_LEFT}}, {SDL_CONTROLLER_BUTTON_DPAD_LEFT}},
        {Command::MenuRight, "menu_right", {{SDLK_RIGHT}}, {SDL_CONTROLLER_BUTTON_DPAD_RIGHT}},
        {Command::Next, "next", {{SDLK_TAB}}, {}},
        {Command::Previous, "previous", {{SDLK_TAB, KMOD_SHIFT}}, {}},
        {Command::Confirm, "confirm", {{SDLK_RETURN}, {SDLK_KP_ENTER}}, {SDL_CONTROLLER_BUTTON_A}},
        {Command::Select, "select", {{SDLK_SPACE}}, {}},
        {Command::Back, "back", {{SDLK_ESCAPE}}, {SDL_CONTROLLER_BUTTON_B}},
        {Command::Erase, "erase", {{SDLK_BACKSPACE}}, {SDL_CONTROLLER_BUTTON_B}},
        {Command::Letters, "letters", {}, {SDL_CONTROLLER_BUTTON_Y}},
        {Command::Options, "options", {{SDLK_o}}, {SDL_CONTROLLER_BUTTON_Y}},
        {Command::Quit, "quit", {{SDLK_q}}, {SDL_CONTROLLER_BUTTON_B}},
        {Command::Pause, "pause", {{SDLK_ESCAPE}, {SDLK_p}}, {SDL_CONTROLLER_BUTTON_START}},
        {Command::Help, "help", {{SDLK_F1}}, {}},
        {Command::Mute, "mute", {{SDLK_m}}, {}},
        {Command::Fullscreen, "fullscreen", {{SDLK_F11}, {SDLK_RETURN, KMOD_ALT}}, {}},
    };
    return rows;
}

std::size_t indexOf(KeyBindings::Action action) { return static_cast<std::size_t>(action) - 1; }
std::size_t indexOf(Command command) { return static_cast<std::size_t>(command) - 1; }

// Which of a command's lists a place reads: a screen may take a command from one device only
// (the menu takes Erase from the keyboard: with a pad, the name is typed in the letter grid).
enum From : unsigned { kKeys = 1, kPad = 2, kBoth = kKeys | kPad };

// One command read in a place, and what it does there: commands that do the same in a place may
// share a key (Enter and Space both choose an options row); two that do different things may not.
struct Reading {
    Command command;
    int does;
    unsigned from;
};

struct PlaceReadings {
    Place place;
    const char* name;  // as a refusal names it
    bool mute;         // the mute key is heard there (on the menu and its grid an m is a letter)
    std::vector<Reading> reads;
};

constexpr int kGlobal = 100;  // what fullscreen and mute do: never what a screen does

// What each place reads, screen by screen. Tab moves down the menu and Shift+Tab up; the options
// and the controls read Tab alone, so Shift+Tab moves down there too. Space chooses a row of the
// options and the controls, never on the result card, where a blow still mashed would skip it.
// The letter grid and a waiting controls row leave on Escape or the pad's Start: their B erases
// a letter or is the button being given.
const std::vector<PlaceReadings>& placeTable() {
    static const std::vector<PlaceReadings> places = {
        {Place::Menu,
         "the menu",
         false,
         {{Command::MenuUp, 0, kBoth},
          {Command::Previous, 0, kBoth},
          {Command::MenuDown, 1, kBoth},
          {Command::Next, 1, kBoth},
          {Command::Confirm, 2, kBoth},
          {Command::Back, 3, kBoth},
          {Command::Erase, 4, kKeys},
          {Command::Letters, 5, kBoth},
          {Command::MenuRight, 6, kBoth}}},
        {Place::Letters,
         "the letter grid",
         false,
         {{Command::MenuUp, 0, kBoth},
          {Command::MenuDown, 1, kBoth},
          {Command::MenuLeft, 2, kBoth},
          {Command::MenuRight, 3, kBoth},
          {Command::Confirm, 4, kBoth},
          {Command::Erase, 5, kBoth},
          {Command::Back, 6, kKeys},
          {Command::Pause, 6, kPad}}},
        {Place::Options,
         "the options",
         true,
         {{Command::MenuUp, 0, kBoth},
          {Command::MenuDown, 1, kBoth},
          {Command::Next, 1, kBoth},
          {Command::MenuLeft, 2, kBoth},
          {Command::MenuRight, 3, kBoth},
          {Command::Confirm, 4, kBoth},
          {Command::Select, 4, kBoth},
          {Command::Back, 5, kBoth}}},
        {Place::Controls,
         "the controls",
         true,
         {{Command::MenuUp, 0, kBoth},
          {Command::MenuDown, 1, kBoth},
          {Command::Next, 1, kBoth},
          {Command::Confirm, 2, kBoth},
          {Command::Select, 2, kBoth},
          {Command::Back, 3, kBoth}}},
        {Place::Waiting,
         "a controls row waiting for its key",
         true,
         {{Command::Back, 0, kKeys}, {Command::Pause, 0, kPad}}},
        {Place::Pause,
         "the pause panel",
         true,
         {{Command::Pause, 0, kBoth},
          {Command::Confirm, 0, kBoth},
          {Command::Quit, 1, kBoth},
          {Command::Options, 2, kBoth}}},
        {Place::Card, "the result card", true, {{Command::Back, 0, kBoth}, {Command::Confirm, 1, kBoth}}},
        {Place::Play, "play", true, {{Command::Pause, 0, kBoth}, {Command::Help, 1, kBoth}}},
    };
    return places;
}

const PlaceReadings& readingsOf(Place place) {
    for (const PlaceReadings& readings : placeTable()) {
        if (readings.place == place) {
            return readings;
        }
    }
    return placeTable().front();
}

// Everything read in a place: its own commands, then fullscreen and (where heard) mute. Made once
// for every place: a press in play asks for it, key repeats of a held walk included.
const std::vector<Reading>& everythingIn(const PlaceReadings& place) {
    static const std::vector<std::vector<Reading>> lists = [] {
        std::vector<std::vector<Reading>> made;
        for (const PlaceReadings& each : placeTable()) {
            made.push_back(each.reads);
            made.back().push_back({Command::Fullscreen, kGlobal, kBoth});
            if (each.mute) {
                made.back().push_back({Command::Mute, kGlobal + 1, kBoth});
            }
        }
        return made;
    }();
    return lists[static_cast<std::size_t>(&place - placeTable().data())];
}

constexpr Uint16 kModGroups[] = {KMOD_SHIFT, KMOD_CTRL, KMOD_ALT};

// -1 when the chord is not the key pressed with what is held; else how many modifiers it asks.
int matchOf(const KeyBindings::Chord& chord, SDL_Keycode key, Uint16 held) {
    if (chord.key != key) {
        return -1;
    }
    int asked = 0;
    for (const Uint16 group : kModGroups) {
        if ((chord.mods & group) != 0) {
            if ((held & group) == 0) {
                return -1;
            }
            ++asked;
        }
    }
    return asked;
}

bool isKeyPress(const SDL_Event& event) { return event.type == SDL_KEYDOWN; }
bool isPadPress(const SDL_Event& event) { return event.type == SDL_CONTROLLERBUTTONDOWN; }

}  // namespace

KeyBindings::KeyBindings() {
    keys[indexOf(Action::Up)] = {SDLK_w, SDLK_UP};
    keys[indexOf(Action::Left)] = {SDLK_a, SDLK_LEFT};
    keys[indexOf(Action::Down)] = {SDLK_s, SDLK_DOWN};
    keys[indexOf(Action::Right)] = {SDLK_d, SDLK_RIGHT};
    keys[indexOf(Action::Stop)] = {SDLK_b};
    keys[indexOf(Action::Attack)] = {SDLK_SPACE};
    buttons[indexOf(Action::Up)] = {SDL_CONTROLLER_BUTTON_DPAD_UP};
    buttons[indexOf(Action::Left)] = {SDL_CONTROLLER_BUTTON_DPAD_LEFT};
    buttons[indexOf(Action::Down)] = {SDL_CONTROLLER_BUTTON_DPAD_DOWN};
    buttons[indexOf(Action::Right)] = {SDL_CONTROLLER_BUTTON_DPAD_RIGHT};
    buttons[indexOf(Action::Attack)] = {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_X};

    for (const CommandRow& row : commandRows()) {
        chords[indexOf(row.command)] = row.keys;
        commandButtons[indexOf(row.command)] = row.buttons;
    }
}

const KeyBindings& KeyBindings::defaults() {
    static const KeyBindings fresh;
    return fresh;
}

void KeyBindings::resetActions() {
    const KeyBindings defaults;
    for (int i = 1; i <= kActions; ++i) {
        const auto action = static_cast<Action>(i);
        std::vector<SDL_Keycode>& list = keys[indexOf(action)];
        list.clear();
        for (const SDL_Keycode key : defaults.keysOf(action)) {
            if (!kept(key)) {
                list.push_back(key);
            }
        }
        std::vector<SDL_GameControllerButton>& pad = buttons[indexOf(action)];
        pad.clear();
        for (const SDL_GameControllerButton button : defaults.buttonsOf(action)) {
            if (!keptButton(button)) {
                pad.push_back(button);
            }
        }
    }
}

KeyBindings::Command KeyBindings::commandOf(const SDL_Event& event, Place place) const {
    const PlaceReadings& here = readingsOf(place);
    if (isKeyPress(event)) {
        const SDL_Keycode key = event.key.keysym.sym;
        if (place == Place::Play && actionOf(key) != Action::None) {
            return Command::None;
        }
        Command best = Command::None;
        int bestAsked = -1;
        for (const Reading& reading : everythingIn(here)) {
            if ((reading.from & kKeys) == 0) {
                continue;
            }
            for (const Chord& chord : chordsOf(reading.command)) {
                const int asked = matchOf(chord, key, event.key.keysym.mod);
                if (asked > bestAsked) {
                    best = reading.command;
                    bestAsked = asked;
                }
            }
        }
        return best;
    }
    if (isPadPress(event)) {
        const auto button = static_cast<SDL_GameControllerButton>(event.cbutton.button);
        if (place == Place::Play && actionOfButton(button) != Action::None) {
            return Command::None;
        }
        for (const Reading& reading : everythingIn(here)) {
            const std::vector<SDL_GameControllerButton>& list = buttonsOf(reading.command);
            if ((reading.from & kPad) != 0 && std::find(list.begin(), list.end(), button) != list.end()) {
                return reading.command;
            }
        }
    }
    return Command::None;
}

bool KeyBindings::means(const SDL_Event& event, Command command) const {
    if (isKeyPress(event)) {
        for (const Chord& chord : chordsOf(command)) {
            if (matchOf(chord, event.key.keysym.sym, event.key.keysym.mod) >= 0) {
                return true;
            }
        }
        return false;
    }
    if (isPadPress(event)) {
        const std::vector<SDL_GameControllerButton>& list = buttonsOf(command);
        return std::find(list.begin(), list.end(), static_cast<SDL_GameControllerButton>(event.cbutton.button)) !=
               list.end();
    }
    return false;
}

const std::vector<KeyBindings::Chord>& KeyBindings::chordsOf(Command command) const {
    static const std::vector<Chord> none;
    return command == Command::None ? none : chords[indexOf(command)];
}

const std::vector<SDL_GameControllerButton>& KeyBindings::buttonsOf(Command command) const {
    static const std::vector<SDL_GameControllerButton> none;
    return command == Command::None ? none : commandButtons[indexOf(command)];
}

namespace {

// Whether item (a key, or with pad set a button) would mean two things in a place if command had
// it; what then names what holds it there: "'confirm' on the menu", or "'attack'" (the hero's,
// in play).
template <typename T, typename ListOf, typename HeroHolds>
bool clashes(Command command, const T& item, bool pad, ListOf listOf, HeroHolds heroHolds, std::string& what) {
    const unsigned from = pad ? kPad : kKeys;
    for (const PlaceReadings& place : placeTable()) {
        const std::vector<Reading>& all = everythingIn(place);
        for (const Reading& mine : all) {
            if (mine.command != command || (mine.from & from) == 0) {
                continue;
            }
            for (const Reading& other : all) {
                if (other.command == command || other.does == mine.does || (other.from & from) == 0) {
                    continue;
                }
                for (const T& held : listOf(other.command)) {
                    if (item == held) {
                        what = "'" + std::string(KeyBindings::nameOf(other.command)) + "' on " + place.name;
                        return true;
                    }
                }
            }
            const char* hero = place.place == Place::Play ? heroHolds(item) : nullptr;
            if (hero != nullptr) {
                what = "'" + std::string(hero) + "'";
                return true;
            }
        }
    }
    return false;
}

}  // namespace

bool KeyBindings::bindCommand(Command command, const std::vector<Chord>& newChords, std::string& why) {
    if (command == Command::None) {
        why = "no such command";
        return false;
    }
    for (const Chord& chord : newChords) {
        std::string what;
        const auto heroOf = [this](const Chord& held) {
            const Action hero = actionOf(held.key);
            return hero == Action::None ? nullptr : nameOf(hero);
        };
        if (clashes(
                command, chord, false, [this](Command other) { return chordsOf(other); }, heroOf, what)) {
            why = "key '" + chordName(chord) + "' already serves " + what;
            return false;
        }
    }
    chords[indexOf(command)] = newChords;
    return true;
}

bool KeyBindings::bindCommandButtons(Command command, const std::vector<SDL_GameControllerButton>& newButtons,
                                     std::string& why) {
    if (command == Command::None) {
        why = "no such command";
        return false;
    }
    for (const SDL_GameControllerButton button : newButtons) {
        std::string what;
        const auto heroOf = [this](SDL_GameControllerButton held) {
            const Action hero = actionOfButton(held);
            return hero == Action::None ? nullptr : nameOf(hero);
        };
        if (clashes(
                command, button, true, [this](Command other) { return buttonsOf(other); }, heroOf, what)) {
            why = "button '" + buttonName(button) + "' already serves " + what;
            return false;
        }
    }
    commandButtons[indexOf(command)] = newButtons;
    return true;
}

KeyBindings::Action KeyBindings::actionOf(SDL_Keycode key) const {
    for (std::size_t i = 0; i < keys.size(); ++i) {
        for (SDL_Keycode bound : keys[i]) {
            if (bound == key) {
                return static_cast<Action>(i + 1);
            }
        }
    }
    return Action::None;
}

const std::vector<SDL_Keycode>& KeyBindings::keysOf(Action action) const {
    static const std::vector<SDL_Keycode> none;
    return action == Action::None ? none : keys[indexOf(action)];
}

bool KeyBindings::bind(Action action, const std::vector<SDL_Keycode>& newKeys, std::string& why) {
    if (action == Action::None) {
        why = "no such action";
        return false;
    }
    for (SDL_Keycode key : newKeys) {
        const Action holder = actionOf(key);
        if (holder != Action::None && holder != action) {
            why = std::string("key '") + SDL_GetKeyName(key) + "' already serves '" + nameOf(holder) + "'";
            return false;
        }
    }
    keys[indexOf(action)] = newKeys;
    return true;
}

void KeyBindings::unbindKeys(Action action) {
    if (action != Action::None) {
        keys[indexOf(action)].clear();
    }
}

bool KeyBindings::rebindKey(Action action, SDL_Keycode key, std::string& why) {
    if (action == Action::None) {
        why = "no such action";
        return false;
    }
    if (kept(key)) {
        why = keyName(key) + " is kept by the game";
        return false;
    }
    if (separates(key)) {
        why = "a comma cannot be kept: the settings file lists keys with it";
        return false;
    }
    const Action holder = actionOf(key);
    if (holder != Action::None && holder != action) {
        why = keyName(key) + " already serves " + nameOf(holder);
        return false;
    }
    std::vector<SDL_Keycode>& list = keys[indexOf(action)];
    if (holder == action) {  // already this action's: it becomes the first
        list.erase(std::find(list.begin(), list.end(), key));
        list.insert(list.begin(), key);
    } else if (list.empty()) {
        list.push_back(key);
    } else {
        list.front() = key;
    }
    return true;
}

KeyBindings::Action KeyBindings::actionOfButton(SDL_GameControllerButton button) const {
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (std::find(buttons[i].begin(), buttons[i].end(), button) != buttons[i].end()) {
            return static_cast<Action>(i + 1);
        }
    }
    return Action::None;
}

const std::vector<SDL_GameControllerButton>& KeyBindings::buttonsOf(Action action) const {
    static const std::vector<SDL_GameControllerButton> none;
    return action == Action::None ? none : buttons[indexOf(action)];
}

bool KeyBindings::bindButtons(Action action, const std::vector<SDL_GameControllerButton>& newButtons,
                              std::string& why) {
    if (action == Action::None) {
        why = "no such action";
        return false;
    }
    for (SDL_GameControllerButton button : newButtons) {
        const Action holder = actionOfButton(button);
        if (holder != Action::None && holder != action) {
            why = "button '" + buttonName(button) + "' already serves '" + nameOf(holder) + "'";
            return false;
        }
    }
    buttons[indexOf(action)] = newButtons;
    return true;
}

bool KeyBindings::rebindButton(Action action, SDL_GameControllerButton button, std::string& why) {
    if (action == Action::None) {
        why = "no such action";
        return false;
    }
    if (keptButton(button)) {
        why = buttonName(button) + " is kept by the game";
        return false;
    }
    const Action holder = actionOfButton(button);
    if (holder != Action::None && holder != action) {
        why = buttonName(button) + " already serves " + nameOf(holder);
        return false;
    }
    std::vector<SDL_GameControllerButton>& list = buttons[indexOf(action)];
    if (holder == action) {
        list.erase(std::find(list.begin(), list.end(), button));
        list.insert(list.begin(), button);
    } else if (list.empty()) {
        list.push_back(button);
    } else {
        list.front() = button;
    }
    return true;
}

bool KeyBindings::reservedButton(SDL_GameControllerButton button) {
    return button == SDL_CONTROLLER_BUTTON_START || button == SDL_CONTROLLER_BUTTON_BACK ||
           button == SDL_CONTROLLER_BUTTON_GUIDE || button == SDL_CONTROLLER_BUTTON_INVALID;
}

std::string KeyBindings::keyName(SDL_Keycode key) {
    const char* name = SDL_GetKeyName(key);
    return name != nullptr && name[0] != '\0' ? name : "key " + std::to_string(key);
}

std::string KeyBindings::buttonName(SDL_GameControllerButton button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            return "D-pad up";
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            return "D-pad left";
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            return "D-pad down";
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            return "D-pad right";
        case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
            return "LB";
        case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
            return "RB";
        case SDL_CONTROLLER_BUTTON_LEFTSTICK:
            return "LS";
        case SDL_CONTROLLER_BUTTON_RIGHTSTICK:
            return "RS";
        default: {
            const char* name = SDL_GameControllerGetStringForButton(button);
            std::string text = name != nullptr ? name : "button";
            for (char& c : text) {
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            }
            return text;  // A, B, X, Y, START
        }
    }
}

bool KeyBindings::reserved(SDL_Keycode key) {
    switch (key) {
        case SDLK_ESCAPE:
        case SDLK_p:
        case SDLK_F1:
        case SDLK_F11:
        case SDLK_m:
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
        case SDLK_TAB:
            return true;
        default:
            return false;
    }
}

bool KeyBindings::actsInPlay(Command command) {
    return command == Command::Pause || command == Command::Help || command == Command::Mute ||
           command == Command::Fullscreen;
}

bool KeyBindings::kept(SDL_Keycode key) const {
    if (reserved(key)) {
        return true;
    }
    for (int i = 1; i <= kCommands; ++i) {
        const auto command = static_cast<Command>(i);
        if (!actsInPlay(command)) {
            continue;
        }
        for (const Chord& chord : chordsOf(command)) {
            if (chord.key == key) {
                return true;
            }
        }
    }
    return false;
}

bool KeyBindings::keptButton(SDL_GameControllerButton button) const {
    if (reservedButton(button)) {
        return true;
    }
    for (int i = 1; i <= kCommands; ++i) {
        const auto command = static_cast<Command>(i);
        const std::vector<SDL_GameControllerButton>& list = buttonsOf(command);
        if (actsInPlay(command) && std::find(list.begin(), list.end(), button) != list.end()) {
            return true;
        }
    }
    return false;
}

bool KeyBindings::separates(SDL_Keycode key) { return key == SDLK_COMMA; }

bool KeyBindings::walks(Action action) {
    return action == Action::Up || action == Action::Left || action == Action::Down || action == Action::Right;
}

KeyBindings::Action KeyBindings::actionNamed(const std::string& name) {
    for (int i = 0; i < kActions; ++i) {
        if (name == kNames[i]) {
            return static_cast<Action>(i + 1);
        }
    }
    return Action::None;
}

const char* KeyBindings::nameOf(Action action) { return action == Action::None ? "none" : kNames[indexOf(action)]; }

KeyBindings::Command KeyBindings::commandNamed(const std::string& name) {
    for (const CommandRow& row : commandRows()) {
        if (name == row.name) {
            return row.command;
        }
    }
    return Command::None;
}

const char* KeyBindings::nameOf(Command command) {
    return command == Command::None ? "none" : commandRows()[indexOf(command)].name;
}

namespace {

struct ModName {
    Uint16 group;
    const char* name;
};
// In the order a written name lists them.
constexpr ModName kModNames[] = {{KMOD_CTRL, "Ctrl+"}, {KMOD_SHIFT, "Shift+"}, {KMOD_ALT, "Alt+"}};

bool startsWithNoCase(const std::string& text, std::size_t at, const char* prefix) {
    for (std::size_t i = 0; prefix[i] != '\0'; ++i) {
        if (at + i >= text.size() || std::tolower(static_cast<unsigned char>(text[at + i])) !=
                                         std::tolower(static_cast<unsigned char>(prefix[i]))) {
            return false;
        }
    }
    return true;
}

}  // namespace

KeyBindings::Chord KeyBindings::chordNamed(const std::string& name) {
    Chord chord;
    std::size_t at = 0;
    for (bool found = true; found;) {
        found = false;
        for (const ModName& mod : kModNames) {
            const std::size_t length = std::char_traits<char>::length(mod.name);
            // "Alt+" alone is no key; a prefix needs a key after it.
            if (startsWithNoCase(name, at, mod.name) && name.size() > at + length) {
                chord.mods = static_cast<Uint16>(chord.mods | mod.group);
                at += length;
                found = true;
            }
        }
    }
    chord.key = SDL_GetKeyFromName(name.substr(at).c_str());
    return chord;
}

std::string KeyBindings::chordName(Chord chord) {
    std::string name;
    for (const ModName& mod : kModNames) {
        if ((chord.mods & mod.group) != 0) {
            name += mod.name;
        }
    }
    return name + SDL_GetKeyName(chord.key);
}
