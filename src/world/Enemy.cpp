#include "world/Enemy.h"

#include <limits>

bool Enemy::isAngry = false;

namespace {

// A square truncated to int, saturating instead of wrapping for far-off points.
int32_t squareToInt(long long d) {
    const double square = static_cast<double>(d) * static_cast<double>(d);
    if (square >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
        return std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(square);
}

}  // namespace

Enemy::Enemy() {
    texW = kDefaultTexW;
    texH = kDefaultTexH;
    health = kHealth;
    dam = kDamage;
    name = "enemy";
    speed = kSpeed;
    dir = kInitialDir;
    id = 0;
}

void Enemy::spawn() {}

void Enemy::spawn(int x, int y) {
    reportMissingRenderer();
    id = 1;
    loadSprite(kSpritePath, texW, texH);
    worldX = x;
    worldY = y;
    frameH = kFrameSize;
    frameW = kFrameSize;
    srcRect = SDL_Rect{0, 0, kFrameSize, kFrameSize};
    destroyed = false;
    destroyedAni = false;
    destRect = SDL_Rect{0, 0, kFrameSize, kFrameSize};
    realRect.x = x;
    realRect.y = y;
    if (renderer != nullptr) {
        // Drawn, and shown with the next frame: a picture shown per spawn flashed the sheet in a
        // corner of the old picture and held a new game and each new level back by a refresh each.
        SDL_RenderCopy(renderer, texture, &srcRect, &destRect);
    }
}

void Enemy::offsetTo(SDL_Rect r, long long& dx, long long& dy) const {
    dx = static_cast<long long>(r.x) + r.w / 2 - realRect.x;
    dy = static_cast<long long>(r.y) + r.h / 2 - realRect.y;
}

SDL_Rect Enemy::distCal(SDL_Rect r) {
    long long dx = 0;
    long long dy = 0;
    offsetTo(r, dx, dy);
    return SDL_Rect{clampToInt(dx), clampToInt(dy), squareToInt(dx), squareToInt(dy)};
}

bool Enemy::getAngry(SDL_Rect heroRect, bool moving, SDL_Rect cam, int heroDir) {
    long long dx = 0;
    long long dy = 0;
    offsetTo(heroRect, dx, dy);
    if (withinReach(dx, dy, kAngerReach)) {
        // Within reach both offsets are at most 300, so they fit an int.
        followCowboy(static_cast<int>(dx), static_cast<int>(dy), heroRect, moving, cam, heroDir);
        isAngry = true;
        return true;
    }
    isAngry = false;
    return false;
}

void Enemy::collision(SDL_Rect heroRect) {
    long long dx = 0;
    long long dy = 0;
    offsetTo(heroRect, dx, dy);
    attacking = withinReach(dx, dy, static_cast<double>(heroRect.h / 2));
}

double Enemy::strikeGap(SDL_Rect heroRect) const {
    long long dx = 0;
    long long dy = 0;
    offsetTo(heroRect, dx, dy);
    return distance(dx, dy) - static_cast<double>(heroRect.h / 2);
}

void Enemy::followCowboy(int dx, int dy, SDL_Rect heroRect, bool /*moving*/, SDL_Rect cam, int /*heroDir*/) {
    collision(heroRect);
    if (attacking) {
        destRect.x = worldX - cam.x;
        destRect.y = worldY - cam.y;
        attack(kAttackShorten, dir);
        return;
    }
    // The diagonals through the enemy's corner split the plane: step along the farther axis.
    const long long sum = static_cast<long long>(dx) + dy;
    int d = 2;
    if (dx >= dy && sum > 0) {
        d = 3;
        realRect.x = moved(realRect.x, speed);
        destRect.x = realRect.x - cam.x;
    } else if (dx >= dy && sum < 0) {
        d = 0;
        realRect.y = moved(realRect.y, -speed);
        destRect.y = realRect.y - cam.y;
    } else if (dx <= dy && sum < 0) {
        d = 1;
        realRect.x = moved(realRect.x, -speed);
        destRect.x = realRect.x - cam.x;
    } else {
        realRect.y = moved(realRect.y, speed);
        destRect.y = realRect.y - cam.y;
    }
    // The axis that did not move is derived again from the screen position and this camera.
    realRect.x = destRect.x + cam.x;
    realRect.y = destRect.y + cam.y;

    srcRect.x += frameW;
    if (srcRect.x >= texW - frameW) {
        srcRect.x = frameW;
    }
    srcRect.y = frameH * d;
    dir = d;
}

DrawPair* Enemy::getPosAbs(SDL_Rect cam) {
    if (!isAngry) {
        destRect.x = worldX - cam.x;
        destRect.y = worldY - cam.y;
    } else {
        worldX = cam.x + destRect.x;  // the anchor follows the chase
        worldY = cam.y + destRect.y;
    }
    draw.drawDest = destRect;
    draw.drawSrc = srcRect;
    return &draw;
}

DrawPair* Enemy::getPosReal(SDL_Rect cam) {
    realRect.x = cam.x + destRect.x;
    realRect.y = cam.y + destRect.y;
    draw.drawDest = realRect;
    draw.drawSrc = srcRect;
    return &draw;
}

int Enemy::getHel() { return health; }

void Enemy::setHealth(int h) { health = h; }
