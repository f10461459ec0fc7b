#pragma once

#include "world/Character.h"
#include "input/HeldWalk.h"
#include "world/RandomSeed.h"
#include "input/Input.h"
#include "input/KeyBindings.h"
#include "input/SimInput.h"

#include <SDL.h>

#include <cstdint>

// The hero: turns input events into steps, facing, walking animation and attacks, and keeps the
// wave's counters of collected bulls and killed enemies.
class Cowboy final : public Character {
public:
    static constexpr const char* kSpritePath = "images/sprites/hero2.png";
    static constexpr int kDefaultTexW = 568;  // sheet size until the picture is queried
    static constexpr int kDefaultTexH = 576;
    static constexpr int kFrameSize = 64;  // sheet frames are 64 by 64
    static constexpr int kDrawSize = 70;   // and drawn 70 by 70
    static constexpr int kDamage = 25;
    static constexpr int kHealth = 5000;
    static constexpr float kSpeed = 12.0f;  // pixels per key press
    static constexpr int kInitialDir = 5;
    static constexpr int kPickupExtra = 22;    // a bull is reached within half its width plus this
    static constexpr int kRestartRange = 300;  // a new wave starts the hero in 0..299 on each axis
    // A stick pushed less than a quarter of its travel is at rest: worn sticks never centre exactly.
    static constexpr int kStickDeadZone = 8192;
    // Walking sources of a game controller: its D-pad buttons, and its left stick as one more,
    // numbered apart from every key code.
    static constexpr long long kPadSources = 1LL << 40;
    static constexpr long long kPadStride = 64;
    static constexpr long long kStickSource = SDL_CONTROLLER_BUTTON_MAX;

    const KeyBindings* bindings = nullptr;               // the player's keys, as they change; the defaults when unset
    HeldWalk::Clock walkClock = &HeldWalk::systemClock;  // when held walks step; tests stop time with their own
    RandomSeed seed;                                     // seeds rand() where a new wave starts him
    Input* input = nullptr;                              // where his events come from; unset, straight from SDL's queue
    SimInput* sim = nullptr;  // when set, his events, clock and pad stick go through it (recorded or fed)

    // Assists, fixed for a run at its set-up (and read from a recording's header when it is played
    // again): they change what the world does, so a recording must know them.
    int32_t damageShare = 100;     // the percentage of a blow's cost he pays
    bool refillEachLevel = false;  // his health is full again when a level begins
    bool autoAttack = false;       // an attack key or pad button held down attacks again and again

    int32_t bul = 0;             // bulls collected in the current wave
    int32_t dir = 0;             // set at construction; nothing changes it
    bool walking = false;        // a walking key is held; key presses then step the animation
    bool activeX = false;        // the last walking key was a or d
    bool activeY = false;        // the last walking key was w or s
    bool hurt = false;           // marked by setHurt; nothing reads it
    int32_t enemy = 0;           // enemies killed in the current wave
    bool leavesQuietly = false;  // his run ended with him alive: his removal reports no death

    Cowboy(int x, int y);
    ~Cowboy();

    void spawn() override;
    // Takes one event already queued (the play frame pumps once) and acts on it.
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
    // An enemy's blow of this damage: his share of its cost, paid in hundredths of a point with
    // the remainder carried to the next blow, so half of two blows is exactly one blow's cost.
    void takeBlow(int damage);
    void spawnRep();

    // Forgets every walking key and pad direction held down, and stops: their releases will not be seen.
    void letGo();
    // The way a left stick at (x, y) walks: the larger axis decides, inside the dead zone none.
    static KeyBindings::Action stickDirection(int x, int y);
    // The place nearest to at's corner where a figure of at's size lies wholly inside the world
    // the view can show.
    static SDL_Point nearestInWorld(SDL_Rect at);

private:
    const KeyBindings& keys() const {
        static const KeyBindings defaults;
        return bindings != nullptr ? *bindings : defaults;
    }
    HeldWalk held;               // walking keys and pad directions held down, and the steps they owe
    int attacksHeld = 0;         // attack keys and pad buttons down
    int32_t owedHundredths = 0;  // what shared blows cost below a whole point, not yet paid
    // A press or release of an attack source; the attack is armed again while one is held.
    void holdAttack(bool down);

    // One step, facing and animation for a walking action, or the other actions of a key press.
    void handleKeyDown(KeyBindings::Action action);
    // What a key or pad release does: the walk stops at once.
    void stopWalking();
    void handleKey(const SDL_KeyboardEvent& key);
    void handlePad(const SDL_Event& event);
    // The walk clock, through sim when set.
    Uint64 now();
    // coord within 0 and extent less drawn: where a figure drawn that large stays in view.
    static int32_t withinWorld(int32_t coord, int32_t drawn, int32_t extent);
};
