#include "ShellFixture.h"

#include "persist/FileIO.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <fcntl.h>
#include <sys/file.h>
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

    // Ends this run and starts the next game process in the same folder.
    void nextProcess() {
        traced([&] { shell.reset(); });
        shell = std::make_unique<Shell>();
        SetUp();
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

TEST_F(RunFilesTest, ReplayPlaysTheRecordedLinesThenStops) {
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

TEST_F(RunFilesTest, ResumeRestoresTheHeroTheLevelAndTheLivingEnemies) {
    testsupport::pushText("Kim");
    startNewGame();
    frame();
    // The hero has removed enemy 0 and collected a bull when the window closes.
    shell->run().enemies[0].reset();
    player->enemyKill();
    player->setBull(1);
    player->setPos(640, 480);
    testsupport::pushQuit();
    frame();
    const SDL_Rect survivor = shell->run().enemies[1]->realRect;
    traced([&] { shell->endOfRun(); });
    ASSERT_EQ(testsupport::readFile("files/resE.bin").size(), 12u) << "one record per living enemy";
    const std::string players = testsupport::readFile("files/players.bin");
    ASSERT_EQ(players.size(), 56u);
    EXPECT_EQ(players.substr(0, 4), std::string("Kim\0", 4));

    nextProcess();
    testsupport::pushClick(kItemX, kResumeY);
    const std::string resumed = startNewGame();  // the RESUME click ends the menu the same way
    EXPECT_EQ(resumed, "5Render created2\n5000 1 640 480 cxxz  ffffffffffff  far  ascz Render Building created\n 50" +
                           std::to_string(survivor.x) + "\n")
        << "the resume's whole trace";
    EXPECT_EQ(Button::flag, Button::kPlay);
    EXPECT_EQ(player->getPos().x, 640);
    EXPECT_EQ(player->getEnemy(), 1);
    EXPECT_EQ(player->getBul(), 1);
    EXPECT_EQ(shell->run().enemies[0]->getID(), 1);
    EXPECT_EQ(shell->run().enemies[0]->realRect.x, survivor.x);
    EXPECT_EQ(shell->run().enemies[1]->getID(), 0) << "the killed enemy's slot stays unplaced";
    ASSERT_EQ(shell->run().farms.size(), 1u);
    EXPECT_EQ(shell->run().farmCount, 1);
    EXPECT_EQ(shell->run().farms[0]->getID(), 1) << "level 1 resumes with its farm placed";
    EXPECT_EQ(at(*shell->run().farms[0]), around(shell->farmSite1, 0));
    // Every bull is placed again around site 1, from the draws after the last seeding.
    const std::vector<int> r = draws(2);
    ASSERT_EQ(shell->run().bulls.size(), 2u);
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(shell->run().bulls[k]->getID(), 1) << "bull " << k;
        EXPECT_EQ(at(*shell->run().bulls[k]), around(shell->farmSite1, otherOffset(r[k], k)))
            << "bull " << k << " at site 1";
    }
    EXPECT_TRUE(shell->run().replayOut.is_open());
    EXPECT_EQ(testsupport::readFile("files/replay.txt"), "") << "the resumed run records afresh";
    EXPECT_EQ(hero->score, 0);

    // Removing the one restored enemy and one more bull completes the level.
    shell->run().enemies[0].reset();
    player->enemyKill();
    player->setBull(2);
    EXPECT_EQ(frame(), "You win!!!\n112 levelRender Building created\nRender Building created\n");
}

TEST_F(RunFilesTest, ResumeWithoutASavedGameStartsANewGame) {
    testing::internal::CaptureStderr();
    testsupport::pushClick(kItemX, kResumeY);
    const std::string setUp = startNewGame();
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("resume"), std::string::npos) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_EQ(setUp.find("cxxz"), std::string::npos);
    EXPECT_EQ(Button::flag, Button::kPlay);
    EXPECT_EQ(shell->run().farms[0]->getID(), 1);
    EXPECT_EQ(shell->run().enemies[1]->getID(), 1);
    EXPECT_TRUE(shell->run().replayOut.is_open());

    // A whole save, but another game is saving for longer than the wait (cut short here): no
    // half-written pair is read, a new game starts, and the line says why.
    frame();
    nextProcess();
    std::string record(56, '\0');
    const int32_t fields[8] = {10, 20, 5000, 2, 0, 0, 4, 4};
    std::memcpy(&record[0], fields, sizeof fields);
    testsupport::writeFile("files/resP.bin", record);
    const int other = open("files/save.lock", O_RDONLY | O_CREAT, 0644);
    ASSERT_EQ(flock(other, LOCK_EX), 0);
    FileIO::beforeStep = [](FileIO::Step step, const std::string&) {
        return step == FileIO::Step::Lock ? EWOULDBLOCK : 0;
    };
    testing::internal::CaptureStderr();
    testsupport::pushClick(kItemX, kResumeY);
    startNewGame();
    FileIO::beforeStep = nullptr;
    close(other);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "bramblehoof: cannot resume (another game kept files/save.lock locked for 2 s); starting a new game\n");
    EXPECT_EQ(shell->run().level, 1);
    EXPECT_EQ(player->getPos().x, 300);
}

TEST_F(RunFilesTest, ResumeRefusesALevelNoGameReaches) {
    std::string record(56, '\0');
    const int32_t fields[8] = {10, 20, 5000, 7, 0, 0, 2, 2};
    std::memcpy(&record[0], fields, sizeof fields);
    testsupport::writeFile("files/resP.bin", record);
    testing::internal::CaptureStderr();
    testsupport::pushClick(kItemX, kResumeY);
    startNewGame();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("level"), std::string::npos);
    EXPECT_EQ(shell->run().level, 1);
    EXPECT_EQ(player->getPos().x, 300) << "the broken record is not used at all";
    EXPECT_EQ(shell->run().farmCount, 1);
}

TEST_F(RunFilesTest, AHeroSavedOutsideTheWorldResumesAtItsNearestEdge) {
    std::string record(56, '\0');
    const int32_t fields[8] = {-500, 9000, 4321, 1, 0, 0, 2, 2};
    std::memcpy(&record[0], fields, sizeof fields);
    testsupport::writeFile("files/resP.bin", record);
    testsupport::writeFile("files/resE.bin", "");
    testsupport::pushClick(kItemX, kResumeY);
    startNewGame();
    ASSERT_EQ(player->getHel(), 4321) << "the save was resumed";
    EXPECT_EQ(player->getPos().x, 0);
    EXPECT_EQ(player->getPos().y, 1440 - 70);
}

TEST_F(RunFilesTest, ResumedCountsThatDoNotFitTheLevelNeverReachPastTheLists) {
    // Level 1 with no slots at all, and level 2 with the slots of level 1: each completes at once,
    // and the level change places more slots than the resumed lists would have held.
    const int32_t cases[][8] = {{300, 300, 5000, 1, 0, 0, 0, 0}, {300, 300, 5000, 2, 2, 2, 2, 2}};
    for (const auto& fields : cases) {
        std::string record(56, '\0');
        std::memcpy(&record[0], fields, sizeof fields);
        testsupport::writeFile("files/resP.bin", record);
        testsupport::writeFile("files/resE.bin", "");
        testsupport::pushClick(kItemX, kResumeY);
        startNewGame();
        ASSERT_EQ(shell->run().level, fields[3]);
        EXPECT_NE(frame().find("You win!!!"), std::string::npos);
        EXPECT_EQ(shell->run().level, fields[3] + 1);
        ASSERT_EQ(static_cast<int>(shell->run().enemies.size()), shell->run().enemyCount);
        for (const auto& enemy : shell->run().enemies) {
            EXPECT_NE(enemy->getID(), 0) << "every slot there is gets placed";
        }
        for (const auto& bull : shell->run().bulls) {
            EXPECT_NE(bull->getID(), 0);
        }
        for (const auto& farm : shell->run().farms) {
            EXPECT_NE(farm->getID(), 0);
        }
        frame();
        nextProcess();
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

TEST_F(RunFilesTest, MissingFilesFolderIsReportedOnceAndTheRunStillEnds) {
    ASSERT_EQ(system("rm -rf files"), 0);
    testing::internal::CaptureStderr();
    startNewGame();
    frame();
    testsupport::pushQuit();
    frame();
    const std::string start = testing::internal::GetCapturedStderr();
    EXPECT_NE(start.find("cannot record the replay"), std::string::npos) << start;
    testing::internal::CaptureStderr();
    const std::string end = traced([&] { shell->endOfRun(); });
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "bramblehoof: the folder files is missing: this run's score and save are not kept\n");
    EXPECT_TRUE(shell->run().notSaved) << "the card is told the run was not saved";
    // The save's trace, each enemy as saved, and nothing read back.
    EXPECT_TRUE(std::regex_search(end, std::regex(" 300 300\n\n -?[0-9]+ 50\n -?[0-9]+ 50\n\n \\*{5} \n\n \\*{5} \n")))
        << end;
    EXPECT_EQ(end.substr(end.size() - 13), "Game Cleaned\n");
    EXPECT_FALSE(testsupport::fileExists("files")) << "the game never makes the folder";
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

TEST_F(RunFilesTest, ARunIsToldNotSavedOnlyWhenItsRecordOrItsSaveDidNotGoIn) {
    // Each end of run writes its record and its save with one step failing or one note made; the
    // card's and the menu's "not saved" must follow what reached the files, not the lines said.
    struct Case {
        const char* what;
        FileIO::Step step;
        const char* file;  // the step fails for this file only
        int passing;       // after this many of its steps went well
        bool tornTail;     // the players file ends in a fragment the record's append cuts first
        const char* said;  // a piece of the line on standard error
        bool notSaved;
    };
    const Case cases[] = {
        {"a torn record cut first", FileIO::Step::Remove, "", 0, true, "torn end of an earlier record", false},
        {"the folder not flushed once the save is in", FileIO::Step::SyncFolder, "files", 1, false,
         "the game is saved, but", false},
        {"the folder not flushed before it", FileIO::Step::SyncFolder, "files", 0, false, "cannot save the game", true},
        {"the enemies' rename left to the next save", FileIO::Step::Rename, "files/resE.bin", 0, false,
         "cannot finish the save", false},
        {"the hero's rename refused", FileIO::Step::Rename, "files/resP.bin", 0, false, "cannot save the game", true},
        {"the record's append refused", FileIO::Step::Append, "files/players.bin", 0, false, "cannot record the player",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.tornTail) {
            testsupport::writeFile("files/players.bin", std::string(56 + 10, 'x'));
        }
        startNewGame();
        frame();
        testsupport::pushQuit();
        frame();
        const std::string file = c.file;
        const FileIO::Step failing = c.step;
        int passing = c.passing;
        FileIO::beforeStep = [file, failing, &passing](FileIO::Step step, const std::string& path) {
            return step == failing && path == file && passing-- <= 0 ? EIO : 0;
        };
        testing::internal::CaptureStderr();
        traced([&] { shell->endOfRun(); });
        FileIO::beforeStep = nullptr;
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
        EXPECT_EQ(shell->run().notSaved, c.notSaved) << said;
        if (c.tornTail) {
            EXPECT_EQ(testsupport::readFile("files/players.bin").size(), 2u * 56) << "the fragment cut, the record in";
        }
        nextProcess();
    }
}
