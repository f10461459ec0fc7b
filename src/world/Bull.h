#pragma once

#include "world/Thing.h"

#include <SDL.h>

// A bull lying at a world point until the hero walks over it and collects it.
class Bull final : public Thing {
public:
    static constexpr const char* kSpritePath = "images/sprites/bull.png";    // even kinds
    static constexpr const char* kSpritePath2 = "images/sprites/bull2.png";  // odd kinds
    static constexpr int kDefaultTexW = 376;                                 // picture size until it is queried
    static constexpr int kDefaultTexH = 266;
    static constexpr int kDrawW = 80;  // the whole picture is drawn scaled to 80 by 50
    static constexpr int kDrawH = 50;

    Bull();
    ~Bull();

    void spawn() override;
    void spawn(int x, int y, int kind);
    SDL_Rect getPos(SDL_Rect cam);
    SDL_Rect getRect();
};
