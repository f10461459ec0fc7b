#include "present/LetterGrid.h"

#include "present/Text.h"

#include <cstring>

namespace {

constexpr SDL_Color kInk{255, 236, 200, 255};  // as the other panels
constexpr SDL_Color kPanelColour{40, 24, 16, 235};
constexpr SDL_Color kChosenColour{110, 70, 40, 255};
constexpr int kGridTop = LetterGrid::kPanel.y + 110;
constexpr int kGridLeft = LetterGrid::kPanel.x + 24;
constexpr int kCells = LetterGrid::kColumns * LetterGrid::kRows;

bool padPress(const SDL_Event& event, SDL_GameControllerButton button) {
    return event.type == SDL_CONTROLLERBUTTONDOWN && event.cbutton.button == button;
}

bool keyPress(const SDL_Event& event, SDL_Keycode key) {
    return event.type == SDL_KEYDOWN && event.key.keysym.sym == key;
}

}  // namespace

void LetterGrid::open(TTF_Font* textFont, TTF_Font* small) {
    font = textFont;
    smallFont = small;
    cell = 0;
    leaving = false;
}

std::string LetterGrid::labelOf(int at) {
    if (at == kSpaceCell) {
        return "Space";
    }
    if (at == kEraseCell) {
        return "Del";
    }
    if (at == kDoneCell) {
        return "OK";
    }
    return std::string(1, kLetters[at]);
}

void LetterGrid::move(int dx, int dy) {
    const int column = (cell % kColumns + dx + kColumns) % kColumns;
    const int row = (cell / kColumns + dy + kRows) % kRows;
    cell = row * kColumns + column;
}

void LetterGrid::act() {
    if (cell == kDoneCell) {
        leaving = true;
    } else if (cell == kEraseCell) {
        erase();
    } else {
        type(cell == kSpaceCell ? " " : labelOf(cell));
    }
}

int LetterGrid::cellAt(int x, int y) const {
    if (x < kGridLeft || y < kGridTop || x >= kGridLeft + kColumns * kCell || y >= kGridTop + kRows * kCell) {
        return -1;
    }
    return (y - kGridTop) / kCell * kColumns + (x - kGridLeft) / kCell;
}

void LetterGrid::take(const SDL_Event& event) {
    if (leaving) {
        return;
    }
    if (event.type == SDL_QUIT || keyPress(event, SDLK_ESCAPE) || padPress(event, SDL_CONTROLLER_BUTTON_START)) {
        leaving = true;  // a close is the menu's to heed, as it always was
    } else if (keyPress(event, SDLK_LEFT) || padPress(event, SDL_CONTROLLER_BUTTON_DPAD_LEFT)) {
        move(-1, 0);
    } else if (keyPress(event, SDLK_RIGHT) || padPress(event, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) {
        move(1, 0);
    } else if (keyPress(event, SDLK_UP) || padPress(event, SDL_CONTROLLER_BUTTON_DPAD_UP)) {
        move(0, -1);
    } else if (keyPress(event, SDLK_DOWN) || padPress(event, SDL_CONTROLLER_BUTTON_DPAD_DOWN)) {
        move(0, 1);
    } else if ((keyPress(event, SDLK_RETURN) && event.key.repeat == 0) || padPress(event, SDL_CONTROLLER_BUTTON_A)) {
        act();
    } else if (keyPress(event, SDLK_BACKSPACE) || padPress(event, SDL_CONTROLLER_BUTTON_B)) {
        if (name().empty() && event.type == SDL_CONTROLLERBUTTONDOWN) {
            leaving = true;  // B with nothing to take back goes back
        } else {
            erase();
        }
    } else if (event.type == SDL_TEXTINPUT) {
        type(event.text.text);  // a keyboard at hand types as on the menu
    } else if (event.type == SDL_MOUSEMOTION) {
        const int at = cellAt(event.motion.x, event.motion.y);
        cell = at >= 0 ? at : cell;
    } else if (event.type == SDL_MOUSEBUTTONDOWN && cellAt(event.button.x, event.button.y) >= 0) {
        cell = cellAt(event.button.x, event.button.y);
        act();
    }
}

void LetterGrid::draw(SDL_Renderer* renderer) const {
    if (backdrop) {
        backdrop(renderer);
    }
    SDL_BlendMode mode = SDL_BLENDMODE_NONE;
    SDL_GetRenderDrawBlendMode(renderer, &mode);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(renderer, kPanelColour.r, kPanelColour.g, kPanelColour.b, kPanelColour.a);
    SDL_RenderFillRect(renderer, &kPanel);
    const SDL_Rect bar{kGridLeft + cell % kColumns * kCell, kGridTop + cell / kColumns * kCell, kCell, kCell};
    SDL_SetRenderDrawColor(renderer, kChosenColour.r, kChosenColour.g, kChosenColour.b, kChosenColour.a);
    SDL_RenderFillRect(renderer, &bar);
    SDL_SetRenderDrawBlendMode(renderer, mode);

    const int centre = kPanel.x + kPanel.w / 2;
    Text::drawLine(renderer, smallFont, "YOUR NAME", centre, kPanel.y + 20, true, kInk);
    const std::string now = name();
    Text::drawLine(renderer, font, now.empty() ? "_" : now + "_", centre, kPanel.y + 50, true, kInk);
    for (int at = 0; at < kCells; ++at) {
        const int x = kGridLeft + at % kColumns * kCell + kCell / 2;
        const int y = kGridTop + at / kColumns * kCell;
        const bool word = at >= kSpaceCell;
        Text::drawLine(renderer, word ? smallFont : font, labelOf(at), x, y + (word ? 18 : 10), true, kInk);
    }
    Text::drawLine(renderer, smallFont, kHint, centre, kPanel.y + kPanel.h - 36, true, kInk);
}
