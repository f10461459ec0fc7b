#pragma once

#include "present/Button.h"
#include "present/Screen.h"
#include "present/Texts.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <functional>
#include <string>

// A name typed with a pad alone: a grid of letters and digits in the menu's style. The D-pad (or
// the arrows) moves over it, A (or Enter, or a click) types the letter chosen, B (or Backspace)
// takes the last one back; OK or Start returns to the menu, as does B on an empty name and Escape.
class LetterGrid : public Screen {
public:
    static constexpr int kColumns = 10;
    static constexpr int kRows = 4;
    static constexpr int kCell = 52;  // a cell's side, in the 1080 by 720 picture
    static constexpr SDL_Rect kPanel{(1080 - kColumns * kCell - 48) / 2, 150, kColumns* kCell + 48,
                                     120 + kRows* kCell + 60};
    // The cells, row by row; the last row ends with a blank, taking back, and leaving.
    static constexpr const char* kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-";
    static constexpr int kSpaceCell = 37;
    static constexpr int kEraseCell = 38;
    static constexpr int kDoneCell = 39;
    static constexpr Texts::Ref kHint{Texts::Id::GridHint};
    static constexpr Uint8 kOfferedAlpha = 90;  // the name last played, offered on an empty name

    // Opens on A, typing into the menu's name; the fonts are the caller's.
    void open(Button& name, TTF_Font* font, TTF_Font* smallFont);
    void take(const SDL_Event& event) override;
    void draw(SDL_Renderer* renderer) const override;
    bool isPanel() const override { return true; }
    bool done() const override { return leaving; }
    int chosen() const { return cell; }
    // The player's keys, as they change; the defaults when unset. Open takes the menu's.
    const KeyBindings* bindings = nullptr;
    // What a cell shows: a letter, or "Space", "Del", "OK".
    static std::string labelOf(int cell);

private:
    void act();
    void move(int dx, int dy);
    int cellAt(int x, int y) const;

    const KeyBindings& keys() const { return bindings != nullptr ? *bindings : KeyBindings::defaults(); }

    Button* button = nullptr;  // whose name it types
    int cell = 0;
    bool leaving = false;
    TTF_Font* font = nullptr;
    TTF_Font* smallFont = nullptr;
};
