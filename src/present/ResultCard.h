#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <string>
#include <vector>

// The card shown over the last picture of a run that was won or lost: what happened, the score,
// and the run's place among the best runs.
class ResultCard {
public:
    static constexpr const char* kWon = "YOU WIN";
    static constexpr const char* kDied = "YOU DIED";
    static constexpr SDL_Rect kPanel{240, 210, 600, 300};  // in the 1080 by 720 picture
    static constexpr int kTitleScale = 2;                  // the title is drawn twice as large
    static constexpr Uint8 kPanelAlpha = 255;  // opaque: nothing of the picture shows through the lines

    ResultCard() = default;
    ResultCard(const ResultCard&) = delete;
    ResultCard& operator=(const ResultCard&) = delete;
    ~ResultCard();

    // The line that tells the place: "Best run so far", "Place 3 of the best runs", ...
    static std::string placeLine(int place, int shownPlaces);

    // Keeps the picture drawn so far, before it is presented: after a present its contents are gone.
    void capture(SDL_Renderer* renderer);
    bool captured() const { return last != nullptr; }
    // Renders the card's lines once.
    void prepare(SDL_Renderer* renderer, TTF_Font* font, bool won, int32_t score, const std::string& place);
    // The kept picture, then the card over it.
    void draw(SDL_Renderer* renderer) const;
    void release();

private:
    void releaseLines();

    SDL_Texture* last = nullptr;          // the run's last picture, window-sized
    SDL_Rect lastArea{};                  // the part of it the game's picture filled
    std::vector<SDL_Texture*> lines;      // title, score, place
};
