#include "persist/Player.h"
#include "persist/RunPlace.h"
#include "present/ResultCard.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(RunPlace, CountsEveryEarlierRunAtLeastAsGoodAndNamesThePlace) {
    testsupport::ScratchDir scratch;
    EXPECT_EQ(RunPlace::of(0, "files/players.bin"), 1) << "no file: the first run is the best";
    std::string bytes;
    for (int32_t score : {100, 50, 50, 10}) {
        PlayerRecord record;
        record.name = "Ann";
        record.score = score;
        unsigned char encoded[PlayerRecord::kSize];
        record.encode(encoded);
        bytes.append(reinterpret_cast<const char*>(encoded), sizeof encoded);
    }
    // A torn tail whose last bytes would read as a huge score is no record.
    testsupport::writeFile("files/players.bin", bytes + std::string(52, '\x7f'));
    EXPECT_EQ(RunPlace::of(200, "files/players.bin"), 1);
    EXPECT_EQ(RunPlace::of(100, "files/players.bin"), 2) << "an equal earlier run stays ahead";
    EXPECT_EQ(RunPlace::of(60, "files/players.bin"), 2);
    EXPECT_EQ(RunPlace::of(50, "files/players.bin"), 4);
    EXPECT_EQ(RunPlace::of(0, "files/players.bin"), 5);
    // The card must never wait on a players file that is a FIFO; the alarm ends a hang.
    ASSERT_EQ(std::remove("files/players.bin"), 0);
    ASSERT_EQ(mkfifo("files/players.bin", 0644), 0);
    alarm(5);
    EXPECT_EQ(RunPlace::of(0, "files/players.bin"), 1) << "a FIFO holds no runs";
    alarm(0);

    EXPECT_EQ(ResultCard::placeLine(1, 10), "The best run so far");
    EXPECT_EQ(ResultCard::placeLine(10, 10), "Place 10 among the best runs");
    EXPECT_EQ(ResultCard::placeLine(11, 10), "Not among the best 10 runs");
}

// Bytes this process has read so far, as the system counts them.
std::size_t bytesRead() {
    std::ifstream io("/proc/self/io");
    std::string key;
    std::size_t value = 0;
    while (io >> key >> value) {
        if (key == "rchar:") {
            return value;
        }
    }
    return 0;
}

// A players file of runs scored 0 (zero bytes), made sparse so it costs no disk, behind the runs
// given first; its length in bytes.
void sparsePlayers(const std::vector<int32_t>& first, off_t length) {
    std::string bytes;
    for (int32_t score : first) {
        PlayerRecord record;
        record.name = "Top";
        record.score = score;
        unsigned char encoded[PlayerRecord::kSize];
        record.encode(encoded);
        bytes.append(reinterpret_cast<const char*>(encoded), sizeof encoded);
    }
    testsupport::writeFile("files/players.bin", bytes);
    ASSERT_EQ(truncate("files/players.bin", length), 0);
}

// The end of a run reads a bounded part of the players file however long it grows: the count
// stops once the place is past the card's, and after kMaxRuns runs a place still unknown is not
// told. Below that, every place is told as before.
TEST(RunPlace, AHugePlayersFileIsReadOnlyAsFarAsThePlaceNeeds) {
    testsupport::ScratchDir scratch;
    constexpr off_t kHuge = off_t{300} << 20;
    constexpr std::size_t kMost = RunPlace::kMaxRuns * PlayerRecord::kSize + (std::size_t{1} << 20);
    sparsePlayers({}, kHuge);

    std::size_t before = bytesRead();
    EXPECT_EQ(RunPlace::of(0, "files/players.bin", 10), 11) << "every run ties and stays ahead";
    EXPECT_LT(bytesRead() - before, std::size_t{1} << 20) << "ten runs ahead are enough to know";

    before = bytesRead();
    EXPECT_EQ(RunPlace::of(5, "files/players.bin", 10), 0) << "none ahead so far, but the rest is unread";
    EXPECT_LT(bytesRead() - before, kMost);

    // Runs ahead early in the file: the place is past the card's once ten are counted.
    sparsePlayers({90, 80, 70, 60, 50, 40, 30, 20, 10, 5, 3}, kHuge);
    before = bytesRead();
    EXPECT_EQ(RunPlace::of(1, "files/players.bin", 10), 11);
    EXPECT_LT(bytesRead() - before, std::size_t{1} << 20);
    EXPECT_EQ(RunPlace::of(6, "files/players.bin", 10), 0) << "nine ahead, and the rest unread";

    // Exactly kMaxRuns runs, a torn one after them: every run is read, so the place is told.
    const auto most = static_cast<off_t>(RunPlace::kMaxRuns * PlayerRecord::kSize);
    sparsePlayers({90, 80, 70}, most + 55);
    EXPECT_EQ(RunPlace::of(75, "files/players.bin", 10), 3);
    EXPECT_EQ(RunPlace::of(75, "files/players.bin"), 3);
    // One run more, and it might be ahead: not told.
    sparsePlayers({90, 80, 70}, most + static_cast<off_t>(PlayerRecord::kSize));
    EXPECT_EQ(RunPlace::of(75, "files/players.bin", 10), 0);
    EXPECT_EQ(RunPlace::of(0, "files/players.bin", 10), 11) << "many ahead is known at once";
}

// The card's places, counted only as far as it names them, are the places counted in full.
TEST(RunPlace, CountingOnlyAsFarAsTheCardNamesChangesNoPlaceItShows) {
    testsupport::ScratchDir scratch;
    sparsePlayers({50, 40, 40, 30, 30, 30, 20, 20, 20, 20, 10, 10, 10}, 13 * PlayerRecord::kSize + 20);
    for (int32_t score : {60, 50, 45, 40, 35, 30, 25, 20, 15, 10, 5, 0}) {
        const int full = RunPlace::of(score, "files/players.bin");
        const int counted = RunPlace::of(score, "files/players.bin", 10);
        EXPECT_EQ(ResultCard::placeLine(counted, 10), ResultCard::placeLine(full, 10)) << score;
        EXPECT_EQ(counted, std::min(full, 11)) << score;
    }
}

}  // namespace
