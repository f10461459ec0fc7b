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
        if (event.type == SDL_QUIT) {
            // A close (the window's, or a signal) is for the screen run, whatever is over it.
            quitSeen = true;
            over.clear();
        }
        (over.empty() ? screen : *over.back()).take(event);
    }
    Screen& top = over.empty() ? screen : *over.back();
    top.step();
    if (Screen* opened = top.opens()) {
        over.push_back(opened);
        shown = false;
    } else if (top.done()) {
        if (over.empty()) {
            return false;
        }
        over.pop_back();  // back to the screen under it, drawn anew
        shown = false;
    }
    if (news || !shown) {
        // The clear of play and of the menu keeps its colour whatever a screen draws with.
        Uint8 r = 0, g = 0, b = 0, a = 0;
        SDL_GetRenderDrawColor(Render::renderer, &r, &g, &b, &a);
        game->clear();
        (over.empty() ? screen : *over.back()).draw(Render::renderer);
        SDL_SetRenderDrawColor(Render::renderer, r, g, b, a);
        Render::markDrawn();
        game->present();
        shown = true;
    }
    pacer.endPass();
    return true;
}

void ScreenLoop::run(Screen& screen) {
    open();
    quitSeen = false;
    while (pass(screen)) {
    }
}
