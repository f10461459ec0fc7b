#include "shell/ScreenLoop.h"

#include "input/Gamepads.h"
#include "shell/Shell.h"

void ScreenLoop::flushInput() {
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_KEYDOWN, SDL_MOUSEWHEEL);
    SDL_FlushEvents(SDL_CONTROLLERAXISMOTION, SDL_CONTROLLERBUTTONUP);
}

bool ScreenLoop::pass(Screen& screen) {
    game->applyWindowKeys();
    bool news = !shown;
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        news = true;
        Gamepads::deviceEvent(event);  // a pad plugged in or pulled out meanwhile
        screen.take(event);
    }
    screen.step();
    if (screen.done()) {
        return false;
    }
    if (news) {
        game->clear();
        screen.draw(Render::renderer);
        Render::markDrawn();
        game->present();
        shown = true;
    }
    pacer.endPass();
    return true;
}

void ScreenLoop::run(Screen& screen) {
    open();
    while (pass(screen)) {
    }
}
