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
    chosen = PanelKeys::cardChoice(event, bindings != nullptr ? *bindings : KeyBindings::defaults());
}

void CardScreen::step() {
    if (giveUpAt != 0 && clock() >= giveUpAt) {
        gaveUp = true;
    }
}
