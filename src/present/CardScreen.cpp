#include "present/CardScreen.h"

void CardScreen::prepare(SDL_Renderer* renderer, TTF_Font* font, TTF_Font* smallFont, const std::string& title,
                         const std::vector<ResultCard::Line>& below, Uint64 giveUpMillis) {
    chosen = PanelKeys::CardChoice::None;
    gaveUp = false;
    shownAt = clock();
    giveUpAt = giveUpMillis == 0 ? 0 : shownAt + giveUpMillis;
    card.prepare(renderer, font, smallFont, title, below);
}

void CardScreen::take(const SDL_Event& event) {
    if (chosen != PanelKeys::CardChoice::None) {
        return;
    }
    if (event.type != SDL_QUIT && clock() < shownAt + kLockoutMillis) {
        return;  // pressed before the card could be read
    }
    const bool watchKey = (event.type == SDL_KEYDOWN && event.key.repeat == 0 && event.key.keysym.sym == SDLK_w) ||
                          (event.type == SDL_CONTROLLERBUTTONDOWN && event.cbutton.button == SDL_CONTROLLER_BUTTON_X);
    if (watch && watchKey) {
        watchAsked = true;
        return;
    }
    chosen = PanelKeys::cardChoice(event, bindings != nullptr ? *bindings : KeyBindings::defaults());
}

std::unique_ptr<Screen> CardScreen::opens() {
    if (!watchAsked) {
        return nullptr;
    }
    watchAsked = false;
    return watch();
}

void CardScreen::step() {
    if (giveUpAt != 0 && clock() >= giveUpAt) {
        gaveUp = true;
    }
}
