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
    const HeroSnapshot last = shell.run().heroState();
    record.x = last.pos.x;
    record.y = last.pos.y;
    record.health = last.health;
    record.level = shell.run().level;
    record.enemiesKilled = last.killed;
    record.bullsCollected = last.collected;
    record.enemyCount = shell.run().enemyCount;
    record.bullCount = shell.run().bullCount;
    record.name = button->getInputText();

    for (int i = 0; i < shell.run().enemyCount && i < static_cast<int>(shell.run().enemies.size()); ++i) {
        Enemy* enemy = shell.run().enemies[i].get();
        if (enemy == nullptr) {
            continue;
        }
        const SDL_Rect at = enemy->getPosReal(game->getPos())->drawDest;
        living.push_back(resEn{at.x, at.y, enemy->getHel()});
    }
}

}  // namespace

bool SavedRun::keep(Shell& shell) {
    std::string missing;
    if (FileIO::folderThere(Player::kDefaultPath, missing)) {
        hero->NewPlayer(button->getInputText());
        const bool saved = save(shell);
        return hero->recorded && saved;
    }
    // One line for the whole end of run, rather than one per file that cannot be written.
    FileIO::report(missing + ": this run's score and save are not kept");
    resPl record{};
    std::vector<resEn> living;
    gather(shell, record, living);
    SavedGame::traceSave(living, record.x);
    return false;
}

bool SavedRun::save(Shell& shell) {
    resPl record{};
    std::vector<resEn> living;
    gather(shell, record, living);
    return SavedGame::save(record, living, record.x);
}

void SavedRun::resume(Shell& shell) {
    resPl record{};
    std::string reason;
    if (shell.simInput.feeding()) {
        // A re-simulation resumes from the saved game its recording holds, never from files/.
        const RunRecording::Header* recorded = shell.simInput.fedHeader();
        if (recorded == nullptr || !recorded->hasSave ||
            !SavedGame::playerFrom(recorded->savedPlayer, record, reason)) {
            Button::flag = Button::kPlay;
            Levels::newGame(shell);
            return;
        }
        restore(shell, record);
        return;
    }
    // Held to the end of the resume, so another game's save never lands between the reads of the
    // two files. A lock file that cannot be made (a read-only folder) stops every save as well, so
    // the files are read without it.
    const SaveLock lock(SavedGame::kPlayerPath);
    if (lock.busy()) {
        reason = lock.problem();
    }
    std::string bytes;
    if (lock.busy() || !SavedGame::finishInterruptedSave(reason) ||
        !SavedGame::readPlayer(record, reason, SavedGame::kPlayerPath, &bytes)) {
        FileIO::report("cannot resume (" + reason + "); starting a new game");
        Button::flag = Button::kPlay;
        Levels::newGame(shell);
        return;
    }
    shell.run().recorder.resumedFrom(bytes, std::string());
    restore(shell, record);
}

void SavedRun::restore(Shell& shell, const resPl& record) {
    SavedGame::traceResumedPlayer(record);
    // A save made before steps stopped at the world's edge may hold a place outside it.
    const SDL_Rect drawn = player->getPos();
    const SDL_Point at = Cowboy::nearestInWorld(SDL_Rect{record.x, record.y, drawn.w, drawn.h});
    player->setAll(at.x, at.y, record.health);
    player->setEnemy(record.enemiesKilled);
    player->setBull(record.bullsCollected);
    shell.run().enemyCount = record.enemyCount;
    shell.run().bullCount = record.bullCount;
    shell.run().level = record.level;
    std::cout << " cxxz ";
    if (!shell.simInput.feeding()) {
        Replay::startRecording(shell.run().replayOut);
    }
    shell.seed.reseed();
    std::cout << " ffffffffffff ";
    Button::flag = Button::kPlay;

    shell.run().farms.clear();
    for (int i = 0; i < shell.run().level; ++i) {
        shell.run().farms.push_back(std::make_unique<Farm>());
        std::cout << " far ";
    }
    Levels::refill(shell.run().enemies, shell.run().enemyCount);
    Levels::refill(shell.run().bulls, shell.run().bullCount);
    shell.run().farmCount = shell.run().level;

    const Site sites[] = {shell.farmSite1, shell.farmSite2, shell.farmSite3};
    if (shell.run().level == 1) {
        std::cout << " ascz ";
    }
    if (shell.run().level >= 1 && shell.run().level <= Levels::kLastLevel) {
        for (int i = 0; i < shell.run().level; ++i) {
            shell.run().farms[i]->spawn(sites[i].x, sites[i].y);
        }
    } else {
        std::cout << " z ";
    }

    shell.seed.reseed();
    std::vector<std::optional<resEn>> saved;
    if (shell.simInput.feeding()) {
        int refused = 0;
        saved = SavedGame::enemiesFrom(shell.simInput.fedHeader()->savedEnemies, shell.run().enemyCount, refused);
    } else {
        std::string bytes;
        saved = SavedGame::readEnemies(shell.run().enemyCount, SavedGame::kEnemyPath, &bytes);
        shell.run().recorder.resumedEnemies(bytes);
    }
    for (std::size_t k = 0; k < saved.size(); ++k) {
        if (!saved[k]) {
            continue;  // a refused record: its slot stays unplaced
        }
        shell.run().enemies[k]->spawn(saved[k]->x, saved[k]->y);
        shell.run().enemies[k]->setHealth(saved[k]->health);
        SavedGame::traceResumedEnemy(*saved[k]);
    }

    shell.seed.reseed();
    for (int i = 0; i < shell.run().bullCount; ++i) {
        const int r = Levels::offset(Levels::Family::Other, i);
        shell.run().bulls[i]->spawn(shell.farmSite1.x + r, shell.farmSite1.y + r, i);
    }
}
