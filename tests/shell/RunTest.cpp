#include "ShellFixture.h"

#include "world/Enemy.h"
#include "world/Farm.h"

#include <cstring>
#include <tuple>

namespace {

int32_t intAt(const std::string& bytes, std::size_t offset) {
    int32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

// One run's own state and its mode steps, in a whole game.
class RunTest : public ShellTest {
protected:
    std::string frame() {
        return traced([&] { shell->frame(); });
    }

    // The class-wide values every run reads: the menu's phase and mode, the frame loop's flag,
    // the farms' countdown and the outlaws' mood.
    static std::tuple<int, int, bool, int, bool> classWide() {
        return {Button::checkIs, Button::flag, Render::isRunning, Farm::isHere, Enemy::isAngry};
    }
};

TEST_F(RunTest, ReplayPlaysTheRecordedLinesThenStops) {
    testsupport::writeFile("files/replay.txt", "-12 40\n100\t\t200\r\n7   8\n");
    testsupport::pushClick(kItemX, kReplayY);
    endMenu();
    traced([&] { shell->runSetUp(); });
    const std::string load = frame();
    // Each line twice: as read, then its x text and y text; with no space the x text is the whole line.
    EXPECT_EQ(load, "-12 40\n-12 40\n100\t\t200\r\n100\t\t200\r 200\r\n7   8\n7 8\n");
    EXPECT_EQ(Button::flag, Button::kPlayback);
    EXPECT_EQ(player->getPos().x, 300) << "the loading frame moves nobody";
    frame();
    EXPECT_EQ(player->getPos().x, -12);
    EXPECT_EQ(player->getPos().y, 40);
    frame();
    EXPECT_EQ(player->getPos().x, 100);
    EXPECT_EQ(player->getPos().y, 200);
    frame();
    EXPECT_EQ(player->getPos().x, 7);
    EXPECT_TRUE(Render::isRunning);
    EXPECT_EQ(frame(), "STOOOP") << "frame N + 2 ends the replay";
    EXPECT_FALSE(Render::isRunning);
    for (const auto& enemy : shell->run().enemies) {
        EXPECT_EQ(enemy->getID(), 0) << "a replay places nobody";
    }
    traced([&] { shell->endOfRun(); });
    EXPECT_EQ(testsupport::readFile("files/replay.txt"), "-12 40\n100\t\t200\r\n7   8\n") << "a replay never records";
    EXPECT_EQ(intAt(testsupport::readFile("files/resP.bin"), 12), 3) << "a replay run is saved at level 3";
}

// A run that ends a replay leaves every class-wide value changed (the menu closed, the mode
// playback, the frame loop stopped, farms counted as seen, an outlaw angry): the next run's menu
// finds them all as a fresh process has them before its first menu.
TEST_F(RunTest, TheNextRunFindsTheClassWideValuesAsAFreshProcessHasThem) {
    const auto fresh = classWide();
    testsupport::writeFile("files/replay.txt", "310 300\n");
    testsupport::pushClick(kItemX, kReplayY);
    endMenu();
    traced([&] { shell->runSetUp(); });
    frame();
    Farm::isHere = 2;
    Enemy::isAngry = true;
    frame();
    frame();
    ASSERT_EQ(shell->run().outcome, Run::Outcome::ReplayOver);
    const auto left = classWide();
    EXPECT_NE(std::get<0>(left), std::get<0>(fresh));
    EXPECT_NE(std::get<1>(left), std::get<1>(fresh));
    EXPECT_NE(std::get<2>(left), std::get<2>(fresh));
    traced([&] {
        shell->commitRun();
        shell->endOfRun(true);
        shell->showMenuAgain();
    });
    EXPECT_EQ(classWide(), fresh);
    testsupport::pushKeyDown(SDLK_RETURN);
    endMenu();
    EXPECT_EQ(Button::flag, Button::kPlay) << "NEW GAME from the menu shown again";
    traced([&] { shell->runSetUp(); });
    frame();
    EXPECT_TRUE(Render::isRunning) << "the new run plays";
    EXPECT_NE(testsupport::readFile("files/replay.txt"), "310 300\n") << "and records afresh";
}

}  // namespace
