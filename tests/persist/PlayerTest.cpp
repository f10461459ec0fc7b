#include "persist/Player.h"

#include "persist/FileIO.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

using testsupport::readFile;
using testsupport::ScratchDir;
using testsupport::writeFile;

TEST(Player, ScoresAndAppendsTheHandBuiltRecord) {
    ScratchDir scratch;
    Player hero;
    EXPECT_EQ(hero.score, 0);
    for (int i = 0; i < 3; ++i)
        hero.getEnemyP();
    for (int i = 0; i < 2; ++i)
        hero.getBullP();
    EXPECT_EQ(hero.score, 190);

    hero.NewPlayer("Ann");
    EXPECT_STREQ(hero.name, "Ann");
    EXPECT_EQ(readFile("files/players.bin"), testsupport::playersRecord("Ann", 190));
}

TEST(Player, EveryRunAppendsOneRecordInOrder) {
    ScratchDir scratch;
    for (int run = 0; run < 4; ++run) {
        Player hero;
        for (int i = 0; i < run; ++i)
            hero.getBullP();
        hero.NewPlayer(run == 3 ? "" : "Sam");  // same name twice, and a run with no name
        EXPECT_EQ(readFile("files/players.bin").size(), 56u * (run + 1));
    }
    const std::vector<PlayerRecord> all = Player::readAll();
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0].name, "Sam");
    EXPECT_EQ(all[1].name, "Sam");
    EXPECT_EQ(all[2].score, 100);
    EXPECT_EQ(all[3].name, "");
    EXPECT_EQ(readFile("files/players.bin")[3 * 56], '\0');
}

TEST(Player, TornTailIsCutBeforeTheNextRecord) {
    ScratchDir scratch;
    const std::string whole = testsupport::playersRecord("Old", 30) + testsupport::playersRecord("Older", 80);
    writeFile("files/players.bin", whole + std::string(20, 'x'));  // an interrupted append
    EXPECT_EQ(Player::readAll().size(), 2u);                       // the fragment is not a record

    Player hero;
    hero.getEnemyP();
    testing::internal::CaptureStderr();
    hero.NewPlayer("New");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "bramblehoof: files/players.bin: the torn end of an earlier record, 20 byte(s), was cut\n");
    EXPECT_EQ(readFile("files/players.bin"), whole + testsupport::playersRecord("New", 30));
}

TEST(Player, LongNamesAreCutAtACharacterBoundary) {
    ScratchDir scratch;
    Player hero;
    hero.NewPlayer(std::string(60, 'a'));
    EXPECT_EQ(std::string(hero.name), std::string(51, 'a'));

    // 50 bytes and a two-byte character would need 52: the whole character goes.
    hero.NewPlayer(std::string(50, 'b') + "\xC3\xA9");
    EXPECT_EQ(std::string(hero.name), std::string(50, 'b'));

    const std::string bytes = readFile("files/players.bin");
    ASSERT_EQ(bytes.size(), 112u);
    EXPECT_EQ(bytes.substr(0, 52), std::string(51, 'a') + '\0');
    EXPECT_EQ(bytes.substr(56, 52), std::string(50, 'b') + std::string(2, '\0'));
}

TEST(Player, ReaderTakesTheNameUpToItsFirstZeroOrAllFiftyTwoBytes) {
    ScratchDir scratch;
    std::string zeroInside = testsupport::playersRecord("Al", 5);
    zeroInside[10] = 'Q';  // bytes after the first zero are not significant
    writeFile("files/players.bin", zeroInside + std::string(52, 'z') + std::string("\xFF\xFF\xFF\xFF", 4));
    const std::vector<PlayerRecord> all = Player::readAll();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].name, "Al");
    EXPECT_EQ(all[0].score, 5);
    EXPECT_EQ(all[1].name, std::string(52, 'z'));
    EXPECT_EQ(all[1].score, -1);
}

TEST(Player, GetAllListsEveryWholeRecord) {
    ScratchDir scratch;
    writeFile("files/players.bin",
              testsupport::playersRecord("Ann", 190) + testsupport::playersRecord("Bob", 0) + "torn");
    Player hero;
    testing::internal::CaptureStdout();
    hero.GetAll();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\n190\nAnn\n0\nBob  \n");

    Player elsewhere("files/none.bin");
    testing::internal::CaptureStdout();
    elsewhere.GetAll();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "  \n");
}

TEST(Player, FailedWriteReportsOnStderrAndGoesOn) {
    {
        ScratchDir scratch(false);
        Player hero;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        EXPECT_NO_THROW(hero.NewPlayer("Ann"));
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_NE(err.find("files/players.bin"), std::string::npos);
        EXPECT_EQ(err.find('\n'), err.size() - 1);       // exactly one line
        EXPECT_FALSE(testsupport::fileExists("files"));  // the folder is never made
    }
    // A disk with no space left: the file keeps its whole records and nothing more.
    ScratchDir scratch;
    writeFile("files/players.bin", testsupport::playersRecord("Old", 30) + "torn");
    FileIO::beforeStep = [](FileIO::Step step, const std::string&) {
        return step == FileIO::Step::Append ? ENOSPC : 0;
    };
    Player full;
    testing::internal::CaptureStderr();
    EXPECT_NO_THROW(full.NewPlayer("Ann"));
    const std::string err = testing::internal::GetCapturedStderr();
    FileIO::beforeStep = nullptr;
    EXPECT_EQ(err,
              "bramblehoof: files/players.bin: the torn end of an earlier record, 4 byte(s), was cut\n"
              "bramblehoof: cannot record the player in files/players.bin: No space left on device\n");
    EXPECT_EQ(readFile("files/players.bin"), testsupport::playersRecord("Old", 30));
}

TEST(Player, TwoGamesEndingTogetherLoseNothing) {
    ScratchDir scratch;
    const std::string torn = testsupport::playersRecord("Old", 30) + std::string(20, 'x');
    writeFile("files/players.bin", torn);
    // The other game ends just as this one cuts the torn tail. If it can take the lock it appends
    // its record then and there (as it would, unlocked); if not, it waits and appends afterwards.
    bool otherWaited = false;
    FileIO::beforeStep = [&](FileIO::Step step, const std::string& path) {
        if (step != FileIO::Step::Cut)
            return 0;
        const int fd = open(path.c_str(), O_WRONLY | O_APPEND);
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
            const std::string record = testsupport::playersRecord("Other", 80);
            EXPECT_EQ(write(fd, record.data(), record.size()), 56);
        } else {
            otherWaited = true;
        }
        close(fd);
        return 0;
    };
    Player hero;
    hero.NewPlayer("Mine");
    FileIO::beforeStep = nullptr;
    if (otherWaited) {
        Player other;
        other.score = 80;
        other.NewPlayer("Other");
    }
    const std::vector<PlayerRecord> all = Player::readAll();
    ASSERT_EQ(all.size(), 3u) << "a finished record was cut away";
    EXPECT_EQ(all[0].name, "Old");
    EXPECT_EQ(all[1].name, "Mine");
    EXPECT_EQ(all[2].name, "Other");
    EXPECT_EQ(readFile("files/players.bin").size(), 3u * 56);
}
