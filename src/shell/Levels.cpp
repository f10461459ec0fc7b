#include "shell/Levels.h"

#include "persist/Replay.h"
#include "shell/Shell.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>

namespace {

int absolute(int v) { return v < 0 ? -v : v; }

void placeFarms(Shell& shell, int count) {
    const Site sites[] = {shell.farmSite1, shell.farmSite2, shell.farmSite3};
    for (int i = 0; i < count && i < static_cast<int>(shell.run().farms.size()); ++i) {
        shell.run().farms[i]->spawn(sites[i].x, sites[i].y);
    }
}

// A resumed game may hold fewer slots than its level places; a slot that does not exist is
// passed over, so no placement ever reaches past the end of a list.
int lastSlot(int last, std::size_t slots) { return std::min(last, static_cast<int>(slots) - 1); }

// Every enemy of the level removed and every bull collected.
bool levelComplete(const Shell& shell) {
    return player->isBullCollected(shell.run().bullCount) && player->isEnemyKilled(shell.run().enemyCount);
}

void placeEnemies(Shell& shell, int first, int last, const Site& site, Levels::Family family) {
    for (int k = first; k <= lastSlot(last, shell.run().enemies.size()); ++k) {
        const int d = Levels::offset(family, k);
        shell.run().enemies[k]->spawn(absolute(site.x + d), absolute(site.y + d));
    }
}

void placeBulls(Shell& shell, int first, int last, const Site& site) {
    for (int k = first; k <= lastSlot(last, shell.run().bulls.size()); ++k) {
        const int d = Levels::offset(Levels::Family::Other, k);
        shell.run().bulls[k]->spawn(absolute(site.x + d), absolute(site.y + d), k);
    }
}

}  // namespace

int Levels::offset(Family family, int k) {
    const int r = rand();
    const bool even = k % 2 == 0;
    if (family == Family::NewGameEnemy) {
        return even ? r % 150 - 180 : r % 300 + 100;
    }
    return even ? r % 150 - 100 : r % 250 + 100;
}

void Levels::newGame(Shell& shell) {
    shell.run().farms[0]->spawn(shell.farmSite1.x, shell.farmSite1.y);
    if (!shell.simInput.feeding()) {
        Replay::startRecording(shell.run().replayOut);  // a re-simulation writes no file
    }
    shell.seed.reseed();
    placeEnemies(shell, 0, shell.run().enemyCount - 1, shell.farmSite1, Family::NewGameEnemy);
    shell.seed.reseed();
    placeBulls(shell, 0, shell.run().bullCount - 1, shell.farmSite1);
}

void Levels::endOfFrame(Shell& shell) {
    if (player->isDestroyed()) {
        shell.run().removeHero();
        Render::isRunning = false;
        return;
    }
    if (levelComplete(shell)) {
        levelUp(shell);
    }
}

Run::Outcome Levels::outcome(const Shell& shell) {
    if (player == nullptr) {
        return Run::Outcome::None;
    }
    if (player->isDestroyed()) {
        return Run::Outcome::Died;
    }
    if (shell.run().level == kLastLevel && levelComplete(shell)) {
        return Run::Outcome::Won;
    }
    return Run::Outcome::None;
}

void Levels::levelUp(Shell& shell) {
    std::cout << "You win!!!" << std::endl << shell.run().level << shell.run().level;
    player->spawnRep();
    shell.run().enemyCount += kGrowthPerLevel;
    shell.run().bullCount += kGrowthPerLevel;
    shell.run().levelUpTrace = kLevelUpTrace;
    shell.run().farmCount += 1;
    refill(shell.run().enemies, shell.run().enemyCount);
    refill(shell.run().bulls, shell.run().bullCount);
    refill(shell.run().farms, shell.run().farmCount);

    const Site& s1 = shell.farmSite1;
    const Site& s2 = shell.farmSite2;
    const Site& s3 = shell.farmSite3;
    switch (shell.run().level) {
        case 1:
            std::cout << "2 level";
            shell.sound.play(Sound::Effect::LevelUp);
            // Slot 1 is placed twice, at site 1 and then at site 2, where it stays.
            placeEnemies(shell, 0, 1, s1, Family::Other);
            placeEnemies(shell, 1, 3, s2, Family::Other);
            placeBulls(shell, 0, 1, s1);
            placeBulls(shell, 1, 3, s2);
            placeFarms(shell, 2);
            shell.run().level = 2;
            break;
        case 2:
            placeEnemies(shell, 0, 1, s1, Family::Other);
            placeEnemies(shell, 2, 3, s2, Family::Other);
            placeEnemies(shell, 4, 5, s3, Family::Other);
            placeBulls(shell, 0, 1, s1);
            placeBulls(shell, 2, 3, s2);
            placeBulls(shell, 4, 5, s3);
            placeFarms(shell, 3);
            shell.run().level = 3;
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
