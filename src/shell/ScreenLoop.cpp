#include "shell/ScreenLoop.h"

#include "input/Gamepads.h"
#include "shell/Shell.h"

bool ScreenLoop::pumpInput() {
    const bool waiting = input.pump();
    heedMute();
    return waiting;
}

void ScreenLoop::flushInput() {
    input.flush();
    heedMute();
}

void ScreenLoop::heedMute() {
    while (input.take(Input::Command::Mute)) {
        sound.setMuted(!sound.isMuted());
    }
}

void ScreenLoop::push(std::unique_ptr<Screen> screen) {
    if (screen != nullptr) {
        over.push_back(std::move(screen));
        shown = false;
    }
}

const Screen& ScreenLoop::base(const Screen& screen) const {
    for (auto at = over.rbegin(); at != over.rend(); ++at) {
        if (!(*at)->isPanel()) {
            return **at;
        }
    }
    return screen;
}

bool ScreenLoop::pass(Screen& screen) {
    if (over.empty() && screen.drivesItself()) {
        // The menu's pass or play's frame: it reads its input and presents its picture itself.
        // Play is over before a frame when the window closed on the menu; the menu ends at the
        // start of the pass after the one that chose.
        if (screen.done()) {
            return false;
        }
        screen.step();
        if (screen.done()) {
            return false;
        }
        if (std::unique_ptr<Screen> opened = screen.opens()) {
            push(std::move(opened));
        }
        pacer.endPass();
        return true;
    }
    game->applyWindowKeys(input);
    bool news = !shown;
    pumpInput();
    SDL_Event event;
    // Once nothing stands over a screen that drives itself, what waits is left for its own pass.
    while (!(over.empty() && screen.drivesItself()) && input.next(event)) {
        news = true;
        Gamepads::deviceEvent(event);  // a pad plugged in or pulled out meanwhile
        if (event.type == SDL_QUIT) {
            // A close (the window's, or a signal) is for the screen run, whatever is over it.
            quitSeen = true;
            over.clear();
        }
        (over.empty() ? screen : *over.back()).take(event);
    }
    if (!over.empty() || !screen.drivesItself()) {
        Screen& top = over.empty() ? screen : *over.back();
        top.step();
        if (std::unique_ptr<Screen> opened = top.opens()) {
            push(std::move(opened));
        } else if (top.done()) {
            if (over.empty()) {
                return false;
            }
            // Back to the screen under it, drawn anew; it may read what the one going chose.
            const std::unique_ptr<Screen> gone = std::move(over.back());
            over.pop_back();
            shown = false;
            (over.empty() ? screen : *over.back()).uncovered(*gone);
            if (over.empty() && screen.done()) {
                return false;  // it stood only under what was shown over it
            }
        }
    }
    const Screen& shownTop = over.empty() ? screen : *over.back();
    if ((news || !shown) && !shownTop.drivesItself()) {
        // The clear of play and of the menu keeps its colour whatever a screen draws with.
        Uint8 r = 0, g = 0, b = 0, a = 0;
        SDL_GetRenderDrawColor(Render::renderer, &r, &g, &b, &a);
        game->clear();
        const Screen& under = base(screen);
        if (shownTop.isPanel() && &under != &shownTop) {
            under.drawUnderPanel(Render::renderer);
        }
        shownTop.draw(Render::renderer);
        SDL_SetRenderDrawColor(Render::renderer, r, g, b, a);
        Render::markDrawn();
        game->present();
        shown = true;
    }
    keeper.keepToggles(*game, false);
    pacer.endPass();
    return true;
}

void ScreenLoop::run(Screen& screen, std::unique_ptr<Screen> first) {
    open();
    quitSeen = false;
    push(std::move(first));
    while (pass(screen)) {
    }
}
