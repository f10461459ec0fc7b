#include "input/LastDevice.h"

#include <cstdlib>

void LastDevice::see(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEWHEEL:
            pad = false;
            break;
        case SDL_CONTROLLERBUTTONDOWN:
            pad = true;
            break;
        case SDL_CONTROLLERAXISMOTION:
            pad = pad || std::abs(event.caxis.value) > kStickUse;
            break;
        default:
            break;
    }
}
