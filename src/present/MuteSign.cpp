#include "present/MuteSign.h"

namespace {

void fill(SDL_Renderer* renderer, SDL_Color colour, int x, int y, int w, int h) {
    SDL_SetRenderDrawColor(renderer, colour.r, colour.g, colour.b, colour.a);
    const SDL_Rect box{x, y, w, h};
    SDL_RenderFillRect(renderer, &box);
}

// A line three pixels thick from (x1, y1) to (x2, y2).
void stroke(SDL_Renderer* renderer, SDL_Color colour, int x1, int y1, int x2, int y2) {
    SDL_SetRenderDrawColor(renderer, colour.r, colour.g, colour.b, colour.a);
    for (int d = -1; d <= 1; ++d) {
        SDL_RenderDrawLine(renderer, x1 + d, y1, x2 + d, y2);
    }
}

}  // namespace

void MuteSign::draw(SDL_Renderer* renderer) {
    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_GetRenderDrawColor(renderer, &r, &g, &b, &a);
    SDL_BlendMode mode = SDL_BLENDMODE_NONE;
    SDL_GetRenderDrawBlendMode(renderer, &mode);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);

    const int x = kBox.x;
    const int y = kBox.y;
    fill(renderer, kPlate, x, y, kBox.w, kBox.h);
    // The speaker: a small box and a cone widening to the right.
    fill(renderer, kInk, x + 8, y + 13, 7, 10);
    for (int i = 0; i < 9; ++i) {
        fill(renderer, kInk, x + 15 + i, y + 13 - i, 1, 10 + 2 * i);
    }
    // Struck through from corner to corner.
    stroke(renderer, kStrike, x + 6, y + 4, x + kBox.w - 6, y + kBox.h - 4);

    SDL_SetRenderDrawBlendMode(renderer, mode);
    SDL_SetRenderDrawColor(renderer, r, g, b, a);
}
