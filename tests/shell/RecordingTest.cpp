#include "ShellFixture.h"

#include "persist/RunShelf.h"
#include "persist/SavedGame.h"
#include "shell/CommandLine.h"
#include "shell/Resimulation.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace {

constexpr int kMaxFrames = 20000;

class RecordingTest : public ShellTest {
protected:
    static void tap(SDL_Keycode key) {
        testsupport::pushKeyDown(key);
        testsupport::pushKeyUp(key);
    }

    // One frame of a player who walks to the nearest outlaw and strikes him, or else to the
    // nearest bull: one step a frame, pressed and let go as a player taps.
    void seek(bool strikes = true) {
        const SDL_Rect me = player->getPos();
        const int cx = me.x + me.w / 2;
        const int cy = me.y + me.h / 2;
        long long best = -1;
        int tx = 0;
        int ty = 0;
        bool outlaw = false;
        for (const auto& enemy : shell->run().enemies) {
            if (enemy != nullptr && enemy->getID() != 0) {
                const int ex = enemy->realRect.x + 32;
                const int ey = enemy->realRect.y + 32;
                const long long d = 1LL * (ex - cx) * (ex - cx) + 1LL * (ey - cy) * (ey - cy);
                if (best < 0 || d < best) {
                    best = d;
                    tx = ex;
                    ty = ey;
                    outlaw = true;
                }
            }
        }
        if (best < 0) {
            for (const auto& bull : shell->run().bulls) {
                if (bull != nullptr && bull->getID() != 0) {
                    const long long d = 1LL * (bull->worldX - cx) * (bull->worldX - cx) +
                                        1LL * (bull->worldY - cy) * (bull->worldY - cy);
                    if (best < 0 || d < best) {
                        best = d;
                        tx = bull->worldX;
                        ty = bull->worldY;
                    }
                }
            }
        }
        if (best < 0) {
            return;
        }
        if (outlaw && best < 60 * 60) {
            if (strikes && !player->is_attack()) {
                tap(SDLK_SPACE);
            }
            return;
        }
        const int dx = tx - cx;
        const int dy = ty - cy;
        if (std::abs(dx) >= std::abs(dy)) {
            tap(dx > 0 ? SDLK_d : SDLK_a);
        } else {
            tap(dy > 0 ? SDLK_s : SDLK_w);
        }
    }

    // Frames until the run ends or `until` says so (or kMaxFrames), each after `before`.
    template <typename Before, typename Until>
    int play(Before before, Until until) {
        int frames = 0;
        traced([&] {
            for (; frames < kMaxFrames && Render::isRunning && player != nullptr && !until(frames); ++frames) {
                before(frames);
                shell->frame();
            }
        });
        return frames;
    }

    // The built game's --verify: its exit status, standard output and standard error.
    static int verify(const std::string& path, std::string& line, std::string& err) {
        const std::string command = std::string("'") + BRAMBLEHOOF_GAME + "' --verify '" + path + "' 2>verify-err.txt";
        FILE* out = popen(command.c_str(), "r");
        line.clear();
        char chunk[256];
        for (std::size_t n; out != nullptr && (n = std::fread(chunk, 1, sizeof chunk, out)) > 0;) {
            line.append(chunk, n);
        }
        const int status = out != nullptr ? pclose(out) : -1;
        err = testsupport::readFile("verify-err.txt");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    static std::string bytesOf(const std::string& path) { return testsupport::readFile(path); }
    static void write(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    // The recorded run of this fixture: a new game walked to a bull, struck at the air, closed.
    std::string playARecordedRun() {
        button->inputText = "Tess";
        startNewGame();
        testsupport::pushClick(500, 500);  // a click in play is a blow
        play([&](int) { seek(); }, [&](int) { return hero->score >= Player::kBullPoints; });
        testsupport::pushQuit();
        play([](int) {}, [](int) { return false; });
        traced([&] { shell->endOfRun(); });
        return "files/runs/last.run";
    }
};

}  // namespace

TEST_F(RecordingTest, ARunPlayedWithKeysAndClicksVerifiesToTheScoreAndLevelItsFilesKeep) {
    const std::string path = playARecordedRun();
    ASSERT_TRUE(testsupport::fileExists(path));
    const std::vector<PlayerRecord> records = Player::readAll();
    ASSERT_EQ(records.size(), 1u);
    resPl saved;
    std::string reason;
    ASSERT_TRUE(SavedGame::readPlayer(saved, reason)) << reason;
    EXPECT_GE(records[0].score, Player::kBullPoints) << "the run collected a bull";

    std::string line;
    std::string err;
    const std::string before = bytesOf("files/players.bin") + bytesOf("files/resP.bin") + bytesOf("files/replay.txt");
    EXPECT_EQ(verify(path, line, err), 0) << line << err;
    const std::string expected =
        "Tess: closed at level " + std::to_string(saved.level) + ", score " + std::to_string(records[0].score) + ", ";
    EXPECT_EQ(line.rfind(expected, 0), 0u) << line;
    EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1) << "one line";
    EXPECT_EQ(err, "");
    EXPECT_EQ(bytesOf("files/players.bin") + bytesOf("files/resP.bin") + bytesOf("files/replay.txt"), before)
        << "a verify writes nothing";
    // The only record is on the board: its recording is kept under its number too.
    EXPECT_EQ(bytesOf(RunShelf::pathOf(0)), bytesOf(path));
}

TEST_F(RecordingTest, AChangedKeyPartsAtTheNextHashAndADamagedOrCutOrForeignFileIsRefusedInOneLine) {
    const std::string path = playARecordedRun();
    const std::string good = bytesOf(path);
    std::string line;
    std::string err;

    // The first recorded press of D (its kind KeyDown, 'd' as a zigzag varint, no b) made a press
    // of A: the file reads as before, but the hero walks the other way and, the release that
    // follows being D's, goes on holding A, so in that very frame he reads the walk clock where
    // the recording holds none: the world went another way at frame 1.
    const std::string press("\x01\xc8\x01\x00", 4);
    const std::size_t at = good.find(press);
    ASSERT_NE(at, std::string::npos);
    std::string changed = good;
    changed[at + 1] = '\xc2';
    write("changed.run", changed);
    EXPECT_EQ(verify("changed.run", line, err), 1) << line << err;
    EXPECT_EQ(line, "Tess: this recording does not match this version of the game at frame 1\n");

    // An op byte no recording has: the format itself is broken, so it is refused before any frame.
    std::string damaged = good;
    damaged[at - 2] = '\xee';
    write("damaged.run", damaged);
    EXPECT_EQ(verify("damaged.run", line, err), 2);
    EXPECT_EQ(line, "");
    EXPECT_NE(err.find("damaged.run: damaged after"), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;

    write("cut.run", good.substr(0, good.size() / 2));
    EXPECT_EQ(verify("cut.run", line, err), 2);
    EXPECT_NE(err.find("cut.run: cut short after"), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;

    std::string foreign = good;
    const std::string ours = CommandLine::versionNumber();
    const std::size_t version = foreign.find(ours);
    ASSERT_NE(version, std::string::npos);
    foreign.replace(version, ours.size(), std::string(ours.size(), '9'));
    write("foreign.run", foreign);
    EXPECT_EQ(verify("foreign.run", line, err), 2);
    EXPECT_EQ(err, "bramblehoof: foreign.run: recorded by bramblehoof " + std::string(ours.size(), '9') +
                       ", this is bramblehoof " + ours + "\n");

    EXPECT_EQ(verify("missing.run", line, err), 2);
    EXPECT_EQ(err, "bramblehoof: missing.run: no such file\n");
    EXPECT_EQ(verify("files/players.bin", line, err), 2);
    EXPECT_EQ(err, "bramblehoof: files/players.bin: not a recording of a run\n");
}

// A run played with assists carries them in its header (format 2), so it verifies: half damage
// in the same fight costs what it cost, and the same takes played without it part from the run.
TEST_F(RecordingTest, AnAssistedRunCarriesItsAssistsAndVerifiesOnlyWithThem) {
    shell->settings.assistDamage = 50;
    shell->settings.assistRefill = true;
    button->inputText = "Tess";
    startNewGame();
    play([&](int) { seek(); }, [&](int) { return player->getHel() <= Cowboy::kHealth - 6; });
    ASSERT_NE(player, nullptr);
    ASSERT_LE(player->getHel(), Cowboy::kHealth - 6) << "the outlaws struck him a few times";
    testsupport::pushQuit();
    play([](int) {}, [](int) { return false; });
    traced([&] { shell->endOfRun(); });

    const std::string good = bytesOf("files/runs/last.run");
    RunRecording read;
    std::string why;
    ASSERT_TRUE(RunRecording::read(good, read, why)) << why;
    EXPECT_EQ(good[sizeof RunRecording::kMagic], 2) << "format 2: the assists follow the header";
    EXPECT_EQ(read.header.damageShare, 50);
    EXPECT_TRUE(read.header.refill);
    EXPECT_FALSE(read.header.autoAttack);
    EXPECT_EQ(read.header.speed, 100);
    std::string line;
    std::string err;
    EXPECT_EQ(verify("files/runs/last.run", line, err), 0) << line << err;

    // The same header and takes with the hero paying blows whole: the world parts at a blow.
    RunRecording::Header whole = read.header;
    whole.damageShare = 100;
    const std::size_t headerSize = RunRecording::encodeHeader(read.header).size();
    write("whole.run", RunRecording::encodeHeader(whole) + good.substr(headerSize));
    EXPECT_EQ(verify("whole.run", line, err), 1) << line << err;
    EXPECT_NE(line.find("does not match"), std::string::npos) << line;
}

// Not a check: makes the kept recordings of tests/golden (a win, a death, a resume, a quit to the
// menu) and the line --verify prints for each, when BRAMBLEHOOF_GOLDEN_DIR names that folder (see
// tests/golden/README.md). Every `make test` verifies them (tests/golden/check_golden.sh).
TEST_F(RecordingTest, MakeTheGoldenRecordings) {
    const char* folder = std::getenv("BRAMBLEHOOF_GOLDEN_DIR");
    if (folder == nullptr || *folder == '\0') {
        GTEST_SKIP() << "set BRAMBLEHOOF_GOLDEN_DIR to make the golden recordings";
    }
    const auto keep = [&](const std::string& name) {
        std::string line;
        std::string err;
        ASSERT_EQ(verify("files/runs/last.run", line, err), 0) << line << err;
        write(std::string(folder) + "/" + name + ".run", bytesOf("files/runs/last.run"));
        write(std::string(folder) + "/" + name + ".line", line);
    };
    const auto again = [&] { traced([&] { shell->showMenuAgain(); }); };
    button->inputText = "Gold";

    // A win: every outlaw struck down and every bull rounded up, three levels.
    startNewGame();
    play([&](int) { seek(); }, [](int) { return false; });
    ASSERT_EQ(shell->run().outcome, Run::Outcome::Won);
    traced([&] { shell->endOfRun(true); });
    keep("won");
    again();

    // A death: he walks up to the outlaws and never strikes.
    startNewGame();
    play([&](int) { seek(false); }, [](int) { return false; });
    ASSERT_EQ(shell->run().outcome, Run::Outcome::Died);
    traced([&] { shell->endOfRun(true); });
    keep("died");
    again();

    // A run closed at level 2 (its save is the next run's), then resumed and quit to the menu.
    startNewGame();
    play([&](int) { seek(); }, [&](int) { return shell->run().level == 2 && hero->score > 400; });
    testsupport::pushQuit();
    play([](int) {}, [](int) { return false; });
    traced([&] { shell->endOfRun(true); });
    keep("closed");
    again();
    testsupport::pushClick(kItemX, kResumeY);
    endMenu();
    traced([&] { shell->runSetUp(); });
    play([&](int) { seek(); }, [](int frame) { return frame == 300; });
    testsupport::pushKeyDown(SDLK_ESCAPE);
    play([](int) {}, [](int frame) { return frame == 1; });
    shell->startPause();
    testsupport::pushKeyDown(SDLK_q);
    EXPECT_FALSE(shell->pausePass());
    ASSERT_TRUE(shell->run().quitToMenu);
    traced([&] { shell->endOfRun(true); });
    keep("resumed-quit");
}
