#include "present/ResultCard.h"

#include "present/Render.h"
#include "present/Text.h"

#include <algorithm>
#include <vector>

namespace {

constexpr SDL_Color kInk{255, 236, 200, 255};  // light text on the dark panel
constexpr int kLineGap = 20;                   // between the card's lines, and around them in the panel
constexpr int kPictureW = Render::kPicture.w;  // the picture the panel stands in
constexpr int kPictureH = Render::kPicture.h;

}  // namespace

ResultCard::~ResultCard() { release(); }

std::string ResultCard::placeLine(int place, int shownPlaces) {
    if (place == 1) {
        return Texts::text(Texts::Id::CardBestRun);
    }
    if (place <= shownPlaces) {
        return Texts::format(Texts::Id::CardPlace, {std::to_string(place)});
    }
    return Texts::format(Texts::Id::CardNotPlaced, {std::to_string(shownPlaces)});
}

void ResultCard::prepare(SDL_Renderer* renderer, TTF_Font* font, TTF_Font* smallFont, const std::string& title,
                         const std::vector<Line>& below) {
    releaseLines();
    std::vector<Line> all{Line{title, false}};
    all.insert(all.end(), below.begin(), below.end());
    shown.clear();
    for (const Line& line : all) {
        shown.push_back(line.text);
    }
    if (renderer == nullptr || font == nullptr) {
        return;
    }
    for (const Line& line : all) {
        TTF_Font* face = line.small && smallFont != nullptr ? smallFont : font;
        lines.push_back(Text::lineTexture(renderer, face, line.text, kInk));
    }
}

std::vector<SDL_Rect> ResultCard::lineBoxes() const {
    std::vector<SDL_Rect> at;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SDL_Rect box{};
        SDL_QueryTexture(lines[i], nullptr, nullptr, &box.w, &box.h);
        if (i == 0) {
            box.w *= kTitleScale;
            box.h *= kTitleScale;
        }
        at.push_back(box);
    }
    return at;
}

SDL_Rect ResultCard::drawnPanel() const {
    // Grown around its middle when the lines need more room than it has (every line a run's end
    // can show, in a large font), never past the picture.
    int total = 0;
    int widest = 0;
    const std::vector<SDL_Rect> at = lineBoxes();
    for (std::size_t i = 0; i < at.size(); ++i) {
        total += at[i].h + (i > 0 ? kLineGap : 0);
        widest = std::max(widest, at[i].w);
    }
    SDL_Rect drawn = panel;
    const int needH = std::min(total + 2 * kLineGap, kPictureH);
    if (needH > drawn.h) {
        drawn.y = std::clamp(panel.y - (needH - panel.h) / 2, 0, kPictureH - needH);
        drawn.h = needH;
    }
    const int needW = std::min(widest + 2 * kLineGap, kPictureW);
    if (needW > drawn.w) {
        drawn.x = std::clamp(panel.x - (needW - panel.w) / 2, 0, kPictureW - needW);
        drawn.w = needW;
    }
    return drawn;
}

void ResultCard::drawBackdrop(SDL_Renderer* renderer) const {
    picture.draw(renderer);
    if (dim == 0) {
        return;
    }
    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_GetRenderDrawColor(renderer, &r, &g, &b, &a);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, dim);
    SDL_RenderFillRect(renderer, nullptr);
    SDL_SetRenderDrawColor(renderer, r, g, b, a);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
}

void ResultCard::draw(SDL_Renderer* renderer) const {
    drawBackdrop(renderer);
    const SDL_Rect room = drawnPanel();
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_GetRenderDrawColor(renderer, &r, &g, &b, &a);
    SDL_SetRenderDrawColor(renderer, 40, 22, 10, kPanelAlpha);
    SDL_RenderFillRect(renderer, &room);
    SDL_SetRenderDrawColor(renderer, r, g, b, a);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);

    // The lines stacked and centred in the panel, the title at twice the size.
    const std::vector<SDL_Rect> at = linePlaces();
    for (std::size_t i = 0; i < lines.size() && i < at.size(); ++i) {
        if (lines[i] != nullptr) {
            Text::fitToWindow(renderer, lines[i], i == 0 ? static_cast<float>(kTitleScale) : 1.0f);
            SDL_RenderCopy(renderer, lines[i], nullptr, &at[i]);
        }
    }
}

std::vector<SDL_Rect> ResultCard::linePlaces() const {
    const SDL_Rect room = drawnPanel();
    std::vector<SDL_Rect> at = lineBoxes();
    int total = 0;
    for (std::size_t i = 0; i < at.size(); ++i) {
        total += at[i].h + (i > 0 ? kLineGap : 0);
    }
    int y = room.y + (room.h - total) / 2;
    for (SDL_Rect& box : at) {
        box.x = room.x + (room.w - box.w) / 2;
        box.y = y;
        y += box.h + kLineGap;
    }
    return at;
}

SDL_Rect ResultCard::lineAt(std::size_t line) const {
    const std::vector<SDL_Rect> at = linePlaces();
    return line < at.size() ? at[line] : SDL_Rect{0, 0, 0, 0};
}

void ResultCard::release() {
    picture.release();
    releaseLines();
}

void ResultCard::releaseLines() {
    for (SDL_Texture* line : lines) {
        SDL_DestroyTexture(line);
    }
    lines.clear();
}
