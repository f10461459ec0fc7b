#include "present/Gamepads.h"

#include "persist/FileIO.h"

#include <sys/stat.h>

namespace {

void open(int index) {
    if (SDL_IsGameController(index) == SDL_FALSE) {
        return;
    }
    // A pad found at start-up is announced once more by its device event: open it only once.
    if (SDL_GameControllerFromInstanceID(SDL_JoystickGetDeviceInstanceID(index)) != nullptr) {
        return;
    }
    if (SDL_GameControllerOpen(index) == nullptr) {
        FileIO::report("cannot use game controller " + std::to_string(index) + ": " + SDL_GetError());
    }
}

}  // namespace

void Gamepads::loadMappings(const std::string& path) {
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0) {
        return;
    }
    if (!S_ISREG(st.st_mode) || SDL_GameControllerAddMappingsFromFile(path.c_str()) < 0) {
        FileIO::report(
            path + ": no controller mappings read: " + (S_ISREG(st.st_mode) ? SDL_GetError() : "not a regular file"));
    }
}

void Gamepads::openAll() {
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        open(i);
    }
}

void Gamepads::deviceEvent(const SDL_Event& event) {
    if (event.type == SDL_CONTROLLERDEVICEADDED) {
        open(event.cdevice.which);  // here a device index
    } else if (event.type == SDL_CONTROLLERDEVICEREMOVED) {
        SDL_GameController* pad = SDL_GameControllerFromInstanceID(event.cdevice.which);
        if (pad != nullptr) {
            SDL_GameControllerClose(pad);
        }
    }
}

KeyBindings::Action Gamepads::buttonAction(SDL_GameControllerButton button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            return KeyBindings::Action::Up;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            return KeyBindings::Action::Left;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            return KeyBindings::Action::Down;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            return KeyBindings::Action::Right;
        case SDL_CONTROLLER_BUTTON_A:
        case SDL_CONTROLLER_BUTTON_X:
            return KeyBindings::Action::Attack;
        default:
            return KeyBindings::Action::None;
    }
}

void Gamepads::leftStick(SDL_JoystickID which, int& x, int& y) {
    SDL_GameController* pad = SDL_GameControllerFromInstanceID(which);
    x = pad == nullptr ? 0 : SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
    y = pad == nullptr ? 0 : SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
}
