#include "input/PanelKeys.h"

using Command = KeyBindings::Command;
using Place = KeyBindings::Place;

bool PanelKeys::fresh(const SDL_Event& event) {
    return (event.type == SDL_KEYDOWN && event.key.repeat == 0) || event.type == SDL_CONTROLLERBUTTONDOWN;
}

bool PanelKeys::asksPause(const SDL_Event& event, const KeyBindings& keys) {
    return fresh(event) && keys.commandOf(event, Place::Play) == Command::Pause;
}

bool PanelKeys::losesFocus(const SDL_Event& event) {
    return event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_FOCUS_LOST;
}

bool PanelKeys::asksHelp(const SDL_Event& event, const KeyBindings& keys) {
    return fresh(event) && keys.commandOf(event, Place::Play) == Command::Help;
}

bool PanelKeys::isPanelKey(const SDL_Event& event, const KeyBindings& keys) {
    const Command command = keys.commandOf(event, Place::Play);
    return command == Command::Pause || command == Command::Help;
}

PanelKeys::PauseChoice PanelKeys::pauseChoice(const SDL_Event& event, const KeyBindings& keys) {
    if (event.type == SDL_QUIT) {
        return PauseChoice::Close;
    }
    if (!fresh(event)) {
        return PauseChoice::None;
    }
    switch (keys.commandOf(event, Place::Pause)) {
        case Command::Pause:
        case Command::Confirm:
            return PauseChoice::Continue;
        case Command::Quit:
            return PauseChoice::QuitToMenu;
        default:
            return PauseChoice::None;
    }
}

PanelKeys::CardChoice PanelKeys::cardChoice(const SDL_Event& event, const KeyBindings& keys) {
    if (event.type == SDL_QUIT) {
        return CardChoice::Quit;
    }
    if (event.type == SDL_MOUSEBUTTONDOWN) {
        return CardChoice::PlayAgain;
    }
    if (!fresh(event)) {
        return CardChoice::None;
    }
    // Space is no choice here by default: it is the attack, and a player mashing it on the last
    // blow would skip the card (the card reads confirm, not the options' select).
    switch (keys.commandOf(event, Place::Card)) {
        case Command::Back:
            return CardChoice::Menu;
        case Command::Confirm:
            return CardChoice::PlayAgain;
        default:
            return CardChoice::None;
    }
}

bool PanelKeys::isPress(const SDL_Event& event) {
    return event.type == SDL_KEYDOWN || event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_CONTROLLERBUTTONDOWN;
}
