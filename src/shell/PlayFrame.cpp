#include "shell/PlayFrame.h"

#include "persist/RunTimes.h"

#include "present/MuteSign.h"
#include "present/Texts.h"

#include "shell/Levels.h"
#include "shell/Shell.h"

#include <algorithm>
#include <cstdlib>

namespace {

enum HudItem { kHealthText = 0, kBullsText = 1, kEnemiesText = 2, kScoreText = 3 };

constexpr SDL_Color kBarBack{24, 14, 6, 255};  // the HUD's outline colour
constexpr SDL_Color kBarFill{214, 52, 36, 255};
constexpr const char* kWidestHealth = "5000";  // the bar stands clear of the hero's full health

// -1, 0 or 1 along the axis on which `from` lies farther from `to`: the way a blow pushes.
SDL_Point awayFrom(SDL_Point from, SDL_Point to) {
    const int dx = from.x - to.x;
    const int dy = from.y - to.y;
    if (std::abs(dx) >= std::abs(dy)) {
        return SDL_Point{dx >= 0 ? 1 : -1, 0};
    }
    return SDL_Point{0, dy >= 0 ? 1 : -1};
}

SDL_Point centreOf(const SDL_Rect& r) { return SDL_Point{r.x + r.w / 2, r.y + r.h / 2}; }

}  // namespace

void PlayFrame::open(SDL_Renderer* renderer) {
    effects.open(renderer, Enemy::kSpritePath, Cowboy::kSpritePath);
    banner.open();
    levelLine.openAt(Text::kPointSize);
    levelLine.color = Text::kHudColor;
}

void PlayFrame::release() { effects.close(); }

void PlayFrame::newRun() {
    effects.reset();
    tells.reset();
    banner.hide();
    announced = 0;
    faded = false;
}

void PlayFrame::run(Shell& shell) {
    if (player == nullptr) {
        return;  // the hero has been removed; the loop ends before another frame
    }
    game->update();
    game->clear();
    shell.screens.pumpInput();  // once a frame: the hero's reads below take what it gathered
    if (shell.playKeys.helpAsked) {
        shell.playKeys.helpAsked = false;
        shell.help.show();
    }
    player->handleEvents(game->getPos());

    const SDL_Rect cam = game->calculate(player->getPos(), player->getActiveX(), player->getActiveY());
    effects.reducedMotion = shell.settings.reducedMotion;
    effects.tick();
    banner.tick();
    if (shell.run().level != announced) {
        if (announced != 0) {
            effects.newWave();  // the level's slots were made anew
            tells.reset();
        }
        announced = shell.run().level;
        if (Button::flag == Button::kPlay) {
            banner.announce(shell.run().level,
                            aheadOrBehind(shell, shell.run().level));  // a replay replays the path, not the run
        }
    }
    // The field shakes a few pixels while the hero is hurt; the camera itself stays.
    const SDL_Point shake = effects.viewOffset();
    // The ground moves with the world, one picture pixel per world pixel; the clear has already
    // laid its sand colour, so only the details are drawn.
    game->drawGround(SDL_Rect{cam.x - shake.x, cam.y - shake.y, cam.w, cam.h});

    // The HUD's numbers are read here, as they always were; the lines are drawn over the field.
    const Hud hud = makeHud(shell);

    bool attackedThisFrame = false;
    if (player->is_attack()) {
        if (!shell.run().heroSwinging) {
            shell.sound.play(Sound::Effect::Swing);
        }
        player->attack(0, player->getSide());
        attackedThisFrame = true;
    }
    shell.run().heroSwinging = player->is_attack();

    arrowCodes.clear();
    markers.clear();
    enemyPass(shell, attackedThisFrame);
    drawnHero = GhostTrack::Step{};
    if (player != nullptr) {
        drawnHero = GhostTrack::Step{shell.run().level, heroDst.x + cam.x, heroDst.y + cam.y, heroDst.w, heroDst.h,
                                     heroSrc.x,         heroSrc.y,         heroSrc.w,         heroSrc.h};
    }
    drawGhost(shell, SDL_Point{cam.x, cam.y});
    farmPass(shell, attackedThisFrame);
    bullPass(shell);
    effects.addToField(figures, SDL_Point{cam.x, cam.y});
    figures.shift = shake;
    figures.flush();
    figures.shift = SDL_Point{0, 0};
    effects.drawOverField(Render::renderer, SDL_Point{cam.x, cam.y});
    tells.draw(Render::renderer, shake);
    // A frame that ends the run by itself (won, lost, a replay run out) is its last: its picture
    // is kept for the result card.
    if (Render::isRunning && Button::flag == Button::kPlay) {
        shell.run().outcome = Levels::outcome(shell);
    }
    const bool last = shell.run().outcome != Run::Outcome::None;
    // The last picture stays under the card, which tells the final numbers: the HUD tells them
    // too, read again after the passes that changed them (the last bull, the last blow).
    const Hud shownHud = last ? makeHud(shell) : hud;
    faded = false;
    for (const SDL_Rect& box : hudBoxes(shell, shownHud)) {
        faded = faded || SDL_HasIntersection(&box, &heroDst) == SDL_TRUE;
    }
    showHud(shell, shownHud, faded ? kHudFaded : SDL_ALPHA_OPAQUE);
    markers.draw(Render::renderer);
    const float grown = effects.arrowScale();
    for (const int code : arrowCodes) {
        // Placed as the farm pass placed it, then drawn; a new nearest farm makes it pulse.
        arrow->place(code);
        const SDL_Rect placed = arrow->pos;
        arrow->pos.w = static_cast<int>(static_cast<float>(placed.w) * grown);
        arrow->pos.h = static_cast<int>(static_cast<float>(placed.h) * grown);
        arrow->pos.x = placed.x - (arrow->pos.w - placed.w) / 2;
        arrow->pos.y = placed.y - (arrow->pos.h - placed.h) / 2;
        arrow->draw();
        arrow->pos = placed;
    }
    banner.draw(Render::renderer);
    if (shell.sound.isMuted()) {
        MuteSign::draw(Render::renderer);
    }

    shell.hudTexts[kHealthText]->delText();
    shell.hudTexts[kBullsText]->delText();
    // A closed window shows no card. A frame after which the game pauses keeps its picture for
    // the pause panel.
    if (last) {
        shell.playing->resultCard.capture(Render::renderer);
    } else if (shell.playKeys.pauseAsked && Render::isRunning) {
        shell.playing->pausePanel().capture(Render::renderer);
    }
    if (shell.help.showing()) {
        shell.help.draw(Render::renderer);
        Render::markDrawn();
    }
    shell.help.step();
    if (presents) {
        game->present();
    }
    player->getUnRed();
    Levels::endOfFrame(shell);
}

void PlayFrame::drawHud(Shell& shell) { showHud(shell, makeHud(shell), SDL_ALPHA_OPAQUE); }

PlayFrame::Hud PlayFrame::makeHud(Shell& shell) {
    Hud hud;
    Text& health = *shell.hudTexts[kHealthText];
    // A blow can take more than the health left; nobody has less than none.
    hud.lines[0] =
        health.showLine(Texts::format(Texts::Id::HudHealth, {std::to_string(std::max(0, player->getHel()))}));
    hud.places[0] = health.getPos(kHealthRow);
    Text& killed = *shell.hudTexts[kEnemiesText];
    hud.lines[1] = killed.showLine(Texts::format(
        Texts::Id::HudEnemies, {std::to_string(player->getEnemy()), std::to_string(shell.run().enemyCount)}));
    hud.places[1] = killed.getPos(kEnemiesRow);
    Text& collected = *shell.hudTexts[kBullsText];
    hud.lines[2] = collected.showLine(
        Texts::format(Texts::Id::HudBulls, {std::to_string(player->getBul()), std::to_string(shell.run().bullCount)}));
    hud.places[2] = collected.getPos(kBullsRow);
    Text& score = *shell.hudTexts[kScoreText];
    hud.lines[3] =
        score.showLine(Texts::format(Texts::Id::HudScore, {std::to_string(hero != nullptr ? hero->score : 0)}));
    hud.places[3] = score.getPos(kScoreRow);
    // Shown, never traced: the level is the frame's own reading.
    Text& level = shell.playFrame.levelLine;
    hud.lines[4] = level.showLine(Texts::format(Texts::Id::HudLevel, {std::to_string(shell.run().level)}));
    // At the top right: the field below the other lines stays open.
    int levelW = 0;
    if (hud.lines[4] != nullptr) {
        SDL_QueryTexture(hud.lines[4], nullptr, nullptr, &levelW, nullptr);
    }
    hud.places[4] = level.getPos(0);
    hud.places[4].x = Render::kPicture.w - kLevelMargin - (levelW - 2 * Text::kOutline);
    hud.health = std::max(0, player->getHel());
    return hud;
}

SDL_Rect PlayFrame::healthBar(Shell& shell, const Hud& hud) {
    Text& health = *shell.hudTexts[kHealthText];
    const int lineH = health.font != nullptr ? TTF_FontHeight(health.font) : kBarH;
    return SDL_Rect{hud.places[0].x + health.widthOf(Texts::format(Texts::Id::HudHealth, {kWidestHealth})) + kBarGap,
                    hud.places[0].y + (lineH - kBarH) / 2, kBarW, kBarH};
}

std::array<SDL_Rect, PlayFrame::kHudLines + 1> PlayFrame::hudBoxes(Shell& shell, const Hud& hud) {
    std::array<SDL_Rect, kHudLines + 1> boxes{};
    for (int i = 0; i < kHudLines; ++i) {
        boxes[i] = hud.places[i];
        boxes[i].x -= Text::kOutline;  // an outlined line's edge reaches past its letters
        boxes[i].y -= Text::kOutline;
        boxes[i].w = 0;
        boxes[i].h = 0;
        if (hud.lines[i] != nullptr) {
            SDL_QueryTexture(hud.lines[i], nullptr, nullptr, &boxes[i].w, &boxes[i].h);
        }
    }
    boxes[kHudLines] = healthBar(shell, hud);
    return boxes;
}

void PlayFrame::showHud(Shell& shell, const Hud& hud, Uint8 alpha) {
    const HudItem order[kHudLines - 1] = {kHealthText, kEnemiesText, kBullsText, kScoreText};
    for (int i = 0; i < kHudLines - 1; ++i) {
        if (hud.lines[i] != nullptr) {
            SDL_SetTextureAlphaMod(hud.lines[i], alpha);
        }
        shell.hudTexts[order[i]]->display(hud.lines[i], hud.places[i]);
    }
    if (hud.lines[kHudLines - 1] != nullptr) {
        SDL_SetTextureAlphaMod(hud.lines[kHudLines - 1], alpha);
    }
    shell.playFrame.levelLine.display(hud.lines[kHudLines - 1], hud.places[kHudLines - 1]);
    for (auto& text : shell.hudTexts) {
        text->freeALL();
    }

    // The hero's health as a bar: a dark frame, filled in red for what he has left.
    SDL_Renderer* renderer = Render::renderer;
    if (renderer == nullptr) {
        return;
    }
    const SDL_Rect bar = healthBar(shell, hud);
    const long full = static_cast<long>(kBarW - 4) * std::min(hud.health, Cowboy::kHealth) / Cowboy::kHealth;
    const SDL_Rect left{bar.x + 2, bar.y + 2, static_cast<int>(full), bar.h - 4};
    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_GetRenderDrawColor(renderer, &r, &g, &b, &a);
    SDL_BlendMode mode = SDL_BLENDMODE_NONE;
    SDL_GetRenderDrawBlendMode(renderer, &mode);
    // Opaque, the bar is a plain fill: blending a whole pixel gives the same pixel, and the
    // software renderer blends each pixel with a division.
    SDL_SetRenderDrawBlendMode(renderer, alpha == SDL_ALPHA_OPAQUE ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(renderer, kBarBack.r, kBarBack.g, kBarBack.b, alpha);
    SDL_RenderFillRect(renderer, &bar);
    if (left.w > 0) {
        SDL_SetRenderDrawColor(renderer, kBarFill.r, kBarFill.g, kBarFill.b, alpha);
        SDL_RenderFillRect(renderer, &left);
    }
    SDL_SetRenderDrawBlendMode(renderer, mode);
    SDL_SetRenderDrawColor(renderer, r, g, b, a);
    Render::markDrawn();
}

void PlayFrame::drawEnemy(Enemy& enemy, int slot) {
    const DrawPair* at = enemy.getPosAbs(game->getPos());
    // A struck outlaw is drawn pushed back; where he stands does not change.
    const SDL_Point recoil = effects.recoil(slot);
    outlawSrc = at->drawSrc;
    outlawDst = SDL_Rect{at->drawDest.x + recoil.x, at->drawDest.y + recoil.y, at->drawDest.w, at->drawDest.h};
    figures.add(enemy, outlawSrc, outlawDst);
}

void PlayFrame::enemyPass(Shell& shell, bool attackedThisFrame) {
    for (int i = 0; i < shell.run().enemyCount && i < static_cast<int>(shell.run().enemies.size()); ++i) {
        std::unique_ptr<Enemy>& slot = shell.run().enemies[i];
        bool readyToSwing = false;  // he may swing at his next step
        bool swinging = false;
        if (slot != nullptr && slot->getID() != 0) {
            Enemy& enemy = *slot;
            const bool chasing = enemy.getAngry(player->getPos(), player->isMov(), game->getPos(), player->getDir());
            // Read where the outlaw's step left him and the hero: he may swing at the next one.
            readyToSwing =
                chasing && !enemy.isDestroyedAni() && enemy.strikeGap(player->getPos()) <= SwingTell::kWarningReach;
            swinging = enemy.is_attack();
            drawEnemy(enemy, i);
            if (enemy.isDestroyedAni()) {
                enemy.dead();
            }
            if (!enemy.isDestroyed()) {
                drawEnemy(enemy, i);
            } else {
                // He falls on, drawn by the frame alone: his last frame of dying, fading.
                const SDL_Rect lying{enemy.texW - (Character::kTailColumns + 1) * Enemy::kFrameSize,
                                     Character::kDeathRow * Enemy::kFrameSize, Enemy::kFrameSize, Enemy::kFrameSize};
                effects.outlawGone(i, lying, outlawDst, SDL_Point{game->getPos().x, game->getPos().y});
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
                    const SDL_Rect heroAt = player->getPos();
                    const SDL_Point away = awayFrom(
                        SDL_Point{enemy.realRect.x + Enemy::kFrameSize / 2, enemy.realRect.y + Enemy::kFrameSize / 2},
                        centreOf(heroAt));
                    effects.struck(i, away.x, away.y);
                    shell.sound.play(Sound::Effect::Hit);
                    if (!wasFalling && enemy.isDestroyedAni()) {
                        shell.sound.play(Sound::Effect::EnemyFalls);
                    }
                }
                drawEnemy(enemy, i);
                enemy.getUnRed();
            }
        }
        if (slot != nullptr && slot->getID() != 0) {
            if (effects.outlawHeldRed(i)) {
                figures.add(*slot, outlawSrc, outlawDst, FieldEffects::kHurtRed);
            }
            effects.outlawShown(figures, i, outlawSrc, outlawDst, slot->getHel(), Enemy::kHealth);
            SDL_Rect markAt = outlawDst;
            if (effects.pipsShown(i)) {
                markAt.y -= kTellOverPips;  // his health shows where the mark would
            }
            tells.outlaw(i, markAt, readyToSwing, swinging);
            if (!slot->isDestroyedAni()) {
                markers.add(outlawDst, EdgeMarkers::kOutlaw);
            }
        } else {
            tells.absent(i);
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
                player->takeBlow(enemy.getDam());
                player->setHurt();
                effects.heroHurt();
                if (!wasFalling) {
                    shell.sound.play(player->isDestroyedAni() ? Sound::Effect::Death : Sound::Effect::Hurt);
                }
            }
        }

        heroDst = player->handleEvents(game->getPos())->drawDest;
        heroSrc = player->handleEvents(game->getPos())->drawSrc;
        figures.add(*player, heroSrc, heroDst);
    }
    if (effects.heroHeldRed()) {
        figures.add(*player, heroSrc, heroDst, FieldEffects::kHurtRed);
    }
    effects.heroShown(figures, heroSrc, heroDst);
}

void PlayFrame::farmPass(Shell& shell, bool attackedThisFrame) {
    const int farmSlots = std::min(shell.run().farmCount, static_cast<int>(shell.run().farms.size()));
    float nearestFarmDistance = kNoFarmYet;
    if (farmSlots > 0 && shell.run().farms[0] != nullptr) {
        nearestFarmDistance = shell.run().farms[0]->distCal(player->checkPosition(game->getPos()));
    }
    for (int i = 0; i < farmSlots; ++i) {
        std::unique_ptr<Farm>& slot = shell.run().farms[i];
        if (slot == nullptr || slot->getID() == 0) {
            continue;
        }
        slot->IsInWindow(player->checkPosition(game->getPos()), game->getPos(), shell.run().farmCount);
        if (Farm::isHere <= 0) {
            Farm::isHere = shell.run().farmCount;
            int nearestFarm = 0;
            for (int j = 0; j < farmSlots; ++j) {
                const std::unique_ptr<Farm>& other = shell.run().farms[j];
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
            if (shell.run().farms[nearestFarm] != nullptr) {
                effects.nearestFarm(nearestFarm);
                const int code = shell.run().farms[nearestFarm]->pointer(player->checkPosition(game->getPos()));
                arrow->place(code);
                arrowCodes.push_back(code);
            }
        }
        if (!slot->isDestroyed()) {
            figures.addCover(*slot, slot->getRect(), slot->getPos(game->getPos()));
        } else {
            effects.farmFell(SDL_Rect{slot->worldX, slot->worldY, Farm::kDrawW, Farm::kDrawH});
            slot.reset();
            shell.sound.play(Sound::Effect::FarmFalls);
            continue;
        }
        Farm& farm = *slot;
        if (farm.getHurt(farm.getPosReal(game->getPos()), player->getPos()) && attackedThisFrame) {
            farm.getRed(player->getDam());
            figures.addCover(farm, farm.getRect(), farm.getPos(game->getPos()));
            farm.getUnRed();
            effects.farmStruck(i);
        }
        if (effects.farmHeldRed(i)) {
            figures.addCover(farm, farm.getRect(), farm.getPos(game->getPos()), FieldEffects::kHurtRed);
        }
        effects.farmShown(figures, farm.getPos(game->getPos()), farm.health, Farm::kHealth);
    }
}

void PlayFrame::bullPass(Shell& shell) {
    for (int i = 0; i < shell.run().bullCount && i < static_cast<int>(shell.run().bulls.size()); ++i) {
        std::unique_ptr<Bull>& slot = shell.run().bulls[i];
        if (slot == nullptr || slot->getID() == 0) {
            continue;
        }
        const SDL_Rect cam = game->getPos();
        figures.addSoftEdged(*slot, slot->getRect(), slot->getPos(cam));
        if (player->collisionB(slot->getPos(game->getPos()), game->getPos())) {
            effects.bullCollected(SDL_Rect{slot->worldX, slot->worldY, Bull::kDrawW, Bull::kDrawH});
            slot.reset();
            hero->getBullP();
            shell.sound.play(Sound::Effect::Bull);
        } else {
            // Each slot's bull is placed as its own kind (Bull::spawn): the odd ones are white.
            markers.add(slot->getPos(cam), i % 2 == 0 ? EdgeMarkers::kBrownBull : EdgeMarkers::kWhiteBull);
        }
    }
}

void PlayFrame::drawGhost(Shell& shell, SDL_Point cam) {
    ghostAt = SDL_Rect{};
    const Run& run = shell.run();
    if (run.best == nullptr || !shell.settings.ghost || Button::flag != Button::kPlay || run.level < 1 ||
        run.level > GhostTrack::kLevels || run.levelFrames[run.level - 1] < 1) {
        return;
    }
    // The frame being played is the level's latest counted one.
    const GhostTrack::Step* step =
        run.best->at(run.level, static_cast<std::size_t>(run.levelFrames[run.level - 1] - 1));
    if (step == nullptr) {
        return;  // the best run had left this level by now
    }
    ghostAt = SDL_Rect{step->x - cam.x, step->y - cam.y, step->w, step->h};
    effects.bestRunShown(figures, SDL_Rect{step->srcX, step->srcY, step->srcW, step->srcH}, ghostAt);
}

std::string PlayFrame::aheadOrBehind(Shell& shell, int level) {
    const Run& run = shell.run();
    if (run.best == nullptr || !shell.settings.ghost || level < 2 || level > GhostTrack::kLevels) {
        return "";
    }
    // Both runs' clocks at the start of this level: the frames of the levels before it.
    int64_t mine = 0;
    int64_t best = 0;
    for (int l = 1; l < level; ++l) {
        mine += run.levelFrames[l - 1];
        best += run.best->levelFrames[l - 1];
    }
    const int64_t tenths = (mine > best ? mine - best : best - mine) * 10 / RunTimes::kFramesPerSecond;
    const std::string seconds = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
    return Texts::format(mine <= best ? Texts::Id::GhostAhead : Texts::Id::GhostBehind, {seconds});
}
