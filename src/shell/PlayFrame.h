#pragma once

#include "present/DrawQueue.h"

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

    void run(Shell& shell);
    // The HUD lines, outlined: health (never below 0), enemies, bulls and the run's score.
    static void drawHud(Shell& shell);

    // The drawings of the enemies, the hero, the farms and the bulls, made after the bull pass.
    DrawQueue figures;

private:
    static constexpr int kHudLines = 4;
    // The HUD's lines as they stand where the frame reads its numbers, drawn by showHud.
    struct Hud {
        std::array<SDL_Texture*, kHudLines> lines{};
        std::array<SDL_Rect, kHudLines> places{};
    };
    static Hud makeHud(Shell& shell);
    static void showHud(Shell& shell, const Hud& hud);

    void drawEnemy(Enemy& enemy);
    void enemyPass(Shell& shell, bool attackedThisFrame);
    void farmPass(Shell& shell, bool attackedThisFrame);
    void bullPass(Shell& shell);

    std::vector<int> arrowCodes;  // where the farm pass placed the arrow this frame, in order
};
