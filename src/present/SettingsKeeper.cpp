#include "present/SettingsKeeper.h"

#include "persist/FileIO.h"

#include <algorithm>
#include <string>

void SettingsKeeper::start(const Game& game) {
    seen = Toggles{sound.isMuted(), game.isFullscreen(), 0, 0};
    if (!seen.fullscreen && game.window != nullptr) {
        SDL_GetWindowSize(game.window, &seen.width, &seen.height);
    }
}

void SettingsKeeper::keepToggles(const Game& game, bool processEnds) {
    const bool muted = sound.isMuted();
    const bool fullscreen = game.isFullscreen();
    const bool changed = muted != seen.muted || fullscreen != seen.fullscreen;
    seen.muted = muted;
    seen.fullscreen = fullscreen;
    if (changed) {
        settings.muted = muted;  // M, F11 and Alt+Enter are remembered as the options are
        settings.fullscreen = fullscreen;
    }
    int w = 0;
    int h = 0;
    if (!fullscreen && game.window != nullptr) {
        SDL_GetWindowSize(game.window, &w, &h);
    }
    if (w > 0 && h > 0 && (w != seen.width || h != seen.height)) {
        seen.width = w;
        seen.height = h;
        settings.windowWidth = std::max(w, Settings::kMinWindowWidth);
        settings.windowHeight = std::max(h, Settings::kMinWindowHeight);
    }
    // At the end, also what a screen the close took away had changed.
    if (changed || processEnds) {
        save();
    }
}

void SettingsKeeper::applied(const Game& game) {
    seen.muted = sound.isMuted();
    seen.fullscreen = game.isFullscreen();
}

void SettingsKeeper::save() {
    // Said each time, as the player may have mended the folder meanwhile; the settings in memory
    // stay, and the next save tries again what this one could not write.
    std::string why;
    if (!settings.save(why)) {
        FileIO::report(Settings::kFileName + std::string(" not written: ") + why);
    } else if (!why.empty()) {
        FileIO::report(Settings::kFileName + std::string(" written, but a crash may still undo it: ") + why);
    }
}
