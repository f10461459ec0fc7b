#include "present/SceneTarget.h"

#include "present/Render.h"

#include <algorithm>
#include <cmath>
#include <cstring>

SceneTarget::~SceneTarget() {
    // The renderer takes its textures with it when it goes first (Game::clean releases before).
    picture = nullptr;
}

bool SceneTarget::scalesUp(int w, int h) { return w > Render::kPicture.w && h > Render::kPicture.h; }

void SceneTarget::present() {
    SDL_Renderer* renderer = owner;
    if (drawing) {
        SDL_SetRenderTarget(renderer, nullptr);
        drawing = false;
        int outW = 0;
        int outH = 0;
        SDL_GetRendererOutputSize(renderer, &outW, &outH);
        if (outW != barsW || outH != barsH) {
            // Only the picture's area is drawn from now on: the bars beside it stay as painted
            // here until the window's size changes (its picture is then made anew).
            Uint8 r = 0, g = 0, b = 0, a = 0;
            SDL_GetRenderDrawColor(renderer, &r, &g, &b, &a);
            SDL_SetRenderDrawColor(renderer, 0, 0, 0, SDL_ALPHA_OPAQUE);
            SDL_RenderClear(renderer);
            SDL_SetRenderDrawColor(renderer, r, g, b, a);
            barsW = outW;
            barsH = outH;
        }
        if (!copyScaled(outW, outH)) {
            SDL_RenderCopy(renderer, picture, nullptr, nullptr);  // into the logical size's area
        }
    }
    SDL_RenderPresent(renderer);
    follow();
}

int SceneTarget::wholeFactor(int w, int h) {
    // The side that fills the window sets the factor; the other has the bars.
    const bool widthFills = static_cast<long>(w) * Render::kPicture.h <= static_cast<long>(h) * Render::kPicture.w;
    const int fills = widthFills ? w : h;
    const int side = widthFills ? Render::kPicture.w : Render::kPicture.h;
    return fills % side == 0 ? fills / side : 0;
}

SDL_Rect SceneTarget::area(int w, int h) {
    // As SDL fits the logical size: in floats, the side with the bars rounded down, centred.
    const float wantAspect = static_cast<float>(Render::kPicture.w) / Render::kPicture.h;
    const float aspect = static_cast<float>(w) / h;
    if (std::fabs(wantAspect - aspect) < 0.0001f) {
        return SDL_Rect{0, 0, w, h};
    }
    if (wantAspect > aspect) {
        const float scale = static_cast<float>(w) / Render::kPicture.w;
        const int shownH = static_cast<int>(std::floor(Render::kPicture.h * scale));
        return SDL_Rect{0, (h - shownH) / 2, w, shownH};
    }
    const float scale = static_cast<float>(h) / Render::kPicture.h;
    const int shownW = static_cast<int>(std::floor(Render::kPicture.w * scale));
    return SDL_Rect{(w - shownW) / 2, 0, shownW, h};
}

namespace {

// Each of to's places its nearest of from's, as SDL's nearest scaling steps through them: in
// 16.16 fixed point, from the middle of the first step.
void nearest(std::vector<int>& map, int from, int to) {
    map.resize(static_cast<std::size_t>(to));
    const Uint32 step = (static_cast<Uint32>(from) << 16) / static_cast<Uint32>(to);
    Uint32 at = step / 2;
    for (int& i : map) {
        i = std::min(static_cast<int>(at >> 16), from - 1);
        at += step;
    }
}

}  // namespace

void SceneTarget::mapFor(int outW, int outH) {
    if (outW == mapW && outH == mapH) {
        return;
    }
    const int factor = wholeFactor(outW, outH);
    if (factor > 0) {
        // Exact squares, centred as SDL centres the whole picture.
        shownAt = SDL_Rect{(outW - Render::kPicture.w * factor) / 2, (outH - Render::kPicture.h * factor) / 2,
                           Render::kPicture.w * factor, Render::kPicture.h * factor};
    } else {
        shownAt = area(outW, outH);
    }
    nearest(columns, Render::kPicture.w, shownAt.w);
    nearest(rows, Render::kPicture.h, shownAt.h);
    mapW = outW;
    mapH = outH;
}

bool SceneTarget::copyScaled(int outW, int outH) {
    SDL_Window* window = SDL_RenderGetWindow(owner);
    // The software renderer draws into the window's own picture: each picture row is widened
    // once through the column map and copied to every window row that shows it, as fast as the
    // memory takes it (SDL's nearest scaling works out every pixel's source on its own, at twice
    // the cost at 3840 by 2160).
    SDL_Surface* shown = window != nullptr ? SDL_GetWindowSurface(window) : nullptr;
    if (shown == nullptr || shown->format->format != format || shown->format->BytesPerPixel != 4 || shown->w != outW ||
        shown->h != outH) {
        return false;
    }
    mapFor(outW, outH);
    const int w = Render::kPicture.w;
    const int h = Render::kPicture.h;
    pixels.resize(static_cast<std::size_t>(w) * h);
    SDL_SetRenderTarget(owner, picture);
    const bool read = SDL_RenderReadPixels(owner, nullptr, format, pixels.data(), w * 4) == 0;
    SDL_SetRenderTarget(owner, nullptr);
    SDL_RenderFlush(owner);  // the bars' clear, should one wait, lands before the picture
    if (!read || SDL_LockSurface(shown) != 0) {
        return false;
    }
    const int factor = wholeFactor(outW, outH);
    const std::size_t rowBytes = static_cast<std::size_t>(shownAt.w) * 4;
    Uint32* above = nullptr;
    for (int y = 0; y < shownAt.h; ++y) {
        auto* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(shown->pixels) +
                                              static_cast<std::ptrdiff_t>(shownAt.y + y) * shown->pitch) +
                    shownAt.x;
        if (y > 0 && rows[y] == rows[y - 1]) {
            std::memcpy(row, above, rowBytes);  // the same picture row as the window row above
        } else {
            const Uint32* from = pixels.data() + static_cast<std::size_t>(rows[y]) * w;
            if (factor > 0) {
                for (int x = 0; x < w; ++x) {  // each picture pixel its square's width, no map to look up
                    for (int i = 0; i < factor; ++i) {
                        row[x * factor + i] = from[x];
                    }
                }
            } else {
                for (int x = 0; x < shownAt.w; ++x) {
                    row[x] = from[columns[x]];
                }
            }
        }
        above = row;
    }
    SDL_UnlockSurface(shown);
    return true;
}

void SceneTarget::follow() {
    SDL_Renderer* renderer = owner;
    if (drawing || renderer == nullptr) {
        return;
    }
    int outW = 0;
    int outH = 0;
    if (SDL_GetRendererOutputSize(renderer, &outW, &outH) != 0 || !scalesUp(outW, outH)) {
        barsW = 0;  // the direct drawing's clear paints the whole window
        barsH = 0;
        return;
    }
    if (picture == nullptr) {
        // The window's own pixel format: drawing into it blends exactly as into the window, and
        // the scaled copy needs no conversion.
        SDL_Window* window = SDL_RenderGetWindow(renderer);
        format = window != nullptr ? SDL_GetWindowPixelFormat(window) : Uint32{SDL_PIXELFORMAT_UNKNOWN};
        if (format == SDL_PIXELFORMAT_UNKNOWN) {
            format = SDL_PIXELFORMAT_ARGB8888;
        }
        picture = SDL_CreateTexture(renderer, format, SDL_TEXTUREACCESS_TARGET, Render::kPicture.w, Render::kPicture.h);
        if (picture == nullptr) {
            return;  // drawn straight into the window, as without
        }
        SDL_SetTextureBlendMode(picture, SDL_BLENDMODE_NONE);
        // Each window pixel takes its nearest picture pixel, as each drawing's own scaling did: at
        // a whole factor every picture pixel is a sharp square; between them the picture looks as
        // it did. A smooth (linear) scale cost more than the drawings' own scaling saved: 4.05 ms
        // a level-3 frame at 1920 by 1080 against 2.96 ms before and 2.36 ms with this.
        SDL_SetTextureScaleMode(picture, SDL_ScaleModeNearest);
    }
    drawing = SDL_SetRenderTarget(renderer, picture) == 0;
}

void SceneTarget::release() {
    if (drawing) {
        SDL_SetRenderTarget(owner, nullptr);
        drawing = false;
    }
    if (picture != nullptr) {
        SDL_DestroyTexture(picture);
        picture = nullptr;
    }
    barsW = 0;
    barsH = 0;
}
