#include "present/ScoreBoard.h"
#include "present/Text.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

long peakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

std::string record(const std::string& name, int32_t score) {
    std::string bytes(56, '\0');
    std::memcpy(&bytes[0], name.data(), std::min<std::size_t>(name.size(), 52));
    std::memcpy(&bytes[52], &score, 4);
    return bytes;
}

PlayerRecord rec(const std::string& name, int32_t score) {
    PlayerRecord r;
    r.name = name;
    r.score = score;
    return r;
}

TEST(ScoreBoardList, BestFirstTiesInFileOrderTenAtMost) {
    std::vector<PlayerRecord> records;
    for (int i = 0; i < 12; ++i) {
        records.push_back(rec("p" + std::to_string(i), (i % 3) * 30));
    }
    records.push_back(rec("top", 500));
    const auto best = ScoreBoard::best(records);
    ASSERT_EQ(best.size(), 10u);
    EXPECT_EQ(best[0].name, "top");
    // Score 60: p2, p5, p8, p11 in file order; then score 30: p1, p4, p7, p10; then 0: p0.
    const std::vector<std::string> expected{"top", "p2", "p5", "p8", "p11", "p1", "p4", "p7", "p10", "p0"};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(best[i].name, expected[i]) << i;
    }
    const auto text = ScoreBoard::lines(best);
    EXPECT_EQ(text[0], "1. top 500");
    EXPECT_EQ(text[9], "10. p0 0");
    EXPECT_EQ(ScoreBoard::lines({}), std::vector<std::string>{"No scores yet"});
}

TEST(ScoreBoardList, NamesAreMadeSafeToShow) {
    EXPECT_EQ(ScoreBoard::displayName(""), "-");
    EXPECT_EQ(ScoreBoard::displayName("\xC3\x89lise"), "\xC3\x89lise");
    EXPECT_EQ(ScoreBoard::displayName("a\xFF"
                                      "b"),
              "a\xEF\xBF\xBD"
              "b")
        << "a stray byte";
    EXPECT_EQ(ScoreBoard::displayName("x\xC3"), "x\xEF\xBF\xBD") << "a sequence cut short";
    EXPECT_EQ(ScoreBoard::displayName("\xE0\x80\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD") << "overlong";
    EXPECT_EQ(ScoreBoard::displayName("abcdefghijklmnop"), "abcdefghijkl..");
}

TEST(ScoreBoardFile, ReadsWholeRecordsOnlyAndNeverWrites) {
    testsupport::ScratchDir scratch;
    EXPECT_TRUE(ScoreBoard::bestInFile("files/players.bin").empty()) << "missing file";
    testsupport::writeFile("files/players.bin", "");
    EXPECT_TRUE(ScoreBoard::bestInFile("files/players.bin").empty()) << "empty file";

    const std::string noZero(52, 'N');  // a name filling its slot without a zero byte
    const std::string bytes = record("Ann", 190) + record(noZero, 40) + record("", 300) + "torn";
    testsupport::writeFile("files/players.bin", bytes);
    const auto best = ScoreBoard::bestInFile("files/players.bin");
    ASSERT_EQ(best.size(), 3u) << "the torn tail is no record";
    EXPECT_EQ(best[0].name, "-");
    EXPECT_EQ(best[1].name, "Ann");
    EXPECT_EQ(best[2].name, "NNNNNNNNNNNN..");

    testsupport::SdlSession sdl;
    Text text;
    text.init();
    ScoreBoard board;
    board.open("files/players.bin", text.font, Text::kMenuColor);
    EXPECT_TRUE(board.isOpen());
    board.draw(Render::renderer);
    board.close();
    EXPECT_FALSE(board.isOpen());
    EXPECT_EQ(testsupport::readFile("files/players.bin"), bytes) << "viewing never writes the file";
}

TEST(ScoreBoardFile, StreamsAFileOfAnyLengthHoldingOnlyTheBest) {
    testsupport::ScratchDir scratch;
    // Half a million runs (28 MB) with many equal scores, written a record at a time.
    constexpr int kRuns = 500000;
    {
        std::ofstream out("files/players.bin", std::ios::binary);
        for (int i = 0; i < kRuns; ++i) {
            out << record("r" + std::to_string(i), static_cast<int32_t>((i * 7919L) % 100003));
        }
    }
    const long before = peakKiB();
    const auto streamed = ScoreBoard::bestInFile("files/players.bin");
    const long growth = peakKiB() - before;
    EXPECT_LT(growth, 4 * 1024) << "KiB more at the peak: the file was held whole";
    const auto whole = ScoreBoard::best(Player::readAll("files/players.bin"));
    ASSERT_EQ(streamed.size(), 10u);
    for (std::size_t i = 0; i < whole.size(); ++i) {
        EXPECT_EQ(streamed[i].name, whole[i].name) << i;
        EXPECT_EQ(streamed[i].score, whole[i].score) << i;
    }

    // Not a regular file: the board lists nothing, says why once, and never waits or reads on.
    unlink("files/players.bin");
    ASSERT_EQ(symlink("/dev/zero", "files/players.bin"), 0);
    alarm(30);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(ScoreBoard::bestInFile("files/players.bin").empty());
    unlink("files/players.bin");
    ASSERT_EQ(mkfifo("files/players.bin", 0644), 0);
    EXPECT_TRUE(ScoreBoard::bestInFile("files/players.bin").empty());
    const std::string errors = testing::internal::GetCapturedStderr();
    alarm(0);
    EXPECT_EQ(errors,
              "bramblehoof: the score board is empty: files/players.bin is a link, not a regular file\n"
              "bramblehoof: the score board is empty: files/players.bin is a FIFO, not a regular file\n");
}

TEST(ScoreBoardFile, ShowScoreListsLikeGetAllAndMovesDown) {
    testsupport::ScratchDir scratch;
    testsupport::writeFile("files/players.bin", record("Ann", 190) + record("Bo", 30));
    Text text;
    text.pos = SDL_Rect{99, 100, 0, 0};
    testing::internal::CaptureStdout();
    text.showScore("files/players.bin");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\n190\nAnn\n30\nBo  \n");
    EXPECT_EQ(text.pos.x, 20);
    EXPECT_EQ(text.pos.y, 200);
}

}  // namespace

namespace {

TEST(ScoreBoardFile, RunsThatNeverPlayedAreLeftOutButKeptInTheFile) {
    testsupport::ScratchDir scratch;
    std::string bytes;
    for (int i = 0; i < 12; ++i) {
        bytes += record("", 0);  // more unplayed runs than the board lists, before any played one
    }
    bytes += record("Ann", 0) + record("", 40) + record("", 0) + record("Bo", 10);
    testsupport::writeFile("files/players.bin", bytes);
    const auto best = ScoreBoard::bestInFile("files/players.bin");
    ASSERT_EQ(best.size(), 3u);
    EXPECT_EQ(ScoreBoard::lines(best), (std::vector<std::string>{"1. - 40", "2. Bo 10", "3. Ann 0"}))
        << "a run with points or a name was played, even without the other";
    EXPECT_EQ(testsupport::readFile("files/players.bin"), bytes) << "the file keeps every record";

    std::vector<PlayerRecord> records(12, rec("", 0));
    records.push_back(rec("Cy", 0));
    const auto fromList = ScoreBoard::best(records);
    ASSERT_EQ(fromList.size(), 1u);
    EXPECT_EQ(fromList[0].name, "Cy");
}

}  // namespace
