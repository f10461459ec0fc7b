#pragma once

#include <SDL.h>

#include <array>
#include <string>
#include <vector>

// What every key and pad button means: the hero's actions, and the commands of the menus and the
// panels. Every action and command has a list of keys and a list of buttons. A key or a button
// serves at most one action; a command's keys are read only where the command is (a Place), so a
// key may serve an action and a menu command, and two commands read in one place never share one.
class KeyBindings {
public:
    // What a key press asks of the hero. None is any key the player has not bound.
    enum class Action { None, Up, Left, Down, Right, Stop, Attack };
    static constexpr int kActions = 6;  // Up to Attack

    // What a press asks of a menu or a panel, or of the game around play. None is anything else.
    enum class Command {
        None,
        MenuUp,      // the choice up: the menu, the options, the controls, the letter grid
        MenuDown,    // the choice down
        MenuLeft,    // a value down (the options), a cell left (the letter grid)
        MenuRight,   // a value up, a cell right
        Next,        // Tab: down the menu's items, the options' and the controls' rows
        Previous,    // Shift+Tab: up the menu's items (the options and the controls take Tab alone)
        Confirm,     // chooses, switches, continues, plays again
        Select,      // Space: chooses a row of the options and the controls; elsewhere Space attacks
        Back,        // leaves: the menu (the game ends), the options, the controls, the result card
        Erase,       // takes the last letter of the name back
        Letters,     // the letter grid over the menu, for a name typed with a pad
        Options,     // the options over the pause panel
        Quit,        // the pause panel's quit to the menu
        Pause,       // pauses play; continues on the pause panel
        Help,        // how to play, in play
        Mute,        // the sound off and on, in play and on its panels
        Fullscreen,  // the window, everywhere
    };
    static constexpr int kCommands = 17;  // MenuUp to Fullscreen

    // Where commands are read; each reads its own set (see the table in KeyBindings.cpp).
    enum class Place {
        Menu,      // the menu: the name typed and the items
        Letters,   // the letter grid over the menu
        Options,   // the options
        Controls,  // the controls' rows
        Waiting,   // a controls row waiting for its key: only leaving is read, the rest is bound
        Pause,     // the pause panel
        Card,      // the result card
        Play,      // a run in play, beside the hero's actions
    };

    // A command's key: the key, and the modifiers (KMOD_SHIFT, KMOD_CTRL, KMOD_ALT, either side)
    // that must be held with it. A key with none is read whatever is held, unless a command read
    // in the same place asks for that key with a modifier that is held: Shift+Tab is not Tab.
    struct Chord {
        SDL_Keycode key = SDLK_UNKNOWN;
        Uint16 mods = KMOD_NONE;
        bool operator==(const Chord& other) const { return key == other.key && mods == other.mods; }
    };

    // The keys a fresh game uses: w/a/s/d and the arrows walk, b stops, Space attacks; on a pad
    // the D-pad walks and A or X attacks. The commands' defaults are listed in KeyBindings.cpp.
    KeyBindings();
    // A fresh game's bindings, for whoever is given none (a screen in its own test).
    static const KeyBindings& defaults();

    // The action a key press asks for.
    Action actionOf(SDL_Keycode key) const;
    // The keys of an action, in the order they were given.
    const std::vector<SDL_Keycode>& keysOf(Action action) const;
    // Replaces the keys of an action; an empty list leaves it to the mouse or the pad. Refused
    // (false, with why filled in and nothing changed) when one of the keys serves another action.
    bool bind(Action action, const std::vector<SDL_Keycode>& keys, std::string& why);

    // Leaves an action with no key, for a moment: a settings file that gives it keys of its own
    // frees its defaults first, so that actions may swap keys whatever order their lines come in.
    void unbindKeys(Action action);

    // Gives an action the key just pressed, in place of its first key (the others stay). Refused,
    // with why as the player reads it, for a key the game keeps or one serving another action.
    bool rebindKey(Action action, SDL_Keycode key, std::string& why);

    // The same for pad buttons; an action may have none (stop has none at first).
    Action actionOfButton(SDL_GameControllerButton button) const;
    const std::vector<SDL_GameControllerButton>& buttonsOf(Action action) const;
    bool bindButtons(Action action, const std::vector<SDL_GameControllerButton>& buttons, std::string& why);
    bool rebindButton(Action action, SDL_GameControllerButton button, std::string& why);

    // Puts the hero's actions back to their defaults, but for a key or button the game keeps now
    // (a pause moved onto Space in settings.ini keeps it); the commands stay as they are.
    void resetActions();

    // The command a key or pad press means in a place: among the commands read there, and the
    // fullscreen and mute read everywhere, the one whose key asks for the most of what is held.
    // Fullscreen or Mute when it is theirs, which a screen leaves to the game. In play a key or
    // button one of the hero's actions has is the hero's. Repeats count: a screen that wants a
    // fresh press looks at the event's repeat.
    Command commandOf(const SDL_Event& event, Place place) const;
    // A key or pad press that is one of the command's keys or buttons, wherever it is read.
    bool means(const SDL_Event& event, Command command) const;
    const std::vector<Chord>& chordsOf(Command command) const;
    const std::vector<SDL_GameControllerButton>& buttonsOf(Command command) const;
    // Replaces a command's keys or buttons; an empty list leaves it none. Refused (false, with
    // why, nothing changed) when a key or button would mean two things in a place where the
    // command is read, or would be taken from the hero in play.
    bool bindCommand(Command command, const std::vector<Chord>& chords, std::string& why);
    bool bindCommandButtons(Command command, const std::vector<SDL_GameControllerButton>& buttons, std::string& why);

    // The comma, which separates the keys of a settings file's list: no action can be given it.
    static bool separates(SDL_Keycode key);
    // True for the four walking actions.
    static bool walks(Action action);
    // Keys the game keeps for itself whatever the settings: Escape, P, F1, F11, M, Enter, Keypad
    // Enter and Tab (pause, help, fullscreen, mute, the menus).
    static bool reserved(SDL_Keycode key);
    // Pause, help, mute and fullscreen: the commands heard during play, beside the hero.
    static bool actsInPlay(Command command);
    // The keys no hero action may take: the reserved ones and every key of a command that acts
    // during play (pause, help, mute, fullscreen), which would never reach the hero.
    bool kept(SDL_Keycode key) const;
    // Pad buttons the game keeps: Start pauses, Back and Guide belong to the system.
    static bool reservedButton(SDL_GameControllerButton button);
    // The same as kept for buttons: the reserved ones and those of the commands of play.
    bool keptButton(SDL_GameControllerButton button) const;
    // How a player reads a key or a button: "W", "Space", "A", "D-pad up".
    static std::string keyName(SDL_Keycode key);
    static std::string buttonName(SDL_GameControllerButton button);
    // The settings file's name of an action ("up", "attack"), or None for an unknown name.
    static Action actionNamed(const std::string& name);
    static const char* nameOf(Action action);
    // The settings file's name of a command ("confirm", "menu_up"), or None for an unknown name.
    static Command commandNamed(const std::string& name);
    static const char* nameOf(Command command);
    // A command's key as the settings file names it: an SDL key name, after "Shift+", "Ctrl+" or
    // "Alt+" for a modifier held with it ("Shift+Tab"). SDLK_UNKNOWN for a name SDL does not know.
    static Chord chordNamed(const std::string& name);
    static std::string chordName(Chord chord);

private:
    std::array<std::vector<SDL_Keycode>, kActions> keys;                          // indexed by action - 1
    std::array<std::vector<SDL_GameControllerButton>, kActions> buttons;          // indexed by action - 1
    std::array<std::vector<Chord>, kCommands> chords;                             // indexed by command - 1
    std::array<std::vector<SDL_GameControllerButton>, kCommands> commandButtons;  // indexed by command - 1
};
