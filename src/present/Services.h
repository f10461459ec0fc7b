#pragma once

#include "input/LastDevice.h"
#include "present/Game.h"
#include "present/HelpPanel.h"
#include "present/Settings.h"
#include "present/SettingsKeeper.h"
#include "present/Sound.h"

#include <SDL_ttf.h>

// What the screens around play reach of the process: the window, the sound, the settings and
// their keeper, how to play, the device used last and the panels' two fonts. Filled in once the
// process has started; a screen made from it needs nothing else of whoever opens it.
struct Services {
    Game* game = nullptr;                // the window
    Sound* sound = nullptr;              // effects, tunes, volumes, mute
    Settings* settings = nullptr;        // the player's settings and keys
    SettingsKeeper* keeper = nullptr;    // writes them as they change
    HelpPanel* help = nullptr;           // how to play, whose lines name the keys
    const LastDevice* device = nullptr;  // keyboard or pad: which the prompts name
    TTF_Font* font = nullptr;            // the panels' lines
    TTF_Font* smallFont = nullptr;       // their hints
};
