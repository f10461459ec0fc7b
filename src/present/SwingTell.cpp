#include "present/SwingTell.h"

void SwingTell::reset() { outlaws.fill(Outlaw{}); }

void SwingTell::outlaw(int slot, SDL_Rect dst, bool ready, bool swinging) {
    if (slot < 0 || slot >= kSlots) {
        return;
    }
    Outlaw& one = outlaws[static_cast<std::size_t>(slot)];
    one.marked = ready && !swinging && !one.swung;
    one.swung = swinging;
    one.dst = dst;
}

void SwingTell::absent(int slot) {
    if (slot >= 0 && slot < kSlots) {
        outlaws[static_cast<std::size_t>(slot)] = Outlaw{};
    }
}

bool SwingTell::marked(int slot) const {
    return slot >= 0 && slot < kSlots && outlaws[static_cast<std::size_t>(slot)].marked;
}

void SwingTell::draw(SDL_Renderer* renderer, SDL_Point shake) const {
    if (renderer == nullptr) {
        return;
    }
    std::array<SDL_Rect, kSlots * 2> edges{};
    std::array<SDL_Rect, kSlots * 2> ink{};
    int count = 0;
    for (const Outlaw& one : outlaws) {
        if (!one.marked) {
            continue;
        }
        const int left = one.dst.x + shake.x + (one.dst.w - kBarW) / 2;
        const int foot = one.dst.y + shake.y + kFoot;
        const SDL_Rect dot{left, foot - kBarW, kBarW, kBarW};
        const SDL_Rect bar{left, dot.y - kGap - kBarH, kBarW, kBarH};
        for (const SDL_Rect& part : {bar, dot}) {
            edges[static_cast<std::size_t>(count)] =
                SDL_Rect{part.x - kRim, part.y - kRim, part.w + 2 * kRim, part.h + 2 * kRim};
            ink[static_cast<std::size_t>(count)] = part;
            ++count;
        }
    }
    if (count == 0) {
        return;
    }
    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_GetRenderDrawColor(renderer, &r, &g, &b, &a);
    // One call a colour: a drawing call costs a real window's driver more than its pixels.
    SDL_SetRenderDrawColor(renderer, kEdge.r, kEdge.g, kEdge.b, kEdge.a);
    SDL_RenderFillRects(renderer, edges.data(), count);
    SDL_SetRenderDrawColor(renderer, kInk.r, kInk.g, kInk.b, kInk.a);
    SDL_RenderFillRects(renderer, ink.data(), count);
    SDL_SetRenderDrawColor(renderer, r, g, b, a);
}
