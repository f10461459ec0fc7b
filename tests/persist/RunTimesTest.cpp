#include "persist/RunTimes.h"

#include "persist/SavedGame.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using testsupport::readFile;
using testsupport::ScratchDir;
using testsupport::writeFile;

// A time as a player reads it: minutes, two-digit seconds, tenths cut (never rounded up to a
// second the run did not reach), and no hour column for a long run.
TEST(RunTimes, ClocksReadAsMinutesSecondsAndTenths) {
    EXPECT_EQ(RunTimes::clock(0), "0:00.0");
    EXPECT_EQ(RunTimes::clock(5), "0:00.0");
    EXPECT_EQ(RunTimes::clock(6), "0:00.1");
    EXPECT_EQ(RunTimes::clock(59 * 60 + 59), "0:59.9");
    EXPECT_EQ(RunTimes::clock(60 * 60), "1:00.0");
    EXPECT_EQ(RunTimes::clock(61 * 60 * 60 + 30), "61:00.5");
    EXPECT_EQ(RunTimes::clock(125 * 60 + 59, false), "2:05");
}

// However the frames fall, the levels' times as shown add up to the run's time as shown, and
// each is within a tenth of its own frames.
TEST(RunTimes, LevelTimesAsShownAddUpToTheRunsTime) {
    for (int64_t a = 0; a < 40; ++a) {
        for (int64_t b = 0; b < 40; ++b) {
            for (const int64_t c : {int64_t{0}, int64_t{1}, int64_t{5}, int64_t{6}, int64_t{7}, int64_t{3599}}) {
                const std::array<int64_t, 3> frames{a, b, c};
                const auto splits = RunTimes::shownSplits(frames);
                EXPECT_EQ(RunTimes::clock(splits[0] + splits[1] + splits[2]), RunTimes::clock(a + b + c));
                for (int l = 0; l < 3; ++l) {
                    EXPECT_EQ(splits[l] % 6, 0) << "whole tenths";
                    EXPECT_LT(std::llabs(splits[l] - frames[l]), 6) << a << " " << b << " " << c << " level " << l;
                }
            }
        }
    }
}

// What is added reads back; a record added again is replaced; a damaged file is written anew with
// only the new record; the file is replaced whole, never left half written.
TEST(RunTimes, AddedTimesReadBackAndADamagedFileIsWrittenAnew) {
    ScratchDir scratch;
    ::mkdir("files/runs", 0755);
    RunTimes::Entry won;
    won.ending = RunTimes::Ending::Won;
    won.level = 3;
    won.frames = {100, 200, 300};
    RunTimes::Entry left;
    left.level = 2;
    left.frames = {50, 7, 0};
    std::string error;
    ASSERT_TRUE(RunTimes::add(RunTimes::kPath, 4, won, SavedGame::kPlayerPath, error)) << error;
    ASSERT_TRUE(RunTimes::add(RunTimes::kPath, 1, left, SavedGame::kPlayerPath, error)) << error;
    EXPECT_EQ(readFile(RunTimes::kPath), "bramblehoof times 1\n1 left 2 50 7 0 0 1\n4 won 3 100 200 300 0 1\n");

    std::map<std::size_t, RunTimes::Entry> read;
    std::string why;
    ASSERT_TRUE(RunTimes::read(RunTimes::kPath, read, why)) << why;
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read.at(4).total(), 600);
    EXPECT_EQ(read.at(1).ending, RunTimes::Ending::Left);
    EXPECT_FALSE(read.at(4).assisted);
    EXPECT_TRUE(read.at(4).whole());

    // A resumed run keeps the level it began at; one said to begin past the level it reached, or
    // at none, is damage.
    RunTimes::Entry resumed = won;
    resumed.frames = {0, 0, 90};
    resumed.from = 3;
    ASSERT_TRUE(RunTimes::add(RunTimes::kPath, 7, resumed, SavedGame::kPlayerPath, error)) << error;
    ASSERT_TRUE(RunTimes::read(RunTimes::kPath, read, why)) << why;
    EXPECT_EQ(read.at(7).from, 3);
    EXPECT_FALSE(read.at(7).whole());
    for (const char* damaged : {"1 lost 2 50 7 0 0 3\n", "1 lost 2 50 7 0 0 0\n", "1 lost 2 50 7 0 0\n"}) {
        writeFile(RunTimes::kPath, std::string("bramblehoof times 1\n") + damaged);
        EXPECT_FALSE(RunTimes::read(RunTimes::kPath, read, why)) << damaged;
    }
    ::unlink(RunTimes::kPath);
    ASSERT_TRUE(RunTimes::add(RunTimes::kPath, 4, won, SavedGame::kPlayerPath, error)) << error;
    ASSERT_TRUE(RunTimes::add(RunTimes::kPath, 1, left, SavedGame::kPlayerPath, error)) << error;

    ASSERT_TRUE(RunTimes::add(RunTimes::kPath, 1, won, SavedGame::kPlayerPath, error)) << error;
    EXPECT_EQ(readFile(RunTimes::kPath), "bramblehoof times 1\n1 won 3 100 200 300 0 1\n4 won 3 100 200 300 0 1\n");

    writeFile(RunTimes::kPath, "bramblehoof times 1\n1 won 3 100 200 300 0 1\n4 won 3 100 200\n");
    EXPECT_FALSE(RunTimes::read(RunTimes::kPath, read, why));
    EXPECT_TRUE(read.empty()) << "nothing taken from a damaged file";
    ASSERT_TRUE(RunTimes::add(RunTimes::kPath, 2, left, SavedGame::kPlayerPath, error)) << error;
    EXPECT_EQ(readFile(RunTimes::kPath), "bramblehoof times 1\n2 left 2 50 7 0 0 1\n");
}

// A resumed run is timed only from its saved level: on equal scores it goes after every run timed
// whole, however short its time, and two resumed runs keep the file's order. The score, and an
// older run without times, still come first as before.
TEST(RunTimes, AResumedRunsTimeIsNeverSetAgainstAWholeRuns) {
    RunTimes::Entry whole;
    whole.frames = {200, 200, 200};
    RunTimes::Entry quickResume;
    quickResume.level = 3;
    quickResume.from = 3;
    quickResume.frames = {0, 0, 90};
    RunTimes::Entry slowResume = quickResume;
    slowResume.from = 2;
    slowResume.frames = {0, 450, 450};
    EXPECT_TRUE(RunTimes::ahead(300, &whole, 300, &quickResume));
    EXPECT_FALSE(RunTimes::ahead(300, &quickResume, 300, &whole));
    EXPECT_FALSE(RunTimes::ahead(300, &quickResume, 300, &slowResume));
    EXPECT_FALSE(RunTimes::ahead(300, &slowResume, 300, &quickResume));
    EXPECT_TRUE(RunTimes::ahead(400, &quickResume, 300, &whole)) << "more points first";
    EXPECT_TRUE(RunTimes::ahead(300, nullptr, 300, &quickResume)) << "an older run without times first";
}
