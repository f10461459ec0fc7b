#include "world/Thing.h"

#include <iostream>

int Thing::getID() { return id; }

void Thing::reportMissingRenderer() {
    if (renderer == nullptr) {
        std::cout << "Render fail" << std::endl;
    }
}

void Thing::loadSprite(const char* path, int32_t& w, int32_t& h) { loadPicture(path, w, h); }
