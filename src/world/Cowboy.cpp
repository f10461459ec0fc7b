#include "world/Cowboy.h"

#include "world/RandomSeed.h"

#include <cstdlib>
#include <iostream>

Cowboy::Cowboy(int x, int y) {
    texW = kDefaultTexW;
    texH = kDefaultTexH;
    dam = kDamage;
    health = kHealth;
    destRect.x = x;
    destRect.y = y;
    dir = kInitialDir;
    bul = 0;
    enemy = 0;
    hurt = false;
    name = "cowboy";
    speed = kSpeed;
    side = 0;
}

Cowboy::~Cowboy() {
    if (!leavesQuietly) {
        std::cout << "youre dead";
    }
}

void Cowboy::spawn() {
    reportMissingRenderer();
    loadSprite(kSpritePath, texW, texH);
    frameH = kFrameSize;
    frameW = kFrameSize;
    srcRect = SDL_Rect{0, 0, frameW, frameH};
    destroyed = false;
    destroyedAni = false;
    destRect.w = kDrawSize;
    destRect.h = kDrawSize;
    id = 1;
    if (renderer != nullptr) {
        SDL_RenderCopy(renderer, texture, &srcRect, &destRect);
        SDL_RenderPresent(renderer);
        std::cout << "Render created2" << std::endl;
    }
}

void Cowboy::handleKeyDown(SDL_Keycode key) {
    walking = true;
    attacking = false;  // any key press cancels an attack in progress
    switch (key) {
        case SDLK_w:
            activeY = true;
            activeX = false;
            destRect.y = moved(destRect.y, -speed);
            side = 0;
            break;
        case SDLK_a:
            activeX = true;
            activeY = false;
            destRect.x = moved(destRect.x, -speed);
            side = 1;
            break;
        case SDLK_s:
            activeY = true;
            activeX = false;
            destRect.y = moved(destRect.y, speed);
            side = 2;
            break;
        case SDLK_d:
            activeX = true;
            activeY = false;
            destRect.x = moved(destRect.x, speed);
            side = 3;
            break;
        case SDLK_b:
            walking = false;
            break;
        default:
            side = 0;
            walking = false;
            activeX = false;
            activeY = false;
            break;
    }
    if (walking) {
        srcRect.y = frameH * side;
        srcRect.x += frameW;
        if (srcRect.x >= texW - frameW) {
            srcRect.x = frameW;  // the cycle skips the standing column
        }
    }
}

DrawPair* Cowboy::handleEvents(SDL_Rect cam) {
    SDL_Event event;
    if (SDL_PollEvent(&event) != 0) {
        switch (event.type) {
            case SDL_QUIT:
                isRunning = false;
                std::cout << "fuck";
                break;
            case SDL_KEYDOWN:
                handleKeyDown(event.key.keysym.sym);
                break;
            case SDL_KEYUP:
                walking = false;
                activeX = false;
                activeY = false;
                moving = false;
                break;
            case SDL_MOUSEBUTTONDOWN:
                attacking = true;
                break;
            default:
                break;
        }
    }
    draw.drawDest = checkPosition(cam);
    draw.drawSrc = srcRect;
    return &draw;
}

SDL_Rect Cowboy::checkPosition(SDL_Rect cam) {
    return SDL_Rect{destRect.x - cam.x, destRect.y - cam.y, destRect.w, destRect.h};
}

bool Cowboy::collisionB(SDL_Rect bull, SDL_Rect cam) {
    // The hero's centre is measured against the bull's corner, not its centre.
    const long long cx = static_cast<long long>(destRect.x) - cam.x + destRect.w / 2;
    const long long cy = static_cast<long long>(destRect.y) - cam.y + destRect.h / 2;
    const double reach = static_cast<double>(bull.w / 2 + kPickupExtra);
    if (withinReach(cx - bull.x, cy - bull.y, reach)) {
        bul += 1;
        return true;
    }
    return false;
}

void Cowboy::setPos(int x, int y) {
    destRect.x = x;
    destRect.y = y;
}

void Cowboy::setAll(int x, int y, int h) {
    destRect.x = x;
    destRect.y = y;
    health = h;
}

void Cowboy::setBull(int n) { bul = n; }

void Cowboy::setEnemy(int n) { enemy = n; }

int Cowboy::getBul() { return bul; }

int Cowboy::getEnemy() { return enemy; }

int Cowboy::getHel() { return health; }

int Cowboy::getDir() { return dir; }

bool Cowboy::isMov() { return moving; }

bool Cowboy::getActiveX() { return activeX; }

bool Cowboy::getActiveY() { return activeY; }

void Cowboy::enemyKill() { enemy += 1; }

bool Cowboy::isBullCollected(int n) { return bul >= n; }

bool Cowboy::isEnemyKilled(int n) { return enemy >= n; }

void Cowboy::setHurt() { hurt = true; }

void Cowboy::spawnRep() {
    bul = 0;
    enemy = 0;
    RandomSeed::reseed();
    destRect.x = rand() % kRestartRange;
    destRect.y = rand() % kRestartRange;
}
