#include "shell/WorldHash.h"

#include "present/Game.h"
#include "shell/Run.h"

void WorldHash::add(int64_t field) {
    const auto bits = static_cast<uint64_t>(field);
    for (int i = 0; i < 8; ++i) {
        value ^= (bits >> (8 * i)) & 0xff;
        value *= 1099511628211ull;
    }
}

uint64_t WorldHash::of(const Run& run, const Game& game) {
    WorldHash h;
    h.add(run.level);
    h.add(run.enemyCount);
    h.add(run.bullCount);
    h.add(run.farmCount);
    h.add(run.heroObj != nullptr ? run.heroObj->score : -1);
    const Cowboy* hero = run.playerObj.get();
    h.add(hero != nullptr);
    if (hero != nullptr) {
        for (const SDL_Rect& r : {hero->destRect, hero->srcRect}) {
            h.add(r.x);
            h.add(r.y);
            h.add(r.w);
            h.add(r.h);
        }
        h.add(hero->health);
        h.add(hero->bul);
        h.add(hero->enemy);
        h.add(hero->side);
        h.add(hero->walking);
        h.add(hero->activeX);
        h.add(hero->activeY);
        h.add(hero->attacking);
        h.add(hero->moving);
        h.add(hero->destroyed);
        h.add(hero->destroyedAni);
    }
    h.add(static_cast<int64_t>(run.enemies.size()));
    for (const auto& enemy : run.enemies) {
        h.add(enemy != nullptr);
        if (enemy != nullptr) {
            h.add(enemy->id);
            h.add(enemy->worldX);
            h.add(enemy->worldY);
            h.add(enemy->realRect.x);
            h.add(enemy->realRect.y);
            h.add(enemy->destRect.x);
            h.add(enemy->destRect.y);
            h.add(enemy->srcRect.x);
            h.add(enemy->srcRect.y);
            h.add(enemy->health);
            h.add(enemy->dir);
            h.add(enemy->attacking);
            h.add(enemy->destroyed);
            h.add(enemy->destroyedAni);
        }
    }
    h.add(static_cast<int64_t>(run.farms.size()));
    for (const auto& farm : run.farms) {
        h.add(farm != nullptr);
        if (farm != nullptr) {
            h.add(farm->id);
            h.add(farm->worldX);
            h.add(farm->worldY);
            h.add(farm->health);
            h.add(farm->destRect.x);
            h.add(farm->destRect.y);
            h.add(farm->destroyed);
            h.add(farm->destroyedAni);
        }
    }
    h.add(static_cast<int64_t>(run.bulls.size()));
    for (const auto& bull : run.bulls) {
        h.add(bull != nullptr);
        if (bull != nullptr) {
            h.add(bull->id);
            h.add(bull->worldX);
            h.add(bull->worldY);
        }
    }
    h.add(game.camX);
    h.add(game.camY);
    h.add(Farm::isHere);
    h.add(Enemy::isAngry);
    h.add(Render::isRunning);
    return h.value;
}
