#include "input/HeldWalk.h"

#include <algorithm>

Uint64 HeldWalk::systemClock() { return SDL_GetTicks64(); }

void HeldWalk::press(long long source, KeyBindings::Action action, Uint64 now) {
    release(source, now);
    held.push_back(Held{source, action});
    restart(now);
}

bool HeldWalk::release(long long source, Uint64 now) {
    const auto it = std::find_if(held.begin(), held.end(), [&](const Held& h) { return h.source == source; });
    if (it == held.end()) {
        return false;
    }
    const bool wasWalking = it + 1 == held.end();
    held.erase(it);
    if (wasWalking) {
        restart(now);
    }
    return true;
}

KeyBindings::Action HeldWalk::actionOf(long long source) const {
    for (const Held& h : held) {
        if (h.source == source) {
            return h.action;
        }
    }
    return KeyBindings::Action::None;
}

KeyBindings::Action HeldWalk::current() const { return held.empty() ? KeyBindings::Action::None : held.back().action; }

int HeldWalk::dueSteps(Uint64 now) {
    if (held.empty() || now < since) {
        return 0;
    }
    const Uint64 owed = (now - since) * kStepsPerSecond / 1000;
    if (owed <= made) {
        return 0;
    }
    const Uint64 due = std::min<Uint64>(owed - made, kMaxCatchUp);
    made = owed;
    return static_cast<int>(due);
}

void HeldWalk::restart(Uint64 now) {
    since = now;
    made = 0;
}
