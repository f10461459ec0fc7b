#pragma once

#include <SDL.h>

#include <array>
#include <string>
#include <vector>

// Which keys drive the hero's actions. Every action has a list of keys; a key serves at most one
// action, so a press never means two things.
class KeyBindings {
public:
    // What a key press asks of the hero. None is any key the player has not bound.
    enum class Action { None, Up, Left, Down, Right, Stop, Attack };
    static constexpr int kActions = 6;  // Up to Attack

    // The keys a fresh game uses: w/a/s/d and the arrows walk, b stops, Space attacks.
    KeyBindings();

    // The action a key press asks for.
    Action actionOf(SDL_Keycode key) const;
    // The keys of an action, in the order they were given.
    const std::vector<SDL_Keycode>& keysOf(Action action) const;
    // Replaces the keys of an action. Refused (false, with why filled in and nothing changed)
    // when the list is empty or one of its keys already serves another action.
    bool bind(Action action, const std::vector<SDL_Keycode>& keys, std::string& why);

    // True for the four walking actions.
    static bool walks(Action action);
    // Keys the game keeps for itself (pause, help, fullscreen, mute, the menus' Enter and Tab):
    // bound to an action they would never reach the hero.
    static bool reserved(SDL_Keycode key);
    // The settings file's name of an action ("up", "attack"), or None for an unknown name.
    static Action actionNamed(const std::string& name);
    static const char* nameOf(Action action);

private:
    std::array<std::vector<SDL_Keycode>, kActions> keys;  // indexed by action - 1
};
