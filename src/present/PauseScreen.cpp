#include "present/PauseScreen.h"

void PauseScreen::prepare(SDL_Renderer* renderer, TTF_Font* font, TTF_Font* smallFont,
                          const std::vector<std::string>& help) {
    chosen = PanelKeys::PauseChoice::None;
    std::vector<ResultCard::Line> lines;
    for (const std::string& line : help) {
        lines.push_back(ResultCard::Line{line, true});
    }
    lines.push_back(ResultCard::Line{ResultCard::kPauseChoices, false});
    card.panel = kPanel;
    card.dim = kDim;
    card.prepare(renderer, font, smallFont, ResultCard::kPaused, lines);
}

void PauseScreen::take(const SDL_Event& event) {
    if (chosen == PanelKeys::PauseChoice::None) {
        chosen = PanelKeys::pauseChoice(event);
    }
}
