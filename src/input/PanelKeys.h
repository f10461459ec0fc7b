#pragma once

#include "input/KeyBindings.h"

#include <SDL.h>

// Which input does what around play: the keys and pad buttons that pause or show the help during
// play, and the choices on the pause panel and the result card.
class PanelKeys {
public:
    enum class PauseChoice { None, Continue, QuitToMenu, Close };
    enum class CardChoice { None, PlayAgain, Quit };

    // A fresh press (not the desktop's repeat) of a key, or the pad's Start, that pauses play.
    // P pauses only while the player has not given it to one of the hero's actions.
    static bool asksPause(const SDL_Event& event, const KeyBindings& keys);
    // The window lost the keyboard focus: the player went elsewhere.
    static bool losesFocus(const SDL_Event& event);
    // A pad was pulled out: its player cannot play on until it is back.
    static bool losesPad(const SDL_Event& event) { return event.type == SDL_CONTROLLERDEVICEREMOVED; }
    // A fresh press of the key that shows how to play.
    static bool asksHelp(const SDL_Event& event);
    // Any press or repeat of a key (or the pad's Start) that play never sees: pause and help.
    static bool isPanelKey(const SDL_Event& event, const KeyBindings& keys);
    static PauseChoice pauseChoice(const SDL_Event& event);
    static CardChoice cardChoice(const SDL_Event& event);
    // A key, mouse button or pad button pressed.
    static bool isPress(const SDL_Event& event);
    // A press of the pad's button.
    static bool padPress(const SDL_Event& event, SDL_GameControllerButton button);
    // A press of the key, the desktop's repeats included (they move a choice along).
    static bool keyPress(const SDL_Event& event, SDL_Keycode key);
    // A fresh press of the key, not the desktop's repeat.
    static bool freshKey(const SDL_Event& event, SDL_Keycode key);
};
