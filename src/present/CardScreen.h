#pragma once

#include "input/PanelKeys.h"
#include "present/ResultCard.h"
#include "present/Screen.h"

#include <string>
#include <vector>

// The result card after a run that ended by itself: the run's last picture with what happened
// over it, until the player chooses, closes the window or leaves it alone for its wait.
class CardScreen : public Screen {
public:
    static constexpr Uint64 kWaitMillis = 10000;  // a card left alone this long ends the process

    // Keeps the run's last picture before it is presented.
    void capture(SDL_Renderer* renderer) { card.capture(renderer); }
    bool captured() const { return card.captured(); }
    // Renders the card's lines once and starts its wait of `millis`.
    void prepare(SDL_Renderer* renderer, TTF_Font* font, TTF_Font* smallFont, const std::string& title,
                 const std::vector<ResultCard::Line>& below, Uint64 millis);
    void release() { card.release(); }

    // The first choice wins; any other press shows the player is there, and the wait starts again.
    void take(const SDL_Event& event) override;
    void step() override;
    void draw(SDL_Renderer* renderer) const override { card.draw(renderer); }
    bool done() const override { return chosen != PanelKeys::CardChoice::None || timedOut; }
    PanelKeys::CardChoice choice() const { return chosen; }

private:
    ResultCard card;      // the card over the kept picture
    Uint64 wait = 0;      // how long the card waits for a press
    Uint64 deadline = 0;  // SDL's milliseconds at which a card left alone gives up
    bool timedOut = false;
    PanelKeys::CardChoice chosen = PanelKeys::CardChoice::None;
};
