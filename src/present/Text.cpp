#include "present/Text.h"

#include "present/Game.h"
#include "persist/Player.h"

#include <iostream>

Text::Text() {
    if (TTF_Init() < 0) {
        std::cout << SDL_GetError();
    }
}

Text::~Text() {
    freeALL();
    if (font != nullptr) {
        TTF_CloseFont(font);
    }
}

void Text::init() {
    if (TTF_Init() < 0) {
        std::cout << SDL_GetError() << "sdfafasdf";
    }
    rect = SDL_Rect{0, 0, 0, 0};
    pos = SDL_Rect{20, 20, 0, 0};
    if (font != nullptr) {
        TTF_CloseFont(font);  // a second init must not leak the first handle
    }
    font = TTF_OpenFont(kFontPath, kPointSize);
    if (font == nullptr) {
        std::cout << "asdfsdafd";
    }
    if (renderer == nullptr) {
        std::cout << "Render fail" << std::endl;
    }
    color = kHudColor;
    freeALL();
    renderLine("SMTH WROTE");
    measure();
    if (textSurface != nullptr) {
        SDL_FreeSurface(textSurface);
        textSurface = nullptr;
    }
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

void Text::renderLine(const std::string& s) {
    // A texture still held from an earlier rendering is released first, so no pass leaks one.
    delText();
    if (textSurface != nullptr) {
        SDL_FreeSurface(textSurface);
        textSurface = nullptr;
    }
    if (font == nullptr || s.empty()) {
        return;
    }
    // Names are typed as UTF-8, so "Élise" must render as typed.
    textSurface = TTF_RenderUTF8_Solid(font, s.c_str(), color);
    if (textSurface != nullptr && renderer != nullptr) {
        textTexture = SDL_CreateTextureFromSurface(renderer, textSurface);
    }
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
