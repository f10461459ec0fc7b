#include "input/KeyBindings.h"

#include <algorithm>
#include <cctype>

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
    buttons[indexOf(Action::Up)] = {SDL_CONTROLLER_BUTTON_DPAD_UP};
    buttons[indexOf(Action::Left)] = {SDL_CONTROLLER_BUTTON_DPAD_LEFT};
    buttons[indexOf(Action::Down)] = {SDL_CONTROLLER_BUTTON_DPAD_DOWN};
    buttons[indexOf(Action::Right)] = {SDL_CONTROLLER_BUTTON_DPAD_RIGHT};
    buttons[indexOf(Action::Attack)] = {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_X};
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
    if (reserved(key)) {
        why = keyName(key) + " is kept by the game";
        return false;
    }
    if (key == SDLK_COMMA) {
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
    if (reservedButton(button)) {
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
