// Loaded into the game by `LEVEL3_NO_FIELD=1 bench/level3_frame.sh` (LD_PRELOAD): the game runs
// as ever (input, play, sound, its replay and trace, the HUD's lines, the clear and the present),
// but the field is not drawn. What is left is what a frame costs beyond its drawing, and no
// cheaper drawing can take the game below it.
// Kept: copies of whole textures (the HUD's lines). Dropped: copies of parts of a texture (the
// ground's details, figures drawn one by one), the batches (figures, farms, bulls) and filled
// rectangles (bars, effects).
#include <SDL.h>

#include <dlfcn.h>

namespace {

template <typename Function>
Function next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

int SDL_RenderCopy(SDL_Renderer* renderer, SDL_Texture* texture, const SDL_Rect* src, const SDL_Rect* dst) {
    static const auto real =
        next<int (*)(SDL_Renderer*, SDL_Texture*, const SDL_Rect*, const SDL_Rect*)>("SDL_RenderCopy");
    return src != nullptr ? 0 : real(renderer, texture, src, dst);
}

int SDL_RenderGeometry(SDL_Renderer*, SDL_Texture*, const SDL_Vertex*, int, const int*, int) { return 0; }

int SDL_RenderFillRect(SDL_Renderer* renderer, const SDL_Rect* rect) {
    // The whole window filled is the clear of a window of another shape than the picture: kept.
    static const auto real = next<int (*)(SDL_Renderer*, const SDL_Rect*)>("SDL_RenderFillRect");
    return rect != nullptr ? 0 : real(renderer, rect);
}

int SDL_RenderFillRects(SDL_Renderer*, const SDL_Rect*, int) { return 0; }

}  // extern "C"
