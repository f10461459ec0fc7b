#include "present/PauseScreen.h"

#include "present/FontCache.h"
#include "present/Text.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testsupport::keyDown;
using testsupport::ofType;
using testsupport::padDown;

using Choice = PanelKeys::PauseChoice;

const std::vector<std::string> kHelp = {"Walk: W A S D", "Attack: Space"};

class PauseScreenTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(TTF_Init(), 0);
        font = FontCache::get(Text::kFontPath, Text::kPointSize);
        small = FontCache::get(Text::kFontPath, 18);
        ASSERT_NE(font, nullptr);
        ASSERT_NE(small, nullptr);
    }
    void TearDown() override {
        panel.release();
        FontCache::closeAll();
        TTF_Quit();
    }

    // One pixel of what is drawn now, RGBA8888.
    Uint32 pixelAt(int x, int y) const {
        Uint32 pixel = 0;
        const SDL_Rect one{x, y, 1, 1};
        SDL_RenderReadPixels(sdl.renderer, &one, SDL_PIXELFORMAT_RGBA8888, &pixel, sizeof pixel);
        return pixel;
    }

    testsupport::ScratchDir scratch;  // the font from images/
    testsupport::SdlSession sdl;
    TTF_Font* font = nullptr;
    TTF_Font* small = nullptr;
    PauseScreen panel;
};

// What a player held down when the pause began (the desktop's repeats), lets go of, clicks or
// walks with chooses nothing; the first fresh choice is kept, whatever is pressed after it in the
// same pass, and a close after it does not undo it.
TEST_F(PauseScreenTest, HeldKeysChooseNothingAndTheFirstFreshChoiceIsKept) {
    panel.prepare(sdl.renderer, font, small, kHelp);
    SDL_Event up = keyDown(SDLK_RETURN);
    up.type = SDL_KEYUP;
    for (const SDL_Event& nothing :
         {keyDown(SDLK_RETURN, 1), keyDown(SDLK_ESCAPE, 1), keyDown(SDLK_p, 1), keyDown(SDLK_q, 1), up,
          ofType(SDL_MOUSEBUTTONDOWN), keyDown(SDLK_d), keyDown(SDLK_SPACE), padDown(SDL_CONTROLLER_BUTTON_X)}) {
        panel.take(nothing);
    }
    EXPECT_FALSE(panel.done());
    EXPECT_EQ(panel.choice(), Choice::None);

    panel.take(keyDown(SDLK_q));
    panel.take(keyDown(SDLK_RETURN));
    panel.take(ofType(SDL_QUIT));
    EXPECT_TRUE(panel.done());
    EXPECT_EQ(panel.choice(), Choice::QuitToMenu) << "Q came first";

    // The panel readied again (back from the options) waits afresh.
    panel.prepare(sdl.renderer, font, small, kHelp);
    EXPECT_FALSE(panel.done());
    panel.take(padDown(SDL_CONTROLLER_BUTTON_A));
    panel.take(padDown(SDL_CONTROLLER_BUTTON_B));
    EXPECT_EQ(panel.choice(), Choice::Continue) << "pad A came first";

    panel.prepare(sdl.renderer, font, small, kHelp);
    panel.take(ofType(SDL_QUIT));
    panel.take(keyDown(SDLK_ESCAPE));
    EXPECT_EQ(panel.choice(), Choice::Close) << "a close is kept as a close";
}

// The panel stands over the kept picture of play, darkened so that it reads as stopped: a panel of
// its own size (room for how to play), its title, the help lines and the choices named for the
// device in the player's hands.
TEST_F(PauseScreenTest, ThePanelStandsOverThePlayPictureDarkenedWithTheHelpAndTheChoices) {
    SDL_SetRenderDrawColor(sdl.renderer, 0, 160, 0, 255);
    SDL_RenderClear(sdl.renderer);
    panel.capture(sdl.renderer);
    ASSERT_TRUE(panel.captured());
    panel.prepare(sdl.renderer, font, small, kHelp);
    EXPECT_EQ(panel.text(), (std::vector<std::string>{ResultCard::kPaused, kHelp[0], kHelp[1],
                                                      std::string(ResultCard::kPauseChoices)}));

    SDL_SetRenderDrawColor(sdl.renderer, 255, 0, 255, 255);
    SDL_RenderClear(sdl.renderer);
    panel.draw(sdl.renderer);
    const Uint32 around = pixelAt(40, 40);
    EXPECT_EQ(around & 0xFF00FFFFu, 0x000000FFu) << std::hex << around << ": the kept picture, not what was drawn";
    const Uint32 green = (around >> 16) & 0xFF;
    EXPECT_GT(green, 60u) << "play still shows through";
    EXPECT_LT(green, 110u) << "darkened";
    const SDL_Rect box = PauseScreen::kPanel;
    const Uint32 panelColour = pixelAt(box.x + 4, box.y + 4);
    EXPECT_EQ(panelColour, pixelAt(box.x + box.w - 5, box.y + box.h - 5)) << "one panel, corner to corner";
    EXPECT_NE(panelColour, around);
    EXPECT_EQ(pixelAt(box.x - 3, box.y + 4), around) << "the panel ends where it should";
    int ink = 0;
    for (int y = box.y; y < box.y + box.h; y += 2) {
        for (int x = box.x; x < box.x + box.w; x += 2) {
            ink += pixelAt(x, y) != panelColour ? 1 : 0;
        }
    }
    EXPECT_GT(ink, 200) << "its lines are drawn on it";

    panel.prepare(sdl.renderer, font, small, kHelp, true);
    EXPECT_EQ(panel.text().back(), ResultCard::kPadPauseChoices) << "a pad in hand: the choices name its buttons";
}

}  // namespace
