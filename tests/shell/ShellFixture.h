#pragma once

#include "shell/Shell.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// A whole game started headless in a scratch folder, stepped phase by phase; its console trace
// is captured from start-up on.
class ShellTest : public testing::Test {
protected:
    testsupport::ScratchDir scratch;
    std::unique_ptr<Shell> shell = std::make_unique<Shell>();
    std::string startTrace;  // what start-up wrote

    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
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

    // Ends the menu with a click on NEW GAME and sets up a new game; returns the trace.
    std::string startNewGame() {
        testsupport::pushClick(kItemX, kNewGameY);
        return traced([&] {
            shell->menuPhase();
            shell->runSetUp();
        });
    }

    // The menu's item centres.
    static constexpr int kItemX = 540;
    static constexpr int kNewGameY = 360;
    static constexpr int kReplayY = 310;
    static constexpr int kResumeY = 260;
    static constexpr int kScoreBoardY = 210;
};
