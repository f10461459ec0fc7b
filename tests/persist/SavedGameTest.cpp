#include "persist/SavedGame.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <dirent.h>
#include <set>
#include <string>
#include <sys/stat.h>
#include <vector>

using testsupport::ScratchDir;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

std::string le(uint32_t v) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return bytes;
}

std::string handPlayer(int32_t x, int32_t y, int32_t health, int32_t level, int32_t killed, int32_t collected,
                       int32_t enemies, int32_t bulls, const std::string& slot = std::string(24, '\0')) {
    return le(x) + le(y) + le(health) + le(level) + le(killed) + le(collected) + le(enemies) + le(bulls) + slot;
}

std::string handEnemy(int32_t x, int32_t y, int32_t health) { return le(x) + le(y) + le(health); }

resPl freshGame() {
    resPl record;
    record.x = 300;
    record.y = 300;
    record.health = 5000;
    record.level = 1;
    record.enemyCount = 2;
    record.bullCount = 2;
    record.name = "Ann";
    return record;
}

std::set<std::string> filesIn(const std::string& folder) {
    std::set<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") names.insert(name);
        }
        closedir(dir);
    }
    return names;
}

}  // namespace

TEST(SavedGame, RecordsMatchHandBuiltBytes) {
    resPl player;
    player.x = -12;
    player.y = 40;
    player.health = 4970;
    player.level = 2;
    player.enemiesKilled = 3;
    player.bullsCollected = 1;
    player.enemyCount = 4;
    player.bullCount = 4;
    player.name = "Zo\xC3\xAB";
    unsigned char bytes[56];
    SavedGame::encodePlayer(player, bytes);
    const std::string slot = std::string("Zo\xC3\xAB") + std::string(20, '\0');
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), 56), handPlayer(-12, 40, 4970, 2, 3, 1, 4, 4, slot));

    const resPl back = SavedGame::decodePlayer(bytes);
    EXPECT_EQ(back.x, -12);
    EXPECT_EQ(back.y, 40);
    EXPECT_EQ(back.health, 4970);
    EXPECT_EQ(back.level, 2);
    EXPECT_EQ(back.enemiesKilled, 3);
    EXPECT_EQ(back.bullsCollected, 1);
    EXPECT_EQ(back.enemyCount, 4);
    EXPECT_EQ(back.bullCount, 4);
    EXPECT_EQ(back.name, "");  // the slot is never interpreted

    // 22 bytes and a two-byte character would need 24: the character goes, a zero byte follows.
    player.name = std::string(22, 'a') + "\xC3\xA9" + "tail";
    SavedGame::encodePlayer(player, bytes);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes) + 32, 24), std::string(22, 'a') + std::string(2, '\0'));
    player.name = std::string(40, 'b');
    SavedGame::encodePlayer(player, bytes);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes) + 32, 24), std::string(23, 'b') + '\0');

    unsigned char enemy[12];
    SavedGame::encodeEnemy(resEn{-1, 1200, 50}, enemy);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(enemy), 12), handEnemy(-1, 1200, 50));
    const resEn enemyBack = SavedGame::decodeEnemy(enemy);
    EXPECT_EQ(enemyBack.x, -1);
    EXPECT_EQ(enemyBack.y, 1200);
    EXPECT_EQ(enemyBack.health, 50);
}

TEST(SavedGame, RoundTripThroughTheFiles) {
    ScratchDir scratch;
    resPl player = freshGame();
    player.x = -250;
    player.y = -3;
    player.level = 3;
    player.enemyCount = 6;
    ASSERT_TRUE(SavedGame::writePlayer(player));
    EXPECT_EQ(readFile("files/resP.bin"), handPlayer(-250, -3, 5000, 3, 0, 0, 6, 2, "Ann" + std::string(21, '\0')));
    resPl back;
    std::string reason;
    ASSERT_TRUE(SavedGame::readPlayer(back, reason)) << reason;
    EXPECT_EQ(back.x, -250);
    EXPECT_EQ(back.y, -3);
    EXPECT_EQ(back.level, 3);
    EXPECT_EQ(back.enemyCount, 6);

    const std::vector<resEn> enemies = {{1200, 700, 50}, {-40, -60, 10}};
    ASSERT_TRUE(SavedGame::writeEnemies(enemies));
    EXPECT_EQ(readFile("files/resE.bin"), handEnemy(1200, 700, 50) + handEnemy(-40, -60, 10));
    const std::vector<resEn> read = SavedGame::readEnemies(6);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[1].x, -40);
    EXPECT_EQ(read[1].y, -60);
    EXPECT_EQ(read[1].health, 10);

    // Every enemy removed: the file is rewritten empty.
    ASSERT_TRUE(SavedGame::writeEnemies({}));
    EXPECT_TRUE(testsupport::fileExists("files/resE.bin"));
    EXPECT_EQ(readFile("files/resE.bin"), "");
    EXPECT_TRUE(SavedGame::readEnemies(6).empty());
}

TEST(SavedGame, SaveReplacesTheOldGameWholeAndLeavesNoTemporaryFile) {
    ScratchDir scratch;
    // An old saved game, longer than the new one, plus a temporary file a crash left behind.
    writeFile("files/resP.bin", handPlayer(1, 1, 1, 1, 0, 0, 2, 2) + handPlayer(9, 9, 9, 2, 0, 0, 4, 4));
    writeFile("files/resE.bin", handEnemy(5, 5, 5) + handEnemy(6, 6, 6) + handEnemy(7, 7, 7));
    writeFile("files/resP.bin.tmp", "half a reco");

    testing::internal::CaptureStdout();
    SavedGame::save(freshGame(), {{1200, 0, 50}}, 300);
    testing::internal::GetCapturedStdout();

    EXPECT_EQ(readFile("files/resP.bin"), handPlayer(300, 300, 5000, 1, 0, 0, 2, 2, "Ann" + std::string(21, '\0')));
    EXPECT_EQ(readFile("files/resE.bin"), handEnemy(1200, 0, 50));  // not appended after the old
    EXPECT_EQ(filesIn("files"), (std::set<std::string>{"resP.bin", "resE.bin"}));
}

TEST(SavedGame, FileThatCannotBeReplacedStaysIntact) {
    ScratchDir scratch;
    const std::string old = handEnemy(5, 5, 5);
    writeFile("files/resE.bin", old);
    ASSERT_EQ(mkdir("files/resP.bin", 0755), 0);  // rename over a folder fails

    testing::internal::CaptureStderr();
    EXPECT_FALSE(SavedGame::writePlayer(freshGame()));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
    EXPECT_NE(err.find("files/resP.bin"), std::string::npos);
    EXPECT_EQ(filesIn("files"), (std::set<std::string>{"resP.bin", "resE.bin"}));
    EXPECT_EQ(readFile("files/resE.bin"), old);
}

TEST(SavedGame, SaveTraceOfAGameClosedOnTheMenu) {
    ScratchDir scratch;
    testing::internal::CaptureStdout();
    SavedGame::save(freshGame(), {{0, 0, 50}, {0, 0, 50}}, 300);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              " 300 300\n"
              "\n"
              " 0 50\n 0 50\n"
              " 50 -1000\n 50 -1000\n"
              "\n ***** \n\n ***** \n");
    EXPECT_EQ(readFile("files/resE.bin").size(), 24u);
}

TEST(SavedGame, ReadBackTraces) {
    ScratchDir scratch;
    testing::internal::CaptureStdout();
    SavedGame::traceStoredX(77);  // nothing stored: the current x stands in
    SavedGame::traceEnemies();    // nothing stored: no line
    EXPECT_EQ(testing::internal::GetCapturedStdout(), " 77 77\n");

    writeFile("files/resP.bin", handPlayer(-5, 0, 1, 1, 0, 0, 0, 0));
    writeFile("files/resE.bin", handEnemy(1200, 3, 50) + handEnemy(INT32_MIN, 0, -2) + "frag");
    testing::internal::CaptureStdout();
    SavedGame::traceStoredX(310);
    SavedGame::traceEnemies();
    SavedGame::traceSavedEnemy(resEn{1, 2, 3});
    SavedGame::traceResumedPlayer(freshGame());
    SavedGame::traceResumedEnemy(resEn{1234, 9, 50});
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              " -5 310\n"
              " 50 200\n -2 -2147484648\n"
              " 2 3\n"
              "5000 1 300 300"
              " 501234\n");
}

TEST(SavedGame, SaveWithoutFilesFolderReportsAndKeepsTheTrace) {
    ScratchDir scratch(false);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_NO_THROW(SavedGame::save(freshGame(), {{1100, 0, 50}}, 300));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), " 300 300\n\n 0 50\n\n ***** \n\n ***** \n");
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 2);  // one line per file
    EXPECT_FALSE(testsupport::fileExists("files"));
}

TEST(SavedGame, DamagedPlayerRecordIsNotResumed) {
    ScratchDir scratch;
    resPl record = freshGame();
    std::string reason;
    EXPECT_FALSE(SavedGame::readPlayer(record, reason));
    EXPECT_NE(reason.find("files/resP.bin"), std::string::npos);

    struct Case {
        std::string bytes;
        const char* mentions;
    };
    const std::vector<Case> cases = {
        {handPlayer(1, 1, 1, 1, 0, 0, 2, 2).substr(0, 55), "55 of 56"},
        {"", "0 of 56"},
        {handPlayer(1, 1, 1, 0, 0, 0, 2, 2), "level 0"},
        {handPlayer(1, 1, 1, 4, 0, 0, 2, 2), "level 4"},
        {handPlayer(1, 1, 1, 1, 0, 0, -1, 2), "enemy count -1"},
        {handPlayer(1, 1, 1, 1, 0, 0, 65, 2), "enemy count 65"},
        {handPlayer(1, 1, 1, 1, 0, 0, 2, 65), "bull count 65"},
        {handPlayer(1, 1, 1, 1, 0, 0, 2, INT32_MIN), "bull count"},
        {handPlayer(1000000001, 1, 1, 1, 0, 0, 2, 2), "position"},
        {handPlayer(1, -1000000001, 1, 1, 0, 0, 2, 2), "position"},
    };
    for (const Case& c : cases) {
        writeFile("files/resP.bin", c.bytes);
        reason.clear();
        EXPECT_FALSE(SavedGame::readPlayer(record, reason)) << c.mentions;
        EXPECT_NE(reason.find(c.mentions), std::string::npos) << reason;
        EXPECT_EQ(reason.find('\n'), std::string::npos);
        EXPECT_EQ(record.x, 300);  // left as it was
    }

    // The edges of what a game produces are accepted, and bytes after the record are not read.
    writeFile("files/resP.bin", handPlayer(-1000000000, 1000000000, -7, 3, 0, 0, 64, 0) + "extra");
    ASSERT_TRUE(SavedGame::readPlayer(record, reason)) << reason;
    EXPECT_EQ(record.x, -1000000000);
    EXPECT_EQ(record.enemyCount, 64);
    EXPECT_EQ(record.health, -7);
}

TEST(SavedGame, EnemiesAreReadOneByOneUpToTheCount) {
    ScratchDir scratch;
    writeFile("files/resE.bin", handEnemy(1, 1, 1) + handEnemy(2, 2, 2) + handEnemy(3, 3, 3) + "tail!");
    EXPECT_EQ(SavedGame::readEnemies(5).size(), 3u);  // the fragment is not a record
    EXPECT_EQ(SavedGame::readEnemies(2).size(), 2u);  // records beyond the count are not used
    EXPECT_EQ(SavedGame::readEnemies(0).size(), 0u);
    EXPECT_EQ(SavedGame::readEnemies(-3).size(), 0u);

    std::string many;
    for (int i = 0; i < 100; ++i) many += handEnemy(i, i, 50);
    writeFile("files/resE.bin", many);
    EXPECT_EQ(SavedGame::readEnemies(1000).size(), 64u);

    // A position no game reaches ends the read: that record and the ones after it stay unused.
    writeFile("files/resE.bin", handEnemy(1, 1, 1) + handEnemy(2000000000, 2, 2) + handEnemy(3, 3, 3));
    const std::vector<resEn> read = SavedGame::readEnemies(3);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].x, 1);
    writeFile("files/resE.bin", handEnemy(1, -1000000001, 1));
    EXPECT_TRUE(SavedGame::readEnemies(3).empty());
}
