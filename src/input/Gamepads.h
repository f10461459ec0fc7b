#pragma once

#include <SDL.h>

#include <cstddef>
#include <string>

// Game controllers: opened as they are plugged in (or found at start-up), closed as they are
// pulled out. SDL keeps the open ones; nothing here outlives SDL.
class Gamepads {
public:
    // Far more than the mappings of every pad there is; a bigger file is not the player's list.
    static constexpr std::size_t kMaxMappingBytes = 1024 * 1024;

    // Adds the mappings of a user's file (SDL's own database and SDL_GAMECONTROLLERCONFIG come
    // first, from SDL itself): only a regular file of at most kMaxMappingBytes, read line by line;
    // blank and '#' lines and mappings for another system are skipped. A missing file is no
    // problem; one that is not read gives one line, and so do all the lines SDL refuses together.
    static void loadMappings(const std::string& path);
    // Opens every controller already plugged in.
    static void openAll();
    // Opens or closes the controller of a device event; any other event is left alone.
    static void deviceEvent(const SDL_Event& event);

    // Where the left stick of a controller stands now (0, 0 when it is not open).
    static void leftStick(SDL_JoystickID which, int& x, int& y);
};
