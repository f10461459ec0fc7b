#include "shell/Shell.h"

#include "present/ResultCard.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

namespace {

// The order of the phases as the process runs them: the whole of Shell::play, its player's
// presses waiting in SDL's queue or pushed when the game reaches a given moment.
std::time_t fixedClock() { return 1700000000; }

// Moments of the run a press waits for: the seeds read (start-up reads two, a new game's set-up
// the next ones) and the strings the game draws.
int seedsRead = 0;
std::time_t countingClock() {
    ++seedsRead;
    if (seedsRead == 3) {
        testsupport::pushKeyDown(SDLK_ESCAPE);  // set up: the first frame pauses
    }
    return fixedClock();
}

// The shell a test plays, for the moments it acts in.
Shell* shellNow = nullptr;
Run* playingRun() { return &shellNow->run(); }

class ShellPlayTest : public testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        shell->seed.clock = &fixedClock;
        shell->pacer.enabled = false;
        // Started before the game, so that what the player pressed first waits for it.
        ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0) << SDL_GetError();
        testsupport::drainEvents();
        seedsRead = 0;
    }
    void TearDown() override {
        Text::onRender = nullptr;
        shell.reset();
        SDL_Quit();
    }

    // The whole process; its exit status, and its trace in `trace`.
    int play(std::string& trace) {
        testing::internal::CaptureStdout();
        const int status = shell->play();
        trace = testing::internal::GetCapturedStdout();
        return status;
    }

    static std::size_t count(const std::string& in, const std::string& what) {
        std::size_t n = 0;
        for (std::size_t at = in.find(what); at != std::string::npos; at = in.find(what, at + 1)) {
            ++n;
        }
        return n;
    }

    testsupport::ScratchDir scratch;
    std::unique_ptr<Shell> shell = std::make_unique<Shell>();
};

// A window closed on the first menu: the run it would have chosen is set up and kept as the phases
// keep it, but no frame is played, no card shown, and the process ends with its teardown.
TEST_F(ShellPlayTest, AProcessClosedOnItsFirstMenuPlaysNoFrame) {
    testsupport::pushQuit();
    std::string trace;
    EXPECT_EQ(play(trace), 0);
    const std::string phases =
        "pcchemuRender created2\nRender Building created\n 300 300\n\n 0 50\n 0 50\n"
        " 50 -1000\n 50 -1000\n\n ***** \n\n ***** \nGame Cleaned\n";
    ASSERT_GE(trace.size(), phases.size()) << trace;
    EXPECT_EQ(trace.substr(trace.size() - phases.size()), phases) << trace;
    EXPECT_EQ(count(trace, "Game Cleaned"), 1u);
    EXPECT_EQ(testsupport::readFile("files/replay.txt"), "") << "no frame recorded";
    EXPECT_EQ(testsupport::readFile("files/players.bin").size(), 56u) << "the run is kept";
    EXPECT_EQ(Render::renderer, nullptr) << "the window is gone";
}

// Q on the pause panel goes back to the menu; a close on that menu ends the process at once: the
// run before it was kept, and no new run is set up or kept.
TEST_F(ShellPlayTest, ACloseOnTheMenuShownAgainEndsTheProcessAtOnce) {
    shell->seed.clock = &countingClock;
    testsupport::pushKeyDown(SDLK_RETURN);  // NEW GAME has the focus
    static bool paused = false;
    static int closes = 0;
    paused = false;
    closes = 0;
    Text::onRender = [](const std::string& drawn) {
        if (drawn == std::string(ResultCard::kPaused)) {
            paused = true;
            testsupport::pushKeyDown(SDLK_q);
        } else if (paused && drawn == "NEW GAME") {
            paused = false;  // the menu shown again
            ++closes;
            testsupport::pushQuit();
        }
    };
    std::string trace;
    EXPECT_EQ(play(trace), 0);
    EXPECT_EQ(closes, 1) << "the menu was shown again";
    EXPECT_EQ(testsupport::readFile("files/players.bin").size(), 56u) << "the one run is kept, and only it";
    EXPECT_EQ(count(trace, " ***** "), 2u) << "one save: " << trace;
    EXPECT_EQ(testsupport::readFile("files/replay.txt"), "300 300\n") << "the run's one frame, no new recording";
    EXPECT_EQ(count(trace, "Game Cleaned"), 1u);
    EXPECT_EQ(trace.substr(trace.size() - std::min<std::size_t>(trace.size(), 13)), "Game Cleaned\n");
}

// A run that ends by itself is kept before its card shows: a process killed while the card waits
// loses nothing. A close on the card ends the process.
TEST_F(ShellPlayTest, ARunEndedByItselfIsKeptBeforeItsCardShows) {
    testsupport::pushKeyDown(SDLK_RETURN);
    static std::string keptWhenShown;
    static bool struck = false;
    static int frames = 0;
    keptWhenShown = "(no card)";
    struck = false;
    frames = 0;
    Text::onRender = [](const std::string& drawn) {
        if (!struck && drawn.rfind("Health: ", 0) == 0 && player != nullptr) {
            // The hero, nearly spent, stands on an outlaw's corner: it strikes him down.
            struck = true;
            const SDL_Rect enemyAt = playingRun()->enemies[0]->realRect;
            player->setAll(enemyAt.x - 35, enemyAt.y - 35, 4);
        } else if (drawn.rfind("Health: ", 0) == 0 && ++frames == 3000) {
            testsupport::pushQuit();  // the hero never fell: the test fails rather than hangs
        } else if (drawn == std::string(ResultCard::kDied)) {
            keptWhenShown = testsupport::readFile("files/players.bin");
            testsupport::pushQuit();
        }
    };
    shellNow = shell.get();
    std::string trace;
    EXPECT_EQ(play(trace), 0);
    EXPECT_NE(trace.find("youre dead"), std::string::npos) << trace;
    EXPECT_EQ(keptWhenShown.size(), 56u) << "the record was in when the card showed";
    EXPECT_EQ(testsupport::readFile("files/players.bin"), keptWhenShown) << "and the card added nothing";
    EXPECT_EQ(count(trace, "Game Cleaned"), 1u);
}

// A video driver SDL cannot start is named in its error as the player set it: the process ends
// before any menu, and its one line on stderr shows the name's escape and bell as text, so they
// neither colour the terminal nor ring.
TEST_F(ShellPlayTest, AnUnknownVideoDriverIsToldAsOnePrintableLine) {
    setenv("SDL_VIDEODRIVER", "x\x1b[31m\a", 1);
    testing::internal::CaptureStderr();
    std::string trace;
    const int status = play(trace);
    const std::string told = testing::internal::GetCapturedStderr();
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    EXPECT_NE(status, 0);
    EXPECT_EQ(trace, "") << "no window, so no trace";
    EXPECT_EQ(told.rfind("bramblehoof: SDL could not start: ", 0), 0u) << told;
    EXPECT_EQ(count(told, "\n"), 1u) << told;
    EXPECT_EQ(told.back(), '\n');
    EXPECT_EQ(told.find('\x1b'), std::string::npos) << told;
    EXPECT_EQ(told.find('\a'), std::string::npos) << told;
    EXPECT_NE(told.find("x\\x1b[31m\\x07"), std::string::npos) << "the name as typed, escaped: " << told;
}

}  // namespace
