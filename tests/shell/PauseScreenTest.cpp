#include "PlayFixture.h"

#include "present/ChoicePanel.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The pause panel in a game: what the level still needs, and which way the nearest of it lies.
class PauseScreenInPlay : public PlayTest {
protected:
    // Escape in play, the panel it asks for, and its picture.
    PauseScreen& pause() {
        testsupport::pushKeyDown(SDLK_ESCAPE);
        frame();
        shell->startPause();
        shell->pausePass();
        return shell->playing->pausePanel();
    }
    static bool has(const PauseScreen& panel, const std::string& line) {
        const std::vector<std::string>& text = panel.text();
        return std::find(text.begin(), text.end(), line) != text.end();
    }
};

TEST_F(PauseScreenInPlay, ThePanelTellsWhatIsLeftAndPointsToTheNearest) {
    startNewGame();
    frame();
    player->setBull(1);  // one of the two bulls collected
    // The hero well to the left of the first outlaw, who is the nearest of all.
    const SDL_Rect enemyAt = shell->run().enemies[0]->realRect;
    player->setPos(enemyAt.x - 400, enemyAt.y - 3);
    PauseScreen& panel = pause();
    EXPECT_TRUE(has(panel, "Outlaws left: 2   Bulls left: 1"));
    ASSERT_TRUE(panel.reminder.nearest);
    EXPECT_FALSE(panel.reminder.nearestBull);
    EXPECT_TRUE(has(panel, "Nearest outlaw: east")) << "he stands to the right";

    // The arrow before that line: the panel's ink in a square left of the line, where none was
    // before the arrow was drawn.
    const std::vector<Uint32> shown = picture();
    const SDL_Color ink = ChoicePanel::kInk;
    const Uint32 inkPixel = (Uint32{ink.r} << 24) | (Uint32{ink.g} << 16) | (Uint32{ink.b} << 8) | 0xff;
    std::size_t line = 0;
    for (std::size_t i = 0; i < panel.text().size(); ++i) {
        line = panel.text()[i] == "Nearest outlaw: east" ? i : line;
    }
    ASSERT_GT(line, 0u);
    EXPECT_EQ(PauseScreen::wayOf(0, -50), "north");
    EXPECT_EQ(PauseScreen::wayOf(-40, 38), "south-west");
    EXPECT_EQ(PauseScreen::wayOf(-100, 10), "west");
    const SDL_Rect at = panel.lineAt(line);
    const SDL_Rect before{at.x - PauseScreen::kArrowSize - 20, at.y, PauseScreen::kArrowSize + 16, at.h};
    const int arrow = countIn(shown, before, inkPixel);
    EXPECT_GT(arrow, PauseScreen::kArrowSize * 4) << "an arrow in the panel's ink";
}

}  // namespace
