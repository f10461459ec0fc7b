#pragma once

#include "world/Thing.h"

#include <SDL.h>

#include <cstdint>
#include <string>

// What the renderer needs to draw a character: where on screen, and which frame of the sheet.
struct DrawPair {
    SDL_Rect drawDest;  // destination rectangle handed to the renderer
    SDL_Rect drawSrc;   // the sheet frame drawn into it
};

// A fighting entity: an animated sprite sheet with health, damage, a hit flash, attack and death
// animations, and the reach test that decides whether a blow lands.
class Character : public Thing {
public:
    static constexpr int kHurtReachExtra = 55;  // a blow reaches frameW plus this many pixels
    static constexpr int kAttackRowOffset = 4;  // attack rows follow the four walking rows
    static constexpr int kDeathRow = 8;         // the dying row of the sheet
    static constexpr int kTailColumns = 3;      // unused columns at the end of attack and death rows
    static constexpr int kDamageDivisor = 6;    // a hit takes damage / 6 health

    DrawPair draw{};            // the rectangles last handed out for drawing
    SDL_Rect srcRect{};         // current frame of the sprite sheet
    SDL_Rect destRect{};        // position and drawn size (world for the hero, screen for an enemy)
    std::string name;           // "cowboy" or "enemy"; nothing reads it
    int32_t frameW = 0;         // width of one sheet frame
    int32_t frameH = 0;         // height of one sheet frame
    int32_t texW = 0;           // sprite-sheet width
    int32_t texH = 0;           // sprite-sheet height
    int32_t dam = 0;            // damage dealt per hit
    int32_t health = 0;         // hit points; at 0 or below the character dies
    float speed = 0.0f;         // pixels per movement step
    bool moving = false;        // cleared by a key release; nothing sets it
    bool attacking = false;     // an attack animation is running
    int32_t side = 0;           // facing and walking row: 0 up, 1 left, 2 down, 3 right
    bool destroyed = false;     // death animation finished and texture released
    bool destroyedAni = false;  // dying: the death animation is running

    Character() = default;

    // Distance between two points dx, dy apart, as every reach test measures it: each square is
    // truncated to a whole number before the root is taken.
    static double distance(long long dx, long long dy);
    // Whether a point dx, dy away lies within reach (the boundary counts as inside).
    static bool withinReach(long long dx, long long dy, double reach);

    SDL_Rect getPos();
    SDL_Rect getPosReal(SDL_Rect cam);
    bool getHurt(SDL_Rect a, SDL_Rect b);
    void getRed(int damage);
    // Loses points of health, shown red; at none left he dies.
    void loseHealth(int points);
    void getUnRed();
    void attack(int shorten, int direction);
    bool is_attack();
    void dead();
    void destroyE();
    bool isDestroyed();
    bool isDestroyedAni();
    int getDam();
    int getSide();

protected:
    ~Character() = default;

    // value kept within the int range instead of wrapping.
    static int32_t clampToInt(long long value);
    // coord + delta, truncated toward zero and kept within the int range.
    static int32_t moved(int32_t coord, double delta);
};
