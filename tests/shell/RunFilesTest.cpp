#include "ShellFixture.h"

#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

int32_t intAt(const std::string& bytes, std::size_t offset) {
    int32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

class RunFilesTest : public ShellTest {
protected:
    std::string frame() {
        return traced([&] { shell->frame(); });
    }

    // A new game played one frame, then the window closed: returns the end of run's trace.
    std::string playOneFrameAndClose() {
        startNewGame();
        frame();
        testsupport::pushQuit();
        frame();
        return traced([&] { shell->endOfRun(); });
    }
};

TEST_F(RunFilesTest, ClosingOnTheMenuLeavesANewGamesFiles) {
    testsupport::pushQuit();
    endMenu();
    traced([&] { shell->runSetUp(); });
    EXPECT_EQ(traced([&] { shell->frameLoop(); }), "") << "the frame loop, as the process runs it, plays no frame";
    traced([&] { shell->endOfRun(); });
    const std::string players = testsupport::readFile("files/players.bin");
    ASSERT_EQ(players.size(), 56u);
    EXPECT_EQ(players[0], '\0') << "no name was typed";
    EXPECT_EQ(intAt(players, 52), 0);
    EXPECT_TRUE(testsupport::fileExists("files/replay.txt"));
    EXPECT_EQ(testsupport::readFile("files/replay.txt"), "");
    const std::string resP = testsupport::readFile("files/resP.bin");
    ASSERT_EQ(resP.size(), 56u);
    EXPECT_EQ(intAt(resP, 0), 300);
    EXPECT_EQ(intAt(resP, 4), 300);
    EXPECT_EQ(intAt(resP, 8), 5000);
    EXPECT_EQ(intAt(resP, 12), 1);
    EXPECT_EQ(intAt(resP, 24), 2);
    EXPECT_EQ(intAt(resP, 28), 2);
    // No frame ran: each enemy's screen position and the camera are still the origin.
    const std::string resE = testsupport::readFile("files/resE.bin");
    ASSERT_EQ(resE.size(), 24u);
    for (std::size_t r = 0; r < 2; ++r) {
        EXPECT_EQ(intAt(resE, r * 12), 0);
        EXPECT_EQ(intAt(resE, r * 12 + 4), 0);
        EXPECT_EQ(intAt(resE, r * 12 + 8), 50);
    }
}

TEST_F(RunFilesTest, OnlyRegularFilesAreUsedAndTheRunStillEnds) {
    // files/ is a link to the real folder, which works; in it, players.bin is a FIFO (reading or
    // writing it would wait forever) and replay.txt a link to a file outside.
    ASSERT_EQ(system("mv files store && ln -s store files && mkfifo store/players.bin"), 0);
    testsupport::writeFile("outside.txt", "not the game's");
    ASSERT_EQ(symlink("../outside.txt", "store/replay.txt"), 0);
    alarm(30);  // a run that waits on the FIFO ends the test instead of hanging it
    testing::internal::CaptureStderr();
    const std::string end = playOneFrameAndClose();
    alarm(0);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(errors,
              "bramblehoof: cannot record the replay: files/replay.txt is a link, not a regular file\n"
              "bramblehoof: cannot record the player: files/players.bin is a FIFO, not a regular file\n");
    EXPECT_EQ(testsupport::readFile("outside.txt"), "not the game's");
    EXPECT_EQ(testsupport::readFile("store/resP.bin").size(), 56u) << "the save still happens";
    EXPECT_EQ(testsupport::readFile("store/resE.bin").size(), 24u);
    EXPECT_EQ(end.substr(end.size() - 13), "Game Cleaned\n");
}

TEST_F(RunFilesTest, AQuitToTheMenuThatCouldNotSaveIsToldOnTheMenu) {
    ASSERT_EQ(system("rm -rf files"), 0);
    for (const bool folderThere : {false, true}) {
        testing::internal::CaptureStderr();
        startNewGame();
        frame();
        shell->run().quitToMenu = true;  // as Q on the pause panel leaves the run: no card follows
        Render::isRunning = false;
        traced([&] { shell->endOfRun(true); });
        traced([&] { shell->showMenuAgain(); });
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(shell->mainMenu.lastRunNotSaved, !folderThere) << (folderThere ? "saved" : "not saved");
        ASSERT_TRUE(folderThere || mkdir("files", 0755) == 0);
    }
}

TEST_F(RunFilesTest, NoFileOutsideIsChangedThroughASecondNameInFiles) {
    // Every name the run writes, or makes on the way, is a second name of a file outside.
    const std::vector<std::string> names = {"players.bin", "replay.txt",   "replay.txt.tmp", "resP.bin",
                                            "resE.bin",    "resP.bin.tmp", "resE.bin.tmp",   "save.lock"};
    ASSERT_EQ(mkdir("outside", 0755), 0);
    for (const std::string& name : names) {
        testsupport::writeFile("outside/" + name, "the player's own " + name + "\n");
        ASSERT_EQ(link(("outside/" + name).c_str(), ("files/" + name).c_str()), 0) << name;
    }
    testing::internal::CaptureStderr();
    playOneFrameAndClose();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "bramblehoof: cannot record the player: files/players.bin has other links; left alone\n");
    for (const std::string& name : names) {
        EXPECT_EQ(testsupport::readFile("outside/" + name), "the player's own " + name + "\n") << name;
    }
    // The replay and the save are made anew beside them.
    EXPECT_EQ(testsupport::readFile("files/replay.txt"), "300 300\n300 300\n");
    EXPECT_EQ(testsupport::readFile("files/resP.bin").size(), 56u);
    EXPECT_EQ(testsupport::readFile("files/resE.bin").size(), 24u);
    EXPECT_FALSE(testsupport::fileExists("files/resE.bin.tmp"));
}

}  // namespace
