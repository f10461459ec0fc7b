#include "input/Input.h"

#include "input/PanelKeys.h"

#include <algorithm>

namespace {

// What a player presses, moves or turns: the kinds a flush drops.
bool isPressOrPointer(Uint32 type) {
    return (type >= SDL_KEYDOWN && type <= SDL_MOUSEWHEEL) ||
           (type >= SDL_CONTROLLERAXISMOTION && type <= SDL_CONTROLLERBUTTONUP);
}

}  // namespace

bool Input::pump() {
    SDL_PumpEvents();
    gather();
    return !waiting.empty();
}

void Input::gather() {
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) {
        look(event);
    }
}

bool Input::restingPointer(const SDL_Event& event) {
    if (event.type == SDL_WINDOWEVENT) {
        const Uint8 what = event.window.event;
        windowChanged = windowChanged || what == SDL_WINDOWEVENT_SIZE_CHANGED || what == SDL_WINDOWEVENT_RESIZED ||
                        what == SDL_WINDOWEVENT_MOVED;
        return false;
    }
    if (event.type != SDL_MOUSEMOTION) {
        return false;
    }
    // SDL tells where a resting pointer now is over the changed window with a motion that moved by
    // nothing; any motion after it is the player's.
    const bool resting = windowChanged && event.motion.xrel == 0 && event.motion.yrel == 0;
    windowChanged = false;
    return resting;
}

void Input::look(const SDL_Event& event) {
    if (restingPointer(event)) {
        return;  // the window changed (fullscreen, a resize) under the pointer: nobody moved it
    }
    device.see(event);
    if (PanelKeys::fresh(event)) {
        if (keys.means(event, KeyBindings::Command::Fullscreen)) {
            ++fullscreenAsked;
        }
        if (muteKeyOn && keys.means(event, KeyBindings::Command::Mute)) {
            ++muteAsked;
        }
    }
    if (play.passes(event)) {
        waiting.push_back(event);
    }
}

bool Input::next(SDL_Event& event) {
    gather();
    if (waiting.empty()) {
        return false;
    }
    event = waiting.front();
    waiting.pop_front();
    return true;
}

void Input::flush() {
    pump();
    waiting.erase(std::remove_if(waiting.begin(), waiting.end(),
                                 [](const SDL_Event& event) { return isPressOrPointer(event.type); }),
                  waiting.end());
}

void Input::handOn(const SDL_Event& event) {
    gather();  // after whatever SDL already holds, as a push would be
    waiting.push_back(event);
}

bool Input::take(Command command) {
    if (command != Command::Fullscreen && command != Command::Mute) {
        return false;  // the screens read the others where they are
    }
    int& asked = command == Command::Fullscreen ? fullscreenAsked : muteAsked;
    if (asked == 0) {
        return false;
    }
    --asked;
    return true;
}

void Input::takeFocusClicks(bool take) {
    if (take) {
        SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    } else {
        SDL_ResetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH);
    }
}
