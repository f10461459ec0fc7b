#include "persist/SavedGame.h"

#include "persist/FileIO.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <thread>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using testsupport::readFile;
using testsupport::ScratchDir;
using testsupport::writeFile;

namespace {

std::string le(uint32_t v) {
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
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
            if (name != "." && name != "..")
                names.insert(name);
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
    const std::vector<resEn> enemies = {{1200, 700, 50}, {-40, -60, 10}};
    ASSERT_TRUE(SavedGame::writeGame(player, enemies));
    EXPECT_EQ(readFile("files/resP.bin"), handPlayer(-250, -3, 5000, 3, 0, 0, 6, 2, "Ann" + std::string(21, '\0')));
    resPl back;
    std::string reason;
    ASSERT_TRUE(SavedGame::readPlayer(back, reason)) << reason;
    EXPECT_EQ(back.x, -250);
    EXPECT_EQ(back.y, -3);
    EXPECT_EQ(back.level, 3);
    EXPECT_EQ(back.enemyCount, 6);

    EXPECT_EQ(readFile("files/resE.bin"), handEnemy(1200, 700, 50) + handEnemy(-40, -60, 10));
    const auto read = SavedGame::readEnemies(6);
    ASSERT_EQ(read.size(), 2u);
    ASSERT_TRUE(read[1]);
    EXPECT_EQ(read[1]->x, -40);
    EXPECT_EQ(read[1]->y, -60);
    EXPECT_EQ(read[1]->health, 10);

    // Every enemy removed: the file is rewritten empty.
    ASSERT_TRUE(SavedGame::writeGame(player, {}));
    EXPECT_TRUE(testsupport::fileExists("files/resE.bin"));
    EXPECT_EQ(readFile("files/resE.bin"), "");
    EXPECT_TRUE(SavedGame::readEnemies(6).empty());
}

TEST(SavedGame, SaveReplacesTheOldGameWholeWhateverTemporaryFilesAreLeft) {
    const std::string newPlayer = handPlayer(300, 300, 5000, 1, 0, 0, 2, 2, "Ann" + std::string(21, '\0'));
    const std::string newEnemies = handEnemy(1200, 0, 50);
    const auto saveQuietly = [] {
        testing::internal::CaptureStdout();
        SavedGame::save(freshGame(), {{1200, 0, 50}}, 300);
        testing::internal::GetCapturedStdout();
    };
    // An old saved game, longer than the new one, plus temporaries an earlier crash left: longer
    // than what goes in them, or a second name of a file outside the folder.
    {
        ScratchDir scratch;
        writeFile("files/resP.bin", handPlayer(1, 1, 1, 1, 0, 0, 2, 2) + handPlayer(9, 9, 9, 2, 0, 0, 4, 4));
        writeFile("files/resE.bin", handEnemy(5, 5, 5) + handEnemy(6, 6, 6) + handEnemy(7, 7, 7));
        writeFile("files/resP.bin.tmp", std::string(100, 'p'));
        writeFile("outside.bin", "keep me");
        ASSERT_EQ(link("outside.bin", "files/resE.bin.tmp"), 0);
        saveQuietly();
        EXPECT_EQ(readFile("files/resP.bin"), newPlayer);
        EXPECT_EQ(readFile("files/resE.bin"), newEnemies);  // not appended after the old
        EXPECT_EQ(filesIn("files"), (std::set<std::string>{"resP.bin", "resE.bin", "save.lock"}));
        EXPECT_EQ(readFile("outside.bin"), "keep me");
    }
    // The same met at the very moment a temporary is made: nothing of what stood there shows
    // through, and nothing outside is written.
    enum class Leftover { Longer, Link, SecondName };
    for (const Leftover kind : {Leftover::Longer, Leftover::Link, Leftover::SecondName}) {
        ScratchDir scratch;
        writeFile("outside.bin", std::string(200, 'o'));
        FileIO::beforeStep = [&](FileIO::Step step, const std::string& path) {
            if (step == FileIO::Step::Create) {
                unlink(path.c_str());
                if (kind == Leftover::Longer)
                    writeFile(path, std::string(200, 'x'));
                if (kind == Leftover::Link) {
                    EXPECT_EQ(symlink("../outside.bin", path.c_str()), 0);
                }
                if (kind == Leftover::SecondName) {
                    EXPECT_EQ(link("outside.bin", path.c_str()), 0);
                }
            }
            return 0;
        };
        saveQuietly();
        FileIO::beforeStep = nullptr;
        EXPECT_EQ(readFile("files/resP.bin"), newPlayer) << static_cast<int>(kind);
        EXPECT_EQ(readFile("files/resE.bin"), newEnemies) << static_cast<int>(kind);
        EXPECT_EQ(readFile("outside.bin"), std::string(200, 'o')) << static_cast<int>(kind);
        EXPECT_EQ(filesIn("files"), (std::set<std::string>{"resP.bin", "resE.bin", "save.lock"}));
    }
}

TEST(SavedGame, EveryStepOfTheSaveFailedOrStoppedLeavesOneWholeSave) {
    const std::string oldPlayer = handPlayer(10, 20, 4000, 2, 1, 1, 4, 4);
    const std::string oldEnemies = handEnemy(5, 5, 5) + handEnemy(6, 6, 6) + handEnemy(7, 7, 7);
    const std::string newPlayer = handPlayer(300, 300, 5000, 1, 0, 0, 2, 2, "Ann" + std::string(21, '\0'));
    const std::string newEnemies = handEnemy(1200, 0, 50) + handEnemy(1300, 0, 40);
    const std::vector<resEn> enemies = {{1200, 0, 50}, {1300, 0, 40}};
    struct Stopped {};  // the process ends at this step: nothing after it runs
    // Saves with each step of the file layer (numbered from 1) answered by fault: 0 lets it run,
    // an errno fails it, a Stopped thrown ends the process there. Returns the steps seen.
    std::string err;  // what the last save wrote on standard error
    const auto saveWith = [&](const std::function<int(int)>& fault) {
        int seen = 0;
        FileIO::beforeStep = [&seen, &fault](FileIO::Step, const std::string&) -> int { return fault(++seen); };
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        try {
            SavedGame::save(freshGame(), enemies, 300);
        } catch (const Stopped&) {
        }
        FileIO::beforeStep = nullptr;
        testing::internal::GetCapturedStdout();
        err = testing::internal::GetCapturedStderr();
        return seen;
    };
    // Fails (or stops) the at-th step of the file layer; 0 lets every step run.
    const auto saveWithFault = [&](int at, bool stop) {
        const int seen = saveWith([at, stop](int step) -> int {
            if (step != at)
                return 0;
            if (stop)
                throw Stopped{};
            return EIO;
        });
        if (!stop && at > 0) {
            EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        }
        return seen;
    };
    int steps = 0;
    {
        ScratchDir scratch;
        steps = saveWithFault(0, false);
    }
    ASSERT_GE(steps, 6) << "two temporaries made, written and flushed, two renames";

    for (int at = 1; at <= steps; ++at) {
        for (const bool stop : {false, true}) {
            ScratchDir scratch;
            writeFile("files/resP.bin", oldPlayer);
            writeFile("files/resE.bin", oldEnemies);
            saveWithFault(at, stop);
            // What the next RESUME reads, once it has settled what the save left.
            std::string reason;
            EXPECT_TRUE(SavedGame::finishInterruptedSave(reason)) << reason;
            const std::string player = readFile("files/resP.bin");
            const std::string enemies = readFile("files/resE.bin");
            const bool old = player == oldPlayer && enemies == oldEnemies;
            const bool fresh = player == newPlayer && enemies == newEnemies;
            EXPECT_TRUE(old || fresh) << "step " << at << (stop ? " stopped" : " failed")
                                      << ": a mix of two saves (hero level " << player[12] << ", "
                                      << enemies.size() / 12 << " enemies)";
            EXPECT_EQ(filesIn("files"), (std::set<std::string>{"resP.bin", "resE.bin", "save.lock"})) << "step " << at;
        }
    }

    // A step fails, and then the roll-back's own steps fail or stop too (the first, second or
    // third step after it): the next RESUME still finds one whole save, never a half save to roll
    // forward.
    for (int at = 1; at <= steps; ++at) {
        for (int after = 1; after <= 3; ++after) {
            for (const bool stop : {false, true}) {
                ScratchDir scratch;
                writeFile("files/resP.bin", oldPlayer);
                writeFile("files/resE.bin", oldEnemies);
                saveWith([at, after, stop](int step) -> int {
                    if (step == at)
                        return EIO;
                    if (step != at + after)
                        return 0;
                    if (stop)
                        throw Stopped{};
                    return EIO;
                });
                std::string reason;
                EXPECT_TRUE(SavedGame::finishInterruptedSave(reason)) << reason;
                const std::string player = readFile("files/resP.bin");
                const std::string saved = readFile("files/resE.bin");
                EXPECT_TRUE((player == oldPlayer && saved == oldEnemies) ||
                            (player == newPlayer && saved == newEnemies))
                    << "step " << at << " failed, then step " << at + after << (stop ? " stopped" : " failed")
                    << ": a mix of two saves (hero level " << player[12] << ", " << saved.size() / 12 << " enemies)";
            }
        }
    }

    // Stopped between the two renames, and the finishing rename fails too: the resume refuses the
    // pair rather than mix it, and a save that cannot finish it leaves no save at all.
    ScratchDir scratch;
    writeFile("files/resP.bin", oldPlayer);
    writeFile("files/resE.bin", oldEnemies);
    FileIO::beforeStep = [](FileIO::Step step, const std::string& path) -> int {
        if (step == FileIO::Step::Rename && path == "files/resE.bin")
            throw Stopped{};
        return 0;
    };
    testing::internal::CaptureStdout();
    try {
        SavedGame::save(freshGame(), enemies, 300);
    } catch (const Stopped&) {
    }
    testing::internal::GetCapturedStdout();
    FileIO::beforeStep = [](FileIO::Step step, const std::string&) { return step == FileIO::Step::Rename ? EXDEV : 0; };
    std::string reason;
    EXPECT_FALSE(SavedGame::finishInterruptedSave(reason));
    EXPECT_NE(reason.find("files/resE.bin"), std::string::npos) << reason;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(SavedGame::writeGame(freshGame(), enemies));
    testing::internal::GetCapturedStderr();
    FileIO::beforeStep = nullptr;
    resPl record;
    EXPECT_FALSE(SavedGame::readPlayer(record, reason));
    EXPECT_NE(reason.find("no saved game"), std::string::npos) << reason;
}

TEST(SavedGame, FileThatCannotBeReplacedStaysIntact) {
    ScratchDir scratch;
    const std::string old = handEnemy(5, 5, 5);
    writeFile("files/resE.bin", old);
    ASSERT_EQ(mkdir("files/resP.bin", 0755), 0);  // rename over a folder fails

    testing::internal::CaptureStderr();
    EXPECT_FALSE(SavedGame::writeGame(freshGame(), {{1, 1, 1}}));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
    EXPECT_NE(err.find("files/resP.bin"), std::string::npos);
    EXPECT_EQ(filesIn("files"), (std::set<std::string>{"resP.bin", "resE.bin", "save.lock"}));
    EXPECT_EQ(readFile("files/resE.bin"), old) << "the enemies of the old save stay with it";
    resPl record;
    std::string reason;
    EXPECT_FALSE(SavedGame::readPlayer(record, reason));
    EXPECT_EQ(reason, "files/resP.bin is a folder, not a regular file");
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
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);  // the save is one
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
        {handPlayer(1, 1, 1, 1, 3, 0, 2, 2), "enemies killed 3"},
        {handPlayer(1, 1, 1, 1, INT32_MAX, 0, 2, 2), "enemies killed"},
        {handPlayer(1, 1, 1, 1, -1, 0, 2, 2), "enemies killed -1"},
        {handPlayer(1, 1, 1, 1, 0, 5, 2, 4), "bulls collected 5"},
        {handPlayer(1, 1, 1, 1, 0, -2, 2, 2), "bulls collected -2"},
        {handPlayer(1, 1, 0, 1, 0, 0, 2, 2), "no health left"},
        {handPlayer(1, 1, -7, 1, 0, 0, 2, 2), "no health left"},
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
    writeFile("files/resP.bin", handPlayer(-1000000000, 1000000000, 1, 3, 64, 0, 64, 0) + "extra");
    ASSERT_TRUE(SavedGame::readPlayer(record, reason)) << reason;
    EXPECT_EQ(record.x, -1000000000);
    EXPECT_EQ(record.enemyCount, 64);
    EXPECT_EQ(record.enemiesKilled, 64);
    EXPECT_EQ(record.health, 1);

    // Anything but a regular file is named for what it is, and never waited on.
    unlink("files/resP.bin");
    ASSERT_EQ(mkfifo("files/resP.bin", 0644), 0);
    EXPECT_FALSE(SavedGame::readPlayer(record, reason));
    EXPECT_EQ(reason, "files/resP.bin is a FIFO, not a regular file");
}

TEST(SavedGame, EnemiesAreReadOneByOneUpToTheCount) {
    ScratchDir scratch;
    writeFile("files/resE.bin", handEnemy(1, 1, 1) + handEnemy(2, 2, 2) + handEnemy(3, 3, 3) + "tail!");
    EXPECT_EQ(SavedGame::readEnemies(5).size(), 3u);  // the fragment is not a record
    EXPECT_EQ(SavedGame::readEnemies(2).size(), 2u);  // records beyond the count are not used
    EXPECT_EQ(SavedGame::readEnemies(0).size(), 0u);
    EXPECT_EQ(SavedGame::readEnemies(-3).size(), 0u);

    std::string many;
    for (int i = 0; i < 100; ++i)
        many += handEnemy(i, i, 50);
    writeFile("files/resE.bin", many);
    EXPECT_EQ(SavedGame::readEnemies(1000).size(), 64u);

    // A position no game reaches, or no health left, refuses that record alone: its slot stays
    // empty, the next record goes to the next slot, and the refusals are counted in one line.
    writeFile("files/resE.bin", handEnemy(1, 1, 1) + handEnemy(2000000000, 2, 2) + handEnemy(3, -1000000001, 3) +
                                    handEnemy(4, 4, 4) + handEnemy(5, 5, 0) + handEnemy(6, 6, INT32_MIN));
    testing::internal::CaptureStderr();
    const auto read = SavedGame::readEnemies(6);
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_EQ(read.size(), 6u);
    ASSERT_TRUE(read[0] && read[3]);
    EXPECT_EQ(read[0]->x, 1);
    EXPECT_FALSE(read[1]);
    EXPECT_FALSE(read[2]);
    EXPECT_EQ(read[3]->x, 4);
    EXPECT_FALSE(read[4]) << "an enemy with no health left is not restored";
    EXPECT_FALSE(read[5]);
    EXPECT_EQ(err,
              "bramblehoof: files/resE.bin: 4 enemy record(s) out of reach or with no health left refused; their "
              "slots stay empty\n");
}

TEST(SavedGame, OnlyTheGamesOwnTemporaryFinishesASave) {
    // The hero's file of a new save is in place; at the enemies' temporary stands a link, a FIFO
    // or a second name of a file outside. None is renamed into the save, and the pair is refused.
    const std::string oldEnemies = handEnemy(5, 5, 5);
    for (const char* kind : {"link", "fifo", "hard link"}) {
        ScratchDir scratch;
        writeFile("files/resP.bin", handPlayer(300, 300, 5000, 1, 0, 0, 2, 2));
        writeFile("files/resE.bin", oldEnemies);
        writeFile("outside.bin", handEnemy(1, 1, 1) + handEnemy(2, 2, 2));
        const std::string what = kind;
        if (what == "link") {
            ASSERT_EQ(symlink("../outside.bin", "files/resE.bin.tmp"), 0);
        }
        if (what == "fifo") {
            ASSERT_EQ(mkfifo("files/resE.bin.tmp", 0644), 0);
        }
        if (what == "hard link") {
            ASSERT_EQ(link("outside.bin", "files/resE.bin.tmp"), 0);
        }
        std::string reason;
        EXPECT_FALSE(SavedGame::finishInterruptedSave(reason)) << kind;
        EXPECT_NE(reason.find("files/resE.bin.tmp"), std::string::npos) << reason;
        struct stat info;
        ASSERT_EQ(lstat("files/resE.bin", &info), 0);
        ASSERT_TRUE(S_ISREG(info.st_mode)) << kind << ": renamed into the save";
        EXPECT_EQ(readFile("files/resE.bin"), oldEnemies) << kind;
        EXPECT_EQ(readFile("outside.bin"), handEnemy(1, 1, 1) + handEnemy(2, 2, 2)) << kind;
        // The next save drops the half pair and writes a whole one.
        testing::internal::CaptureStderr();
        EXPECT_TRUE(SavedGame::writeGame(freshGame(), {{1200, 0, 50}})) << kind;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(readFile("files/resE.bin"), handEnemy(1200, 0, 50)) << kind;
        EXPECT_EQ(readFile("outside.bin"), handEnemy(1, 1, 1) + handEnemy(2, 2, 2)) << kind;
    }
}

TEST(SavedGame, TwoGamesSavingTogetherLeaveOneWholeSave) {
    // Game B ends while game A is at each step of its save in turn, and B's save runs up to each
    // of its own steps before A goes on, unless B has to wait for A; then the two finish.
    const resPl heroA = freshGame();
    const std::vector<resEn> enemiesA = {{1200, 0, 50}, {1300, 0, 40}};
    const std::string savedA = handPlayer(300, 300, 5000, 1, 0, 0, 2, 2, "Ann" + std::string(21, '\0'));
    resPl heroB = freshGame();
    heroB.level = 2;
    heroB.enemyCount = 4;
    heroB.name = "Bo";
    const std::vector<resEn> enemiesB = {{5, 5, 5}, {6, 6, 6}, {7, 7, 7}};
    int steps = 0;
    {
        ScratchDir scratch;
        FileIO::beforeStep = [&](FileIO::Step, const std::string&) { return ++steps, 0; };
        testing::internal::CaptureStdout();
        SavedGame::save(heroA, enemiesA, 300);
        testing::internal::GetCapturedStdout();
        FileIO::beforeStep = nullptr;
    }
    for (int atA = 1; atA <= steps; ++atA) {
        for (int atB = 1; atB <= steps + 1; atB += 3) {  // every third: each pair is two saves flushed to disk
            ScratchDir scratch;
            writeFile("files/resP.bin", handPlayer(10, 20, 4000, 3, 1, 1, 6, 6));
            writeFile("files/resE.bin", handEnemy(9, 9, 9));
            const std::thread::id gameA = std::this_thread::get_id();
            std::atomic<bool> bWaits{false};   // B waits for the lock
            std::atomic<bool> bPaused{false};  // B has reached its step atB
            std::atomic<bool> bDone{false};
            std::atomic<bool> aDone{false};
            std::thread gameB;
            int seenA = 0;
            int seenB = 0;
            const auto pause = [] { std::this_thread::sleep_for(std::chrono::milliseconds(1)); };
            FileIO::beforeStep = [&](FileIO::Step step, const std::string&) {
                if (std::this_thread::get_id() != gameA) {
                    if (step == FileIO::Step::Lock) {
                        bWaits = true;
                    } else if (++seenB == atB) {
                        bPaused = true;
                        while (!aDone)
                            pause();
                    }
                    return 0;
                }
                if (++seenA == atA) {
                    gameB = std::thread([&] {
                        SavedGame::save(heroB, enemiesB, 300);
                        bDone = true;
                    });
                    while (!bWaits && !bPaused && !bDone)
                        pause();
                }
                return 0;
            };
            testing::internal::CaptureStdout();
            testing::internal::CaptureStderr();
            SavedGame::save(heroA, enemiesA, 300);
            aDone = true;
            if (gameB.joinable())
                gameB.join();
            FileIO::beforeStep = nullptr;
            testing::internal::GetCapturedStdout();
            EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "both games save, one after the other";
            std::string reason;
            EXPECT_TRUE(SavedGame::finishInterruptedSave(reason)) << reason;
            const std::string player = readFile("files/resP.bin");
            const std::string saved = readFile("files/resE.bin");
            const bool wholeA = player == savedA && saved == handEnemy(1200, 0, 50) + handEnemy(1300, 0, 40);
            const bool wholeB = player.size() == 56 && player[12] == 2 &&
                                saved == handEnemy(5, 5, 5) + handEnemy(6, 6, 6) + handEnemy(7, 7, 7);
            EXPECT_TRUE(wholeA || wholeB)
                << "A at step " << atA << ", B at step " << atB << ": hero level "
                << (player.size() > 12 ? int(player[12]) : 0) << ", " << saved.size() / 12 << " enemies";
        }
    }

    // Another game keeps the lock past the wait (cut short here): this save says so in one line
    // and leaves the previous save whole.
    ScratchDir scratch;
    writeFile("files/resP.bin", handPlayer(10, 20, 4000, 3, 1, 1, 6, 6));
    writeFile("files/resE.bin", handEnemy(9, 9, 9));
    const int other = open("files/save.lock", O_RDONLY | O_CREAT, 0644);
    ASSERT_EQ(flock(other, LOCK_EX), 0);
    FileIO::beforeStep = [](FileIO::Step step, const std::string&) {
        return step == FileIO::Step::Lock ? EWOULDBLOCK : 0;
    };
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    SavedGame::save(heroA, enemiesA, 300);
    FileIO::beforeStep = nullptr;
    close(other);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), " 10 300\n\n 0 50\n 0 40\n 9 -991\n\n ***** \n\n ***** \n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "bramblehoof: cannot save the game: another game kept files/save.lock locked for 2 s; the previous save "
              "stands\n");
    EXPECT_EQ(readFile("files/resP.bin"), handPlayer(10, 20, 4000, 3, 1, 1, 6, 6));
    EXPECT_EQ(readFile("files/resE.bin"), handEnemy(9, 9, 9));
}

TEST(SavedGame, ALockFileThatIsNoFileIsNamedWithWhatToDoAndRemovingItLetsTheGameSave) {
    ScratchDir scratch;
    writeFile("outside.txt", "the player's own");
    const std::vector<std::pair<std::string, std::function<int()>>> kinds = {
        {"a folder", [] { return mkdir("files/save.lock", 0755); }},
        {"a FIFO", [] { return mkfifo("files/save.lock", 0644); }},
        {"a link", [] { return symlink("../outside.txt", "files/save.lock"); }},
    };
    for (const auto& kind : kinds) {
        writeFile("files/resP.bin", handPlayer(10, 20, 4000, 3, 1, 1, 6, 6));
        writeFile("files/resE.bin", handEnemy(9, 9, 9));
        ASSERT_EQ(kind.second(), 0) << kind.first;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(SavedGame::writeGame(freshGame(), {}));
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "bramblehoof: cannot save the game: files/save.lock is " +
                                                              kind.first +
                                                              ", not a regular file; remove it and the game saves "
                                                              "again\n");
        EXPECT_EQ(readFile("files/resP.bin"), handPlayer(10, 20, 4000, 3, 1, 1, 6, 6)) << kind.first;
        EXPECT_EQ(readFile("files/resE.bin"), handEnemy(9, 9, 9)) << kind.first;
        // Done as the message says, the next save goes through.
        ASSERT_EQ(remove("files/save.lock"), 0);
        testing::internal::CaptureStderr();
        EXPECT_TRUE(SavedGame::writeGame(freshGame(), {}));
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        ASSERT_EQ(remove("files/save.lock"), 0);
    }
    EXPECT_EQ(readFile("outside.txt"), "the player's own");
}

// What RESUME would make of the files, told before it is chosen: the resume's own reading of the
// hero's record and of a leftover temporary, made without changing, settling or locking anything.
TEST(SavedGame, TheResumesVerdictIsToldBeforehandWithoutTouchingAFile) {
    using Verdict = SavedGame::Verdict;
    const struct {
        const char* what;
        std::string hero;      // files/resP.bin, none when empty
        const char* leftover;  // what stands at files/resE.bin.tmp: "", "file" or "link"
        bool heroTemporary;    // files/resP.bin.tmp is there: the save was never committed
        Verdict verdict;
        const char* said;
    } cases[] = {
        {"no save", "", "", false, Verdict::NoSave, "no saved game"},
        {"a living hero", handPlayer(640, 480, 4000, 2, 1, 1, 4, 4), "", false, Verdict::Resumable, ""},
        {"a fallen hero", handPlayer(640, 480, -20, 1, 0, 0, 2, 2), "", false, Verdict::RunOver, "no health left"},
        {"a hero with no health at all", handPlayer(640, 480, 0, 1, 0, 0, 2, 2), "", false, Verdict::RunOver,
         "no health"},
        {"a level no game reaches", handPlayer(640, 480, 4000, 9, 0, 0, 2, 2), "", false, Verdict::Unusable, "level"},
        {"a fallen hero at a level no game reaches", handPlayer(640, 480, 0, 9, 0, 0, 2, 2), "", false,
         Verdict::Unusable, "level"},
        {"a record cut short", std::string(30, '\1'), "", false, Verdict::Unusable, "incomplete"},
        {"a save cut between its renames", handPlayer(640, 480, 4000, 1, 0, 0, 2, 2), "file", false, Verdict::Resumable,
         ""},
        {"a leftover that is not the game's", handPlayer(640, 480, 4000, 1, 0, 0, 2, 2), "link", false,
         Verdict::Unusable, "cannot be finished"},
        {"an uncommitted save beside a foreign leftover", handPlayer(640, 480, 4000, 1, 0, 0, 2, 2), "link", true,
         Verdict::Resumable, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir scratch;
        if (!c.hero.empty()) {
            writeFile("files/resP.bin", c.hero);
        }
        writeFile("outside.bin", handEnemy(1, 1, 1));
        if (std::string(c.leftover) == "file") {
            writeFile("files/resE.bin.tmp", handEnemy(700, 800, 33));
        } else if (std::string(c.leftover) == "link") {
            ASSERT_EQ(symlink("../outside.bin", "files/resE.bin.tmp"), 0);
        }
        if (c.heroTemporary) {
            writeFile("files/resP.bin.tmp", handPlayer(1, 1, 1, 1, 0, 0, 2, 2));
        }
        const std::set<std::string> before = filesIn("files");
        std::string reason;
        testing::internal::CaptureStderr();
        EXPECT_EQ(SavedGame::judgeResume(reason), c.verdict);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "the menu says it, not the judgement";
        EXPECT_NE(reason.find(c.said), std::string::npos) << reason;
        EXPECT_EQ(filesIn("files"), before) << "nothing settled, nothing locked";
        EXPECT_EQ(readFile("files/resP.bin"), c.hero);

        // The resume itself agrees: it reads what was judged resumable, and refuses the rest.
        resPl record;
        std::string why;
        const bool settled = SavedGame::finishInterruptedSave(why);
        EXPECT_EQ(settled && SavedGame::readPlayer(record, why), c.verdict == Verdict::Resumable) << why;
    }
}
