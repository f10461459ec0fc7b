#include "ShellFixture.h"

#include "present/LetterGrid.h"

#include <array>

namespace {

using Pixel = std::array<Uint8, 4>;

Pixel pixelAt(int x, int y) {
    Pixel rgba{};
    const SDL_Rect one{x, y, 1, 1};
    EXPECT_EQ(SDL_RenderReadPixels(Render::renderer, &one, SDL_PIXELFORMAT_RGBA32, rgba.data(), 4), 0)
        << SDL_GetError();
    return rgba;
}

using MenuScreenTest = ShellTest;

// What the menu opens stands over its picture on the loop, and the menu's own passes wait under
// it: a player sees the menu around the grid, and what the grid takes never reaches the menu.
TEST_F(MenuScreenTest, TheLetterGridStandsOverTheMenusPictureAndTakesThePressesUntilDone) {
    testsupport::pushText("Al");
    traced([&] { shell->menuPass(); });
    menu->copyTex(menu->getPos(), menu->getRect());
    const Pixel sky = pixelAt(8, 8);  // the menu's picture, far from where any panel stands
    game->clear();

    testsupport::pushPad(SDL_CONTROLLER_BUTTON_Y);
    testsupport::pushPad(SDL_CONTROLLER_BUTTON_A);  // pressed with it: not the grid's
    traced([&] { shell->menuPass(); });
    const Screen* grid = dynamic_cast<LetterGrid*>(shell->screens.top());
    ASSERT_NE(grid, nullptr) << "pad Y opens the letter grid over the menu";
    EXPECT_EQ(button->getInputText(), "Al") << "the press that came with Y typed nothing";
    traced([&] { shell->menuPass(); });  // the grid's first picture
    EXPECT_EQ(pixelAt(8, 8), sky) << "the menu's picture around the grid";

    testsupport::pushPad(SDL_CONTROLLER_BUTTON_A);  // the grid's first letter
    testsupport::pushKeyDown(SDLK_RETURN);          // and again, from the keyboard
    traced([&] { shell->menuPass(); });
    EXPECT_EQ(button->getInputText(), "AlAA");
    EXPECT_EQ(Button::checkIs, 1) << "Enter typed on the grid chose nothing on the menu";

    testsupport::pushPad(SDL_CONTROLLER_BUTTON_START);
    traced([&] { shell->menuPass(); });
    EXPECT_EQ(shell->screens.top(), nullptr) << "Start is done with the name";
    testsupport::pushKeyDown(SDLK_RETURN);
    EXPECT_EQ(endMenu(), "huy") << "the menu takes the keys again: Enter chooses NEW GAME";
}

// A close while the grid or the options stand over the menu ends the menu as a close on it always
// does: the window is going, and whatever stood over the menu goes first.
TEST_F(MenuScreenTest, ACloseOverWhatTheMenuOpenedEndsTheMenuAsAnyCloseOnIt) {
    for (const bool options : {false, true}) {
        SCOPED_TRACE(options ? "the options" : "the letter grid");
        if (options) {
            const SDL_Rect at = shell->mainMenu.menuPositions[Button::kOptionsEntry];
            const SDL_Rect size = shell->mainMenu.menuSizes[Button::kOptionsEntry];
            testsupport::pushClick(at.x + size.w / 2, at.y + size.h / 2);
        } else {
            testsupport::pushPad(SDL_CONTROLLER_BUTTON_Y);
        }
        traced([&] { shell->menuPass(); });
        ASSERT_NE(shell->screens.top(), nullptr);
        testsupport::pushQuit();
        EXPECT_EQ(endMenu(), "pcchemu");
        EXPECT_EQ(shell->screens.top(), nullptr);
        EXPECT_EQ(Button::checkIs, 0);
        EXPECT_FALSE(Render::isRunning);
        // The next test round starts from a fresh game.
        traced([&] { shell.reset(); });
        shell = std::make_unique<Shell>();
        SetUp();
    }
}

}  // namespace
