#include "input/KeyBindings.h"

namespace {

// Names as the settings file spells them, in the order of the actions from Up on.
const char* const kNames[KeyBindings::kActions] = {"up", "left", "down", "right", "stop", "attack"};

std::size_t indexOf(KeyBindings::Action action) { return static_cast<std::size_t>(action) - 1; }

}  // namespace

KeyBindings::KeyBindings() {
    keys[indexOf(Action::Up)] = {SDLK_w, SDLK_UP};
    keys[indexOf(Action::Left)] = {SDLK_a, SDLK_LEFT};
    keys[indexOf(Action::Down)] = {SDLK_s, SDLK_DOWN};
    keys[indexOf(Action::Right)] = {SDLK_d, SDLK_RIGHT};
    keys[indexOf(Action::Stop)] = {SDLK_b};
    keys[indexOf(Action::Attack)] = {SDLK_SPACE};
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
    if (newKeys.empty()) {
        why = std::string("no key given for '") + nameOf(action) + "'";
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
