#pragma once

#include "present/FramePicture.h"
#include "present/Texts.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <string>
#include <vector>

// A card shown over the last picture of a run while no frame is played: what happened (won,
// died, a replay run out, paused), the lines that go with it and the player's choices.
class ResultCard {
public:
    static constexpr Texts::Ref kWon{Texts::Id::CardWon};
    static constexpr Texts::Ref kDied{Texts::Id::CardDied};
    static constexpr Texts::Ref kReplayOver{Texts::Id::CardReplayOver};
    static constexpr Texts::Ref kPaused{Texts::Id::CardPaused};
    static constexpr Texts::Ref kChoices{Texts::Id::CardChoices};
    static constexpr Texts::Ref kNotSaved{Texts::Id::CardNotSaved};
    static constexpr Texts::Ref kPauseChoices{Texts::Id::PauseChoices};
    // The same choices named by the pad's buttons, for a player with the pad in hand.
    static constexpr Texts::Ref kPadChoices{Texts::Id::CardPadChoices};
    static constexpr Texts::Ref kWatch{Texts::Id::CardWatch};
    static constexpr Texts::Ref kPadWatch{Texts::Id::CardPadWatch};
    static constexpr Texts::Ref kPadPauseChoices{Texts::Id::PadPauseChoices};
    static constexpr SDL_Rect kPanel{240, 210, 600, 300};  // in the 1080 by 720 picture
    static constexpr int kTitleScale = 2;                  // the title is drawn twice as large
    static constexpr Uint8 kPanelAlpha = 255;              // opaque: nothing of the picture shows through the lines

    // One line under the title; a small one is set in the small font.
    struct Line {
        std::string text;    // UTF-8
        bool small = false;  // set in the small font
    };

    SDL_Rect panel = kPanel;  // where the panel stands
    Uint8 dim = 0;            // how much the kept picture is darkened, 0 (not at all) to 255

    ResultCard() = default;
    ResultCard(const ResultCard&) = delete;
    ResultCard& operator=(const ResultCard&) = delete;
    ~ResultCard();

    // The line that tells the place: "Best run so far", "Place 3 of the best runs", ...
    static std::string placeLine(int place, int shownPlaces);

    // Keeps the picture drawn so far, before it is presented: after a present its contents are gone.
    void capture(SDL_Renderer* renderer) { picture.capture(renderer); }
    bool captured() const { return picture.captured(); }
    // Renders the card's lines once.
    void prepare(SDL_Renderer* renderer, TTF_Font* font, TTF_Font* smallFont, const std::string& title,
                 const std::vector<Line>& below);
    // The kept picture, then the card over it.
    void draw(SDL_Renderer* renderer) const;
    // The kept picture, darkened by dim, without the card.
    void drawBackdrop(SDL_Renderer* renderer) const;
    // Where the panel is drawn: panel, grown around its middle as far as the lines need.
    SDL_Rect drawnPanel() const;
    // The card's lines as last prepared, title first.
    const std::vector<std::string>& text() const { return shown; }
    // Where line i (the title is 0) is drawn in the picture; empty past the last.
    SDL_Rect lineAt(std::size_t i) const;
    void release();

private:
    void releaseLines();
    // Each line's size as drawn, title first (the title at kTitleScale).
    std::vector<SDL_Rect> lineBoxes() const;
    // Where each line is drawn: stacked and centred in the drawn panel.
    std::vector<SDL_Rect> linePlaces() const;

    FramePicture picture;             // the run's last picture
    std::vector<SDL_Texture*> lines;  // title first, then the lines below it
    std::vector<std::string> shown;   // their text
};
