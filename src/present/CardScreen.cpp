#include "present/CardScreen.h"

void CardScreen::prepare(SDL_Renderer* renderer, TTF_Font* font, TTF_Font* smallFont, const std::string& title,
                         const std::vector<ResultCard::Line>& below, Uint64 millis) {
    chosen = PanelKeys::CardChoice::None;
    timedOut = false;
    wait = millis;
    deadline = SDL_GetTicks64() + millis;
    card.prepare(renderer, font, smallFont, title, below);
}

void CardScreen::take(const SDL_Event& event) {
    const PanelKeys::CardChoice now = PanelKeys::cardChoice(event);
    if (chosen == PanelKeys::CardChoice::None) {
        chosen = now;
    }
    if (now == PanelKeys::CardChoice::None && PanelKeys::isPress(event)) {
        deadline = SDL_GetTicks64() + wait;  // the player is there: the card waits for a choice
    }
}

void CardScreen::step() {
    if (SDL_GetTicks64() >= deadline) {
        timedOut = true;
    }
}
