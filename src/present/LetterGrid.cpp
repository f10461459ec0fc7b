#include "present/LetterGrid.h"

#include "input/PanelKeys.h"
#include "present/ChoicePanel.h"
#include "present/Text.h"

#include <cstring>

namespace {

constexpr int kGridTop = LetterGrid::kPanel.y + 110;
constexpr int kGridLeft = LetterGrid::kPanel.x + 24;
constexpr int kCells = LetterGrid::kColumns * LetterGrid::kRows;

}  // namespace

void LetterGrid::open(Button& name, TTF_Font* textFont, TTF_Font* small) {
    button = &name;
    bindings = name.bindings;  // the menu's keys are the grid's
    font = textFont;
    smallFont = small;
    cell = 0;
    leaving = false;
}

std::string LetterGrid::labelOf(int at) {
    if (at == kSpaceCell) {
        return Texts::text(Texts::Id::GridSpace);
    }
    if (at == kEraseCell) {
        return Texts::text(Texts::Id::GridErase);
    }
    if (at == kDoneCell) {
        return Texts::text(Texts::Id::GridDone);
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
        button->takeOffered();  // OK on an empty name takes the one offered
        leaving = true;
    } else if (cell == kEraseCell) {
        button->eraseLastCharacter();
    } else {
        button->type(cell == kSpaceCell ? " " : labelOf(cell));
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
    using Command = KeyBindings::Command;
    // Escape (back) or the pad's Start (pause) leave; B erases. Moving and erasing take the
    // desktop's repeats, typing a letter a fresh press.
    const Command command = keys().commandOf(event, KeyBindings::Place::Letters);
    if (command == Command::Pause && PanelKeys::fresh(event)) {
        button->takeOffered();  // Start is done, as OK is
        leaving = true;
    } else if (event.type == SDL_QUIT || command == Command::Back || command == Command::Pause) {
        leaving = true;  // a close is the menu's to heed, as it always was
    } else if (command == Command::MenuLeft) {
        move(-1, 0);
    } else if (command == Command::MenuRight) {
        move(1, 0);
    } else if (command == Command::MenuUp) {
        move(0, -1);
    } else if (command == Command::MenuDown) {
        move(0, 1);
    } else if (command == Command::Confirm) {
        if (PanelKeys::fresh(event)) {
            act();
        }
    } else if (command == Command::Erase) {
        if (button->getInputText().empty() && event.type == SDL_CONTROLLERBUTTONDOWN) {
            leaving = true;  // B with nothing to take back goes back
        } else {
            button->eraseLastCharacter();
        }
    } else if (event.type == SDL_TEXTINPUT) {
        button->type(event.text.text);  // a keyboard at hand types as on the menu
    } else if (event.type == SDL_MOUSEMOTION) {
        const int at = cellAt(event.motion.x, event.motion.y);
        cell = at >= 0 ? at : cell;
    } else if (event.type == SDL_MOUSEBUTTONDOWN && cellAt(event.button.x, event.button.y) >= 0) {
        cell = cellAt(event.button.x, event.button.y);
        act();
    }
}

void LetterGrid::draw(SDL_Renderer* renderer) const {
    const SDL_Rect bar{kGridLeft + cell % kColumns * kCell, kGridTop + cell / kColumns * kCell, kCell, kCell};
    ChoicePanel::drawBoxes(renderer, kPanel, bar);

    const int centre = kPanel.x + kPanel.w / 2;
    Text::drawLine(renderer, smallFont, Texts::text(Texts::Id::GridTitle), centre, kPanel.y + 20, true,
                   ChoicePanel::kInk);
    const std::string now = button->getInputText();
    if (button->offering()) {
        // The name offered, faint: OK or Start takes it, a letter starts another.
        SDL_Texture* faint = Text::lineTexture(renderer, font, button->offered, ChoicePanel::kInk);
        int w = 0;
        int h = 0;
        if (faint != nullptr && SDL_QueryTexture(faint, nullptr, nullptr, &w, &h) == 0) {
            SDL_SetTextureAlphaMod(faint, kOfferedAlpha);
            const SDL_Rect at{centre - w / 2, kPanel.y + 50, w, h};
            Text::fitToWindow(renderer, faint);
            SDL_RenderCopy(renderer, faint, nullptr, &at);
        }
        SDL_DestroyTexture(faint);
    } else {
        Text::drawLine(renderer, font, Texts::format(Texts::Id::GridName, {now}), centre, kPanel.y + 50, true,
                       ChoicePanel::kInk);
    }
    for (int at = 0; at < kCells; ++at) {
        const int x = kGridLeft + at % kColumns * kCell + kCell / 2;
        const int y = kGridTop + at / kColumns * kCell;
        const bool word = at >= kSpaceCell;
        Text::drawLine(renderer, word ? smallFont : font, labelOf(at), x, y + (word ? 18 : 10), true,
                       ChoicePanel::kInk);
    }
    Text::drawLine(renderer, smallFont, kHint, centre, kPanel.y + kPanel.h - 36, true, ChoicePanel::kInk);
}
