#include "present/CardScreen.h"

#include "present/FontCache.h"
#include "present/Text.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using testsupport::keyDown;
using testsupport::ofType;
using testsupport::padDown;

using Choice = PanelKeys::CardChoice;

SDL_Event click(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = x;
    e.button.y = y;
    return e;
}

// The card's milliseconds, moved by the test alone.
Uint64 now = 0;
Uint64 testClock() { return now; }

class CardScreenTest : public testing::Test {
protected:
    static constexpr Uint64 kShown = 5000;  // the clock when the card is readied

    void SetUp() override {
        ASSERT_EQ(TTF_Init(), 0);
        font = FontCache::get(Text::kFontPath, Text::kPointSize);
        small = FontCache::get(Text::kFontPath, 18);
        ASSERT_NE(font, nullptr);
        card.clock = &testClock;
        now = kShown;
    }
    void TearDown() override {
        card.release();
        FontCache::closeAll();
        TTF_Quit();
    }

    void show(Uint64 giveUpMillis = 0) {
        card.prepare(sdl.renderer, font, small, ResultCard::kDied, {{"Score: 10", false}}, giveUpMillis);
    }

    testsupport::ScratchDir scratch;  // the font from images/
    testsupport::SdlSession sdl;
    TTF_Font* font = nullptr;
    TTF_Font* small = nullptr;
    CardScreen card;
};

// For its first 0.8 s the card is read, not put away: a key, a click or a button pressed then (a
// blow still mashed from play) does nothing, and is not remembered for later. A close is heeded
// at any time.
TEST_F(CardScreenTest, NothingButACloseActsBeforeTheCardCouldBeRead) {
    show();
    now = kShown + CardScreen::kLockoutMillis - 1;
    card.take(keyDown(SDLK_RETURN));
    card.take(click(540, 360));
    card.take(keyDown(SDLK_ESCAPE));
    card.step();
    EXPECT_FALSE(card.done());
    now = kShown + CardScreen::kLockoutMillis;
    card.step();
    EXPECT_FALSE(card.done()) << "what came in the lockout is not chosen once it is over";
    card.take(keyDown(SDLK_RETURN));
    EXPECT_TRUE(card.done());
    EXPECT_EQ(card.choice(), Choice::PlayAgain);
    card.take(keyDown(SDLK_ESCAPE));
    card.take(ofType(SDL_QUIT));
    EXPECT_EQ(card.choice(), Choice::PlayAgain) << "the first choice stands";

    // The next card starts its own lockout from when it is readied; a close counts within it.
    now = 90000;
    show();
    EXPECT_FALSE(card.done()) << "readied afresh";
    now += 100;
    card.take(click(540, 360));
    EXPECT_FALSE(card.done());
    card.take(ofType(SDL_QUIT));
    EXPECT_TRUE(card.done());
    EXPECT_EQ(card.choice(), Choice::Quit);
}

// Once it can be read, the card plays again on confirm or a click anywhere and goes back on back; the
// attack's Space and a held key's repeats choose nothing; the player's own keys are read as they
// are now.
TEST_F(CardScreenTest, AfterTheLockoutConfirmOrAClickPlaysAgainAndBackGoesToTheMenu) {
    const struct {
        SDL_Event press;
        Choice choice;
        const char* what;
    } cases[] = {
        {keyDown(SDLK_RETURN), Choice::PlayAgain, "Enter"},
        {click(3, 700), Choice::PlayAgain, "a click far from the panel"},
        {keyDown(SDLK_ESCAPE), Choice::Menu, "Escape"},
        {keyDown(SDLK_SPACE), Choice::None, "Space"},
        {keyDown(SDLK_RETURN, 1), Choice::None, "a held Enter"},
        {ofType(SDL_MOUSEMOTION), Choice::None, "the mouse moved"},
    };
    for (const auto& c : cases) {
        show();
        now = kShown + CardScreen::kLockoutMillis + 1;
        card.take(c.press);
        EXPECT_EQ(card.choice(), c.choice) << c.what;
        EXPECT_EQ(card.done(), c.choice != Choice::None) << c.what;
        now = kShown;
    }

    KeyBindings mine;
    std::string why;
    ASSERT_TRUE(mine.bindCommand(KeyBindings::Command::Confirm, {{SDLK_SPACE}}, why)) << why;
    card.bindings = &mine;
    show();
    now = kShown + CardScreen::kLockoutMillis;
    card.take(keyDown(SDLK_RETURN));
    EXPECT_FALSE(card.done()) << "Enter is no longer the player's confirm";
    card.take(keyDown(SDLK_SPACE));
    EXPECT_EQ(card.choice(), Choice::PlayAgain);
}

// Left alone the card waits as long as the player likes; only a test's card goes by itself, and
// then without a choice.
TEST_F(CardScreenTest, ACardWaitsForThePlayerUnlessATestGivesItATime) {
    show();
    now = kShown + 24u * 3600 * 1000;
    card.step();
    EXPECT_FALSE(card.done()) << "a day later it still shows";

    now = kShown;
    show(3000);
    now = kShown + 2999;
    card.step();
    EXPECT_FALSE(card.done());
    now = kShown + 3000;
    card.step();
    EXPECT_TRUE(card.done());
    EXPECT_EQ(card.choice(), Choice::None);
}

// The card shows the run's last picture with the card over it, whatever was drawn since.
TEST_F(CardScreenTest, TheCardStandsOverTheRunsLastPicture) {
    SDL_SetRenderDrawColor(sdl.renderer, 0, 160, 0, 255);
    SDL_RenderClear(sdl.renderer);
    card.capture(sdl.renderer);
    show();
    SDL_SetRenderDrawColor(sdl.renderer, 255, 0, 255, 255);
    SDL_RenderClear(sdl.renderer);
    card.draw(sdl.renderer);
    Uint32 pixels[2] = {};
    const SDL_Rect outside{10, 10, 1, 1};
    const SDL_Rect inside{ResultCard::kPanel.x + 3, ResultCard::kPanel.y + 3, 1, 1};
    SDL_RenderReadPixels(sdl.renderer, &outside, SDL_PIXELFORMAT_RGBA8888, &pixels[0], 4);
    SDL_RenderReadPixels(sdl.renderer, &inside, SDL_PIXELFORMAT_RGBA8888, &pixels[1], 4);
    EXPECT_EQ(pixels[0], 0x00A000FFu) << std::hex << pixels[0] << ": the run's picture, undimmed";
    EXPECT_EQ(pixels[1], 0x28160AFFu) << std::hex << pixels[1] << ": the card's panel";
}

}  // namespace
