#include "world/Character.h"

#include <cmath>
#include <cstdint>
#include <iostream>
#include <limits>

namespace {

// Squares are capped here so that two of them still add up inside 64 bits; the root of the cap
// (about 1.5 billion pixels) is far beyond any reach the game tests.
constexpr double kSquareCap = 2305843009213693952.0;  // 2^61

long long truncatedSquare(long long d) {
    const double square = static_cast<double>(d) * static_cast<double>(d);
    if (square >= kSquareCap) {
        return static_cast<long long>(kSquareCap);
    }
    return static_cast<long long>(square);
}

}  // namespace

int32_t Character::clampToInt(long long value) {
    if (value > std::numeric_limits<int32_t>::max()) {
        return std::numeric_limits<int32_t>::max();
    }
    if (value < std::numeric_limits<int32_t>::min()) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(value);
}

double Character::distance(long long dx, long long dy) {
    return std::sqrt(static_cast<double>(truncatedSquare(dx) + truncatedSquare(dy)));
}

bool Character::withinReach(long long dx, long long dy, double reach) { return reach >= distance(dx, dy); }

int32_t Character::moved(int32_t coord, double delta) {
    const double sum = std::trunc(static_cast<double>(coord) + delta);
    if (sum >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
        return std::numeric_limits<int32_t>::max();
    }
    if (sum <= static_cast<double>(std::numeric_limits<int32_t>::min())) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(sum);
}

SDL_Rect Character::getPos() { return destRect; }

SDL_Rect Character::getPosReal(SDL_Rect /*cam*/) { return SDL_Rect{destRect.x + worldX, destRect.y + worldY, 0, 0}; }

bool Character::getHurt(SDL_Rect a, SDL_Rect b) {
    const long long dx = static_cast<long long>(a.x) - b.x;
    const long long dy = static_cast<long long>(a.y) - b.y;
    return withinReach(dx, dy, static_cast<double>(static_cast<long long>(frameW) + kHurtReachExtra));
}

void Character::getRed(int damage) { loseHealth(damage / kDamageDivisor); }

void Character::loseHealth(int points) {
    SDL_SetTextureColorMod(texture, 255, 0, 0);
    health = clampToInt(static_cast<long long>(health) - points);
    if (health <= 0) {
        destroyedAni = true;
        dead();
    }
}

void Character::getUnRed() { SDL_SetTextureColorMod(texture, 255, 255, 255); }

void Character::attack(int shorten, int direction) {
    srcRect.y = frameH * (direction + kAttackRowOffset);
    srcRect.x += frameW;
    // The bound counts frame heights while the step counts widths; the sheets' frames are square.
    if (srcRect.x >= texW - (kTailColumns - shorten) * frameH) {
        srcRect.x = frameW;
        attacking = false;
    }
}

bool Character::is_attack() { return attacking; }

void Character::dead() {
    if (health > 0) {
        return;
    }
    srcRect.y = kDeathRow * frameH;
    srcRect.x += frameW;
    if (srcRect.x >= texW - kTailColumns * frameW) {
        srcRect.x = 0;
        destroyE();
    }
}

void Character::destroyE() {
    if (texture != nullptr) {
        releaseTexture();
    } else {
        std::cout << "end";
    }
    destroyed = true;
}

bool Character::isDestroyed() { return destroyed; }

bool Character::isDestroyedAni() { return destroyedAni; }

int Character::getDam() { return dam; }

int Character::getSide() { return side; }
