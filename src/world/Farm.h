#pragma once

#include "world/Character.h"

#include <SDL.h>

#include <cstdint>

// A building around which the waves are placed; the hero can wear it down, and when none is in
// view the arrow points to the nearest one.
class Farm final : public Character {
public:
    static constexpr const char* kSpritePath = "images/farm.png";
    static constexpr int kDefaultTexW = 1416;  // picture size until it is queried
    static constexpr int kDefaultTexH = 864;
    static constexpr int kDrawW = 200;  // drawn 200 by 100 whatever the picture's size
    static constexpr int kDrawH = 100;
    static constexpr int kHealth = 200;
    static constexpr int kWindowRight = 1079;  // last pixel column of the window
    static constexpr int kWindowBottom = 719;  // last pixel row of the window

    // Arrow direction codes handed out by pointer().
    static constexpr int kPointMidLeft = 0;
    static constexpr int kPointUp = 1;
    static constexpr int kPointRight = 2;
    static constexpr int kPointDown = 3;
    static constexpr int kPointLeft = 4;

    // Countdown of farms seen outside the window; the arrow shows when it runs out.
    static int32_t isHere;

    // These hide the inherited fields of the same names: a farm's Character rectangles and sizes
    // stay zero, which gives it its short hurt reach and its world position from getPosReal.
    int32_t id = 0;       // 0 until placed, 1 once spawned (getID)
    SDL_Rect srcRect{};   // the whole picture
    SDL_Rect destRect{};  // screen rectangle as of the last getPos
    int32_t frameW = 0;   // equal to the picture size
    int32_t frameH = 0;
    int32_t texW = 0;  // picture size from the query
    int32_t texH = 0;

    Farm();

    void spawn() override;
    void spawn(int x, int y);
    SDL_Rect getPos(SDL_Rect cam);
    SDL_Rect getRect();
    int getID();
    void IsInWindow(SDL_Rect heroRect, SDL_Rect cam, int count);
    float distCal(SDL_Rect r);
    int pointer(SDL_Rect heroRect);
};
