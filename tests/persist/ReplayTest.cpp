#include "persist/Replay.h"
#include "persist/FileIO.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <iostream>
#include <vector>

using testsupport::readFile;
using testsupport::ScratchDir;
using testsupport::writeFile;

namespace {

struct Loaded {
    std::vector<int> xs;
    std::vector<int> ys;
    std::string echo;
};

Loaded loadQuietly(const std::string& path, std::size_t maxPositions = Replay::kMaxPositions) {
    Loaded result;
    testing::internal::CaptureStdout();
    Replay::load(path, result.xs, result.ys, maxPositions);
    result.echo = testing::internal::GetCapturedStdout();
    return result;
}

long peakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

TEST(Replay, StartsClosedAndCloseClosesTheOutput) {
    ScratchDir scratch;
    Replay replay;
    EXPECT_EQ(replay.fileName, "files/replay.txt");
    EXPECT_FALSE(replay.out.is_open());
    EXPECT_FALSE(replay.in.is_open());
    replay.out.open(replay.fileName);
    replay.close();
    EXPECT_FALSE(replay.out.is_open());
    replay.close();  // twice is harmless
}

TEST(Replay, RecordedRunLoadsBackLineForLine) {
    ScratchDir scratch;
    writeFile("files/replay.txt", "stale 1\n");
    std::ofstream out;
    ASSERT_TRUE(Replay::startRecording(out));
    EXPECT_EQ(readFile("files/replay.txt"), "");  // emptied at once
    const std::vector<std::pair<int, int>> path = {{300, 300}, {-12, 40}, {0, -7}, {1000000000, -1000000000}};
    for (const auto& p : path) {
        Replay::record(out, p.first, p.second);
    }
    // Flushed per line: complete on disk before the stream is closed.
    EXPECT_EQ(readFile("files/replay.txt"), "300 300\n-12 40\n0 -7\n1000000000 -1000000000\n");

    const Loaded loaded = loadQuietly("files/replay.txt");
    ASSERT_EQ(loaded.xs.size(), path.size());
    ASSERT_EQ(loaded.ys.size(), path.size());
    for (std::size_t i = 0; i < path.size(); ++i) {
        EXPECT_EQ(loaded.xs[i], path[i].first);
        EXPECT_EQ(loaded.ys[i], path[i].second);
    }
}

TEST(Replay, LoadEchoesEachLineTwiceAndToleratesBlanksAndCarriageReturns) {
    ScratchDir scratch;
    writeFile("files/replay.txt", "12 40\n-3\t7\r\n5    6\r\n8 \t 9 trailing\n+4 -0");
    const Loaded loaded = loadQuietly("files/replay.txt");
    EXPECT_EQ(loaded.echo,
              "12 40\n12 40\n"
              "-3\t7\r\n-3\t7\r 7\r\n"
              "5    6\r\n5 6\r\n"
              "8 \t 9 trailing\n8 9 trailing\n"
              "+4 -0\n+4 -0\n");
    EXPECT_EQ(loaded.xs, (std::vector<int>{12, -3, 5, 8, 4}));
    EXPECT_EQ(loaded.ys, (std::vector<int>{40, 7, 6, 9, 0}));
}

TEST(Replay, SplitAndParseFollowTheLoadersRules) {
    std::string x;
    std::string y;
    bool separated = false;
    Replay::splitLine("12", x, y, separated);
    EXPECT_FALSE(separated);
    EXPECT_EQ(x, "12");
    EXPECT_EQ(y, "");
    Replay::splitLine("1\t2 3", x, y, separated);  // x stops at a space only, y after the first blank
    EXPECT_EQ(x, "1\t2");
    EXPECT_EQ(y, "2 3");

    int value = 0;
    EXPECT_TRUE(Replay::parseNumber(" \t42abc", value));
    EXPECT_EQ(value, 42);
    EXPECT_TRUE(Replay::parseNumber("-1000000000", value));
    EXPECT_EQ(value, -1000000000);
    for (const char* bad : {"", "-", "+", "abc", " x1", "1000000001", "-1000000001", "2147483648", "-2147483649",
                            "99999999999999999999999"}) {
        EXPECT_FALSE(Replay::parseNumber(bad, value)) << bad;
    }
}

TEST(Replay, LinesTheRecorderNeverWritesAreSkipped) {
    ScratchDir scratch;
    writeFile("files/replay.txt",
              "1 1\n"
              "\n"               // empty: no separator
              "12\n"             // no y at all
              "abc 5\n"          // x holds no number
              "5 abc\n"          // y holds no number
              "4294967296 3\n"   // beyond 32 bits
              "3 -2147483649\n"  // beyond 32 bits
              "1500000000 2\n"   // a position no game reaches
              "2 2\n");
    testing::internal::CaptureStderr();
    const Loaded loaded = loadQuietly("files/replay.txt");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(loaded.xs, (std::vector<int>{1, 2}));
    EXPECT_EQ(loaded.ys, (std::vector<int>{1, 2}));
    // Skipped lines are still echoed twice each, and counted in one line.
    EXPECT_EQ(std::count(loaded.echo.begin(), loaded.echo.end(), '\n'), 18);
    EXPECT_EQ(err,
              "bramblehoof: files/replay.txt: 7 line(s) not a position the game records (or out of reach) "
              "skipped\n");

    // One bad line alone is told too.
    writeFile("files/replay.txt", "1 1\nx\n2 2\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadQuietly("files/replay.txt").xs, (std::vector<int>{1, 2}));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "bramblehoof: files/replay.txt: 1 line(s) not a position the game records (or out of reach) "
              "skipped\n");
}

TEST(Replay, HugeLineIsSkippedWithoutBeingHeldWhole) {
    ScratchDir scratch;
    constexpr std::size_t kChunk = 1 << 20;
    constexpr int kChunks = 48;  // one 48 MiB line
    {
        std::ofstream file("files/replay.txt", std::ios::binary);
        // Cut to its first bytes the long line would read as "5 6": it must be skipped, not played.
        file << "7 8\n5 6";
        const std::string chunk(kChunk, ' ');
        for (int i = 0; i < kChunks; ++i)
            file << chunk;
        file << "\n3 4\n";
    }
    const long before = peakKiB();
    const Loaded loaded = loadQuietly("files/replay.txt");
    const long grown = peakKiB() - before;
    EXPECT_EQ(loaded.xs, (std::vector<int>{7, 3}));
    EXPECT_EQ(loaded.ys, (std::vector<int>{8, 4}));
    // The echo of the long line is its first kMaxLineBytes bytes only.
    EXPECT_LT(loaded.echo.size(), 2 * Replay::kMaxLineBytes + 100);
    EXPECT_EQ(loaded.echo.substr(0, 8), "7 8\n7 8\n");
    EXPECT_EQ(loaded.echo.substr(loaded.echo.size() - 8), "3 4\n3 4\n");
    EXPECT_LT(grown, 16 * 1024) << "peak memory grew by " << grown << " KiB";
}

TEST(Replay, BinaryGarbageNeverYieldsAnOutOfReachPosition) {
    ScratchDir scratch;
    std::string garbage;
    uint32_t state = 12345;
    for (int i = 0; i < 200000; ++i) {
        state = state * 1103515245u + 12345u;
        garbage.push_back(static_cast<char>(state >> 24));
    }
    garbage += "\n-5 6\n";
    writeFile("files/replay.txt", garbage);
    const Loaded loaded = loadQuietly("files/replay.txt");
    ASSERT_EQ(loaded.xs.size(), loaded.ys.size());
    ASSERT_FALSE(loaded.xs.empty());
    EXPECT_EQ(loaded.xs.back(), -5);
    EXPECT_EQ(loaded.ys.back(), 6);
    for (std::size_t i = 0; i < loaded.xs.size(); ++i) {
        EXPECT_LE(std::abs(static_cast<long long>(loaded.xs[i])), 1000000000LL);
        EXPECT_LE(std::abs(static_cast<long long>(loaded.ys[i])), 1000000000LL);
    }
}

TEST(Replay, MissingFileLoadsNothingAndTooManyPositionsAreCut) {
    ScratchDir scratch;
    const Loaded missing = loadQuietly("files/replay.txt");
    EXPECT_TRUE(missing.xs.empty());
    EXPECT_EQ(missing.echo, "");

    writeFile("files/replay.txt", "1 1\n2 2\n3 3\n4 4\n");
    testing::internal::CaptureStderr();
    const Loaded cut = loadQuietly("files/replay.txt", 2);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(cut.xs, (std::vector<int>{1, 2}));
    EXPECT_EQ(cut.ys, (std::vector<int>{1, 2}));
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
}

TEST(Replay, ALinkSwappedInAfterTheCheckIsNeverFollowed) {
    ScratchDir scratch;
    writeFile("outside.txt", "kept\n");
    writeFile("files/replay.txt", "old run\n");
    // Between the new file's making and its renaming into place, it is moved aside and a link to
    // a file outside takes its name.
    FileIO::beforeStep = [](FileIO::Step step, const std::string&) {
        if (step == FileIO::Step::Rename && std::rename("files/replay.txt.tmp", "files/checked.txt") == 0) {
            return symlink("../outside.txt", "files/replay.txt.tmp") == 0 ? 0 : errno;
        }
        return 0;
    };
    std::ofstream out;
    const bool started = Replay::startRecording(out);
    FileIO::beforeStep = nullptr;
    ASSERT_TRUE(started);
    Replay::record(out, 3, 4);
    out.close();
    EXPECT_EQ(readFile("outside.txt"), "kept\n") << "the link was followed";
    EXPECT_EQ(readFile("files/checked.txt"), "3 4\n") << "the recording belongs in the file that was made";

    // The old recording is a second name of a file outside: that file keeps its bytes, and the
    // new recording takes the name.
    unlink("files/replay.txt");
    writeFile("backup.txt", "an earlier run\n");
    ASSERT_EQ(link("backup.txt", "files/replay.txt"), 0);
    ASSERT_TRUE(Replay::startRecording(out));
    Replay::record(out, 5, 6);
    out.close();
    EXPECT_EQ(readFile("backup.txt"), "an earlier run\n");
    EXPECT_EQ(readFile("files/replay.txt"), "5 6\n");
    EXPECT_FALSE(testsupport::fileExists("files/replay.txt.tmp"));
}

TEST(Replay, FailedRecordingReportsOnceAndGoesOn) {
    {
        ScratchDir scratch(false);
        std::ofstream out;
        testing::internal::CaptureStderr();
        testing::internal::CaptureStdout();
        EXPECT_FALSE(Replay::startRecording(out));
        Replay::record(out, 1, 2);  // not open: writes nothing, says nothing more
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
        EXPECT_NE(err.find("files/replay.txt"), std::string::npos);
        EXPECT_FALSE(testsupport::fileExists("files"));
    }
    // The disk fills up during the run: no file may grow past 4 KiB (the captured stderr stays
    // far below that).
    ScratchDir scratch;
    std::ofstream full;
    ASSERT_TRUE(Replay::startRecording(full));
    struct rlimit before;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    struct rlimit small = before;
    small.rlim_cur = 4096;
    signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    testing::internal::CaptureStderr();
    for (int frame = 0; frame < 1000; ++frame) {
        EXPECT_NO_THROW(Replay::record(full, frame, frame));
    }
    const std::string err = testing::internal::GetCapturedStderr();
    setrlimit(RLIMIT_FSIZE, &before);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
    EXPECT_LE(readFile("files/replay.txt").size(), 4096u);
}

// A full disk takes what fits of a line: the torn end is cut, so the file holds whole lines only.
// Needs a small file system of its own (a tmpfs mounted in a mount namespace of the test's own).
TEST(Replay, AFullDiskLeavesOnlyWholeLines) {
    ScratchDir scratch;
    std::fflush(stderr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tmpfs", "files", "tmpfs", 0, "size=8k") != 0) {
            _exit(77);
        }
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, 2);  // the line that says the recording stopped
        std::ofstream out;
        if (!Replay::startRecording(out)) {
            _exit(2);
        }
        // Lines of every length from 4 to 22 bytes, so one of them is cut short by the full disk.
        for (int frame = 0; frame < 100000 && out.good(); ++frame) {
            Replay::record(out, frame * 7919 % 1000000000, -frame);
        }
        out.close();
        const std::string text = readFile("files/replay.txt");
        std::vector<int> xs;
        std::vector<int> ys;
        Replay::load("files/replay.txt", xs, ys);
        const std::size_t lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
        _exit(text.size() > 4096 && text.back() == '\n' && xs.size() == lines ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) {
        GTEST_SKIP() << "no mount namespace here (the test needs root)";
    }
    EXPECT_EQ(WEXITSTATUS(status), 0) << "a torn line was kept, or the file is not whole lines";
}

namespace {

// Records positions in a child process under a size limit for files of limitBytes, so the limit
// stays the child's; what the child said on stderr.
std::string recordUnderLimit(rlim_t limitBytes, const std::vector<std::pair<int, int>>& positions) {
    // Through a pipe, which the limit does not bound, as a file would be.
    int told[2];
    EXPECT_EQ(pipe(told), 0);
    std::fflush(stderr);
    const pid_t child = fork();
    if (child == 0) {
        dup2(told[1], 2);
        FileIO::sizeLimitTold = false;  // whatever a test before this one made the process tell
        std::ofstream out;
        if (!Replay::startRecording(out)) {
            _exit(2);
        }
        signal(SIGXFSZ, SIG_IGN);  // as the game does: the write fails with EFBIG instead
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = limitBytes;
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            _exit(3);
        }
        for (const auto& p : positions) {
            Replay::record(out, p.first, p.second);
        }
        out.close();
        std::cerr.flush();
        _exit(0);
    }
    close(told[1]);
    std::string said;
    char buffer[512];
    for (ssize_t got; (got = read(told[0], buffer, sizeof buffer)) > 0;) {
        said.append(buffer, static_cast<std::size_t>(got));
    }
    close(told[0]);
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child failed: " << status;
    return said;
}

}  // namespace

// At a size limit for files the replay keeps whole lines only: the line that would pass the limit
// is not begun, and the one line on stderr names the limit as the other files' messages do.
TEST(Replay, ALineThatWouldPassTheSizeLimitIsNotWrittenAndTheLimitIsNamed) {
    const std::string named =
        "bramblehoof: files/replay.txt: the size limit for files (ulimit -f) is reached; what would pass it "
        "(a score, a save, a replay) is not written, and the files already there stay whole\n";
    {
        // One byte: not even the first line fits.
        ScratchDir scratch;
        EXPECT_EQ(recordUnderLimit(1, {{540, 360}, {541, 360}}), named);
        EXPECT_EQ(readFile("files/replay.txt"), "");
    }
    {
        // Two lines fit in 20 bytes, the third would end at 24: the file ends with the second.
        ScratchDir scratch;
        EXPECT_EQ(recordUnderLimit(20, {{540, 360}, {541, 360}, {542, 361}, {1, 1}}), named);
        EXPECT_EQ(readFile("files/replay.txt"), "540 360\n541 360\n") << "no part of a later line";
    }
    {
        // Exactly at the limit: a line that ends on it is written whole.
        ScratchDir scratch;
        EXPECT_EQ(recordUnderLimit(16, {{540, 360}, {541, 360}}), "");
        EXPECT_EQ(readFile("files/replay.txt"), "540 360\n541 360\n");
    }
}

namespace {

// Starts a recording `times` times with each rename held back a little, as a slow disk or a busy
// machine holds it; the number of starts that failed.
int startsFailed(int times) {
    FileIO::beforeStep = [](FileIO::Step step, const std::string&) {
        if (step == FileIO::Step::Rename) {
            usleep(2000);
        }
        return 0;
    };
    int failed = 0;
    for (int i = 0; i < times; ++i) {
        std::ofstream out;
        failed += Replay::startRecording(out) ? 0 : 1;
    }
    FileIO::beforeStep = nullptr;
    return failed;
}

}  // namespace

// Two games starting runs over one files/ folder at once: each puts its own recording in place,
// neither removes the other's new file before it is renamed, and nothing half-made is left.
TEST(Replay, TwoGamesStartingRunsTogetherEachPutTheirRecordingInPlace) {
    ScratchDir scratch;
    testing::internal::CaptureStderr();
    const pid_t other = fork();
    ASSERT_GE(other, 0);
    if (other == 0) {
        _exit(std::min(startsFailed(40), 100));
    }
    const int failedHere = startsFailed(40);
    int status = 0;
    ASSERT_EQ(waitpid(other, &status, 0), other);
    const std::string said = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(failedHere, 0) << said;
    EXPECT_EQ(WEXITSTATUS(status), 0) << said;
    EXPECT_FALSE(testsupport::fileExists("files/replay.txt.tmp"));
    EXPECT_TRUE(testsupport::fileExists("files/replay.txt"));
}
