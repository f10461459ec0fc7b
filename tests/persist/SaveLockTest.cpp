#include "persist/SaveLock.h"

#include "persist/FileIO.h"
#include "persist/Replay.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using testsupport::ScratchDir;

namespace {

// Whether a game other than this one would find the lock file in folder taken.
bool keptFromOthers(const std::string& folder) {
    const int fd = open((folder + "/" + SaveLock::kFileName).c_str(), O_RDONLY);
    const bool out = fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    if (fd >= 0) {
        close(fd);
    }
    return out;
}

}  // namespace

// A game that holds the save's lock (a resume) takes it again at once where it starts its
// recording, and still holds it after: another game is kept out all along.
TEST(SaveLock, AGameHoldingTheSavesLockTakesItAgainAndKeepsIt) {
    ScratchDir scratch;
    {
        const SaveLock outer("files/resP.bin");
        ASSERT_TRUE(outer.held());
        {
            const SaveLock inner("files/resP.bin");
            EXPECT_TRUE(inner.held()) << "at once, not after waiting for itself";
            EXPECT_FALSE(inner.busy());
        }
        EXPECT_TRUE(keptFromOthers("files")) << "the outer lock still holds";
        std::ofstream out;
        EXPECT_TRUE(Replay::startRecording(out));
        EXPECT_TRUE(keptFromOthers("files"));
    }
    EXPECT_FALSE(keptFromOthers("files")) << "released with the outer lock";
    const SaveLock again("files/resP.bin");
    EXPECT_TRUE(again.held());
}

// Only the lock this game holds on the same file is taken again at once. A lock in another folder
// is a lock of its own, and another game (here a second thread, as the tests play two games) waits
// for the one held, and is told so when the wait runs out, while the holder keeps it.
TEST(SaveLock, OnlyTheSameGamesLockOnTheSameFileIsTakenAgainAtOnce) {
    ScratchDir scratch;
    ASSERT_EQ(mkdir("other", 0755), 0);
    // The wait for a busy lock is cut short: its end is what matters here, not its two seconds.
    FileIO::beforeStep = [](FileIO::Step step, const std::string&) {
        return step == FileIO::Step::Lock ? EWOULDBLOCK : 0;
    };
    {
        const SaveLock held("files/resP.bin");
        ASSERT_TRUE(held.held());
        EXPECT_EQ(held.problem(), "");
        bool otherHeld = true;
        bool otherBusy = false;
        std::string otherProblem;
        std::thread otherGame([&] {
            const SaveLock theirs("files/replay.txt");
            otherHeld = theirs.held();
            otherBusy = theirs.busy();
            otherProblem = theirs.problem();
        });
        otherGame.join();
        EXPECT_FALSE(otherHeld) << "another game's lock is never this game's";
        EXPECT_TRUE(otherBusy);
        EXPECT_EQ(otherProblem, "another game kept files/save.lock locked for 2 s");
        EXPECT_TRUE(keptFromOthers("files")) << "the holder still holds it";

        {
            const SaveLock elsewhere("other/resP.bin");
            EXPECT_TRUE(elsewhere.held());
            EXPECT_TRUE(keptFromOthers("other")) << "a lock in another folder is really taken";
        }
        EXPECT_FALSE(keptFromOthers("other")) << "and let go with its object";
        {
            const SaveLock again("files/resE.bin");
            EXPECT_TRUE(again.held()) << "the lock in files/ is still this game's";
        }
        EXPECT_TRUE(keptFromOthers("files")) << "and still held once that one is gone";
    }
    FileIO::beforeStep = nullptr;
    EXPECT_FALSE(keptFromOthers("files"));
}
