#include "present/Text.h"

#include "present/FontCache.h"
#include "present/Game.h"
#include "persist/Player.h"

#include <algorithm>
#include <iostream>

std::function<void(const std::string&)> Text::onRender;

Text::Text() {
    if (TTF_Init() < 0) {
        std::cout << SDL_GetError();
    }
}

Text::~Text() {
    freeALL();
    releaseKept();  // the fonts are the cache's
}

void Text::init() {
    if (TTF_Init() < 0) {
        std::cout << SDL_GetError() << "sdfafasdf";
    }
    rect = SDL_Rect{0, 0, 0, 0};
    pos = SDL_Rect{20, 20, 0, 0};
    font = FontCache::get(kFontPath, kPointSize);
    edgeFont = nullptr;      // the edge follows the size
    measuredFont = nullptr;  // a font closed and opened anew may come back at the same address
    if (font == nullptr) {
        std::cout << "asdfsdafd";
    }
    if (renderer == nullptr) {
        std::cout << "Render fail" << std::endl;
    }
    color = kHudColor;
    releaseKept();
    freeALL();
    renderLine("SMTH WROTE", false);
    measure();
    if (textSurface != nullptr) {
        SDL_FreeSurface(textSurface);
        textSurface = nullptr;
    }
}

bool Text::openAt(int size) {
    rect = SDL_Rect{0, 0, 0, 0};
    pos = SDL_Rect{20, 20, 0, 0};
    releaseKept();
    freeALL();
    pointSize = size;
    font = FontCache::get(kFontPath, pointSize);
    edgeFont = nullptr;
    measuredFont = nullptr;
    outlined = true;
    return font != nullptr;
}

void Text::Create(int dy) {
    pos.x = Game::kHalfW - rect.w / 2;
    pos.y = Game::kHalfH - rect.h / 2 + dy;
    pos.w = 50;
    pos.h = 50;
    color = kMenuColor;
}

SDL_Rect Text::getPos(int dy) {
    SDL_Rect moved = pos;
    moved.y += dy;
    return moved;
}

SDL_Texture* Text::SetText(std::string base, int a, int b, int withB) {
    std::string s = base + std::to_string(a);
    if (withB != 0) {
        s += "/" + std::to_string(b);
    }
    return showLine(s);
}

SDL_Texture* Text::showLine(const std::string& s) {
    if (outlined) {
        if (kept == nullptr || s != keptLine) {
            renderOutlined(s);
        }
        return kept;
    }
    renderLine(s);
    if (textSurface != nullptr) {
        SDL_FreeSurface(textSurface);
        textSurface = nullptr;
    }
    return textTexture;
}

SDL_Texture* Text::PrintButton(std::string label) {
    if (textSurface != nullptr) {
        SDL_FreeSurface(textSurface);
        textSurface = nullptr;
    }
    renderLine(label);
    measure();
    if (textSurface != nullptr) {
        SDL_FreeSurface(textSurface);
        textSurface = nullptr;
    }
    return textTexture;
}

SDL_Texture* Text::showInput(std::string line) {
    renderLine(line);
    measure();
    return textTexture;
}

void Text::display(SDL_Texture* tex, SDL_Rect where) {
    if (tex != nullptr) {
        if (tex == kept) {
            // The letters stand where a plain line's would; their edge reaches past them.
            where.x -= kOutline;
            where.y -= kOutline;
        }
        SDL_QueryTexture(tex, nullptr, nullptr, &where.w, &where.h);
        SDL_RenderCopy(renderer, tex, nullptr, &where);
        markDrawn();
    }
    freeALL();
}

void Text::freeALL() {
    if (textSurface != nullptr) {
        SDL_FreeSurface(textSurface);
        textSurface = nullptr;
    }
    delText();
}

void Text::delText() {
    if (textTexture != nullptr && renderer != nullptr) {
        SDL_DestroyTexture(textTexture);
    }
    textTexture = nullptr;
}

void Text::renderLine(const std::string& s, bool shown) {
    // A texture still held from an earlier rendering is released first, so no pass leaks one.
    delText();
    if (textSurface != nullptr) {
        SDL_FreeSurface(textSurface);
        textSurface = nullptr;
    }
    if (font == nullptr || s.empty()) {
        return;
    }
    if (shown && onRender) {
        onRender(s);
    }
    // Names are typed as UTF-8, so "Élise" must render as typed.
    textSurface = TTF_RenderUTF8_Solid(font, s.c_str(), color);
    if (textSurface != nullptr && renderer != nullptr) {
        textTexture = SDL_CreateTextureFromSurface(renderer, textSurface);
    }
}

void Text::renderOutlined(const std::string& s) {
    releaseKept();
    if (font == nullptr || renderer == nullptr || s.empty()) {
        return;
    }
    if (edgeFont == nullptr) {
        // A font of its own, never the letters': changing a font's outline empties its glyph cache.
        edgeFont = FontCache::get(kFontPath, pointSize, kOutline);
        if (edgeFont == nullptr) {
            return;
        }
    }
    if (onRender) {
        onRender(s);
    }
    SDL_Surface* edge = TTF_RenderUTF8_Solid(edgeFont, s.c_str(), kOutlineColor);
    SDL_Surface* letters = TTF_RenderUTF8_Solid(font, s.c_str(), color);
    // The edge's transparent key becomes transparent alpha; the letters go on top.
    SDL_Surface* line = edge != nullptr ? SDL_ConvertSurfaceFormat(edge, SDL_PIXELFORMAT_ARGB8888, 0) : nullptr;
    if (line != nullptr && letters != nullptr) {
        SDL_Rect at{kOutline, kOutline, letters->w, letters->h};
        SDL_BlitSurface(letters, nullptr, line, &at);
        kept = SDL_CreateTextureFromSurface(renderer, line);
        keptLine = s;
    }
    SDL_FreeSurface(line);
    SDL_FreeSurface(letters);
    SDL_FreeSurface(edge);
}

void Text::releaseKept() {
    if (kept != nullptr && renderer != nullptr) {
        SDL_DestroyTexture(kept);
    }
    kept = nullptr;
    keptLine.clear();
}

SDL_Texture* Text::lineTexture(SDL_Renderer* renderer, TTF_Font* font, const std::string& text, SDL_Color colour) {
    if (font == nullptr || renderer == nullptr || text.empty()) {
        return nullptr;
    }
    if (onRender) {
        onRender(text);
    }
    SDL_Surface* letters = TTF_RenderUTF8_Solid(font, text.c_str(), colour);
    SDL_Surface* surface =
        letters != nullptr ? SDL_ConvertSurfaceFormat(letters, SDL_PIXELFORMAT_ARGB8888, 0) : nullptr;
    SDL_FreeSurface(letters);
    if (surface == nullptr) {
        return nullptr;
    }
    // The clear pixels took the key colour (the ink's opposite): give them the ink's, alpha 0.
    const Uint32 ink = SDL_MapRGBA(surface->format, colour.r, colour.g, colour.b, 0);
    const Uint32 alphaBits = surface->format->Amask;
    for (int y = 0; y < surface->h; ++y) {
        Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(surface->pixels) + y * surface->pitch);
        for (int x = 0; x < surface->w; ++x) {
            row[x] = (row[x] & alphaBits) | ink;
        }
    }
    SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer, surface);
    SDL_FreeSurface(surface);
    return texture;
}

int Text::drawLine(SDL_Renderer* renderer, TTF_Font* font, const std::string& text, int x, int y, bool centred,
                   SDL_Color colour) {
    SDL_Texture* texture = lineTexture(renderer, font, text, colour);
    if (texture == nullptr) {
        return 0;
    }
    int w = 0;
    int h = 0;
    SDL_QueryTexture(texture, nullptr, nullptr, &w, &h);
    const SDL_Rect at{centred ? x - w / 2 : x, y, w, h};
    fitToWindow(renderer, texture);
    SDL_RenderCopy(renderer, texture, nullptr, &at);
    SDL_DestroyTexture(texture);
    return w;
}

void Text::fitToWindow(SDL_Renderer* renderer, SDL_Texture* texture, float magnified) {
    if (renderer == nullptr || texture == nullptr) {
        return;
    }
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    SDL_RenderGetScale(renderer, &scaleX, &scaleY);
    const bool shrunk = std::min(scaleX, scaleY) * magnified < 1.0f;
    const SDL_ScaleMode wanted = shrunk ? SDL_ScaleModeLinear : SDL_ScaleModeNearest;
    SDL_ScaleMode now = SDL_ScaleModeNearest;
    if (SDL_GetTextureScaleMode(texture, &now) != 0 || now != wanted) {
        SDL_SetTextureScaleMode(texture, wanted);
    }
}

int Text::widthOf(const std::string& s) const {
    if (font != nullptr && font == measuredFont && s == measuredLine) {
        return measuredW;
    }
    int w = 0;
    if (font == nullptr || TTF_SizeUTF8(font, s.c_str(), &w, nullptr) != 0) {
        return 0;
    }
    measuredFont = font;
    measuredLine = s;
    measuredW = w;
    return w;
}

void Text::drawCursor(const std::string& s, SDL_Rect where) {
    if (font == nullptr || renderer == nullptr) {
        return;
    }
    // The bar spans the letters' height, not the line's spacing above and below them.
    const int height = TTF_FontHeight(font);
    const SDL_Rect bar{where.x + widthOf(s) + kCursorGap, where.y + height / 6, kCursorWidth, height * 2 / 3};
    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_GetRenderDrawColor(renderer, &r, &g, &b, &a);
    // Opaque like the letters, which solid rendering draws without the colour's alpha.
    SDL_SetRenderDrawColor(renderer, color.r, color.g, color.b, SDL_ALPHA_OPAQUE);
    SDL_RenderFillRect(renderer, &bar);
    SDL_SetRenderDrawColor(renderer, r, g, b, a);
    markDrawn();
}

void Text::measure() {
    if (textTexture != nullptr) {
        SDL_QueryTexture(textTexture, nullptr, nullptr, &rect.w, &rect.h);
    }
}

void Text::showScore(const std::string& playersPath) {
    pos.x = 20;
    std::string error;
    Player::forEachRecord(
        playersPath,
        [&](const unsigned char* bytes) {
            const PlayerRecord record = PlayerRecord::decode(bytes);
            std::cout << "\n" << record.score << "\n" << record.name;
            pos.y += 50;
        },
        error);
    std::cout << "  \n";
}
