#pragma once

#include "present/LetterGrid.h"
#include "present/Screen.h"

#include <memory>

class Shell;

// The menu that chooses one run, a screen that drives itself: each pass draws the menu and lets the
// menu's button take one event. The letter grid and the options it opens stand over its picture,
// on the loop. Made with the run it chooses, so each run's menu starts afresh (NEW GAME focused,
// the board closed, nothing drawn yet); the name typed and the menu's texts are the process's.
class MenuScreen : public Screen {
public:
    // `first`: the process's first menu.
    MenuScreen(Shell& shell, bool first);
    MenuScreen(const MenuScreen&) = delete;
    MenuScreen& operator=(const MenuScreen&) = delete;

    bool drivesItself() const override { return true; }
    // One pass of the menu; the phase ends at the start of the pass after the one that chose.
    void step() override;
    bool done() const override;
    // The letter grid (pad Y) or the options, asked in the last pass; the input that asked for
    // them is not theirs.
    std::unique_ptr<Screen> opens() override;
    // The menu's picture, under the letter grid and the options.
    void draw(SDL_Renderer* renderer) const override;
    // A close while the grid or the options stood over the menu: the menu ends on it as it always
    // does, in its next pass.
    void take(const SDL_Event& event) override;
    // Back from the grid or the options: what was pressed to leave them is not the menu's, and
    // the menu's picture is made anew (the name in it).
    void uncovered(const Screen& gone) override;

    // A letter grid bound to the menu's name.
    std::unique_ptr<LetterGrid> makeLetterGrid();

private:
    Shell& shell;
};
