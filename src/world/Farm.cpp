#include "world/Farm.h"

#include <iostream>

int32_t Farm::isHere = 0;

Farm::Farm() {
    texW = kDefaultTexW;
    texH = kDefaultTexH;
    id = 0;
}

void Farm::spawn() {}

void Farm::spawn(int x, int y) {
    reportMissingRenderer();
    loadSprite(kSpritePath, texW, texH);
    frameH = texH;
    frameW = texW;
    destRect = SDL_Rect{x, y, kDrawW, kDrawH};
    srcRect = SDL_Rect{0, 0, frameW, frameH};
    health = kHealth;
    id = 1;
    worldX = x;
    worldY = y;
    if (renderer != nullptr) {
        // Drawn, and shown with the next frame: a picture shown per spawn flashed the sheet in a
        // corner of the old picture and held a new game and each new level back by a refresh each.
        SDL_RenderCopy(renderer, texture, &srcRect, &destRect);
        std::cout << "Render Building created" << std::endl;
    }
}

SDL_Rect Farm::getPos(SDL_Rect cam) {
    destRect.x = worldX - cam.x;
    destRect.y = worldY - cam.y;
    return destRect;
}

SDL_Rect Farm::getRect() { return srcRect; }

int Farm::getID() { return id; }

void Farm::IsInWindow(SDL_Rect /*heroRect*/, SDL_Rect /*cam*/, int count) {
    const bool inView = static_cast<long long>(destRect.x) + destRect.w > 0 && destRect.x <= kWindowRight &&
                        static_cast<long long>(destRect.y) + destRect.h > 0 && destRect.y <= kWindowBottom;
    if (inView) {
        isHere = count;
    } else {
        isHere -= 1;
    }
}

float Farm::distCal(SDL_Rect r) {
    const long long dx = static_cast<long long>(r.x) - destRect.x;
    const long long dy = static_cast<long long>(r.y) - destRect.y;
    return static_cast<float>(distance(dx, dy));
}

int Farm::pointer(SDL_Rect /*heroRect*/) {
    const int px = destRect.x;  // the farm's corner relative to the window's corner
    const int py = destRect.y;
    if (px >= py && py < 0) {
        return kPointUp;
    }
    if (px >= py && py > 0) {
        return kPointRight;
    }
    if (px <= py && px > 0) {
        return kPointDown;
    }
    if (px <= py && px < 0) {
        return kPointLeft;
    }
    return kPointMidLeft;
}
