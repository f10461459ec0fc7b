#pragma once

#include "persist/GhostTrack.h"
#include "present/DrawQueue.h"
#include "present/EdgeMarkers.h"
#include "present/FieldEffects.h"
#include "present/LevelBanner.h"
#include "present/SwingTell.h"
#include "present/Text.h"

#include <array>
#include <vector>

class Shell;
class Enemy;

// One frame of play after the mode step: input, camera, HUD, the hero's attack, every enemy,
// farm and bull, the arrow, present, and the end-of-frame checks, in that order. The figures,
// farms and bulls reach the screen after the bull pass, in depth order; the HUD and the arrow
// are drawn over them.
class PlayFrame {
public:
    static constexpr float kNoFarmYet = 100000.0f;  // nearest-farm search starts farther than any farm
    static constexpr int kHealthRow = 0;            // HUD rows, as offsets below the HUD's first line
    static constexpr int kEnemiesRow = 30;
    static constexpr int kBullsRow = 60;
    static constexpr int kScoreRow = 90;
    static constexpr int kLevelMargin = 20;  // the level line's right edge from the picture's
    static constexpr Uint8 kHudFaded = 110;  // the HUD's alpha while the hero stands under it
    static constexpr int kBarW = 120;        // the hero's health bar beside the health line
    static constexpr int kBarH = 14;
    static constexpr int kBarGap = 16;        // between the widest health line and the bar
    static constexpr int kTellOverPips = 20;  // how much higher an outlaw's swing mark goes over his pips

    void run(Shell& shell);
    // The HUD lines, outlined: health (never below 0) with its bar, enemies, bulls, the run's
    // score and the level.
    static void drawHud(Shell& shell);

    // The pictures and fonts of what play shows beyond the figures, once the renderer exists;
    // released before it goes.
    void open(SDL_Renderer* renderer);
    void release();
    // A new run: nothing of the last one shows.
    void newRun();
    // The HUD was drawn faded in the last frame: the hero stood under it.
    bool hudFaded() const { return faded; }
    // The hero as this frame drew him (in the world), level 0 when it did not.
    const GhostTrack::Step& heroStep() const { return drawnHero; }
    // Where the last frame drew the ghost of the best run (on the screen), empty when it did not.
    const SDL_Rect& ghostDrawn() const { return ghostAt; }

    // The drawings of the enemies, the hero, the farms and the bulls, made after the bull pass.
    DrawQueue figures;
    FieldEffects effects;  // flashes, recoil, pips, ghosts, shake, cracks, dust, sparkles, pulse
    LevelBanner banner;    // "LEVEL n" at a run's start and at each level change
    SwingTell tells;       // a mark over each outlaw about to swing
    EdgeMarkers markers;   // where the bulls and outlaws left lie, while none is in view
    // Off while a watched run plays several frames a pass: only the last is shown, once.
    bool presents = true;

private:
    static constexpr int kHudLines = 5;
    // The HUD's lines as they stand where the frame reads its numbers, drawn by showHud.
    struct Hud {
        std::array<SDL_Texture*, kHudLines> lines{};
        std::array<SDL_Rect, kHudLines> places{};
        int health = 0;
    };
    static Hud makeHud(Shell& shell);
    static void showHud(Shell& shell, const Hud& hud, Uint8 alpha);
    // Where the HUD's lines and bar cover the picture.
    static std::array<SDL_Rect, kHudLines + 1> hudBoxes(Shell& shell, const Hud& hud);
    static SDL_Rect healthBar(Shell& shell, const Hud& hud);

    void drawEnemy(Enemy& enemy, int slot);
    // The best run's hero where he was at this moment of the level, and what the banner says of
    // the time against it.
    void drawGhost(Shell& shell, SDL_Point cam);
    static std::string aheadOrBehind(Shell& shell, int level);
    void enemyPass(Shell& shell, bool attackedThisFrame);
    void farmPass(Shell& shell, bool attackedThisFrame);
    void bullPass(Shell& shell);

    std::vector<int> arrowCodes;  // where the farm pass placed the arrow this frame, in order
    Text levelLine;               // the HUD's level line
    int announced = 0;            // the level the banner last announced, 0 before a run's first frame
    bool faded = false;
    SDL_Rect outlawSrc{};  // an outlaw's last drawing in the enemy pass
    SDL_Rect outlawDst{};
    SDL_Rect heroSrc{};  // the hero's last drawing in the enemy pass: on top of the others
    SDL_Rect heroDst{};
    GhostTrack::Step drawnHero;  // the hero as this frame drew him, in the world
    SDL_Rect ghostAt{};          // where the ghost was drawn this frame
};
