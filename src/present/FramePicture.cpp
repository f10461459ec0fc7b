#include "present/FramePicture.h"

#include <cmath>
#include <vector>

FramePicture::~FramePicture() { release(); }

void FramePicture::capture(SDL_Renderer* renderer) {
    release();
    int outW = 0;
    int outH = 0;
    if (renderer == nullptr || SDL_GetRendererOutputSize(renderer, &outW, &outH) != 0 || outW <= 0 || outH <= 0) {
        return;
    }
    // The whole window is asked for, so the rows line up whatever bars the scaling left.
    std::vector<Uint32> pixels(static_cast<std::size_t>(outW) * static_cast<std::size_t>(outH), 0);
    const SDL_Rect all{0, 0, outW, outH};
    const int pitch = outW * static_cast<int>(sizeof(Uint32));
    if (SDL_RenderReadPixels(renderer, &all, SDL_PIXELFORMAT_ARGB8888, pixels.data(), pitch) != 0) {
        return;
    }
    last = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, outW, outH);
    if (last == nullptr) {
        return;
    }
    SDL_UpdateTexture(last, nullptr, pixels.data(), pitch);
    SDL_SetTextureBlendMode(last, SDL_BLENDMODE_NONE);
    SDL_Rect view{};
    float sx = 1.0f;
    float sy = 1.0f;
    SDL_RenderGetViewport(renderer, &view);
    SDL_RenderGetScale(renderer, &sx, &sy);
    lastArea = SDL_Rect{static_cast<int>(std::lround(view.x * sx)), static_cast<int>(std::lround(view.y * sy)),
                        static_cast<int>(std::lround(view.w * sx)), static_cast<int>(std::lround(view.h * sy))};
}

void FramePicture::draw(SDL_Renderer* renderer) const {
    if (last == nullptr) {
        return;
    }
    SDL_Rect whole{};
    SDL_RenderGetLogicalSize(renderer, &whole.w, &whole.h);
    SDL_RenderCopy(renderer, last, &lastArea, whole.w > 0 ? &whole : nullptr);
}

void FramePicture::release() {
    if (last != nullptr) {
        SDL_DestroyTexture(last);
        last = nullptr;
    }
}
