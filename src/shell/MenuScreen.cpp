#include "shell/MenuScreen.h"

#include "present/MenuBackdrop.h"
#include "present/OptionRows.h"
#include "shell/Shell.h"

MenuScreen::MenuScreen(Shell& shell, bool first) : shell(shell) {
    button->startMenu(first);
    shell.mainMenu.reset();
}

bool MenuScreen::pass() {
    MenuPhase& phase = shell.mainMenu;
    if (Button::checkIs == 0) {
        phase.open = false;
    }
    if (!phase.open) {
        return false;
    }
    game->applyWindowKeys(shell.input);
    phase.pass(*menu, *button, shell.sound, shell.screens.pumpInput());
    if (phase.padHint != shell.device.padLast()) {
        phase.padHint = shell.device.padLast();
        phase.reset();  // drawn anew, with the hint or without it
    }
    shell.keeper.keepToggles(*game, false);
    if (button->nameAsked) {
        button->nameAsked = false;
        runOver(makeLetterGrid());
        phase.reset();  // the menu's picture is made anew, the name in it
    }
    if (button->optionsAsked) {
        button->optionsAsked = false;
        runOver(OptionRows::screen(shell.services));
        phase.reset();  // the menu's picture is made anew
    }
    shell.pacer.endPass();
    return true;
}

std::unique_ptr<LetterGrid> MenuScreen::makeLetterGrid() {
    auto letters = std::make_unique<LetterGrid>();
    letters->open(*button, shell.services.font, shell.services.smallFont);
    return letters;
}

void MenuScreen::runOver(std::unique_ptr<Screen> screen) {
    shell.screens.flushInput();  // the click or key that opened it is not its own
    MenuBackdrop under(*menu);
    shell.screens.run(under, std::move(screen));
    shell.screens.flushInput();  // nor is the Escape that closed it the menu's
    if (shell.screens.closed()) {
        // The menu ends on a close as it always does: the close is handed back to it.
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        shell.input.handOn(quit);
    }
}
