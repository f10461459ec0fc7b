#include "ShellFixture.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

// The shell tests link with --wrap=TTF_OpenFont: every font a game opens, by file and size.
namespace {
std::vector<std::pair<std::string, int>> fontOpens;
}  // namespace

extern "C" TTF_Font* __real_TTF_OpenFont(const char* file, int size);
extern "C" TTF_Font* __wrap_TTF_OpenFont(const char* file, int size) {
    fontOpens.emplace_back(file, size);
    return __real_TTF_OpenFont(file, size);
}

namespace {

class FontCacheInAGame : public ShellTest {};

TEST_F(FontCacheInAGame, AProcessOpensTheFontOncePerSize) {
    shell.reset();  // its fonts closed with it
    fontOpens.clear();
    shell = std::make_unique<Shell>();
    shell->seed.clock = &fixedClock;
    shell->pacer.enabled = false;
    bool started = false;
    traced([&] { started = shell->startUp(); });
    ASSERT_TRUE(started);
    testsupport::drainEvents();
    startNewGame();
    for (int frame = 0; frame < 5; ++frame) {
        traced([&] { shell->frame(); });
    }
    EXPECT_GE(fontOpens.size(), 2u) << "the menu's and the help's sizes at least";
    // Each size once for its letters and once more for an outlined line's edge.
    for (const auto& open : fontOpens) {
        EXPECT_LE(std::count(fontOpens.begin(), fontOpens.end(), open), 2)
            << open.first << " at " << open.second << " points, of " << fontOpens.size() << " opens";
    }
}

}  // namespace
