#include "present/ResultCard.h"

#include <cmath>
#include <vector>

namespace {

constexpr SDL_Color kInk{255, 236, 200, 255};  // light text on the dark panel
constexpr int kLineGap = 20;                    // between the card's lines

}  // namespace

ResultCard::~ResultCard() { release(); }

std::string ResultCard::placeLine(int place, int shownPlaces) {
    if (place == 1) {
        return "The best run so far";
    }
    if (place <= shownPlaces) {
        return "Place " + std::to_string(place) + " among the best runs";
    }
    return "Not among the best " + std::to_string(shownPlaces) + " runs";
}

void ResultCard::capture(SDL_Renderer* renderer) {
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

void ResultCard::prepare(SDL_Renderer* renderer, TTF_Font* font, bool won, int32_t score, const std::string& place) {
    releaseLines();
    if (renderer == nullptr || font == nullptr) {
        return;
    }
    for (const std::string& text : {std::string(won ? kWon : kDied), "Score: " + std::to_string(score), place}) {
        SDL_Surface* surface = TTF_RenderUTF8_Solid(font, text.c_str(), kInk);
        SDL_Texture* texture = surface != nullptr ? SDL_CreateTextureFromSurface(renderer, surface) : nullptr;
        SDL_FreeSurface(surface);
        lines.push_back(texture);
    }
}

void ResultCard::draw(SDL_Renderer* renderer) const {
    if (last != nullptr) {
        SDL_Rect whole{};
        SDL_RenderGetLogicalSize(renderer, &whole.w, &whole.h);
        SDL_RenderCopy(renderer, last, &lastArea, whole.w > 0 ? &whole : nullptr);
    }
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_GetRenderDrawColor(renderer, &r, &g, &b, &a);
    SDL_SetRenderDrawColor(renderer, 40, 22, 10, kPanelAlpha);
    SDL_RenderFillRect(renderer, &kPanel);
    SDL_SetRenderDrawColor(renderer, r, g, b, a);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);

    // The lines stacked and centred in the panel, the title at twice the size.
    int total = 0;
    std::vector<SDL_Rect> at;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SDL_Rect box{};
        SDL_QueryTexture(lines[i], nullptr, nullptr, &box.w, &box.h);
        if (i == 0) {
            box.w *= kTitleScale;
            box.h *= kTitleScale;
        }
        at.push_back(box);
        total += box.h + (i > 0 ? kLineGap : 0);
    }
    int y = kPanel.y + (kPanel.h - total) / 2;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SDL_Rect box = at[i];
        box.x = kPanel.x + (kPanel.w - box.w) / 2;
        box.y = y;
        if (lines[i] != nullptr) {
            SDL_RenderCopy(renderer, lines[i], nullptr, &box);
        }
        y += box.h + kLineGap;
    }
}

void ResultCard::release() {
    if (last != nullptr) {
        SDL_DestroyTexture(last);
        last = nullptr;
    }
    releaseLines();
}

void ResultCard::releaseLines() {
    for (SDL_Texture* line : lines) {
        SDL_DestroyTexture(line);
    }
    lines.clear();
}
