#include "present/LevelBanner.h"

#include "present/Texts.h"

#include <algorithm>

void LevelBanner::open() {
    if (text.openAt(kPointSize)) {
        text.color = kInk;
    }
    if (noteText.openAt(kNotePointSize)) {
        noteText.color = kInk;
    }
}

void LevelBanner::announce(int shown, const std::string& under) {
    level = shown;
    note = under;
    since = now;
}

Uint8 LevelBanner::alpha() const {
    if (!showing()) {
        return 0;
    }
    const long age = now - since;
    const long left = kShownFrames - age;
    const long in = 255L * (age + 1) / kFadeInFrames;
    const long out = 255L * left / kFadeOutFrames;
    return static_cast<Uint8>(std::clamp(std::min(in, out), 0L, 255L));
}

void LevelBanner::draw(SDL_Renderer* renderer) {
    if (!showing() || renderer == nullptr) {
        return;
    }
    SDL_Texture* line = text.showLine(Texts::format(Texts::Id::LevelBanner, {std::to_string(level)}));
    if (line == nullptr) {
        return;
    }
    int w = 0;
    int h = 0;
    SDL_QueryTexture(line, nullptr, nullptr, &w, &h);
    SDL_SetTextureAlphaMod(line, alpha());
    text.display(line, SDL_Rect{(Render::kPicture.w - w) / 2 + Text::kOutline, kTop, 0, 0});
    SDL_Texture* under = note.empty() ? nullptr : noteText.showLine(note);
    if (under != nullptr) {
        SDL_QueryTexture(under, nullptr, nullptr, &w, nullptr);
        SDL_SetTextureAlphaMod(under, alpha());
        noteText.display(under, SDL_Rect{(Render::kPicture.w - w) / 2 + Text::kOutline, kTop + h + kNoteGap, 0, 0});
    }
}
