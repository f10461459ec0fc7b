#pragma once

#include "present/DrawQueue.h"

class Shell;
class Enemy;

// One frame of play after the mode step: input, camera, HUD, the hero's attack, every enemy,
// farm and bull, the arrow, present, and the end-of-frame checks, in that order.
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

    // The enemy pass's drawings of enemies and the hero, made at its end or before an enemy goes.
    DrawQueue figures;

private:
    void drawEnemy(Enemy& enemy);
    void enemyPass(Shell& shell, bool attackedThisFrame);
    void farmPass(Shell& shell, bool attackedThisFrame);
    static void bullPass(Shell& shell);
};
