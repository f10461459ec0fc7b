#include "ShellFixture.h"

#include "present/OptionRows.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cstdlib>
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
        for (const auto& enemy : shell->run().enemies) {
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
        const SDL_Rect enemyAt = shell->run().enemies[0]->realRect;
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
        EXPECT_TRUE(shell->playing->pausePanel().captured()) << "the last picture is kept for the panel";
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
            EXPECT_TRUE(shell->run().quitToMenu);
        } else {
            testsupport::pushQuit();
            trace += frame();
        }
        EXPECT_FALSE(Render::isRunning);
        trace += traced([&] {
            const bool again = shell->run().quitToMenu || shell->showResultCard();
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
    const SDL_Rect enemyAt = shell->run().enemies[0]->realRect;
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
    ASSERT_EQ(shell->run().level, 2);
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

using testsupport::pushPad;

// Controls changed from the pause panel drive the hero as soon as play goes on, and are kept in
// settings.ini; a window closed while the options are open ends the pause as a close on the panel.
TEST_F(SessionTest, AKeyBoundWhilePausedWalksTheHeroAtOnceAndACloseOverTheOptionsEndsThePause) {
    optionsOverThePause();
    for (std::size_t row = optionRow(OptionRows::kControls); row > 0; --row) {
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
    EXPECT_EQ(testsupport::readFile(shell->settings.file(Settings::kFileName)).find("right = L, Right"),
              std::string::npos)
        << "not at each change";
    testsupport::pushKeyDown(SDLK_ESCAPE);  // the controls
    EXPECT_TRUE(shell->pausePass());
    EXPECT_NE(testsupport::readFile(shell->settings.file(Settings::kFileName)).find("right = L, Right"),
              std::string::npos)
        << "kept as the controls close";
    testsupport::pushKeyDown(SDLK_ESCAPE);  // the options
    EXPECT_TRUE(shell->pausePass());
    // Back on the panel, it and how to play name the walk as it now is.
    const std::string walk = HelpPanel::linesFor(shell->settings.keys).front();
    ASSERT_NE(walk, HelpPanel::linesFor(KeyBindings()).front());
    const std::vector<std::string>& panel = shell->playing->pausePanel().text();
    EXPECT_NE(std::find(panel.begin(), panel.end(), walk), panel.end()) << walk;
    EXPECT_EQ(shell->help.text().front(), walk);
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
    EXPECT_EQ(shell->screens.top(), nullptr) << "the options and the panel are gone";
    ASSERT_TRUE(Render::isRunning);
    frame();
    EXPECT_FALSE(Render::isRunning) << "the next frame takes the close, as any frame in play does";
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

namespace {

// A session with its sound open, on SDL's driver that mixes and plays nowhere.
class HeardSessionTest : public SessionTest {
protected:
    void SetUp() override {
        const char* driver = std::getenv("SDL_AUDIODRIVER");
        audioDriver = driver == nullptr ? "" : driver;
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        SessionTest::SetUp();
        ASSERT_TRUE(shell->sound.isOpen());
    }
    void TearDown() override {
        SessionTest::TearDown();
        if (audioDriver.empty()) {
            unsetenv("SDL_AUDIODRIVER");
        } else {
            setenv("SDL_AUDIODRIVER", audioDriver.c_str(), 1);
        }
    }

private:
    std::string audioDriver;
};

// The keys the game keeps for itself never reach the hero, pause after pause; a held key's
// repeats pause nothing and choose nothing on the panel; and each pause holds the sound only
// while it lasts.
TEST_F(HeardSessionTest, PauseAndHelpKeysNeverReachTheHeroPauseAfterPauseAndTheSoundGoesOnAfterEach) {
    startNewGame();
    frame();
    shell->help.hide();
    // d held: a key that reached the hero would turn him up and stop him.
    const auto heroWalksRight = [&] { return player->getSide() == 3 && player->walking; };
    testsupport::pushKeyDown(SDLK_d);
    frame();
    ASSERT_TRUE(heroWalksRight());
    for (const SDL_Keycode key : {SDLK_ESCAPE, SDLK_p, SDLK_ESCAPE}) {
        const std::string name = SDL_GetKeyName(key);
        testsupport::pushKeyRepeat(key);
        frame();
        EXPECT_FALSE(shell->playKeys.pauseAsked) << name << " held from before pauses nothing";
        testsupport::pushKeyDown(key);
        frame();
        ASSERT_TRUE(shell->playKeys.pauseAsked) << name << " pauses";
        EXPECT_TRUE(heroWalksRight()) << name << " never reached the hero";
        shell->startPause();
        EXPECT_GT(Mix_Paused(-1), 0) << "the sound holds while paused";
        for (const SDL_Keycode held : {SDLK_RETURN, SDLK_KP_ENTER, SDLK_ESCAPE, SDLK_p, SDLK_q, SDLK_o}) {
            testsupport::pushKeyRepeat(held);
        }
        EXPECT_TRUE(shell->pausePass());
        EXPECT_TRUE(shell->pausePass()) << "held keys chose nothing on the panel";
        testsupport::pushKeyDown(SDLK_RETURN);
        EXPECT_FALSE(shell->pausePass()) << "Enter continues, from the panel itself";
        EXPECT_FALSE(shell->run().quitToMenu);
        EXPECT_EQ(Mix_Paused(-1), 0) << "the sound goes on with play";
        testsupport::pushKeyDown(SDLK_d);  // the pause let go of d: the player presses it again
        frame();
        ASSERT_TRUE(heroWalksRight());
    }
    testsupport::pushKeyRepeat(SDLK_F1);
    frame();
    EXPECT_FALSE(shell->help.showing()) << "F1 held from before shows nothing";
    testsupport::pushKeyDown(SDLK_F1);
    frame();
    EXPECT_TRUE(shell->help.showing());
    EXPECT_TRUE(heroWalksRight()) << "F1 never reached the hero";
    EXPECT_FALSE(shell->playKeys.pauseAsked);
}

}  // namespace

namespace {

// The result card's clock: 10 ms pass at each reading, and each press of the script is pushed
// when its time comes, so the card's seconds pass at once whatever the machine's speed.
struct CardPress {
    Uint64 at;          // milliseconds after the card is readied
    SDL_Keycode key;    // SDLK_UNKNOWN: the window is closed, unless pad is set
    bool held = false;  // a held key's repeat
    SDL_GameControllerButton pad = SDL_CONTROLLER_BUTTON_INVALID;  // a pad's button instead of a key
};
Uint64 cardNow = 0;
Uint64 cardStart = 0;
std::vector<CardPress> cardScript;
Uint64 cardClock() {
    cardNow += 10;
    while (!cardScript.empty() && cardNow - cardStart >= cardScript.front().at) {
        const CardPress press = cardScript.front();
        cardScript.erase(cardScript.begin());
        if (press.pad != SDL_CONTROLLER_BUTTON_INVALID) {
            testsupport::pushPad(press.pad);
        } else if (press.key == SDLK_UNKNOWN) {
            testsupport::pushQuit();
        } else if (press.held) {
            testsupport::pushKeyRepeat(press.key);
        } else {
            testsupport::pushKeyDown(press.key);
        }
    }
    return cardNow;
}

class CardSessionTest : public HeardSessionTest {
protected:
    static constexpr Uint64 kGiveUp = 5000;  // the card goes by itself after this long (tests only)

    void SetUp() override {
        HeardSessionTest::SetUp();
        shell->cardClock = &cardClock;
    }

    // NEW GAME, and the hero falls to the first outlaw.
    void dieInANewGame() {
        testsupport::pushKeyDown(SDLK_RETURN);  // NEW GAME has the focus
        endMenu();
        traced([&] { shell->runSetUp(); });
        frame();
        const SDL_Rect enemyAt = shell->run().enemies[0]->realRect;
        player->setAll(enemyAt.x - 35, enemyAt.y - 35, 4);
        EXPECT_EQ(endFrames(100), "youre dead");
    }

    // The card with the script; whether the player chose to play again, and how long it showed.
    bool card(std::vector<CardPress> script, Uint64& shownFor) {
        cardScript = std::move(script);
        cardStart = cardNow;
        bool again = false;
        traced([&] { again = shell->showResultCard(kGiveUp); });
        shownFor = cardNow - cardStart;
        return again;
    }
};

// Enter held down from the hero's last moment on: its repeats neither put the card away nor
// choose on the menu after it; an m typed into the name there goes into the name only; and the
// window closed on a card, even in its first moment, ends the game at once.
TEST_F(CardSessionTest, HeldKeysChooseNothingAfterARunAndAWindowClosedOnTheCardEndsTheGame) {
    dieInANewGame();
    std::vector<CardPress> held;
    for (Uint64 at = 0; at < kGiveUp - 1000; at += 40) {  // the desktop's 25 a second
        held.push_back(CardPress{at, at % 200 == 0 ? SDLK_ESCAPE : SDLK_RETURN, true});
    }
    Uint64 shownFor = 0;
    EXPECT_FALSE(card(held, shownFor));
    EXPECT_EQ(shell->playing->resultCard.choice(), PanelKeys::CardChoice::None) << "held keys chose nothing";
    EXPECT_GE(shownFor, kGiveUp);
    ASSERT_TRUE(card({{kGiveUp / 2, SDLK_RETURN}}, shownFor)) << "a fresh Enter plays again";
    traced([&] {
        shell->endOfRun(true);
        shell->showMenuAgain();
    });

    testsupport::pushKeyRepeat(SDLK_RETURN);
    testsupport::pushKeyRepeat(SDLK_ESCAPE);
    testsupport::pushKeyDown(SDLK_m);
    testsupport::pushText("m");
    traced([&] {
        for (int pass = 0; pass < 6; ++pass) {
            EXPECT_TRUE(shell->menuPass()) << "pass " << pass;
        }
    });
    EXPECT_EQ(Button::checkIs, 1) << "the menu shown again is still open";
    EXPECT_FALSE(button->quitAsked);
    EXPECT_EQ(button->getInputText(), "m");
    EXPECT_FALSE(shell->sound.isMuted()) << "the m went into the name only";

    dieInANewGame();
    EXPECT_FALSE(card({{100, SDLK_UNKNOWN}}, shownFor));
    EXPECT_EQ(shell->playing->resultCard.choice(), PanelKeys::CardChoice::Quit) << "a close counts at any time";
    EXPECT_LT(shownFor, CardScreen::kLockoutMillis);
    const std::string end = traced([&] { shell->endOfRun(false); });
    EXPECT_EQ(end.substr(end.size() - std::min<std::size_t>(end.size(), 13)), "Game Cleaned\n");
    EXPECT_EQ(testsupport::readFile("files/players.bin").size(), 2 * 56u) << "both runs are recorded";
}

// Escape, or the pad's B, on the card of a lost run goes back to the menu in the same process, as
// back does everywhere else: the menu is drawn again and a new game starts from it.
TEST_F(CardSessionTest, EscapeOrPadBOnTheCardOfALostRunBringsTheMenuBack) {
    const CardPress backs[] = {{1000, SDLK_ESCAPE}, {1000, SDLK_UNKNOWN, false, SDL_CONTROLLER_BUTTON_B}};
    for (const CardPress& back : backs) {
        SCOPED_TRACE(back.key == SDLK_ESCAPE ? "Escape" : "pad B");
        dieInANewGame();
        Uint64 shownFor = 0;
        EXPECT_TRUE(card({back}, shownFor)) << "the menu comes next";
        EXPECT_EQ(shell->playing->resultCard.choice(), PanelKeys::CardChoice::Menu);
        const std::string between = traced([&] {
            shell->endOfRun(true);
            shell->showMenuAgain();
        });
        EXPECT_EQ(between.find("Game Cleaned"), std::string::npos) << "the window stays";
        std::vector<std::string> drawn;
        Text::onRender = [&drawn](const std::string& s) { drawn.push_back(s); };
        traced([&] { EXPECT_TRUE(shell->menuPass()) << "the menu is open"; });
        Text::onRender = nullptr;
        EXPECT_TRUE(Render::isRunning);
        EXPECT_FALSE(button->quitAsked);
        for (const Texts::Id item : {Texts::Id::MenuNewGame, Texts::Id::MenuResume, Texts::Id::MenuScoreBoard}) {
            EXPECT_NE(std::find(drawn.begin(), drawn.end(), Texts::text(item)), drawn.end())
                << Texts::text(item) << " drawn on the menu shown again";
        }
    }
    EXPECT_EQ(testsupport::readFile("files/players.bin").size(), 2 * 56u) << "both runs are recorded";
}

}  // namespace

namespace {

// A run left at level 2 beside an angry outlaw and the farm just placed: the next run's outlaws
// start calm and its first frame shows the arrow as a fresh process's first frame does.
TEST_F(SessionTest, AnOutlawsAngerAndTheArrowsCountEndWithTheirRun) {
    startNewGame();
    frame();
    const SDL_Rect freshArrow = arrow->pos;
    ASSERT_NE(freshArrow.y, Arrow::kStartY) << "no farm in view yet: the first frame shows the arrow";
    player->setEnemy(2);
    player->setBull(2);
    frame();
    ASSERT_EQ(shell->run().level, 2);
    // The last outlaw of the pass and the last farm stand about site 2. The hero goes there in
    // two moves along one row, out of the outlaw's reach and then into it, so that the view,
    // which follows him, never carries the angry outlaw along on its other axis.
    const SDL_Rect lastOutlaw = shell->run().enemies[shell->run().enemyCount - 1]->realRect;
    player->setPos(lastOutlaw.x - 520, lastOutlaw.y - 60);
    frame();
    ASSERT_FALSE(Enemy::isAngry);
    player->setPos(lastOutlaw.x - 120, lastOutlaw.y - 60);
    frame();
    ASSERT_TRUE(Enemy::isAngry);
    ASSERT_EQ(Farm::isHere, shell->run().farmCount) << "every farm is counted as seen";
    testsupport::pushKeyDown(SDLK_ESCAPE);
    frame();
    shell->startPause();
    testsupport::pushKeyDown(SDLK_q);
    EXPECT_FALSE(shell->pausePass());
    traced([&] {
        shell->endOfRun(true);
        shell->showMenuAgain();
    });

    startNewGame();
    // Nothing in a frame reads the outlaws' mood before the first of them is checked, so the
    // value itself is what a fresh process would have.
    EXPECT_FALSE(Enemy::isAngry) << "the new run's outlaws start calm";
    frame();
    EXPECT_EQ(arrow->pos.x, freshArrow.x);
    EXPECT_EQ(arrow->pos.y, freshArrow.y) << "the first frame shows the arrow, as in a fresh process";
}

}  // namespace
