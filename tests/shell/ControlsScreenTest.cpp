#include "ShellFixture.h"

#include "present/HelpPanel.h"
#include "present/OptionRows.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The controls opened from the options over the pause panel, in a whole game: a key given there is
// named at once wherever the game tells the player his keys.
class ControlsScreenInAGame : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        optionsOverThePause();
        for (std::size_t at = options().chosen(); at < optionRow(OptionRows::kControls); ++at) {
            testsupport::pushKeyDown(SDLK_DOWN);
        }
        testsupport::pushKeyDown(SDLK_RETURN);
        ASSERT_TRUE(shell->pausePass());
        ASSERT_NE(dynamic_cast<ControlsScreen*>(shell->screens.top()), nullptr) << "the controls are open";
    }

    static bool names(const std::vector<std::string>& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
};

TEST_F(ControlsScreenInAGame, AKeyGivenIsNamedAtOnceByTheHelpAndByThePausePanelOnceBackThere) {
    const std::vector<std::string> before = shell->help.text();
    ASSERT_FALSE(before.empty());
    testsupport::pushKeyDown(SDLK_RETURN);  // Up waits
    testsupport::pushKeyDown(SDLK_i);
    ASSERT_TRUE(shell->pausePass());
    ASSERT_EQ(shell->settings.keys.keysOf(KeyBindings::Action::Up), (std::vector<SDL_Keycode>{SDLK_i, SDLK_UP}));
    const std::vector<std::string> now = HelpPanel::linesFor(shell->settings.keys, false);
    ASSERT_NE(now, before) << "the walking keys' line names I now";
    EXPECT_EQ(shell->help.text(), now) << "the help names the new key while the controls are still open";

    testsupport::pushKeyDown(SDLK_ESCAPE);  // the controls close
    ASSERT_TRUE(shell->pausePass());
    testsupport::pushKeyDown(SDLK_ESCAPE);  // and the options
    ASSERT_TRUE(shell->pausePass());
    ASSERT_EQ(shell->screens.top(), &shell->playing->pausePanel());
    for (const std::string& line : now) {
        EXPECT_TRUE(names(shell->playing->pausePanel().text(), line)) << "the pause panel says: " << line;
    }
}

}  // namespace
