#include "ShellFixture.h"

#include "persist/FileIO.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace {

// The saved game as a run sees it: kept at the end of every run (the record and the save, and
// whether both went in), and restored, or refused, when RESUME is chosen.
class SavedRunTest : public ShellTest {
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
};

TEST_F(SavedRunTest, ResumeRestoresTheHeroTheLevelAndTheLivingEnemies) {
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

// RESUME with no saved game starts nothing (the menu says why); NEW GAME then starts as always. A
// save that looked whole on the menu but is being written by another game when the run is set up
// is not read: a new game starts instead.
TEST_F(SavedRunTest, ResumeWithoutASavedGameStartsNothingAndABusySaveStartsANewGame) {
    testing::internal::CaptureStderr();
    testsupport::pushClick(kItemX, kResumeY);
    const std::string setUp = startNewGame();
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(setUp.rfind("huy", 0), 0u) << "no RESUME traced: " << setUp;
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

TEST_F(SavedRunTest, ResumeRefusesALevelNoGameReaches) {
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

TEST_F(SavedRunTest, AHeroSavedOutsideTheWorldResumesAtItsNearestEdge) {
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

TEST_F(SavedRunTest, ResumedCountsThatDoNotFitTheLevelNeverReachPastTheLists) {
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

TEST_F(SavedRunTest, MissingFilesFolderIsReportedOnceAndTheRunStillEnds) {
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

TEST_F(SavedRunTest, ARunIsToldNotSavedOnlyWhenItsRecordOrItsSaveDidNotGoIn) {
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

// A save cut between its two renames (the hero's file in, the enemies' still a temporary) is
// finished by the resume, which then plays it; one it cannot finish, or a hero's record cut
// short, is refused with one line and a new game, nothing of it used.
TEST_F(SavedRunTest, AResumeFinishesASaveCutBetweenItsRenamesAndRefusesOneItCannotUse) {
    const int32_t hero[8] = {640, 480, 4000, 1, 1, 0, 2, 2};
    const auto enemyRecord = [](int32_t x, int32_t y, int32_t health) {
        std::string bytes(12, '\0');
        const int32_t fields[3] = {x, y, health};
        std::memcpy(&bytes[0], fields, sizeof fields);
        return bytes;
    };
    saveHero(hero);
    testsupport::writeFile("files/resE.bin", enemyRecord(100, 100, 50) + enemyRecord(200, 200, 50));
    testsupport::writeFile("files/resE.bin.tmp", enemyRecord(700, 800, 33));
    testing::internal::CaptureStderr();
    testsupport::pushClick(kItemX, kResumeY);
    const std::string trace = startNewGame();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_NE(trace.find("cxxz"), std::string::npos) << trace;
    EXPECT_EQ(player->getHel(), 4000);
    EXPECT_EQ(shell->run().enemies[0]->getHel(), 33) << "the enemies of the save that was cut";
    EXPECT_EQ(shell->run().enemies[1]->getID(), 0) << "one enemy lived in it";
    EXPECT_FALSE(testsupport::fileExists("files/resE.bin.tmp"));
    EXPECT_EQ(testsupport::readFile("files/resE.bin"), enemyRecord(700, 800, 33));
    frame();

    const struct {
        const char* what;
        std::string heroBytes;
        bool linkedTemporary;  // the enemies' temporary is a link to a file elsewhere
        const char* said;
    } refused[] = {
        {"a hero's record cut short", std::string(30, '\1'), false, "saved game is incomplete"},
        {"a temporary that is not the game's", "", true, "the last save cannot be finished"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.what);
        nextProcess();
        saveHero(hero);
        if (!c.heroBytes.empty()) {
            testsupport::writeFile("files/resP.bin", c.heroBytes);
        }
        if (c.linkedTemporary) {
            testsupport::writeFile("elsewhere.bin", enemyRecord(700, 800, 33));
            ASSERT_EQ(symlink("../elsewhere.bin", "files/resE.bin.tmp"), 0);
        }
        testing::internal::CaptureStderr();
        testsupport::pushClick(kItemX, kResumeY);
        const std::string setUp = startNewGame();
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.rfind("bramblehoof: cannot resume (", 0), 0u) << said;
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_EQ(setUp.find("cxxz"), std::string::npos) << "nothing of it is restored";
        EXPECT_EQ(Button::flag, Button::kPlay);
        EXPECT_EQ(player->getPos().x, 300);
        EXPECT_EQ(player->getHel(), 5000);
        EXPECT_EQ(shell->run().enemies[1]->getID(), 1) << "a new game's enemies are placed";
        EXPECT_EQ(testsupport::readFile("elsewhere.bin"), c.linkedTemporary ? enemyRecord(700, 800, 33) : "");
        frame();
    }
}

}  // namespace
