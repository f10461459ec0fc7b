#pragma once

#include "present/ControlsScreen.h"
#include "present/OptionsScreen.h"
#include "shell/Shell.h"
#include "world/RandomSeed.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// A whole game started headless in a scratch folder, stepped phase by phase; its console trace
// is captured from start-up on. Every seeding of rand() reads the same second, kSecond, so each
// placement is known exactly.
class ShellTest : public testing::Test {
protected:
    static constexpr std::time_t kSecond = 1700000000;
    static std::time_t fixedClock() { return kSecond; }

    testsupport::ScratchDir scratch;
    std::unique_ptr<Shell> shell = std::make_unique<Shell>();
    std::string startTrace;  // what start-up wrote

    void SetUp() override {
        // Headless on the software renderer; BRAMBLEHOOF_TEST_VIDEO=x11 (under xvfb-run) runs a
        // test on a real display's renderer, OpenGL, instead (even where the game itself would
        // take the software renderer, unless SDL_RENDER_DRIVER names one).
        const char* video = std::getenv("BRAMBLEHOOF_TEST_VIDEO");
        const bool real = video != nullptr && *video != '\0';
        setenv("SDL_VIDEODRIVER", real ? video : "dummy", 1);
        if (real) {
            setenv("SDL_RENDER_DRIVER", "opengl", 0);
        }
        shell->seed.clock = &fixedClock;
        shell->pacer.enabled = false;
        bool started = false;
        startTrace = traced([&] { started = shell->startUp(); });
        ASSERT_TRUE(started);
        testsupport::drainEvents();
    }

    void TearDown() override { shell.reset(); }

    // Runs step and returns what it wrote on standard output. Failures must not be reported
    // while the output is captured, or their messages would be swallowed.
    template <typename Step>
    static std::string traced(Step step) {
        testing::internal::CaptureStdout();
        step();
        return testing::internal::GetCapturedStdout();
    }

    // The menu phase, bounded so that a menu that never ends fails instead of hanging; returns
    // its trace.
    std::string endMenu() {
        bool ended = false;
        const std::string trace = traced([&] {
            for (int pass = 0; pass < kMaxMenuPasses && !ended; ++pass) {
                ended = !shell->menuPass();
            }
        });
        EXPECT_TRUE(ended) << "the menu did not end within " << kMaxMenuPasses << " passes";
        return trace;
    }

    // The frame loop, bounded likewise; returns its trace.
    std::string endFrames(int maxFrames) {
        int frames = 0;
        const std::string trace = traced([&] {
            for (; frames < maxFrames && Render::isRunning && player != nullptr; ++frames) {
                shell->frame();
            }
        });
        EXPECT_FALSE(Render::isRunning && player != nullptr) << "the run went on after " << frames << " frames";
        return trace;
    }

    // Ends the menu with a click on NEW GAME (or on an item clicked before) and sets up the run;
    // returns the trace.
    std::string startNewGame() {
        testsupport::pushClick(kItemX, kNewGameY);
        const std::string menuTrace = endMenu();
        return menuTrace + traced([&] { shell->runSetUp(); });
    }

    // A new game, paused at its second frame, with the options opened over the pause panel.
    void optionsOverThePause() {
        startNewGame();
        traced([&] { shell->frame(); });
        testsupport::pushKeyDown(SDLK_ESCAPE);
        traced([&] { shell->frame(); });
        shell->startPause();
        testsupport::pushKeyDown(SDLK_o);
        ASSERT_TRUE(shell->pausePass());
    }

    // The index of the options row labelled so, on the options open now (Back is the number of
    // rows); presses of Down from the first row reach it that many times.
    std::size_t optionRow(const std::string& label) const {
        const std::size_t row = options().rowNamed(label);
        EXPECT_LT(row, options().lines()) << "no options row '" << label << "'";
        return row;
    }
    // The options screen open now, on top of the screens.
    OptionsScreen& options() const {
        auto* open = dynamic_cast<OptionsScreen*>(shell->screens.top());
        EXPECT_NE(open, nullptr) << "no options screen open";
        return *open;
    }

    // A saved hero with these fields (x, y, health, level, killed, collected, enemies, bulls).
    static void saveHero(const int32_t (&fields)[8]) {
        std::string record(56, '\0');
        std::memcpy(&record[0], fields, sizeof fields);
        testsupport::writeFile("files/resP.bin", record);
    }

    // The first n values of rand() after a seeding with the fixture's second, the values every
    // placement of these runs draws from.
    static std::vector<int> draws(int n) {
        srand(static_cast<unsigned>(kSecond));
        std::vector<int> values;
        for (int i = 0; i < n; ++i) {
            values.push_back(rand());
        }
        return values;
    }

    // The offset of a bull, or of an enemy placed at a level change, in slot k for the draw r.
    static int otherOffset(int r, int k) { return k % 2 == 0 ? r % 150 - 100 : r % 250 + 100; }

    // Where a placed enemy, bull or farm stands in the world, and where it should stand: at the
    // site moved by d on both axes.
    static std::pair<int, int> at(const Render& thing) { return {thing.worldX, thing.worldY}; }
    static std::pair<int, int> around(const Site& site, int d) { return {site.x + d, site.y + d}; }

    static constexpr int kMaxMenuPasses = 50;

    // The menu's item centres.
    static constexpr int kItemX = 540;
    static constexpr int kNewGameY = 360;
    static constexpr int kReplayY = 310;
    static constexpr int kResumeY = 260;
    static constexpr int kScoreBoardY = 210;
};
