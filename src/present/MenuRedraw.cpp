#include "present/MenuRedraw.h"

bool MenuRedraw::needed() {
    const bool on = phaseOn();
    SDL_PumpEvents();
    const bool news = !drawn || on != cursorOn || SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) == SDL_TRUE;
    cursorOn = on;
    drawn = true;
    return news;
}
