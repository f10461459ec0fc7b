#include "shell/Levels.h"

#include "persist/Replay.h"
#include "shell/Shell.h"
#include "world/RandomSeed.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>

namespace {

int absolute(int v) { return v < 0 ? -v : v; }

void placeFarms(Shell& shell, int count) {
    const Site sites[] = {shell.farmSite1, shell.farmSite2, shell.farmSite3};
    for (int i = 0; i < count && i < static_cast<int>(shell.farms.size()); ++i) {
        shell.farms[i]->spawn(sites[i].x, sites[i].y);
    }
}

// A resumed game may hold fewer slots than its level places; a slot that does not exist is
// passed over, so no placement ever reaches past the end of a list.
int lastSlot(int last, std::size_t slots) { return std::min(last, static_cast<int>(slots) - 1); }

// Every enemy of the level removed and every bull collected.
bool levelComplete(const Shell& shell) {
    return player->isBullCollected(shell.bullCount) && player->isEnemyKilled(shell.enemyCount);
}

void placeEnemies(Shell& shell, int first, int last, const Site& site, Levels::Family family) {
    for (int k = first; k <= lastSlot(last, shell.enemies.size()); ++k) {
        const int d = Levels::offset(family, k);
        shell.enemies[k]->spawn(absolute(site.x + d), absolute(site.y + d));
    }
}

void placeBulls(Shell& shell, int first, int last, const Site& site) {
    for (int k = first; k <= lastSlot(last, shell.bulls.size()); ++k) {
        const int d = Levels::offset(Levels::Family::Other, k);
        shell.bulls[k]->spawn(absolute(site.x + d), absolute(site.y + d), k);
    }
}

}  // namespace

void Levels::reseed() { RandomSeed::reseed(); }

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
    if (levelComplete(shell)) {
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
    if (shell.level == kLastLevel && levelComplete(shell)) {
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
            shell.sound.play(Sound::Effect::LevelUp);
            // Slot 1 is placed twice, at site 1 and then at site 2, where it stays.
            placeEnemies(shell, 0, 1, s1, Family::Other);
            placeEnemies(shell, 1, 3, s2, Family::Other);
            placeBulls(shell, 0, 1, s1);
            placeBulls(shell, 1, 3, s2);
            placeFarms(shell, 2);
            shell.level = 2;
            break;
        case 2:
            placeEnemies(shell, 0, 1, s1, Family::Other);
            placeEnemies(shell, 2, 3, s2, Family::Other);
            placeEnemies(shell, 4, 5, s3, Family::Other);
            placeBulls(shell, 0, 1, s1);
            placeBulls(shell, 2, 3, s2);
            placeBulls(shell, 4, 5, s3);
            placeFarms(shell, 3);
            shell.level = 3;
            shell.sound.play(Sound::Effect::LevelUp);
            break;
        case kLastLevel:
            shell.sound.play(Sound::Effect::Win);
            Render::isRunning = false;
            break;
        default:
            break;
    }
}
