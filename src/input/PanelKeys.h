#pragma once

#include "input/KeyBindings.h"

#include <SDL.h>

// Which input does what around play: the commands that pause or show the help during play, and
// the choices on the pause panel and the result card, all read from the player's bindings.
class PanelKeys {
public:
    enum class PauseChoice { None, Continue, QuitToMenu, Close };
    // Quit is the window closed; back leads to the menu, as it does on every other screen.
    enum class CardChoice { None, PlayAgain, Menu, Quit };

    // A fresh press (not the desktop's repeat) of a pause key or button. A key one of the hero's
    // actions has is the hero's (the player may give P to one).
    static bool asksPause(const SDL_Event& event, const KeyBindings& keys);
    // The window lost the keyboard focus: the player went elsewhere.
    static bool losesFocus(const SDL_Event& event);
    // A pad was pulled out: its player cannot play on until it is back.
    static bool losesPad(const SDL_Event& event) { return event.type == SDL_CONTROLLERDEVICEREMOVED; }
    // A fresh press of the help key.
    static bool asksHelp(const SDL_Event& event, const KeyBindings& keys);
    // Any press or repeat of a key or button that play never sees: pause and help.
    static bool isPanelKey(const SDL_Event& event, const KeyBindings& keys);
    // Pause or confirm continue, quit goes to the menu; fresh presses only.
    static PauseChoice pauseChoice(const SDL_Event& event, const KeyBindings& keys);
    // Confirm or a click plays again, back goes to the menu; fresh presses only.
    static CardChoice cardChoice(const SDL_Event& event, const KeyBindings& keys);
    // A key, mouse button or pad button pressed.
    static bool isPress(const SDL_Event& event);
    // A key or pad button pressed, not the desktop's repeat of a key held.
    static bool fresh(const SDL_Event& event);
};
