#pragma once

#include "present/LetterGrid.h"
#include "present/Screen.h"

#include <memory>

class Shell;

// The menu that chooses one run: its passes, and the letter grid and the options it opens over
// its picture. Made with the run it chooses, so each run's menu starts afresh (NEW GAME focused,
// the board closed, nothing drawn yet); the name typed and the menu's texts are the process's.
class MenuScreen {
public:
    // `first`: the process's first menu.
    MenuScreen(Shell& shell, bool first);
    MenuScreen(const MenuScreen&) = delete;
    MenuScreen& operator=(const MenuScreen&) = delete;

    // One pass of the menu; false once the menu phase has ended.
    bool pass();
    // A letter grid bound to the menu's name.
    std::unique_ptr<LetterGrid> makeLetterGrid();
    // A screen over the menu's picture until it is done, with the input before and after it
    // flushed; a close during it is handed on to the menu.
    void runOver(std::unique_ptr<Screen> screen);

private:
    Shell& shell;
};
