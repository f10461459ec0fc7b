#pragma once

#include "input/PanelKeys.h"
#include "present/ResultCard.h"
#include "present/Screen.h"
#include "present/Services.h"

#include <functional>
#include <string>
#include <vector>

// The pause panel: the kept picture of play, darkened, with how to play and the choices over it,
// until the player continues, quits to the menu or closes the window.
class PauseScreen : public Screen {
public:
    static constexpr SDL_Rect kPanel{140, 110, 800, 500};  // room for the controls
    static constexpr Uint8 kDim = 120;                     // the paused picture is darkened, so it reads as stopped
    static constexpr int kCloseBy = 150;                   // nearer than this (world pixels), the nearest is "close by"
    static constexpr int kArrowSize = 26;                  // the arrow beside the nearest one's line
    static constexpr int kFigureGap = 10;                  // between the line of what is left and its figures
    static constexpr int kFrameGap = 8;                    // the figures stay this far inside the panel
    static constexpr int kSmallestFigure = 16;             // a figure squeezed shorter is left out

    // What the level still needs, as play left it: shown beside the controls.
    struct Reminder {
        bool shown = false;        // set by play; a panel made without it shows none
        int outlaws = 0;           // outlaws still to defeat
        int bulls = 0;             // bulls still to collect
        bool nearest = false;      // one of them stands on the field
        bool nearestBull = false;  // it is a bull (else an outlaw)
        int dx = 0;                // from the hero to it, in world pixels
        int dy = 0;
        // An outlaw and a bull as the field draws them (play's own pictures, which last as long
        // as the run), shown beside the line of what is left; none in a panel made without them.
        SDL_Texture* outlawPicture = nullptr;
        SDL_Rect outlawFrame{0, 0, 0, 0};
        SDL_Texture* bullPicture = nullptr;
        SDL_Rect bullFrame{0, 0, 0, 0};
    };
    Reminder reminder;
    // The compass word for the way (dx, dy) points on the screen, y growing downwards.
    static std::string wayOf(int dx, int dy);

    // Keeps the frame's picture before it is presented, for the panel to stand on.
    void capture(SDL_Renderer* renderer) { card.capture(renderer); }
    bool captured() const { return card.captured(); }
    // Renders the panel's lines once: the help lines, then the choices.
    // The choices are named by the pad's buttons when pad is set.
    void prepare(SDL_Renderer* renderer, TTF_Font* font, TTF_Font* smallFont, const std::vector<std::string>& help,
                 bool pad = false);
    // The game's panel: its lines for the player's keys and the device used last, and O (pad Y)
    // opens the options over it.
    void prepare(Services& services);
    void release() { card.release(); }

    // The first choice of a pass wins; everything else pressed while paused is the panel's.
    void take(const SDL_Event& event) override;
    void draw(SDL_Renderer* renderer) const override;
    // Under the options: the darkened picture alone, none of the panel's lines.
    void drawUnderPanel(SDL_Renderer* renderer) const override { card.drawBackdrop(renderer); }
    bool done() const override { return chosen != PanelKeys::PauseChoice::None; }
    // O or pad Y: the options, over the panel until they are done.
    std::unique_ptr<Screen> opens() override;
    // Back from the options: the lines name the keys as they now are.
    void uncovered(const Screen& gone) override;
    PanelKeys::PauseChoice choice() const { return chosen; }
    const std::vector<std::string>& text() const { return card.text(); }
    // Where the panel's line i (the title is 0) is drawn.
    SDL_Rect lineAt(std::size_t i) const { return card.lineAt(i); }

private:
    ResultCard card;              // the panel over the kept picture
    std::size_t nearestLine = 0;  // the card's line naming the nearest, 0 for none
    std::size_t leftLine = 0;     // the card's line of what is left, 0 for none
    // The figures beside the line of what is left: the outlaw before it, the bull after it.
    void drawFigures(SDL_Renderer* renderer) const;
    // The player's keys when the game's services are set, else the defaults.
    const KeyBindings& keys() const { return services != nullptr ? services->settings->keys : KeyBindings::defaults(); }

    Services* services = nullptr;  // the game's: set by prepare(Services&)
    PanelKeys::PauseChoice chosen = PanelKeys::PauseChoice::None;
    bool optionsAsked = false;
};
