#include "persist/Player.h"
#include "persist/RunPlace.h"
#include "present/ResultCard.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
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

}  // namespace
