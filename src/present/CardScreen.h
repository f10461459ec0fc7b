#pragma once

#include "input/PanelKeys.h"
#include "present/ResultCard.h"
#include "present/Screen.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The result card after a run that ended by itself: the run's last picture with what happened
// over it, until the player chooses or closes the window. It waits as long as the player likes.
class CardScreen : public Screen {
public:
    // For this long after the card shows, no key, click or button acts on it: a blow or a key
    // still pressed from play must not put it away unread.
    static constexpr Uint64 kLockoutMillis = 800;

    Uint64 (*clock)() = &SDL_GetTicks64;    // milliseconds; tests move time with their own
    const KeyBindings* bindings = nullptr;  // the player's keys, as they change; the defaults when unset
    // The run's recording watched over the card (W, pad X); unset, the card offers no watch.
    std::function<std::unique_ptr<Screen>()> watch;

    // Keeps the run's last picture before it is presented.
    void capture(SDL_Renderer* renderer) { card.capture(renderer); }
    bool captured() const { return card.captured(); }
    // Renders the card's lines once; from now on it waits for the player. A card given a
    // `giveUpMillis` (tests only) goes by itself after that long.
    void prepare(SDL_Renderer* renderer, TTF_Font* font, TTF_Font* smallFont, const std::string& title,
                 const std::vector<ResultCard::Line>& below, Uint64 giveUpMillis = 0);
    void release() { card.release(); }

    // The first choice after the lockout wins; a close of the window counts at any time.
    void take(const SDL_Event& event) override;
    void step() override;
    void draw(SDL_Renderer* renderer) const override { card.draw(renderer); }
    bool done() const override { return chosen != PanelKeys::CardChoice::None || gaveUp; }
    std::unique_ptr<Screen> opens() override;
    PanelKeys::CardChoice choice() const { return chosen; }

private:
    ResultCard card;      // the card over the kept picture
    Uint64 shownAt = 0;   // the clock when the card was readied
    Uint64 giveUpAt = 0;  // the clock at which it goes by itself; 0 for never
    bool gaveUp = false;
    bool watchAsked = false;
    PanelKeys::CardChoice chosen = PanelKeys::CardChoice::None;
};
