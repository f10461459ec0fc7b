#include "present/PauseScreen.h"

#include "present/OptionRows.h"

void PauseScreen::prepare(SDL_Renderer* renderer, TTF_Font* font, TTF_Font* smallFont,
                          const std::vector<std::string>& help, bool pad) {
    chosen = PanelKeys::PauseChoice::None;
    optionsAsked = false;
    std::vector<ResultCard::Line> lines;
    for (const std::string& line : help) {
        lines.push_back(ResultCard::Line{line, true});
    }
    lines.push_back(ResultCard::Line{pad ? ResultCard::kPadPauseChoices : ResultCard::kPauseChoices, false});
    card.panel = kPanel;
    card.dim = kDim;
    card.prepare(renderer, font, smallFont, ResultCard::kPaused, lines);
}

void PauseScreen::take(const SDL_Event& event) {
    if (chosen == PanelKeys::PauseChoice::None) {
        chosen = PanelKeys::pauseChoice(event, keys());
    }
    const bool optionsKey =
        PanelKeys::fresh(event) && keys().commandOf(event, KeyBindings::Place::Pause) == KeyBindings::Command::Options;
    optionsAsked = optionsAsked || (optionsKey && chosen == PanelKeys::PauseChoice::None);
}

std::unique_ptr<Screen> PauseScreen::opens() {
    if (!optionsAsked || services == nullptr) {
        return nullptr;
    }
    optionsAsked = false;
    return OptionRows::screen(*services);
}

void PauseScreen::prepare(Services& game) {
    services = &game;
    const bool pad = game.device->padLast();
    prepare(Render::renderer, game.font, game.smallFont, HelpPanel::linesFor(game.settings->keys, pad), pad);
}

void PauseScreen::uncovered(const Screen& /*gone*/) {
    if (services != nullptr && captured()) {
        prepare(*services);
    }
}
