#pragma once

#include "world/Character.h"

#include <SDL.h>

#include <cstdint>

// The hostile character: stands at its spawn point until the hero's centre comes within reach,
// then chases him one axis at a time and attacks when he is close.
class Enemy final : public Character {
public:
    static constexpr const char* kSpritePath = "images/sprites/enemy2.png";
    static constexpr int kDefaultTexW = 575;  // sheet size until the picture is queried
    static constexpr int kDefaultTexH = 584;
    static constexpr int kFrameSize = 64;  // sheet frames are 64 by 64, drawn at that size
    static constexpr int kHealth = 50;
    static constexpr int kDamage = 20;
    static constexpr float kSpeed = 2.0f;  // pixels per chase step
    static constexpr int kInitialDir = 1;
    static constexpr double kAngerReach = 300.0;  // the hero's centre within this turns it hostile
    static constexpr int kAttackShorten = 1;      // an enemy's attack row has one more usable column

    // Whether the enemy that last ran getAngry is chasing; read by its getPosAbs in the same frame.
    static bool isAngry;

    int32_t dir = 0;      // direction of the last chase step: 0 up, 1 left, 2 down, 3 right
    SDL_Rect realRect{};  // world position used by reach tests and the saved game; w, h stay 0

    Enemy();

    void spawn() override;
    void spawn(int x, int y);
    bool getAngry(SDL_Rect heroRect, bool moving, SDL_Rect cam, int heroDir);
    void followCowboy(int dx, int dy, SDL_Rect heroRect, bool moving, SDL_Rect cam, int heroDir);
    void collision(SDL_Rect heroRect);
    // How far the hero's centre (heroRect as getAngry takes it) stands beyond the reach within
    // which collision makes this enemy swing; 0 or less within it. Read by the frame's drawing
    // only: nothing changes.
    double strikeGap(SDL_Rect heroRect) const;
    SDL_Rect distCal(SDL_Rect r);
    DrawPair* getPosAbs(SDL_Rect cam);
    DrawPair* getPosReal(SDL_Rect cam);
    int getHel();
    void setHealth(int h);

private:
    // Offset from realRect's corner to r's centre, in 64 bits so that far-off rectangles cannot wrap.
    void offsetTo(SDL_Rect r, long long& dx, long long& dy) const;
};
