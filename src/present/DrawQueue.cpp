#include "present/DrawQueue.h"

bool DrawQueue::skipCovered = true;

void DrawQueue::add(Render& figure, SDL_Rect src, SDL_Rect dst) {
    if (figure.texture == nullptr) {
        return;  // a missing picture draws nothing
    }
    if (skipCovered && !Render::showsInPicture(dst)) {
        ++skipped;  // wholly outside the picture: it would show nothing
        return;
    }
    Drawing drawing;
    drawing.texture = figure.texture;
    drawing.src = src;
    drawing.dst = dst;
    SDL_GetTextureColorMod(figure.texture, &drawing.r, &drawing.g, &drawing.b);
    drawings.push_back(drawing);
}

bool DrawQueue::sameSpot(const Drawing& a, const Drawing& b) {
    return a.texture == b.texture && SDL_RectEquals(&a.src, &b.src) == SDL_TRUE &&
           SDL_RectEquals(&a.dst, &b.dst) == SDL_TRUE;
}

void DrawQueue::flush() {
    const std::size_t count = drawings.size();
    for (std::size_t i = 0; i < count; ++i) {
        const Drawing& drawing = drawings[i];
        bool covered = false;
        for (std::size_t later = i + 1; skipCovered && later < count && !covered; ++later) {
            covered = sameSpot(drawing, drawings[later]);
        }
        if (covered) {
            ++skipped;
            continue;
        }
        SDL_Rect src = drawing.src;
        SDL_Rect dst = drawing.dst;
        if (skipCovered && !Render::trimToOpaque(drawing.texture, src, dst)) {
            ++skipped;
            continue;
        }
        Uint8 r = 255, g = 255, b = 255;
        SDL_GetTextureColorMod(drawing.texture, &r, &g, &b);
        SDL_SetTextureColorMod(drawing.texture, drawing.r, drawing.g, drawing.b);
        SDL_RenderCopy(Render::renderer, drawing.texture, &src, &dst);
        SDL_SetTextureColorMod(drawing.texture, r, g, b);
    }
    if (count > 0) {
        Render::markDrawn();
    }
    drawings.clear();
}
