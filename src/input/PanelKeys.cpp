#include "input/PanelKeys.h"

namespace {

// P pauses unless the player gave it to one of the hero's actions.
bool pausesToo(SDL_Keycode key, const KeyBindings& keys) {
    return key == SDLK_p && keys.actionOf(key) == KeyBindings::Action::None;
}

}  // namespace

bool PanelKeys::padPress(const SDL_Event& event, SDL_GameControllerButton button) {
    return event.type == SDL_CONTROLLERBUTTONDOWN && event.cbutton.button == button;
}

bool PanelKeys::keyPress(const SDL_Event& event, SDL_Keycode key) {
    return event.type == SDL_KEYDOWN && event.key.keysym.sym == key;
}

bool PanelKeys::freshKey(const SDL_Event& event, SDL_Keycode key) {
    return event.type == SDL_KEYDOWN && event.key.repeat == 0 && event.key.keysym.sym == key;
}

bool PanelKeys::asksPause(const SDL_Event& event, const KeyBindings& keys) {
    return freshKey(event, SDLK_ESCAPE) || (freshKey(event, SDLK_p) && pausesToo(SDLK_p, keys)) ||
           padPress(event, SDL_CONTROLLER_BUTTON_START);
}

bool PanelKeys::losesFocus(const SDL_Event& event) {
    return event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_FOCUS_LOST;
}

bool PanelKeys::asksHelp(const SDL_Event& event) { return freshKey(event, SDLK_F1); }

bool PanelKeys::isPanelKey(const SDL_Event& event, const KeyBindings& keys) {
    if (padPress(event, SDL_CONTROLLER_BUTTON_START)) {
        return true;
    }
    if (event.type != SDL_KEYDOWN) {
        return false;
    }
    const SDL_Keycode key = event.key.keysym.sym;
    return key == SDLK_ESCAPE || pausesToo(key, keys) || key == SDLK_F1;
}

PanelKeys::PauseChoice PanelKeys::pauseChoice(const SDL_Event& event) {
    if (event.type == SDL_QUIT) {
        return PauseChoice::Close;
    }
    if (freshKey(event, SDLK_ESCAPE) || freshKey(event, SDLK_RETURN) || freshKey(event, SDLK_KP_ENTER) ||
        freshKey(event, SDLK_p) || padPress(event, SDL_CONTROLLER_BUTTON_A) ||
        padPress(event, SDL_CONTROLLER_BUTTON_START)) {
        return PauseChoice::Continue;
    }
    if (freshKey(event, SDLK_q) || padPress(event, SDL_CONTROLLER_BUTTON_B)) {
        return PauseChoice::QuitToMenu;
    }
    return PauseChoice::None;
}

PanelKeys::CardChoice PanelKeys::cardChoice(const SDL_Event& event) {
    if (event.type == SDL_QUIT || freshKey(event, SDLK_ESCAPE) || padPress(event, SDL_CONTROLLER_BUTTON_B)) {
        return CardChoice::Quit;
    }
    // Not Space: it is the attack, and a player mashing it on the last blow would skip the card.
    if (event.type == SDL_MOUSEBUTTONDOWN || freshKey(event, SDLK_RETURN) || freshKey(event, SDLK_KP_ENTER) ||
        padPress(event, SDL_CONTROLLER_BUTTON_A)) {
        return CardChoice::PlayAgain;
    }
    return CardChoice::None;
}

bool PanelKeys::isPress(const SDL_Event& event) {
    return event.type == SDL_KEYDOWN || event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_CONTROLLERBUTTONDOWN;
}
