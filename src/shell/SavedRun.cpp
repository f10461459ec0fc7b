#include "shell/SavedRun.h"

#include "persist/FileIO.h"
#include "persist/SaveLock.h"
#include "persist/SavedGame.h"
#include "shell/Levels.h"
#include "shell/Shell.h"

#include <iostream>

namespace {

// The save's records, gathered from the hero, the level and the living enemies.
void gather(Shell& shell, resPl& record, std::vector<resEn>& living) {
    const HeroSnapshot last = shell.heroState();
    record.x = last.pos.x;
    record.y = last.pos.y;
    record.health = last.health;
    record.level = shell.level;
    record.enemiesKilled = last.killed;
    record.bullsCollected = last.collected;
    record.enemyCount = shell.enemyCount;
    record.bullCount = shell.bullCount;
    record.name = button->getInputText();

    for (int i = 0; i < shell.enemyCount && i < static_cast<int>(shell.enemies.size()); ++i) {
        Enemy* enemy = shell.enemies[i].get();
        if (enemy == nullptr) {
            continue;
        }
        const SDL_Rect at = enemy->getPosReal(game->getPos())->drawDest;
        living.push_back(resEn{at.x, at.y, enemy->getHel()});
    }
}

}  // namespace

void SavedRun::keep(Shell& shell) {
    std::string missing;
    if (FileIO::folderThere(Player::kDefaultPath, missing)) {
        hero->NewPlayer(button->getInputText());
        save(shell);
        return;
    }
    // One line for the whole end of run, rather than one per file that cannot be written.
    FileIO::report(missing + ": this run's score and save are not kept");
    resPl record{};
    std::vector<resEn> living;
    gather(shell, record, living);
    SavedGame::traceSave(living, record.x);
}

void SavedRun::save(Shell& shell) {
    resPl record{};
    std::vector<resEn> living;
    gather(shell, record, living);
    SavedGame::save(record, living, record.x);
}

void SavedRun::resume(Shell& shell) {
    resPl record{};
    std::string reason;
    // Held to the end of the resume, so another game's save never lands between the reads of the
    // two files. A lock file that cannot be made (a read-only folder) stops every save as well, so
    // the files are read without it.
    const SaveLock lock(SavedGame::kPlayerPath);
    if (lock.busy()) {
        reason = lock.problem();
    }
    if (lock.busy() || !SavedGame::finishInterruptedSave(reason) || !SavedGame::readPlayer(record, reason)) {
        FileIO::report("cannot resume (" + reason + "); starting a new game");
        Button::flag = Button::kPlay;
        Levels::newGame(shell);
        return;
    }
    SavedGame::traceResumedPlayer(record);
    player->setAll(record.x, record.y, record.health);
    player->setEnemy(record.enemiesKilled);
    player->setBull(record.bullsCollected);
    shell.enemyCount = record.enemyCount;
    shell.bullCount = record.bullCount;
    shell.level = record.level;
    std::cout << " cxxz ";
    Replay::startRecording(shell.replayOut);
    Levels::reseed();
    std::cout << " ffffffffffff ";
    Button::flag = Button::kPlay;

    shell.farms.clear();
    for (int i = 0; i < shell.level; ++i) {
        shell.farms.push_back(std::make_unique<Farm>());
        std::cout << " far ";
    }
    Levels::refill(shell.enemies, shell.enemyCount);
    Levels::refill(shell.bulls, shell.bullCount);
    shell.farmCount = shell.level;

    const Site sites[] = {shell.farmSite1, shell.farmSite2, shell.farmSite3};
    if (shell.level == 1) {
        std::cout << " ascz ";
    }
    if (shell.level >= 1 && shell.level <= Levels::kLastLevel) {
        for (int i = 0; i < shell.level; ++i) {
            shell.farms[i]->spawn(sites[i].x, sites[i].y);
        }
    } else {
        std::cout << " z ";
    }

    Levels::reseed();
    const std::vector<std::optional<resEn>> saved = SavedGame::readEnemies(shell.enemyCount);
    for (std::size_t k = 0; k < saved.size(); ++k) {
        if (!saved[k]) {
            continue;  // a refused record: its slot stays unplaced
        }
        shell.enemies[k]->spawn(saved[k]->x, saved[k]->y);
        shell.enemies[k]->setHealth(saved[k]->health);
        SavedGame::traceResumedEnemy(*saved[k]);
    }

    Levels::reseed();
    for (int i = 0; i < shell.bullCount; ++i) {
        const int r = Levels::offset(Levels::Family::Other, i);
        shell.bulls[i]->spawn(shell.farmSite1.x + r, shell.farmSite1.y + r, i);
    }
}
