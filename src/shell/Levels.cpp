#include "shell/Levels.h"

#include "persist/Replay.h"
#include "shell/Shell.h"

#include <cstdlib>
#include <ctime>
#include <iostream>

namespace {


int absolute(int v) { return v < 0 ? -v : v; }


void placeEnemies(Shell& shell, int first, int last, const Site& site, Levels::Family family) {
    for (int k = first; k <= last; ++k) {
        const int d = Levels::offset(family, k);
        shell.enemies[k]->spawn(absolute(site.x + d), absolute(site.y + d));
    }
}

void placeBulls(Shell& shell, int first, int last, const Site& site) {
    for (int k = first; k <= last; ++k) {
        const int d = Levels::offset(Levels::Family::Other, k);
        shell.bulls[k]->spawn(absolute(site.x + d), absolute(site.y + d), k);
    }
}

}  // namespace

void Levels::reseed() { srand(static_cast<unsigned>(time(nullptr))); }

int Levels::offset(Family family, int k) {
    const int r = rand();
    const bool even = k % 2 == 0;
    if (family == Family::NewGameEnemy) {
        return even ? r % 150 - 180 : r % 300 + 100;
    }
    return even ? r % 150 - 100 : r % 250 + 100;
}

void Levels::newGame(Shell& shell) {
    shell.farms[0]->spawn(shell.farmSite1.x, shell.farmSite1.y);
    Replay::startRecording(shell.replayOut);
    reseed();
    placeEnemies(shell, 0, shell.enemyCount - 1, shell.farmSite1, Family::NewGameEnemy);
    reseed();
    placeBulls(shell, 0, shell.bullCount - 1, shell.farmSite1);
}

void Levels::endOfFrame(Shell& shell) {
    if (player->isDestroyed()) {
        shell.removeHero();
        Render::isRunning = false;
        return;
    }
    if (player->isBullCollected(shell.bullCount) && player->isEnemyKilled(shell.enemyCount)) {
        levelUp(shell);
    }
}

Shell::Outcome Levels::outcome(const Shell& shell) {
    if (player == nullptr) {
        return Shell::Outcome::None;
    }
    if (player->isDestroyed()) {
        return Shell::Outcome::Died;
    }
    if (shell.level == kLastLevel && player->isBullCollected(shell.bullCount) &&
        player->isEnemyKilled(shell.enemyCount)) {
        return Shell::Outcome::Won;
    }
    return Shell::Outcome::None;
}

void Levels::levelUp(Shell& shell) {
    std::cout << "You win!!!" << std::endl << shell.level << shell.level;
    player->spawnRep();
    shell.enemyCount += kGrowthPerLevel;
    shell.bullCount += kGrowthPerLevel;
    shell.levelUpTrace = kLevelUpTrace;
    shell.farmCount += 1;
    refill(shell.enemies, shell.enemyCount);
    refill(shell.bulls, shell.bullCount);
    refill(shell.farms, shell.farmCount);

    const Site& s1 = shell.farmSite1;
    const Site& s2 = shell.farmSite2;
    const Site& s3 = shell.farmSite3;
    switch (shell.level) {
    case 1:
        std::cout << "2 level";
        // Slot 1 is placed twice, at site 1 and then at site 2, where it stays.
        placeEnemies(shell, 0, 1, s1, Family::Other);
        placeEnemies(shell, 1, 3, s2, Family::Other);
        placeBulls(shell, 0, 1, s1);
        placeBulls(shell, 1, 3, s2);
        shell.farms[0]->spawn(s1.x, s1.y);
        shell.farms[1]->spawn(s2.x, s2.y);
        shell.level = 2;
        break;
    case 2:
        placeEnemies(shell, 0, 1, s1, Family::Other);
        placeEnemies(shell, 2, 3, s2, Family::Other);
        placeEnemies(shell, 4, 5, s3, Family::Other);
        placeBulls(shell, 0, 1, s1);
        placeBulls(shell, 2, 3, s2);
        placeBulls(shell, 4, 5, s3);
        shell.farms[0]->spawn(s1.x, s1.y);
        shell.farms[1]->spawn(s2.x, s2.y);
        shell.farms[2]->spawn(s3.x, s3.y);
        shell.level = 3;
        break;
    case kLastLevel:
        Render::isRunning = false;
        break;
    default:
        break;
    }
}
