#include "present/Menu.h"

Menu::Menu() {
    rect = SDL_Rect{0, 0, 1080, 720};
    // Used as the source rectangle: the picture's top-left 720 by 1080 pixels fill the window.
    pos = SDL_Rect{0, 0, 720, 1080};
}

void Menu::StartNewGame() {
    releaseTexture();
    texture = LoadPNG(kPicture, renderer);
}

void Menu::drawFocus(SDL_Rect box) {
    if (renderer == nullptr) {
        return;
    }
    // The clear paints with the draw colour: give it back as it was.
    Uint8 r = 0;
    Uint8 g = 0;
    Uint8 b = 0;
    Uint8 a = 0;
    SDL_BlendMode mode = SDL_BLENDMODE_NONE;
    SDL_GetRenderDrawColor(renderer, &r, &g, &b, &a);
    SDL_GetRenderDrawBlendMode(renderer, &mode);
    const SDL_Rect band{box.x - kFocusMargin, box.y - kFocusMargin / 4, box.w + 2 * kFocusMargin,
                        box.h + kFocusMargin / 2};
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(renderer, kFocusBand.r, kFocusBand.g, kFocusBand.b, kFocusBand.a);
    SDL_RenderFillRect(renderer, &band);
    SDL_SetRenderDrawColor(renderer, kFocusBar.r, kFocusBar.g, kFocusBar.b, kFocusBar.a);
    for (int i = 0; i < kFocusFrameW; ++i) {
        const SDL_Rect frame{band.x + i, band.y + i, band.w - 2 * i, band.h - 2 * i};
        SDL_RenderDrawRect(renderer, &frame);
    }
    const SDL_Rect bar{band.x, band.y, kFocusBarW, band.h};
    SDL_RenderFillRect(renderer, &bar);
    SDL_SetRenderDrawBlendMode(renderer, mode);
    SDL_SetRenderDrawColor(renderer, r, g, b, a);
    markDrawn();
}
