#pragma once

#include "present/Screen.h"
#include "present/Texts.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <functional>
#include <string>
#include <vector>

// The options: one row a setting, a value chosen with the keyboard (Up/Down, Left/Right, Enter),
// the mouse (point, click, wheel) or the pad (D-pad, A), and Back (Escape, pad B, the last row).
// What a row changes is its owner's: the screen only calls set, then changed.
class OptionsScreen : public Screen {
public:
    static constexpr SDL_Rect kPanel{220, 90, 640, 540};  // in the 1080 by 720 picture
    static constexpr int kRowHeight = 56;
    static constexpr Texts::Ref kTitle{Texts::Id::OptionsTitle};
    static constexpr Texts::Ref kBack{Texts::Id::OptionsBack};
    static constexpr Texts::Ref kHint{Texts::Id::OptionsHint};

    struct Row {
        std::string label;  // what the player reads: "Music volume"
        int low = 0;        // a switch is 0 (off) to 1 (on)
        int high = 1;
        bool isSwitch = true;             // shown as on or off rather than a number
        std::function<int()> get;         // the value now
        std::function<void(int)> set;     // takes a value within low to high
        std::function<Screen*()> screen;  // set for a row that opens a screen of its own instead
    };

    // Called after a row's value changed (the row's index), so its owner applies and keeps it.
    std::function<void(std::size_t)> changed;
    // Draws what the panel stands over (the menu, the paused game); nothing when unset.
    std::function<void(SDL_Renderer*)> backdrop;

    // Opens with the first row chosen; the fonts are the caller's and outlive the screen's use.
    void open(TTF_Font* font, TTF_Font* smallFont, std::vector<Row> rows);

    void take(const SDL_Event& event) override;
    void draw(SDL_Renderer* renderer) const override;
    bool done() const override { return leaving; }
    // The screen of the row just chosen (Controls), once.
    Screen* opens() override;
    std::size_t chosen() const { return selected; }
    // The text a row's value shows: "7", "on", "off".
    std::string valueOf(std::size_t row) const;

private:
    // The row under a point of the picture, or rows.size() + 1 for none (Back is rows.size()).
    std::size_t rowAt(int x, int y) const;
    // Moves the chosen row's value by steps (a switch flips), within its range.
    void change(int steps);
    void activate();

    std::vector<Row> rows;
    std::size_t selected = 0;  // rows.size() is Back
    bool leaving = false;
    Screen* opening = nullptr;  // a row's screen, handed to the loop on its next pass
    TTF_Font* font = nullptr;
    TTF_Font* smallFont = nullptr;
};
