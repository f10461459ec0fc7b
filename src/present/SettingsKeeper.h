#pragma once

#include "present/Game.h"
#include "present/Sound.h"
#include "present/Settings.h"

// Keeps settings.ini in step with the player: what the options change, and what he toggles
// outside them (M, F11, Alt+Enter, the window's size). A toggle is written at once, a new size when
// the process ends, not at each step of a drag. A file that cannot be written is said each time,
// and play goes on with the settings in memory.
class SettingsKeeper {
public:
    SettingsKeeper(Settings& settings, Sound& sound) : settings(settings), sound(sound) {}
    SettingsKeeper(const SettingsKeeper&) = delete;
    SettingsKeeper& operator=(const SettingsKeeper&) = delete;

    // What the window and the sound are as the process starts: nothing toggled yet.
    void start(const Game& game);
    // Keeps what the player toggled since the last call; when the process ends, the size too, and
    // whatever else changed and is not written yet.
    void keepToggles(const Game& game, bool processEnds);
    // The options set the sound and the window themselves: what they are now is no toggle.
    void applied(const Game& game);
    // Writes settings.ini.
    void save();

private:
    struct Toggles {
        bool muted = false;
        bool fullscreen = false;
        int width = 0;  // the window's when last windowed
        int height = 0;
    };

    Settings& settings;
    Sound& sound;
    Toggles seen;  // as last kept: a difference is the player's doing
};
