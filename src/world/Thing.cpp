#include "world/Thing.h"

#include <iostream>

int Thing::getID() { return id; }

void Thing::reportMissingRenderer() {
    if (renderer == nullptr) {
        std::cout << "Render fail" << std::endl;
    }
}

void Thing::loadSprite(const char* path, int32_t& w, int32_t& h) {
    releaseTexture();
    texture = LoadPNG(path, renderer);
    int queriedW = 0;
    int queriedH = 0;
    if (texture != nullptr && SDL_QueryTexture(texture, nullptr, nullptr, &queriedW, &queriedH) == 0) {
        w = queriedW;
        h = queriedH;
    }
}
