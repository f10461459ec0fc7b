#include "world/Bull.h"

Bull::Bull() {
    id = 0;
    texW = kDefaultTexW;
    texH = kDefaultTexH;
}

Bull::~Bull() { releaseTexture(); }

void Bull::spawn() {}

void Bull::spawn(int x, int y, int kind) {
    reportMissingRenderer();
    id = 1;
    // The waves pass the slot index, so neighbouring bulls alternate pictures.
    loadSprite(kind % 2 == 0 ? kSpritePath : kSpritePath2, texW, texH);
    frameH = texH;
    frameW = texW;
    pos = SDL_Rect{x, y, kDrawW, kDrawH};
    rect = SDL_Rect{0, 0, frameW, frameH};
    worldX = x;
    worldY = y;
}

SDL_Rect Bull::getPos(SDL_Rect cam) {
    pos.x = worldX - cam.x;
    pos.y = worldY - cam.y;
    return pos;
}

SDL_Rect Bull::getRect() { return rect; }
