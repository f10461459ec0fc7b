#pragma once

#include "present/Text.h"

#include <SDL.h>

#include <string>

// "LEVEL n" across the field for a moment when a run starts and when the level changes, in the
// game's font, outlined like the HUD. Its clock counts frames (60 a second).
class LevelBanner {
public:
    static constexpr int kPointSize = 60;               // twice the HUD's
    static constexpr int kShownFrames = 90;             // 1.5 s
    static constexpr int kFadeInFrames = 8;             // it comes in quickly
    static constexpr int kFadeOutFrames = 24;           // and goes slowly
    static constexpr int kTop = 200;                    // above the hero, who stands mid-picture
    static constexpr int kNotePointSize = 30;           // the line under it, as the HUD's
    static constexpr int kNoteGap = 8;                  // between the two lines
    static constexpr SDL_Color kInk{232, 74, 40, 255};  // the arrow's red, clear of the sand's yellow

    long now = 0;  // frames counted by tick(); tests set it to move time on

    // Opens the font; without it the banner draws nothing. Its line goes with the renderer, as
    // the HUD's lines do.
    void open();
    // Shown for its whole time from now, with note (a whole line, may be empty) under it.
    void announce(int level, const std::string& note = "");
    void hide() { level = 0; }
    void tick() { ++now; }
    bool showing() const { return level > 0 && now - since < kShownFrames; }
    // The level it shows, 0 when none, and the line under it.
    int shownLevel() const { return showing() ? level : 0; }
    const std::string& shownNote() const { return note; }
    // How opaque it is now: in quickly, full, out slowly.
    Uint8 alpha() const;
    // Centred across the picture while it shows.
    void draw(SDL_Renderer* renderer);

private:
    Text text;
    Text noteText;
    int level = 0;
    std::string note;
    long since = 0;
};
