#pragma once

#include "world/Character.h"

#include <SDL.h>

#include <cstdint>

// The hero: turns input events into steps, facing, walking animation and attacks, and keeps the
// wave's counters of collected bulls and killed enemies.
class Cowboy final : public Character {
public:
    static constexpr const char* kSpritePath = "images/sprites/hero2.png";
    static constexpr int kDefaultTexW = 568;     // sheet size until the picture is queried
    static constexpr int kDefaultTexH = 576;
    static constexpr int kFrameSize = 64;        // sheet frames are 64 by 64
    static constexpr int kDrawSize = 70;         // and drawn 70 by 70
    static constexpr int kDamage = 25;
    static constexpr int kHealth = 5000;
    static constexpr float kSpeed = 12.0f;       // pixels per key press
    static constexpr int kInitialDir = 5;
    static constexpr int kPickupExtra = 22;      // a bull is reached within half its width plus this
    static constexpr int kRestartRange = 300;    // a new wave starts the hero in 0..299 on each axis

    int32_t bul = 0;        // bulls collected in the current wave
    int32_t dir = 0;        // set at construction; nothing changes it
    bool walking = false;   // a walking key is held; key presses then step the animation
    bool activeX = false;   // the last walking key was a or d
    bool activeY = false;   // the last walking key was w or s
    bool hurt = false;      // marked by setHurt; nothing reads it
    int32_t enemy = 0;      // enemies killed in the current wave
    bool leavesQuietly = false;  // his run ended with him alive: his removal reports no death

    Cowboy(int x, int y);
    ~Cowboy();

    void spawn() override;
    DrawPair* handleEvents(SDL_Rect cam);
    SDL_Rect checkPosition(SDL_Rect cam);
    bool collisionB(SDL_Rect bull, SDL_Rect cam);
    void setPos(int x, int y);
    void setAll(int x, int y, int health);
    void setBull(int n);
    void setEnemy(int n);
    int getBul();
    int getEnemy();
    int getHel();
    int getDir();
    bool isMov();
    bool getActiveX();
    bool getActiveY();
    void enemyKill();
    // True once the counter has reached n. A resumed run places every bull of its level anew, so
    // its counter can pass the count; it must still complete the level.
    bool isBullCollected(int n);
    bool isEnemyKilled(int n);
    void setHurt();
    void spawnRep();

private:
    void handleKeyDown(SDL_Keycode key);
};
