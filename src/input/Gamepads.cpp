#include "input/Gamepads.h"

#include "persist/FileIO.h"

#include <cstring>

namespace {

constexpr const char* kPlatformField = "platform:";

// False for a mapping meant for another system (one file often serves several), as SDL's own file
// reader judges it; those are skipped, not refused.
bool forThisPlatform(const std::string& line) {
    const std::size_t field = line.find(kPlatformField);
    if (field == std::string::npos) {
        return true;
    }
    const std::size_t from = field + std::strlen(kPlatformField);
    const std::size_t comma = line.find(',', from);
    const std::string named = line.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
    return SDL_strcasecmp(named.c_str(), SDL_GetPlatform()) == 0;
}

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
    if (path.empty()) {
        return;
    }
    // Read here rather than by SDL, which would take a file of any size or wait on a FIFO.
    std::string text;
    std::string why;
    if (!FileIO::readSmall(path, kMaxMappingBytes, text, why)) {
        if (!why.empty()) {
            FileIO::report(path + ": " + why + "; no controller mappings read");
        }
        return;
    }
    int refused = 0;
    int firstRefused = 0;
    int number = 0;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        end = end == std::string::npos ? text.size() : end;
        const std::string line = FileIO::trimmed(text.substr(at, end - at), " \t\r");
        at = end + 1;
        ++number;
        if (line.empty() || line[0] == '#' || !forThisPlatform(line)) {
            continue;
        }
        if (SDL_GameControllerAddMapping(line.c_str()) < 0) {
            firstRefused = refused == 0 ? number : firstRefused;
            ++refused;
        }
    }
    if (refused > 0) {
        FileIO::report(path + ": " + std::to_string(refused) + (refused == 1 ? " line" : " lines") +
                       " refused, not a controller mapping (the first is line " + std::to_string(firstRefused) + ")");
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

void Gamepads::leftStick(SDL_JoystickID which, int& x, int& y) {
    SDL_GameController* pad = SDL_GameControllerFromInstanceID(which);
    x = pad == nullptr ? 0 : SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
    y = pad == nullptr ? 0 : SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
}
