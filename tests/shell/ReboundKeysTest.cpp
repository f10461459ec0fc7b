#include "ShellFixture.h"

#include "present/LetterGrid.h"

#include <sys/stat.h>

#include <sstream>
#include <string>

namespace {

SDL_Event keyEvent(SDL_Keycode key) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = key;
    return event;
}

// A card clock that moves half a second a call and presses the scripted key on the given calls.
int cardCalls = 0;
Uint64 cardClock() {
    ++cardCalls;
    if (cardCalls == 4) {
        testsupport::pushKeyDown(SDLK_RETURN);
    } else if (cardCalls == 8) {
        testsupport::pushKeyDown(SDLK_SPACE);
    }
    return 10000 + static_cast<Uint64>(cardCalls) * 500;
}

// A player's settings.ini that gives the menus' confirm to Space, the pause to K and the pad's
// back to X, and tries to give Backspace to back, which the menu reads as erase.
class ReboundKeysTest : public ShellTest {
protected:
    void SetUp() override {
        ASSERT_EQ(mkdir("config", 0755), 0);
        ASSERT_EQ(mkdir("config/bramblehoof", 0755), 0);
        testsupport::writeFile("config/bramblehoof/settings.ini",
                               "[keys]\n"             // 1
                               "confirm = Space\n"    // 2
                               "pause = k\n"          // 3
                               "back = BackSpace\n"   // 4
                               "attack = Space, k\n"  // 5
                               "[pad]\n"              // 6
                               "back = x\n");         // 7
        testing::internal::CaptureStderr();
        ShellTest::SetUp();
        // What it said of the file (whether it found a sound device is the machine's).
        std::istringstream all(testing::internal::GetCapturedStderr());
        for (std::string line; std::getline(all, line);) {
            if (line.find("settings.ini") != std::string::npos) {
                told += line + "\n";
            }
        }
    }

    // A fresh press of the key, then one pass of the pause panel; whether it is still paused.
    bool pausePress(SDL_Keycode key) {
        testsupport::pushKeyDown(key);
        bool paused = false;
        traced([&] { paused = shell->pausePass(); });
        return paused;
    }

    std::string told;  // what start-up said of the settings on standard error
};

TEST_F(ReboundKeysTest, AClashOnOneScreenAndAKeyPauseHoldsAreRefusedWithALineEach) {
    EXPECT_EQ(told,
              "bramblehoof: settings.ini line 4: key 'Backspace' already serves 'erase' on the menu\n"
              "bramblehoof: settings.ini line 5: key 'K' is the game's own (pause, help, fullscreen, mute, menus)\n");
    const KeyBindings& keys = shell->settings.keys;
    EXPECT_EQ(keys.commandOf(keyEvent(SDLK_ESCAPE), KeyBindings::Place::Options), KeyBindings::Command::Back)
        << "the refused line leaves back its Escape";
    EXPECT_EQ(keys.keysOf(KeyBindings::Action::Attack), (std::vector<SDL_Keycode>{SDLK_SPACE}))
        << "the refused attack line keeps its default";
}

TEST_F(ReboundKeysTest, TheMenuChoosesWithSpaceAndThePadQuitsWithX) {
    testsupport::pushKeyDown(SDLK_RETURN);
    testsupport::pushPad(SDL_CONTROLLER_BUTTON_B);
    traced([&] {
        for (int pass = 0; pass < 4; ++pass) {
            shell->menuPass();
        }
    });
    EXPECT_EQ(Button::checkIs, 1) << "Enter and B no longer choose or quit";
    EXPECT_FALSE(button->quitAsked);
    testsupport::pushKeyDown(SDLK_SPACE);
    EXPECT_EQ(endMenu(), "huy") << "Space chooses NEW GAME, which has the focus";
    EXPECT_FALSE(button->quitAsked);
}

TEST_F(ReboundKeysTest, KPausesAndOnThePanelSpaceContinuesWhereEnterNoLongerDoes) {
    startNewGame();
    traced([&] { shell->frame(); });
    testsupport::pushKeyDown(SDLK_ESCAPE);
    testsupport::pushKeyDown(SDLK_p);
    traced([&] { shell->frame(); });
    EXPECT_FALSE(shell->playKeys.pauseAsked) << "Escape and P no longer pause";
    testsupport::pushKeyDown(SDLK_k);
    traced([&] { shell->frame(); });
    ASSERT_TRUE(shell->playKeys.pauseAsked);
    shell->startPause();
    EXPECT_TRUE(pausePress(SDLK_RETURN)) << "Enter is no confirm now";
    EXPECT_TRUE(pausePress(SDLK_ESCAPE)) << "nor Escape a pause key";
    EXPECT_FALSE(pausePress(SDLK_SPACE)) << "Space continues";
    EXPECT_EQ(shell->screens.top(), nullptr) << "the panel is gone";
    EXPECT_TRUE(shell->playKeys.active) << "and play goes on";
    EXPECT_FALSE(shell->run().quitToMenu);
}

TEST_F(ReboundKeysTest, TheOptionsSwitchARowWithSpaceOnlyAndThePadGoesBackWithX) {
    startNewGame();
    traced([&] { shell->frame(); });
    testsupport::pushKeyDown(SDLK_k);
    traced([&] { shell->frame(); });
    shell->startPause();
    testsupport::pushKeyDown(SDLK_o);
    ASSERT_TRUE(shell->pausePass());
    const std::size_t mute = optionRow("Mute");
    for (std::size_t i = 0; i < mute; ++i) {
        testsupport::pushKeyDown(SDLK_DOWN);
    }
    testsupport::pushKeyDown(SDLK_RETURN);
    ASSERT_TRUE(shell->pausePass());
    EXPECT_EQ(options().chosen(), mute);
    EXPECT_EQ(options().valueOf(mute), "off") << "Enter switches nothing";
    testsupport::pushKeyDown(SDLK_SPACE);
    ASSERT_TRUE(shell->pausePass());
    EXPECT_EQ(options().valueOf(mute), "on");
    EXPECT_TRUE(shell->sound.isMuted());
    testsupport::pushPad(SDL_CONTROLLER_BUTTON_B);
    ASSERT_TRUE(shell->pausePass());
    EXPECT_FALSE(options().done()) << "B is no way back now";
    testsupport::pushPad(SDL_CONTROLLER_BUTTON_X);
    ASSERT_TRUE(shell->pausePass());
    EXPECT_EQ(dynamic_cast<OptionsScreen*>(shell->screens.top()), nullptr) << "X went back to the pause panel";
}

TEST_F(ReboundKeysTest, TheLetterGridTypesWithSpace) {
    std::unique_ptr<LetterGrid> grid = shell->makeLetterGrid();
    grid->take(keyEvent(SDLK_RETURN));
    EXPECT_EQ(button->getInputText(), "");
    grid->take(keyEvent(SDLK_RIGHT));
    grid->take(keyEvent(SDLK_SPACE));
    EXPECT_EQ(button->getInputText(), "B") << "Space types the letter chosen";
}

TEST_F(ReboundKeysTest, TheResultCardPlaysAgainWithSpaceNotEnter) {
    startNewGame();
    traced([&] { shell->frame(); });
    const SDL_Rect enemyAt = shell->run().enemies[0]->realRect;
    player->setAll(enemyAt.x - 35, enemyAt.y - 35, 4);
    ASSERT_EQ(endFrames(100), "youre dead");
    cardCalls = 0;
    shell->cardClock = &cardClock;
    bool again = false;
    traced([&] { again = shell->showResultCard(60000); });
    shell->cardClock = &SDL_GetTicks64;
    EXPECT_TRUE(again);
    EXPECT_GE(cardCalls, 8) << "the Enter pressed after the lockout did nothing";
}

}  // namespace
