#pragma once

#include "input/KeyBindings.h"
#include "present/ChoicePanel.h"
#include "present/Render.h"
#include "present/Screen.h"
#include "present/Texts.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <functional>
#include <string>
#include <vector>

// The options: one row a setting, a value chosen with the keyboard (Up/Down, Left/Right, Enter:
// the player's menu keys), the mouse (point, click, wheel) or the pad (D-pad, A), and Back
// (Escape, pad B, the last row).
// What a row changes is its owner's: the screen only calls set, then changed. The panel grows
// with its rows, centred under the menu's title; rows beyond what the picture holds scroll with the choice.
class OptionsScreen : public Screen {
public:
    static constexpr int kWidth = 640;
    static constexpr int kLeft = (Render::kPicture.w - kWidth) / 2;
    static constexpr int kRowHeight = 56;
    static constexpr int kPadding = 24;
    static constexpr int kHead = kPadding + kRowHeight;  // above the first row: the title
    static constexpr int kFoot = 68;                     // below the last line: the hint
    // Lines (rows and Back) the panel shows at most, between the menu's title and the picture's
    // foot; more scroll.
    static constexpr int kMaxLines = (ChoicePanel::kBottom - ChoicePanel::kTop - kHead - kFoot) / kRowHeight;
    static constexpr Texts::Ref kTitle{Texts::Id::OptionsTitle};
    static constexpr Texts::Ref kBack{Texts::Id::OptionsBack};
    static constexpr Texts::Ref kHint{Texts::Id::OptionsHint};

    struct Row {
        std::string label;  // the English the player reads: "Music volume", shown as Texts has it
        int low = 0;        // a switch is 0 (off) to 1 (on)
        int high = 1;
        bool isSwitch = true;                             // shown as on or off rather than a number
        std::function<int()> get;                         // the value now
        std::function<void(int)> set;                     // takes a value within low to high
        std::function<std::unique_ptr<Screen>()> screen;  // set for a row that opens a screen of its own instead
        std::function<std::string(int)> named;            // set for a choice: the name a value shows
        std::vector<int> steps = {};  // the only values taken, stepped through in order; empty: low to high
        bool percent = false;         // the value is a share, shown as "75%"
    };

    // The panel's title: the options, or a part of them shown on a panel of its own.
    Texts::Id title = Texts::Id::OptionsTitle;

    // Called after a row's value changed (the row's index), so its owner applies it.
    std::function<void(std::size_t)> changed;
    // Called once when the screen closes, so its owner keeps what changed on it.
    std::function<void()> closed;
    // The player's keys, read as they change; the defaults when unset.
    const KeyBindings* bindings = nullptr;

    // Opens with the first row chosen; the fonts are the caller's and outlive the screen's use.
    void open(TTF_Font* font, TTF_Font* smallFont, std::vector<Row> rows);

    void take(const SDL_Event& event) override;
    void draw(SDL_Renderer* renderer) const override;
    bool isPanel() const override { return true; }
    bool done() const override { return leaving; }
    // The screen of the row just chosen (Controls), once.
    std::unique_ptr<Screen> opens() override;
    std::size_t chosen() const { return selected; }
    // The text a row's value shows: "7", "on", "off", "Deutsch".
    std::string valueOf(std::size_t row) const;
    // The row labelled so, in English or as shown (Back is rows.size()), or rows.size() + 1 for none.
    std::size_t rowNamed(const std::string& label) const;
    std::size_t lines() const { return rows.size() + 1; }

    // Where things stand in the picture for the rows open now.
    SDL_Rect panel() const;
    // A row's (or Back's) band, where its line is drawn and a click takes it; empty while it is
    // scrolled out of view.
    SDL_Rect lineArea(std::size_t line) const;
    int hintY() const;  // the top of the hint's line

private:
    static constexpr int kSmallDrop = 8;  // a line in the small font sits this much lower, on the row's middle

    // One event, as take() has it.
    void takeOne(const SDL_Event& event);
    // The row under a point of the picture, or rows.size() + 1 for none (Back is rows.size()).
    std::size_t rowAt(int x, int y) const;
    std::size_t shownLines() const;
    // A row's label at the left and its value at the right of the panel, each made smaller when
    // the two would meet.
    void drawRow(SDL_Renderer* renderer, const std::string& label, const std::string& value, const SDL_Rect& box,
                 int y) const;
    static int widthIn(TTF_Font* font, const std::string& text);
    // Scrolls so the chosen line is in view.
    void follow();
    // Moves the chosen row's value by steps (a switch flips), within its range.
    void change(int steps);
    void activate();

    std::vector<Row> rows;
    const KeyBindings& keys() const { return bindings != nullptr ? *bindings : KeyBindings::defaults(); }

    std::size_t selected = 0;  // rows.size() is Back
    std::size_t first = 0;     // the line shown at the top
    bool leaving = false;
    std::unique_ptr<Screen> opening;  // a row's screen, handed to the loop on its next pass
    TTF_Font* font = nullptr;
    TTF_Font* smallFont = nullptr;
};
