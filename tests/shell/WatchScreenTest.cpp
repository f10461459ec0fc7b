#include "ShellFixture.h"

#include "persist/RunShelf.h"
#include "shell/CommandLine.h"
#include "shell/Resimulation.h"
#include "shell/WatchScreen.h"
#include "shell/WorldHash.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <sys/wait.h>

namespace {

// The built game's --verify (its own process: a verify replaces the world's globals): its status and line.
int verify(const std::string& path, std::string& line) {
    const std::string command = std::string("'") + BRAMBLEHOOF_GAME + "' --verify '" + path + "' 2>/dev/null";
    FILE* out = popen(command.c_str(), "r");
    line.clear();
    char chunk[256];
    for (std::size_t n; out != nullptr && (n = std::fread(chunk, 1, sizeof chunk, out)) > 0;) {
        line.append(chunk, n);
    }
    const int status = out != nullptr ? pclose(out) : -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string golden(const std::string& name) { return testsupport::sourceDir() + "/tests/golden/" + name; }

// Every file under files/ with its size and time of change: a watch must change none of it.
std::map<std::string, std::string> filesNow() {
    std::map<std::string, std::string> seen;
    for (const auto& entry : std::filesystem::recursive_directory_iterator("files")) {
        std::error_code error;
        const auto size = entry.is_regular_file() ? entry.file_size(error) : 0;
        const auto when = entry.last_write_time(error).time_since_epoch().count();
        seen[entry.path().string()] = std::to_string(size) + "@" + std::to_string(when);
    }
    return seen;
}

// A recorded run's end as `make golden` wrote it beside the recording.
struct RecordedEnd {
    std::string how;
    int level = 0;
    int score = 0;
    unsigned frames = 0;
};

RecordedEnd recordedEnd(const std::string& lineFile) {
    const std::string line = testsupport::readFile(lineFile);
    RecordedEnd end;
    char how[16] = {};
    const std::size_t colon = line.find(": ");
    EXPECT_EQ(std::sscanf(line.c_str() + colon + 2, "%15s at level %d, score %d, %u frames", how, &end.level,
                          &end.score, &end.frames),
              4)
        << line;
    end.how = how;
    return end;
}

// Esc pressed as the watch says where it stopped; how often it said so.
int stopsSeen = 0;
void leaveWhereTheWatchStops(const std::string& text) {
    if (text.rfind("This recording does not match", 0) == 0 || text.find("(any key)") != std::string::npos) {
        ++stopsSeen;
        testsupport::pushKeyDown(SDLK_ESCAPE);
    }
}

// The card's own clock: each read 10 ms on; Enter pressed at cardEnterAt, W at cardWatchAt (0: never).
Uint64 cardNow = 0;
Uint64 cardWatchAt = 0;
Uint64 cardEnterAt = 0;
Uint64 cardClock() {
    cardNow += 10;
    if (cardWatchAt != 0 && cardNow >= cardWatchAt) {
        cardWatchAt = 0;
        testsupport::pushKeyDown(SDLK_w);
    }
    if (cardEnterAt != 0 && cardNow >= cardEnterAt) {
        cardEnterAt = 0;
        testsupport::pushKeyDown(SDLK_RETURN);
    }
    return cardNow;
}

}  // namespace

class WatchScreenTest : public ShellTest {
protected:
    // Passes of the loop with the watch as its screen until its state is no more Running.
    void watchToTheEnd(WatchScreen& watch) {
        for (int pass = 0; pass < 5000 && watch.state() == WatchScreen::State::Running; ++pass) {
            shell->screens.pass(watch);
        }
    }
};

// A recorded win watched through the loop with the keys a player presses: pause holds the frame,
// 4 plays four frames a pass, the end is the recorded one, a key then leaves; nothing is printed
// and nothing under files/ changes.
TEST_F(WatchScreenTest, AGoldenWinWatchedWithPauseAndSpeedEndsAsRecordedAndLeavesNoTrace) {
    const RecordedEnd end = recordedEnd(golden("won.line"));
    const auto before = filesNow();
    testing::internal::CaptureStdout();
    {
        WatchScreen watch(*shell, golden("won.run"), Sound::Tune::Menu);
        ASSERT_EQ(watch.state(), WatchScreen::State::Running);
        EXPECT_EQ(watch.name(), "Gold");
        shell->screens.open();
        shell->screens.pass(watch);
        EXPECT_EQ(watch.frames(), 1u);

        testsupport::pushKeyDown(SDLK_SPACE);
        shell->screens.pass(watch);
        EXPECT_TRUE(watch.paused());
        const uint32_t held = watch.frames();
        for (int pass = 0; pass < 5; ++pass) {
            shell->screens.pass(watch);
        }
        EXPECT_EQ(watch.frames(), held) << "paused, no frame is played";
        EXPECT_EQ(watch.footLine(), Texts::text(Texts::Id::WatchPaused));

        testsupport::pushKeyDown(SDLK_p);
        testsupport::pushKeyDown(SDLK_4);
        shell->screens.pass(watch);
        EXPECT_EQ(watch.frames(), held + 4);
        shell->screens.pass(watch);
        EXPECT_EQ(watch.frames(), held + 8);
        EXPECT_NE(watch.footLine().find("4x"), std::string::npos) << watch.footLine();
        testsupport::pushKeyDown(SDLK_1);
        shell->screens.pass(watch);
        EXPECT_EQ(watch.frames(), held + 9);

        watchToTheEnd(watch);
        EXPECT_EQ(watch.state(), WatchScreen::State::Ended);
        EXPECT_EQ(end.how, "won");
        EXPECT_EQ(watch.level(), end.level);
        EXPECT_EQ(watch.score(), end.score);
        EXPECT_EQ(watch.frames(), end.frames);
        EXPECT_EQ(watch.footLine(), "Gold: won at level 3, score " + std::to_string(end.score) + "   (any key)");
        shell->screens.pass(watch);
        EXPECT_FALSE(watch.done()) << "the end waits for the player";
        testsupport::pushKeyDown(SDLK_x);
        shell->screens.pass(watch);
        EXPECT_TRUE(watch.done());
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(std::cout.good()) << "the game's traces go on after the watch";
    EXPECT_EQ(filesNow(), before);
    EXPECT_FALSE(shell->simInput.feeding());
}

// A byte changed in the middle of a recording: the watch stops where --verify says the run parts,
// says so at the foot of the picture and once on standard error; a foreign file is refused before
// any frame.
TEST_F(WatchScreenTest, AChangedRecordingStopsAtTheFrameVerifyNamesAndAForeignOneIsRefused) {
    std::string bytes = testsupport::readFile(golden("won.run"));
    std::string said;
    std::size_t at = bytes.size() / 2;
    // The first byte from the middle on whose change still reads as a recording, but another run.
    for (int tries = 0; tries < 200; ++tries, ++at) {
        std::string changed = bytes;
        changed[at] = static_cast<char>(changed[at] ^ 0x10);
        testsupport::writeFile("changed.run", changed);
        std::string line;
        const int status = verify("changed.run", line);
        if (status == 1) {
            said = line;
            break;
        }
    }
    const std::size_t frameAt = said.rfind("at frame ");
    ASSERT_NE(frameAt, std::string::npos) << "no byte from the middle on makes another run";
    const unsigned parted = static_cast<unsigned>(std::stoul(said.substr(frameAt + 9)));
    ASSERT_GT(parted, 60u) << "parted in the middle, not at the start";

    static std::vector<std::string> drawn;
    drawn.clear();
    Text::onRender = [](const std::string& text) { drawn.push_back(text); };
    testing::internal::CaptureStderr();
    {
        WatchScreen watch(*shell, "changed.run", Sound::Tune::Menu);
        shell->screens.open();
        testsupport::pushKeyDown(SDLK_4);
        watchToTheEnd(watch);
        EXPECT_EQ(watch.state(), WatchScreen::State::Mismatch);
        EXPECT_EQ(watch.frames(), parted);
    }
    const std::string err = testing::internal::GetCapturedStderr();
    Text::onRender = nullptr;
    const std::string onScreen =
        "This recording does not match this version of the game at frame " + std::to_string(parted);
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), onScreen), drawn.end()) << "drawn at the foot";
    EXPECT_EQ(err, "bramblehoof: changed.run: this recording does not match this version of the game at frame " +
                       std::to_string(parted) + "\n");

    // Another game's version: refused in one line, no frame played, nothing under way.
    std::string foreign = bytes;
    const std::size_t version = foreign.find(CommandLine::versionNumber());
    ASSERT_NE(version, std::string::npos);
    foreign[version] = foreign[version] == '9' ? '8' : '9';
    testsupport::writeFile("foreign.run", foreign);
    testing::internal::CaptureStderr();
    {
        WatchScreen watch(*shell, "foreign.run", Sound::Tune::Menu);
        EXPECT_EQ(watch.state(), WatchScreen::State::Refused);
        shell->screens.open();
        shell->screens.pass(watch);
        EXPECT_EQ(watch.frames(), 0u);
        EXPECT_EQ(watch.footLine().rfind("This recording cannot be watched: foreign.run: recorded by", 0), 0u)
            << watch.footLine();
        EXPECT_FALSE(shell->simInput.feeding());
    }
    const std::string refused = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(refused.begin(), refused.end(), '\n'), 1) << refused;
    EXPECT_EQ(refused.rfind("bramblehoof: foreign.run: recorded by bramblehoof ", 0), 0u) << refused;
}

// The score board: a row whose run has a kept recording is watched with a click on it; a row
// without one takes the click for nothing; leaving goes back to the board.
TEST_F(WatchScreenTest, AClickOnABoardRowWithARecordingWatchesThatRunAndLeavingReturnsToTheBoard) {
    testsupport::writeFile("files/players.bin",
                           testsupport::playersRecord("Ann", 50) + testsupport::playersRecord("Gold", 960));
    std::filesystem::create_directories(RunShelf::kFolder);
    std::filesystem::copy_file(golden("won.run"), RunShelf::pathOf(1));
    testsupport::pushClick(kItemX, kScoreBoardY);
    traced([&] {
        for (int pass = 0; pass < 3; ++pass) {
            shell->menuPass();
        }
    });
    ASSERT_TRUE(shell->mainMenu.scoreBoard.isOpen());
    // Gold's 960 is the first row, Ann's 50 the second, below it.
    const SDL_Rect board = ScoreBoard::kPanel;
    const int rowX = board.x + 60;
    const int firstRowY = board.y + 8 + ScoreBoard::kRowHeight + ScoreBoard::kRowHeight / 2;
    testsupport::pushClick(rowX, firstRowY + ScoreBoard::kRowHeight);
    traced([&] { shell->menuPass(); });
    EXPECT_EQ(shell->screens.top(), nullptr) << "Ann's run has no recording";
    EXPECT_EQ(Button::checkIs, 1) << "and the click started nothing under the board";

    testsupport::pushClick(rowX, firstRowY);
    const std::string trace = traced([&] { shell->menuPass(); });
    auto* watch = dynamic_cast<WatchScreen*>(shell->screens.top());
    ASSERT_NE(watch, nullptr);
    EXPECT_EQ(watch->name(), "Gold");
    EXPECT_EQ(watch->state(), WatchScreen::State::Running);
    traced([&] {
        for (int pass = 0; pass < 30; ++pass) {
            shell->menuPass();
        }
    });
    EXPECT_EQ(watch->frames(), 30u);
    EXPECT_EQ(watch->score(), 0);
    testsupport::pushKeyDown(SDLK_ESCAPE);
    const std::string after = traced([&] {
        shell->menuPass();
        shell->menuPass();
    });
    EXPECT_EQ(shell->screens.top(), nullptr) << "back on the menu";
    EXPECT_EQ(trace + after, "") << "a watch traces nothing";
    EXPECT_EQ(Button::checkIs, 1);
    EXPECT_TRUE(shell->mainMenu.scoreBoard.isOpen()) << "the board shows again";
    EXPECT_EQ(player, shell->run().playerObj.get()) << "the run the menu will start is the one made for it";
    EXPECT_EQ(shell->run().level, 1);

    // The keys: Down lights the one row with a recording, Enter watches it; the pad's D-pad and A
    // do the same.
    for (const bool pad : {false, true}) {
        shell->mainMenu.scoreBoard.pointed = -1;
        if (pad) {
            testsupport::pushPad(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
            testsupport::pushPad(SDL_CONTROLLER_BUTTON_A);
        } else {
            testsupport::pushKeyDown(SDLK_DOWN);
            testsupport::pushKeyDown(SDLK_RETURN);
        }
        traced([&] {
            for (int pass = 0; pass < 3 && shell->screens.top() == nullptr; ++pass) {
                shell->menuPass();
            }
        });
        auto* chosen = dynamic_cast<WatchScreen*>(shell->screens.top());
        ASSERT_NE(chosen, nullptr) << (pad ? "pad" : "keys");
        EXPECT_EQ(chosen->name(), "Gold");
        EXPECT_EQ(Button::checkIs, 1) << "Enter went to the row, not to the item under the focus";
        testsupport::pushKeyDown(SDLK_ESCAPE);
        traced([&] {
            shell->menuPass();
            shell->menuPass();
        });
        EXPECT_EQ(shell->screens.top(), nullptr);
    }
}

// W on the card watches the run just played; Esc leaves it back to the card, where Enter plays
// again: the next run traces and plays exactly as after a card left without a watch.
TEST_F(WatchScreenTest, AWatchFromTheCardLeavesTheNextRunAsItWouldHaveBeen) {
    shell->cardClock = &cardClock;
    const auto dieAndPlayAgain = [&](bool watchFirst, std::string& trace, std::vector<uint64_t>& hashes) {
        testsupport::pushKeyDown(SDLK_RETURN);
        endMenu();
        traced([&] { shell->runSetUp(); });
        traced([&] { shell->frame(); });
        const SDL_Rect enemyAt = shell->run().enemies[0]->realRect;
        player->setAll(enemyAt.x - 35, enemyAt.y - 35, 4);
        trace = traced([&] {
            for (int frames = 0; frames < 100 && Render::isRunning && player != nullptr; ++frames) {
                shell->frame();
            }
        });
        ASSERT_EQ(shell->run().outcome, Run::Outcome::Died);
        traced([&] { shell->commitRun(); });
        // The test moved the hero onto the outlaw, which no recording holds: the watch parts from
        // the run after a few frames, says so, and Esc leaves it.
        stopsSeen = 0;
        Text::onRender = watchFirst ? &leaveWhereTheWatchStops : nullptr;
        cardWatchAt = watchFirst ? cardNow + 1000 : 0;
        cardEnterAt = cardNow + 1500;
        bool again = false;
        trace += traced([&] { again = shell->showResultCard(20000); });
        Text::onRender = nullptr;
        ASSERT_TRUE(again);
        EXPECT_EQ(stopsSeen, watchFirst ? 1 : 0) << "the watch played until it stopped";
        trace += traced([&] {
            shell->endOfRun(true);
            shell->showMenuAgain();
        });
        testsupport::pushKeyDown(SDLK_RETURN);
        trace += endMenu();
        trace += traced([&] { shell->runSetUp(); });
        hashes.push_back(WorldHash::of(shell->run(), *game));
        // The hero stands (a held walk reads the real clock): the outlaws come for him.
        for (int frame = 0; frame < 120; ++frame) {
            trace += traced([&] { shell->frame(); });
            hashes.push_back(WorldHash::of(shell->run(), *game));
        }
        trace += traced([&] {
            testsupport::pushQuit();
            shell->frame();
            shell->commitRun();
            shell->endOfRun(true);
            shell->showMenuAgain();
        });
    };
    std::string plain;
    std::string watched;
    std::vector<uint64_t> plainHashes;
    std::vector<uint64_t> watchedHashes;
    ASSERT_NO_FATAL_FAILURE(dieAndPlayAgain(false, plain, plainHashes));
    ASSERT_NO_FATAL_FAILURE(dieAndPlayAgain(true, watched, watchedHashes));
    EXPECT_EQ(watched, plain);
    EXPECT_NE(watched.find("huy"), std::string::npos) << "NEW GAME after the watch traces as it does";
    EXPECT_EQ(watchedHashes, plainHashes);
    std::string line;
    EXPECT_EQ(verify(RunShelf::kLastPath, line), 0) << line;
    shell->cardClock = &SDL_GetTicks64;
}
