#pragma once

#include <SDL.h>

#include <array>
#include <string>
#include <vector>

// Which keys and pad buttons drive the hero's actions. Every action has a list of keys and a list
// of buttons; a key or a button serves at most one action, so a press never means two things.
class KeyBindings {
public:
    // What a key press asks of the hero. None is any key the player has not bound.
    enum class Action { None, Up, Left, Down, Right, Stop, Attack };
    static constexpr int kActions = 6;  // Up to Attack

    // The keys a fresh game uses: w/a/s/d and the arrows walk, b stops, Space attacks; on a pad
    // the D-pad walks and A or X attacks.
    KeyBindings();

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

    // True for the four walking actions.
    static bool walks(Action action);
    // Keys the game keeps for itself (pause, help, fullscreen, mute, the menus' Enter and Tab):
    // bound to an action they would never reach the hero.
    static bool reserved(SDL_Keycode key);
    // Pad buttons the game keeps: Start pauses, Back and Guide belong to the system.
    static bool reservedButton(SDL_GameControllerButton button);
    // How a player reads a key or a button: "W", "Space", "A", "D-pad up".
    static std::string keyName(SDL_Keycode key);
    static std::string buttonName(SDL_GameControllerButton button);
    // The settings file's name of an action ("up", "attack"), or None for an unknown name.
    static Action actionNamed(const std::string& name);
    static const char* nameOf(Action action);

private:
    std::array<std::vector<SDL_Keycode>, kActions> keys;                  // indexed by action - 1
    std::array<std::vector<SDL_GameControllerButton>, kActions> buttons;  // indexed by action - 1
};
