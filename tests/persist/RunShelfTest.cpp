#include "persist/RunShelf.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using testsupport::fileExists;
using testsupport::readFile;
using testsupport::ScratchDir;
using testsupport::writeFile;

// The board's rows, as the score board orders them: best first, equal scores in file order,
// runs that never played left out; a kept recording follows its row on and off the board.
TEST(RunShelf, ARecordingIsKeptWhileItsRowIsOnTheBoardAndGoesWithIt) {
    ScratchDir scratch;
    ::mkdir("files/runs", 0755);
    // 0: Ann 50, 1: never played, 2: Bob 90, 3: Cat 50 (after Ann), 4: Dan 10.
    writeFile("files/players.bin", testsupport::playersRecord("Ann", 50) + testsupport::playersRecord("", 0) +
                                       testsupport::playersRecord("Bob", 90) + testsupport::playersRecord("Cat", 50) +
                                       testsupport::playersRecord("Dan", 10));
    EXPECT_EQ(RunShelf::boardRecords("files/players.bin", 10), (std::vector<std::size_t>{2, 0, 3, 4}));
    EXPECT_EQ(RunShelf::boardRecords("files/players.bin", 3), (std::vector<std::size_t>{2, 0, 3}));

    std::size_t found = 99;
    ASSERT_TRUE(RunShelf::lastRecordOf("files/players.bin", "Cat", 50, found));
    EXPECT_EQ(found, 3u);
    EXPECT_FALSE(RunShelf::lastRecordOf("files/players.bin", "Cat", 51, found));

    writeFile(RunShelf::kLastPath, "Dan's run");
    std::string error;
    ASSERT_TRUE(RunShelf::keep(RunShelf::kLastPath, 4, "files/players.bin", 3, error)) << error;
    EXPECT_FALSE(fileExists("files/runs/4.run")) << "Dan's row is not among three";
    writeFile(RunShelf::kLastPath, "Cat's run");
    ASSERT_TRUE(RunShelf::keep(RunShelf::kLastPath, 3, "files/players.bin", 3, error)) << error;
    EXPECT_EQ(readFile("files/runs/3.run"), "Cat's run");

    // Eve's 95 pushes Cat off the three rows: her recording stays, Cat's goes; other files stay.
    writeFile("files/players.bin", readFile("files/players.bin") + testsupport::playersRecord("Eve", 95));
    writeFile("files/runs/notes.txt", "mine");
    writeFile(RunShelf::kLastPath, "Eve's run");
    ASSERT_TRUE(RunShelf::keep(RunShelf::kLastPath, 5, "files/players.bin", 3, error)) << error;
    EXPECT_EQ(readFile("files/runs/5.run"), "Eve's run");
    EXPECT_FALSE(fileExists("files/runs/3.run"));
    EXPECT_TRUE(fileExists("files/runs/notes.txt"));
    EXPECT_EQ(readFile(RunShelf::kLastPath), "Eve's run");
}

// A temporary recording whose game is gone (killed while it recorded) goes at the next start; one
// of a game still running, this one's, and any other file stay. While another game holds the saves'
// lock, the board's copies wait for it and are not made.
TEST(RunShelf, AGoneGamesTemporaryIsSweptAndTheBoardsCopiesTakeTheSavesLock) {
    ScratchDir scratch;
    ::mkdir("files/runs", 0755);
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0);  // its pid now names no process
    const std::string gone = "files/runs/last.run.tmp-" + std::to_string(child) + "-1";
    const std::string goneRow = "files/runs/3.run.tmp-" + std::to_string(child) + "-7";
    const std::string mine = "files/runs/last.run.tmp-" + std::to_string(::getpid()) + "-1";
    const std::string running = "files/runs/last.run.tmp-1-2";  // init never ends
    for (const std::string& path :
         {gone, goneRow, mine, running, std::string("files/runs/0.run"), std::string("files/runs/notes.tmp-1x")}) {
        writeFile(path, "x");
    }
    EXPECT_EQ(RunShelf::sweep(), 2u);
    EXPECT_FALSE(fileExists(gone));
    EXPECT_FALSE(fileExists(goneRow));
    for (const std::string& path :
         {mine, running, std::string("files/runs/0.run"), std::string("files/runs/notes.tmp-1x")}) {
        EXPECT_TRUE(fileExists(path)) << path;
    }

    // Another game holds the lock (a lock of another process, by fork): no copy is made meanwhile.
    writeFile("files/players.bin", testsupport::playersRecord("Ann", 50));
    writeFile(RunShelf::kLastPath, "Ann's run");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        const int fd = ::open("files/save.lock", O_RDWR | O_CREAT, 0644);
        ::flock(fd, LOCK_EX);
        char byte = 1;
        (void)!::write(ready[1], &byte, 1);
        ::sleep(30);
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    std::string error;
    EXPECT_FALSE(RunShelf::keep(RunShelf::kLastPath, 0, "files/players.bin", 10, error));
    EXPECT_FALSE(fileExists("files/runs/0.run.tmp")) << error;
    EXPECT_NE(readFile("files/runs/0.run"), "Ann's run") << "not copied while another game holds the lock";
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_TRUE(RunShelf::keep(RunShelf::kLastPath, 0, "files/players.bin", 10, error)) << error;
    EXPECT_EQ(readFile("files/runs/0.run"), "Ann's run");
}
