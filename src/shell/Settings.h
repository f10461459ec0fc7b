#pragma once

#include "world/KeyBindings.h"

#include <ostream>
#include <string>

// The player's settings, read once at start-up and kept for the whole process: the keys, and
// where the player's own controller mappings live. The game never writes them.
class Settings {
public:
    static constexpr const char* kFileName = "settings.ini";
    static constexpr const char* kPadMappingsName = "gamecontrollerdb.txt";

    KeyBindings keys;    // defaults, with every accepted [keys] entry applied
    std::string folder;  // $XDG_CONFIG_HOME/bramblehoof or ~/.config/bramblehoof; "" if neither

    // The folder from the environment; a relative XDG_CONFIG_HOME is ignored, as the desktop's
    // rules say.
    static std::string configFolder();
    // A file in folder, or "" when there is no folder.
    std::string file(const char* name) const;

    // Reads folder's settings.ini; every refused line is one line on problems, up to ten, and then
    // one line counts the rest. A missing file leaves the defaults.
    void load(std::ostream& problems);
    // Applies the text of a settings file.
    void apply(const std::string& text, std::ostream& problems);
};
