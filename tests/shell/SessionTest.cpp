#include "ShellFixture.h"

#include <string>
#include <vector>

namespace {

// Held walking keys step by the clock: each frame here lasts 1/60 s of this clock, whatever the
// machine's speed, so two runs fed the same keys walk the same steps.
Uint64 fakeMillis = 0;
Uint64 fakeClock() { return fakeMillis; }

// Several runs in one process, each stepped as Shell::run steps them.
class SessionTest : public ShellTest {
protected:
    // What a run leaves behind: its trace from the menu choice to the save's last line, and its files.
    struct RunResult {
        std::string trace;
        std::string replay;
        std::string resP;
        std::string resE;
        std::string record;  // the record the run added to the players file
    };

    void SetUp() override {
        shell->walkClock = &fakeClock;
        ShellTest::SetUp();
    }

    std::string frame() {
        fakeMillis += 16;
        return traced([&] { shell->frame(); });
    }

    // Where every enemy stands and how healthy it is.
    std::vector<int> enemyState() const {
        std::vector<int> state;
        for (const auto& enemy : shell->run.enemies) {
            if (enemy != nullptr) {
                state.insert(state.end(), {enemy->realRect.x, enemy->realRect.y, enemy->getHel()});
            }
        }
        return state;
    }

    // The trace up to and including the save's last line.
    static std::string uptoSave(const std::string& trace) {
        const std::string last = " ***** \n";
        const std::size_t at = trace.rfind(last);
        return at == std::string::npos ? trace : trace.substr(0, at + last.size());
    }

    RunResult filesAfter(const std::string& trace) {
        const std::string players = testsupport::readFile("files/players.bin");
        return RunResult{uptoSave(trace), testsupport::readFile("files/replay.txt"),
                         testsupport::readFile("files/resP.bin"), testsupport::readFile("files/resE.bin"),
                         players.size() >= 56 ? players.substr(players.size() - 56) : ""};
    }

    // One run as a player plays it: NEW GAME, a walk, a stand among the outlaws with blows, a
    // pause (another window took the focus) in which nothing moves, Enter, then the window closed
    // or, from a pause on Escape, a quit to the menu.
    RunResult playTheRun(bool quitFromPause) {
        std::string trace = startNewGame();
        for (int i = 0; i < 3; ++i) {
            testsupport::pushKeyDown(SDLK_d);
            trace += frame();
        }
        const SDL_Rect enemyAt = shell->run.enemies[0]->realRect;
        player->setPos(enemyAt.x - 120, enemyAt.y - 60);
        for (int i = 0; i < 40; ++i) {
            if (i % 5 == 0) {
                testsupport::pushClick(500, 300);
            }
            if (i % 7 == 0) {
                testsupport::pushKeyDown(i % 2 == 0 ? SDLK_s : SDLK_a);
            }
            trace += frame();
        }

        // The player switches windows: the game pauses by itself.
        SDL_Event focus{};
        focus.type = SDL_WINDOWEVENT;
        focus.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
        SDL_PushEvent(&focus);
        trace += frame();
        EXPECT_TRUE(shell->playKeys.pauseAsked);
        EXPECT_TRUE(shell->pausePanel.captured()) << "the last picture is kept for the panel";
        const std::size_t lines = testsupport::readFile("files/replay.txt").size();
        const std::vector<int> enemiesBefore = enemyState();
        const SDL_Rect heroBefore = player->getPos();
        const int healthBefore = player->getHel();
        const std::string paused = traced([&] {
            shell->startPause();
            testsupport::pushKeyDown(SDLK_d);  // pressed while paused: the panel's, not the hero's
            for (int pass = 0; pass < 60; ++pass) {
                EXPECT_TRUE(shell->pausePass()) << "pass " << pass;
            }
        });
        EXPECT_EQ(paused, "") << "pausing writes nothing";
        EXPECT_EQ(testsupport::readFile("files/replay.txt").size(), lines) << "no frame recorded while paused";
        EXPECT_EQ(enemyState(), enemiesBefore);
        EXPECT_EQ(player->getPos().x, heroBefore.x);
        EXPECT_EQ(player->getHel(), healthBefore);
        testsupport::pushKeyDown(SDLK_RETURN);
        EXPECT_FALSE(shell->pausePass()) << "Enter continues";
        EXPECT_TRUE(Render::isRunning);
        trace += frame();
        EXPECT_GT(testsupport::readFile("files/replay.txt").size(), lines) << "frames are played again";
        EXPECT_EQ(player->getPos().x, heroBefore.x) << "the key pressed while paused moved nobody";

        if (quitFromPause) {
            testsupport::pushKeyDown(SDLK_ESCAPE);
            trace += frame();
            shell->startPause();
            testsupport::pushKeyDown(SDLK_q);
            EXPECT_FALSE(shell->pausePass()) << "Q quits";
            EXPECT_TRUE(shell->run.quitToMenu);
        } else {
            testsupport::pushQuit();
            trace += frame();
        }
        EXPECT_FALSE(Render::isRunning);
        trace += traced([&] {
            const bool again = shell->run.quitToMenu || shell->showResultCard();
            EXPECT_EQ(again, quitFromPause);
            shell->endOfRun(again);
        });
        return filesAfter(trace);
    }
};

TEST_F(SessionTest, ALaterRunInOneProcessPlaysAsAFirstRunInAFreshOne) {
    // The fresh process: the run, ended by closing the window.
    testsupport::pushText("Ann");
    RunResult fresh = playTheRun(false);
    const std::size_t closeWord = fresh.trace.find("fuck");
    ASSERT_NE(closeWord, std::string::npos);
    fresh.trace.erase(closeWord, 4);  // the one word a quit to the menu does not write

    traced([&] { shell.reset(); });
    testsupport::writeFile("files/players.bin", "");
    shell = std::make_unique<Shell>();
    SetUp();

    // A first run lost with the hero; Enter on the card.
    testsupport::pushText("Ann");
    startNewGame();
    frame();
    const SDL_Rect enemyAt = shell->run.enemies[0]->realRect;
    player->setAll(enemyAt.x - 35, enemyAt.y - 35, 4);
    EXPECT_EQ(endFrames(100), "youre dead");
    // Pressed while the card shows, again and again: what was queued before it showed is dropped,
    // being meant for play, however long a busy machine takes to show it.
    const SDL_TimerID enter = SDL_AddTimer(
        100,
        [](Uint32 interval, void*) -> Uint32 {
            testsupport::pushKeyDown(SDLK_RETURN);
            return interval;
        },
        nullptr);
    bool again = false;
    traced([&] {
        again = shell->showResultCard();
        shell->endOfRun(again);
    });
    SDL_RemoveTimer(enter);
    ASSERT_TRUE(again) << "Enter on the card plays again";
    EXPECT_EQ(testsupport::readFile("files/players.bin").size(), 56u);
    EXPECT_EQ(traced([&] { shell->showMenuAgain(); }), "") << "showing the menu again prints nothing";
    EXPECT_TRUE(shell->menuShownAgain());

    // A second run left from the pause panel in the frame of a level change, the hero standing,
    // the camera moved, points scored, the next frame's "kul" still due.
    startNewGame();
    frame();
    player->setEnemy(2);
    player->setBull(2);
    player->setPos(1400, 900);
    hero->getEnemyP();
    testsupport::pushKeyDown(SDLK_ESCAPE);
    frame();
    ASSERT_EQ(shell->run.level, 2);
    shell->startPause();
    testsupport::pushKeyDown(SDLK_q);
    EXPECT_FALSE(shell->pausePass());
    traced([&] { shell->endOfRun(true); });
    EXPECT_EQ(traced([&] { shell->showMenuAgain(); }), "") << "the hero left standing says nothing";

    // The third run: the same as the fresh one, left by the pause panel's quit.
    const RunResult third = playTheRun(true);
    EXPECT_EQ(third.trace, fresh.trace);
    EXPECT_EQ(third.replay, fresh.replay);
    EXPECT_EQ(third.resP, fresh.resP);
    EXPECT_EQ(third.resE, fresh.resE);
    EXPECT_EQ(third.record, fresh.record);
    EXPECT_EQ(testsupport::readFile("files/players.bin").size(), 3 * 56u) << "one record for each run";
    EXPECT_TRUE(Render::renderer != nullptr) << "the window stays after a quit to the menu";

    // Closing on the menu shown again ends the process with its teardown alone.
    EXPECT_EQ(traced([&] { shell->showMenuAgain(); }), "") << "the hero left standing says nothing";
    testsupport::pushQuit();
    EXPECT_EQ(endMenu(), "") << "the close says nothing";
    bool ended = false;
    EXPECT_EQ(traced([&] { ended = shell->closedOnMenuShownAgain(); }), "Game Cleaned\n");
    EXPECT_TRUE(ended);
    EXPECT_EQ(testsupport::readFile("files/players.bin").size(), 3 * 56u) << "no record";
    EXPECT_EQ(testsupport::readFile("files/resP.bin"), third.resP) << "no save";
    EXPECT_EQ(testsupport::readFile("files/replay.txt"), third.replay);
}

}  // namespace

namespace {

void pushPad(SDL_GameControllerButton which) {
    SDL_Event event{};
    event.type = SDL_CONTROLLERBUTTONDOWN;
    event.cbutton.button = static_cast<Uint8>(which);
    event.cbutton.state = SDL_PRESSED;
    SDL_PushEvent(&event);
}

TEST_F(SessionTest, ThePadPausesContinuesAndQuitsAndAWalkHeldIntoAPauseEndsThere) {
    startNewGame();
    // d held down when Start pauses, and let go while paused: the hero must not walk on after.
    testsupport::pushKeyDown(SDLK_d);
    frame();
    fakeMillis += 1000;
    frame();
    const int walkedTo = player->getPos().x;
    EXPECT_GT(walkedTo, 300);
    pushPad(SDL_CONTROLLER_BUTTON_START);
    frame();
    ASSERT_TRUE(shell->playKeys.pauseAsked) << "Start pauses";
    shell->startPause();
    // The panel names what is in the player's hands: the pad's buttons now, keys after a key.
    const std::vector<std::string>& said = shell->pausePanel.text();
    EXPECT_EQ(said.back(), ResultCard::kPadPauseChoices);
    EXPECT_EQ(said[1].rfind("Walk: stick or D-pad up", 0), 0u) << said[1];
    testsupport::pushKeyUp(SDLK_d);
    EXPECT_TRUE(shell->pausePass());
    pushPad(SDL_CONTROLLER_BUTTON_A);
    EXPECT_FALSE(shell->pausePass()) << "A continues";
    const int pausedAt = player->getPos().x;
    for (int i = 0; i < 5; ++i) {
        fakeMillis += 1000;
        frame();
    }
    EXPECT_EQ(player->getPos().x, pausedAt) << "a walk held into the pause ends there";
    EXPECT_FALSE(player->walking);

    testsupport::pushKeyDown(SDLK_ESCAPE);
    frame();
    shell->startPause();
    EXPECT_EQ(shell->pausePanel.text().back(), ResultCard::kPauseChoices);
    EXPECT_EQ(shell->pausePanel.text()[1].rfind("Walk: W A S D", 0), 0u);
    pushPad(SDL_CONTROLLER_BUTTON_B);
    EXPECT_FALSE(shell->pausePass()) << "B quits";
    EXPECT_TRUE(shell->run.quitToMenu);
    EXPECT_FALSE(Render::isRunning);
}

// Controls changed from the pause panel drive the hero as soon as play goes on, and are kept in
// settings.ini; a window closed while the options are open ends the pause as a close on the panel.
TEST_F(SessionTest, AKeyBoundWhilePausedWalksTheHeroAtOnceAndACloseOverTheOptionsEndsThePause) {
    startNewGame();
    frame();
    testsupport::pushKeyDown(SDLK_ESCAPE);
    frame();
    shell->startPause();
    testsupport::pushKeyDown(SDLK_o);
    EXPECT_TRUE(shell->pausePass());
    for (int row = 0; row < 5; ++row) {
        testsupport::pushKeyDown(SDLK_DOWN);  // to Controls
    }
    testsupport::pushKeyDown(SDLK_RETURN);
    EXPECT_TRUE(shell->pausePass());
    pushPad(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    pushPad(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    pushPad(SDL_CONTROLLER_BUTTON_DPAD_DOWN);  // Right
    testsupport::pushKeyDown(SDLK_RETURN);
    testsupport::pushKeyDown(SDLK_l);
    EXPECT_TRUE(shell->pausePass());
    EXPECT_NE(testsupport::readFile(shell->settings.file(Settings::kFileName)).find("right = L, Right"),
              std::string::npos)
        << "kept at once";
    testsupport::pushKeyDown(SDLK_ESCAPE);  // the controls
    EXPECT_TRUE(shell->pausePass());
    testsupport::pushKeyDown(SDLK_ESCAPE);  // the options
    EXPECT_TRUE(shell->pausePass());
    testsupport::pushKeyDown(SDLK_RETURN);
    EXPECT_FALSE(shell->pausePass()) << "Enter continues";
    const int from = player->getPos().x;
    testsupport::pushKeyDown(SDLK_l);
    for (int i = 0; i < 30; ++i) {
        frame();
    }
    EXPECT_GT(player->getPos().x, from) << "the new key walks the hero in the run already going";
    testsupport::pushKeyUp(SDLK_l);
    frame();

    testsupport::pushKeyDown(SDLK_ESCAPE);
    frame();
    shell->startPause();
    testsupport::pushKeyDown(SDLK_o);
    EXPECT_TRUE(shell->pausePass());
    testsupport::pushQuit();
    EXPECT_FALSE(shell->pausePass()) << "a close over the options ends the pause";
    EXPECT_EQ(shell->pausePanel.choice(), PanelKeys::PauseChoice::Close);
}

// The paused picture is drawn once and then left on screen until something happens: a pass that
// draws nothing new would only burn the CPU (a real window's driver took half a core for it).
TEST_F(SessionTest, ThePausePanelIsDrawnOnceAndAgainOnlyAfterAnEvent) {
    startNewGame();
    frame();
    testsupport::pushKeyDown(SDLK_ESCAPE);
    frame();
    ASSERT_TRUE(shell->playKeys.pauseAsked);
    shell->startPause();
    const SDL_Point middle{PauseScreen::kPanel.x + PauseScreen::kPanel.w / 2, PauseScreen::kPanel.y + 10};
    const auto shown = [&] {
        Uint32 pixel = 0;
        const SDL_Rect one{middle.x, middle.y, 1, 1};
        SDL_RenderReadPixels(Render::renderer, &one, SDL_PIXELFORMAT_RGBA8888, &pixel, 4);
        return pixel;
    };
    const auto paint = [] {
        SDL_SetRenderDrawColor(Render::renderer, 255, 0, 255, 255);
        SDL_RenderFillRect(Render::renderer, nullptr);
    };
    const Uint32 magenta = 0xFF00FFFFu;
    paint();
    EXPECT_TRUE(shell->pausePass());
    const Uint32 panel = shown();
    EXPECT_NE(panel, magenta) << "the first pass draws the panel";
    paint();
    for (int pass = 0; pass < 5; ++pass) {
        EXPECT_TRUE(shell->pausePass());
    }
    EXPECT_EQ(shown(), magenta) << "passes with nothing new draw nothing";
    SDL_Event expose{};
    expose.type = SDL_WINDOWEVENT;
    expose.window.event = SDL_WINDOWEVENT_EXPOSED;
    SDL_PushEvent(&expose);
    EXPECT_TRUE(shell->pausePass());
    EXPECT_EQ(shown(), panel) << "an expose draws it again";
}

}  // namespace
