#include "present/OpaqueMask.h"

#include <algorithm>

OpaqueMask::OpaqueMask(SDL_Surface* picture) {
    SDL_Surface* argb = picture != nullptr ? SDL_ConvertSurfaceFormat(picture, SDL_PIXELFORMAT_ARGB8888, 0) : nullptr;
    if (argb == nullptr) {
        return;
    }
    w = argb->w;
    h = argb->h;
    opaque.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 1);
    if (SDL_ISPIXELFORMAT_ALPHA(picture->format->format) || SDL_HasColorKey(picture) == SDL_TRUE) {
        for (int y = 0; y < h; ++y) {
            const Uint32* row =
                reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(argb->pixels) + y * argb->pitch);
            for (int x = 0; x < w; ++x) {
                opaque[static_cast<std::size_t>(y) * w + x] = (row[x] >> 24) != 0 ? 1 : 0;
            }
        }
    }
    SDL_FreeSurface(argb);
}

SDL_Rect OpaqueMask::box(const SDL_Rect& src) {
    const std::array<int, 4> key{src.x, src.y, src.w, src.h};
    const auto known = std::lower_bound(boxes.begin(), boxes.end(), key,
                                        [](const auto& entry, const std::array<int, 4>& k) { return entry.first < k; });
    if (known != boxes.end() && known->first == key) {
        return known->second;
    }
    // Outside the picture a source has nothing to draw; inside, the box of its marked pixels.
    const int left = std::max(src.x, 0);
    const int top = std::max(src.y, 0);
    const int right = std::min(src.x + src.w, w);
    const int bottom = std::min(src.y + src.h, h);
    int minX = right, minY = bottom, maxX = left - 1, maxY = top - 1;
    bool any = false;  // a part wholly off the picture finds nothing: its bounds cross
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if (opaque[static_cast<std::size_t>(y) * w + x] != 0) {
                any = true;
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
        }
    }
    const SDL_Rect found = any ? SDL_Rect{minX, minY, maxX - minX + 1, maxY - minY + 1} : SDL_Rect{src.x, src.y, 0, 0};
    boxes.insert(known, {key, found});
    return found;
}
