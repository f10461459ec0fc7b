#include "present/Button.h"

#include "present/Render.h"

#include <iostream>

int Button::checkIs = 1;
int Button::flag = 1;
int Button::flagText = 0;

namespace {

bool isContinuationByte(unsigned char c) { return (c & 0xC0) == 0x80; }

// Length of the longest prefix of s, at most limit bytes, that ends on a character boundary.
std::size_t prefixOnBoundary(const std::string& s, std::size_t limit) {
    if (s.size() <= limit) {
        return s.size();
    }
    std::size_t cut = limit;
    while (cut > 0 && isContinuationByte(static_cast<unsigned char>(s[cut]))) {
        --cut;
    }
    return cut;
}

}  // namespace

Button::Button() : inputText("") {}

bool Button::isOnLoc(SDL_Rect at, SDL_Rect size, int x, int y) {
    return at.x <= x && x <= at.x + size.w && at.y <= y && y <= at.y + size.h;
}

void Button::appendText(const std::string& typed) {
    if (inputText.size() >= kMaxNameBytes) {
        return;
    }
    const std::string allowed = typed.substr(0, prefixOnBoundary(typed, kMaxNameBytes - inputText.size()));
    if (!fits) {
        inputText += allowed;
        return;
    }
    for (std::size_t i = 0; i < allowed.size();) {
        std::size_t next = i + 1;
        while (next < allowed.size() && isContinuationByte(static_cast<unsigned char>(allowed[next]))) {
            ++next;
        }
        std::string longer = inputText + allowed.substr(i, next - i);
        if (!fits(longer)) {
            return;
        }
        inputText = std::move(longer);
        i = next;
    }
}

void Button::eraseLastCharacter() {
    if (inputText.empty()) {
        return;
    }
    std::size_t cut = inputText.size() - 1;
    while (cut > 0 && isContinuationByte(static_cast<unsigned char>(inputText[cut]))) {
        --cut;
    }
    inputText.erase(cut);
}

std::string Button::clickOn(std::vector<SDL_Rect> positions, std::vector<SDL_Rect> sizes) {
    SDL_Event event;
    if (SDL_PollEvent(&event) != 0) {
        switch (event.type) {
        case SDL_QUIT:
            Render::isRunning = false;
            checkIs = 0;
            std::cout << "pcchemu";
            break;
        case SDL_KEYDOWN:
            if (event.key.keysym.sym == SDLK_BACKSPACE) {
                eraseLastCharacter();
                return inputText;
            }
            break;
        case SDL_TEXTINPUT:
            flagText = 1;
            appendText(event.text.text);
            return inputText;
        case SDL_MOUSEBUTTONDOWN: {
            if (positions.size() <= kResumeEntry || sizes.size() <= kResumeEntry) {
                break;  // no items laid out yet: nothing to hit
            }
            const int x = event.button.x;
            const int y = event.button.y;
            if (isOnLoc(positions[kNewGameEntry], sizes[kNewGameEntry], x, y)) {
                std::cout << "huy";
                checkIs = 0;
            }
            if (isOnLoc(positions[kResumeEntry], sizes[kResumeEntry], x, y)) {
                flag = kResumePending;
                std::cout << flag;
                checkIs = 0;
            }
            if (isOnLoc(positions[kReplayEntry], sizes[kReplayEntry], x, y)) {
                std::cout << "replay" << flag;
                flag = kReplayPending;
                std::cout << flag;
                checkIs = 0;
            }
            // SCORE BOARD chooses no run mode; it only shows or hides the best runs.
            if (positions.size() > kScoreBoardEntry && sizes.size() > kScoreBoardEntry &&
                isOnLoc(positions[kScoreBoardEntry], sizes[kScoreBoardEntry], x, y)) {
                showScores = !showScores;
            }
            break;
        }
        default:
            break;
        }
    }
    if (flagText == 0) {
        return kPrompt;
    }
    return inputText;
}

std::string Button::getInputText() { return inputText; }
