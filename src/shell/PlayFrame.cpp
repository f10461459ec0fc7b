#include "shell/PlayFrame.h"

#include "present/MuteSign.h"

#include "shell/Levels.h"
#include "shell/Shell.h"

#include <algorithm>

namespace {

enum HudItem { kHealthText = 0, kBullsText = 1, kEnemiesText = 2, kScoreText = 3 };

}  // namespace

void PlayFrame::run(Shell& shell) {
    if (player == nullptr) {
        return;  // the hero has been removed; the loop ends before another frame
    }
    game->update();
    game->clear();
    player->handleEvents(game->getPos());

    const SDL_Rect cam = game->calculate(player->getPos(), player->getActiveX(), player->getActiveY());
    // The ground moves with the world, one picture pixel per world pixel; the clear has already
    // laid its sand colour, so only the details are drawn.
    game->drawGround(cam);

    // The HUD's numbers are read here, as they always were; the lines are drawn over the field.
    const Hud hud = makeHud(shell);

    bool attackedThisFrame = false;
    if (player->is_attack()) {
        if (!shell.run.heroSwinging) {
            shell.sound.play(Sound::Effect::Swing);
        }
        player->attack(0, player->getSide());
        attackedThisFrame = true;
    }
    shell.run.heroSwinging = player->is_attack();

    arrowCodes.clear();
    enemyPass(shell, attackedThisFrame);
    farmPass(shell, attackedThisFrame);
    bullPass(shell);
    figures.flush();
    showHud(shell, hud);
    for (const int code : arrowCodes) {
        arrow->show_arrow(code);  // placed as the farm pass placed it, then drawn
    }
    if (shell.sound.isMuted()) {
        MuteSign::draw(Render::renderer);
    }

    shell.hudTexts[kHealthText]->delText();
    shell.hudTexts[kBullsText]->delText();
    // A frame that ends the run by itself (won, lost, a replay run out) is its last: keep its
    // picture for the result card. A closed window shows no card. A frame after which the game
    // pauses keeps its picture for the pause panel.
    if (Render::isRunning && Button::flag == Button::kPlay) {
        shell.run.outcome = Levels::outcome(shell);
    }
    if (shell.run.outcome != Run::Outcome::None) {
        shell.resultCard.capture(Render::renderer);
    } else if (shell.playKeys.pauseAsked && Render::isRunning) {
        shell.pausePanel.capture(Render::renderer);
    }
    if (shell.help.showing()) {
        shell.help.draw(Render::renderer);
        Render::markDrawn();
    }
    shell.help.step();
    game->present();
    player->getUnRed();
    Levels::endOfFrame(shell);
}

void PlayFrame::drawHud(Shell& shell) { showHud(shell, makeHud(shell)); }

PlayFrame::Hud PlayFrame::makeHud(Shell& shell) {
    Hud hud;
    Text& health = *shell.hudTexts[kHealthText];
    // A blow can take more than the health left; nobody has less than none.
    hud.lines[0] = health.SetText("Health: ", std::max(0, player->getHel()), 0, 0);
    hud.places[0] = health.getPos(kHealthRow);
    Text& killed = *shell.hudTexts[kEnemiesText];
    hud.lines[1] = killed.SetText("Enemies killed: ", player->getEnemy(), shell.run.enemyCount, 1);
    hud.places[1] = killed.getPos(kEnemiesRow);
    Text& collected = *shell.hudTexts[kBullsText];
    hud.lines[2] = collected.SetText("Bulls collected: ", player->getBul(), shell.run.bullCount, 1);
    hud.places[2] = collected.getPos(kBullsRow);
    Text& score = *shell.hudTexts[kScoreText];
    hud.lines[3] = score.SetText("Score: ", hero != nullptr ? hero->score : 0, 0, 0);
    hud.places[3] = score.getPos(kScoreRow);
    return hud;
}

void PlayFrame::showHud(Shell& shell, const Hud& hud) {
    const HudItem order[kHudLines] = {kHealthText, kEnemiesText, kBullsText, kScoreText};
    for (int i = 0; i < kHudLines; ++i) {
        shell.hudTexts[order[i]]->display(hud.lines[i], hud.places[i]);
    }
    for (auto& text : shell.hudTexts) {
        text->freeALL();
    }
}

void PlayFrame::drawEnemy(Enemy& enemy) {
    const DrawPair* at = enemy.getPosAbs(game->getPos());
    figures.add(enemy, at->drawSrc, at->drawDest);
}

void PlayFrame::enemyPass(Shell& shell, bool attackedThisFrame) {
    for (int i = 0; i < shell.run.enemyCount && i < static_cast<int>(shell.run.enemies.size()); ++i) {
        std::unique_ptr<Enemy>& slot = shell.run.enemies[i];
        if (slot != nullptr && slot->getID() != 0) {
            Enemy& enemy = *slot;
            enemy.getAngry(player->getPos(), player->isMov(), game->getPos(), player->getDir());
            drawEnemy(enemy);
            if (enemy.isDestroyedAni()) {
                enemy.dead();
            }
            if (!enemy.isDestroyed()) {
                drawEnemy(enemy);
            } else {
                slot.reset();  // its drawings keep its picture (DrawQueue::release)
                player->enemyKill();
                hero->getEnemyP();
            }
        }

        // The hero's blow looks only for an empty slot, so it can also land on an unplaced enemy.
        if (attackedThisFrame && slot != nullptr) {
            Enemy& enemy = *slot;
            if (enemy.getHurt(player->getPos(), enemy.getPosReal(game->getPos())->drawDest)) {
                const bool wasFalling = enemy.isDestroyedAni();
                enemy.getRed(player->getDam());
                // An unplaced enemy takes the blow unseen, and so unheard.
                if (enemy.getID() != 0) {
                    shell.sound.play(Sound::Effect::Hit);
                    if (!wasFalling && enemy.isDestroyedAni()) {
                        shell.sound.play(Sound::Effect::EnemyFalls);
                    }
                }
                drawEnemy(enemy);
                enemy.getUnRed();
            }
        }

        if (player->isDestroyedAni()) {
            player->dead();
        }

        // An enemy swinging at the hero within reach costs him health.
        if (Button::flag != Button::kPlayback && slot != nullptr && slot->getID() != 0) {
            Enemy& enemy = *slot;
            if (!enemy.isDestroyedAni() && enemy.is_attack() &&
                player->getHurt(player->getPos(), enemy.getPosReal(game->getPos())->drawDest)) {
                const bool wasFalling = player->isDestroyedAni();
                player->getRed(enemy.getDam());
                player->setHurt();
                if (!wasFalling) {
                    shell.sound.play(player->isDestroyedAni() ? Sound::Effect::Death : Sound::Effect::Hurt);
                }
            }
        }

        const SDL_Rect heroDest = player->handleEvents(game->getPos())->drawDest;
        const SDL_Rect heroSrc = player->handleEvents(game->getPos())->drawSrc;
        figures.add(*player, heroSrc, heroDest);
    }
}

void PlayFrame::farmPass(Shell& shell, bool attackedThisFrame) {
    const int farmSlots = std::min(shell.run.farmCount, static_cast<int>(shell.run.farms.size()));
    float nearestFarmDistance = kNoFarmYet;
    if (farmSlots > 0 && shell.run.farms[0] != nullptr) {
        nearestFarmDistance = shell.run.farms[0]->distCal(player->checkPosition(game->getPos()));
    }
    for (int i = 0; i < farmSlots; ++i) {
        std::unique_ptr<Farm>& slot = shell.run.farms[i];
        if (slot == nullptr || slot->getID() == 0) {
            continue;
        }
        slot->IsInWindow(player->checkPosition(game->getPos()), game->getPos(), shell.run.farmCount);
        if (Farm::isHere <= 0) {
            Farm::isHere = shell.run.farmCount;
            int nearestFarm = 0;
            for (int j = 0; j < farmSlots; ++j) {
                const std::unique_ptr<Farm>& other = shell.run.farms[j];
                if (other == nullptr || other->getID() == 0) {
                    continue;
                }
                const float distance = other->distCal(player->checkPosition(game->getPos()));
                if (distance < nearestFarmDistance) {
                    nearestFarmDistance = distance;
                    nearestFarm = j;
                }
            }
            // Slot 0 may be gone while every other farm is farther than the search's start.
            if (shell.run.farms[nearestFarm] != nullptr) {
                const int code = shell.run.farms[nearestFarm]->pointer(player->checkPosition(game->getPos()));
                arrow->place(code);
                arrowCodes.push_back(code);
            }
        }
        if (!slot->isDestroyed()) {
            figures.addSoftEdged(*slot, slot->getRect(), slot->getPos(game->getPos()));
        } else {
            slot.reset();
            shell.sound.play(Sound::Effect::FarmFalls);
            continue;
        }
        Farm& farm = *slot;
        if (farm.getHurt(farm.getPosReal(game->getPos()), player->getPos()) && attackedThisFrame) {
            farm.getRed(player->getDam());
            figures.addSoftEdged(farm, farm.getRect(), farm.getPos(game->getPos()));
            farm.getUnRed();
        }
    }
}

void PlayFrame::bullPass(Shell& shell) {
    for (int i = 0; i < shell.run.bullCount && i < static_cast<int>(shell.run.bulls.size()); ++i) {
        std::unique_ptr<Bull>& slot = shell.run.bulls[i];
        if (slot == nullptr || slot->getID() == 0) {
            continue;
        }
        const SDL_Rect cam = game->getPos();
        figures.addSoftEdged(*slot, slot->getRect(), slot->getPos(cam));
        if (player->collisionB(slot->getPos(game->getPos()), game->getPos())) {
            slot.reset();
            hero->getBullP();
            shell.sound.play(Sound::Effect::Bull);
        }
    }
}
