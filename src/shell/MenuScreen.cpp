#include "shell/MenuScreen.h"

#include "present/OptionRows.h"
#include "shell/Shell.h"
#include "shell/WatchScreen.h"

MenuScreen::MenuScreen(Shell& shell, bool first) : shell(shell) {
    button->startMenu(first);
    shell.mainMenu.resumeNote.reset();  // a refusal is told on the menu it was chosen on
    shell.mainMenu.reset();
}

void MenuScreen::step() {
    MenuPhase& phase = shell.mainMenu;
    if (Button::checkIs == 0) {
        phase.open = false;
    }
    if (!phase.open) {
        return;
    }
    game->applyWindowKeys(shell.input);
    phase.pass(*menu, *button, shell.sound, shell.screens.pumpInput());
    if (phase.padHint != shell.device.padLast()) {
        phase.padHint = shell.device.padLast();
        phase.reset();  // drawn anew, with the hint or without it
    }
    shell.keeper.keepToggles(*game, false);
}

bool MenuScreen::done() const { return !shell.mainMenu.open; }

std::unique_ptr<Screen> MenuScreen::opens() {
    std::unique_ptr<Screen> over;
    if (button->nameAsked) {
        button->nameAsked = false;
        over = makeLetterGrid();
    } else if (!shell.mainMenu.watchAsked.empty()) {
        over = std::make_unique<WatchScreen>(shell, shell.mainMenu.watchAsked, Sound::Tune::Menu);
        shell.mainMenu.watchAsked.clear();
    } else if (button->optionsAsked) {
        button->optionsAsked = false;
        over = OptionRows::screen(shell.services);
    }
    if (over != nullptr) {
        shell.screens.flushInput();  // the click or key that opened it is not its own
    }
    return over;
}

void MenuScreen::draw(SDL_Renderer*) const { menu->copyTex(menu->getPos(), menu->getRect()); }

void MenuScreen::take(const SDL_Event& event) {
    if (event.type == SDL_QUIT) {
        uncovered(*this);
        shell.input.handOn(event);  // the next pass's button takes it, as any close on the menu
    }
}

void MenuScreen::uncovered(const Screen&) {
    shell.screens.flushInput();  // nor is the Escape that closed it the menu's
    shell.mainMenu.reset();
}

std::unique_ptr<LetterGrid> MenuScreen::makeLetterGrid() {
    auto letters = std::make_unique<LetterGrid>();
    letters->open(*button, shell.services.font, shell.services.smallFont);
    return letters;
}
