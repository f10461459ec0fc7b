#include "persist/RunShelf.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>

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
