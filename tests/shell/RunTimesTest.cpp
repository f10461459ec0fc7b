// Times of played runs in a whole game: the card's times, the board's order and lines, the times
// file beside the players file, and the ghost of the name's fastest win.
#include "PlayFixture.h"

#include "persist/GhostTrack.h"
#include "persist/RunRecording.h"
#include "persist/RunShelf.h"
#include "persist/RunTimes.h"
#include "present/OptionRows.h"
#include "present/ScoreBoard.h"
#include "present/Text.h"
#include "shell/Shell.h"
#include "TestSupport.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <sys/stat.h>
#include <string>
#include <vector>

namespace {

class RunTimesInPlay : public PlayTest {
protected:
    static std::vector<std::string>& drawn() {
        static std::vector<std::string> lines;
        return lines;
    }
    void SetUp() override {
        PlayTest::SetUp();
        testsupport::pushText("Ann");
        traced([&] {
            for (int i = 0; i < 3; ++i) {
                shell->menuPass();
            }
        });
    }
    void TearDown() override {
        Text::onRender = nullptr;
        PlayTest::TearDown();
    }

    // A new game won after `frames` frames at each level, with `score` points; the run is
    // committed and its card shown. Returns the card's lines.
    std::vector<std::string> win(std::array<int, 3> frames, int score) {
        startNewGame();
        shell->help.hide();
        for (int level = 1; level <= 3; ++level) {
            for (int i = 0; i < frames[level - 1]; ++i) {
                EXPECT_EQ(shell->run().level, level);
                if (i + 1 == frames[level - 1]) {
                    player->setEnemy(shell->run().enemyCount);
                    player->setBull(shell->run().bullCount);
                }
                frame();
            }
        }
        EXPECT_EQ(shell->run().outcome, Run::Outcome::Won);
        hero->score = score;
        traced([&] { shell->commitRun(); });
        drawn().clear();
        Text::onRender = [](const std::string& text) { drawn().push_back(text); };
        traced([&] { shell->showResultCard(300); });
        Text::onRender = nullptr;
        backToTheMenu();
        return drawn();
    }

    void backToTheMenu() {
        traced([&] { shell->endOfRun(true); });
        traced([&] { shell->showMenuAgain(); });
    }

    // The board's lines as the menu draws them when SCORE BOARD is clicked; closed again after.
    std::vector<std::string> boardLines() {
        drawn().clear();
        Text::onRender = [](const std::string& text) { drawn().push_back(text); };
        testsupport::pushClick(kItemX, kScoreBoardY);
        traced([&] { shell->menuPass(); });
        Text::onRender = nullptr;
        testsupport::pushClick(kItemX, kScoreBoardY);
        traced([&] { shell->menuPass(); });
        std::vector<std::string> rows;
        for (const std::string& line : drawn()) {
            if (line.size() > 3 && line[0] >= '1' && line[0] <= '9' && line.find(". ") != std::string::npos) {
                rows.push_back(line);
            }
        }
        return rows;
    }

    // A shown time (M:SS.t) in tenths of a second.
    static int tenthsOf(const std::string& clock) {
        const std::size_t colon = clock.find(':');
        const std::size_t dot = clock.find('.');
        EXPECT_NE(colon, std::string::npos) << clock;
        EXPECT_NE(dot, std::string::npos) << clock;
        return std::stoi(clock.substr(0, colon)) * 600 + std::stoi(clock.substr(colon + 1, dot - colon - 1)) * 10 +
               std::stoi(clock.substr(dot + 1));
    }
};

// Two wins with the same score: the faster is listed first, though it came later in the players
// file, and the board's kept recordings follow its rows.
TEST_F(RunTimesInPlay, OfTwoWinsWithTheSameScoreTheBoardListsTheFasterFirst) {
    win({50, 50, 50}, 300);  // 150 frames: 2.5 s
    win({20, 20, 20}, 300);  // 60 frames: 1.0 s
    EXPECT_EQ(boardLines(), (std::vector<std::string>{"1. Ann 300  won L3 0:01.0", "2. Ann 300  won L3 0:02.5"}));
    EXPECT_EQ(RunShelf::boardRecords("files/players.bin", ScoreBoard::kShown), (std::vector<std::size_t>{1, 0}));

    // A third, as fast as the second and later: it comes after it.
    win({20, 20, 20}, 300);
    EXPECT_EQ(RunShelf::boardRecords("files/players.bin", ScoreBoard::kShown), (std::vector<std::size_t>{1, 2, 0}));
}

// A run played with an assist is ranked apart: after every run played without, even one with
// fewer points, and its line says so; the board's kept recordings follow.
TEST_F(RunTimesInPlay, AnAssistedRunIsListedAfterEveryRunPlayedWithoutAssists) {
    shell->settings.assistSpeed = 50;
    win({20, 20, 20}, 900);
    shell->settings.assistSpeed = 100;
    win({50, 50, 50}, 300);
    EXPECT_EQ(boardLines(),
              (std::vector<std::string>{"1. Ann 300  won L3 0:02.5", "2. Ann 900  won L3 0:01.0  assisted"}));
    EXPECT_EQ(RunShelf::boardRecords("files/players.bin", ScoreBoard::kShown), (std::vector<std::size_t>{1, 0}));
}

// The card tells each level's time and the run's; the levels' times as shown add up to the run's
// as shown, and each stays within a tenth of its own frames.
TEST_F(RunTimesInPlay, TheCardTellsEachLevelsTimeAndTheyAddUpToTheRunsTime) {
    const std::array<int, 3> frames{37, 41, 50};  // 128 frames: 2.13 s
    const std::vector<std::string> card = win(frames, 250);
    std::string line;
    for (const std::string& shown : card) {
        if (shown.rfind("Time: ", 0) == 0) {
            line = shown;
        }
    }
    ASSERT_FALSE(line.empty()) << "no time on the card";
    const std::size_t levelsAt = line.find("   Levels: ");
    ASSERT_NE(levelsAt, std::string::npos) << line;
    const int run = tenthsOf(line.substr(6, levelsAt - 6));
    EXPECT_EQ(run, 21) << line;
    std::string levels = line.substr(levelsAt + 11);
    std::vector<int> each;
    for (std::size_t plus; (plus = levels.find(" + ")) != std::string::npos; levels = levels.substr(plus + 3)) {
        each.push_back(tenthsOf(levels.substr(0, plus)));
    }
    each.push_back(tenthsOf(levels));
    ASSERT_EQ(each.size(), 3u) << line;
    EXPECT_EQ(each[0] + each[1] + each[2], run) << line;
    for (int l = 0; l < 3; ++l) {
        EXPECT_LE(std::abs(each[l] * 6 - frames[l]), 6) << "level " << l + 1 << ": " << line;
    }
    // The run's recording holds as many frames as its time counts: watched again, it agrees.
    RunRecording recording;
    std::string why;
    ASSERT_TRUE(RunRecording::read(testsupport::readFile(RunShelf::kLastPath), recording, why)) << why;
    EXPECT_EQ(recording.frames, 128u);
}

// A run resumed at level 3 and won there was timed from its save only: its card shows no time for
// the levels played before it, and on the board it shows no time and goes after a whole run of
// the same score that took far longer; the times file says where it began.
TEST_F(RunTimesInPlay, AResumedRunIsTimedFromItsSaveAndNotSetAgainstWholeRuns) {
    win({100, 100, 100}, 300);  // 5.0 s from NEW GAME
    saveHero({965, 565, 5000, 3, 2, 2, 2, 2});  // everything done at level 3: won at once
    testsupport::pushClick(kItemX, kResumeY);
    endMenu();
    traced([&] { shell->runSetUp(); });
    for (int i = 0; i < 10 && shell->run().outcome != Run::Outcome::Won; ++i) {
        frame();
    }
    ASSERT_EQ(shell->run().outcome, Run::Outcome::Won);
    hero->score = 300;
    traced([&] { shell->commitRun(); });
    drawn().clear();
    Text::onRender = [](const std::string& text) { drawn().push_back(text); };
    traced([&] { shell->showResultCard(300); });
    Text::onRender = nullptr;
    const std::vector<std::string> card = drawn();
    backToTheMenu();
    const auto timeLine = std::find_if(card.begin(), card.end(),
                                       [](const std::string& line) { return line.rfind("Time: ", 0) == 0; });
    ASSERT_NE(timeLine, card.end()) << "no time on the card";
    EXPECT_NE(timeLine->find("Levels: - + - + 0:00."), std::string::npos) << *timeLine;
    EXPECT_EQ(boardLines(), (std::vector<std::string>{"1. Ann 300  won L3 0:05.0", "2. Ann 300  won L3 -"}));
    std::map<std::size_t, RunTimes::Entry> entries;
    std::string why;
    ASSERT_TRUE(RunTimes::read(RunTimes::kPath, entries, why)) << why;
    ASSERT_EQ(entries.count(1), 1u);
    EXPECT_EQ(entries.at(1).from, 3);
    EXPECT_EQ(entries.at(0).from, 1);
}

// After a won run, the next new game of the same name shows its hero faintly where he stood at
// that moment of the level; with the option off, nothing. The players file, the replay and the
// trace are the same either way.
TEST_F(RunTimesInPlay, TheGhostOfTheBestWinStandsWhereItsHeroStood) {
    // The winning run: at the tenth frame of level 1 the hero stands 250 pixels right of the start.
    startNewGame();
    shell->help.hide();
    GhostTrack::Step recorded;
    for (int i = 0; i < 10; ++i) {
        if (i == 9) {
            heroCentreAt(PlayScreen::kHeroStartX + 35 + 250, PlayScreen::kHeroStartY + 35);
        }
        frame();
    }
    recorded = shell->playFrame.heroStep();
    ASSERT_EQ(recorded.level, 1);
    for (int level = 1; level <= 3; ++level) {
        player->setEnemy(shell->run().enemyCount);
        player->setBull(shell->run().bullCount);
        frame();
    }
    ASSERT_EQ(shell->run().outcome, Run::Outcome::Won);
    traced([&] { shell->commitRun(); });
    backToTheMenu();
    ASSERT_TRUE(testsupport::readFile(GhostTrack::pathFor("Ann")).size() > GhostTrack::kHeaderBytes);

    // Ten frames of a run, quit from the pause panel; its trace, replay, players record and picture.
    struct Played {
        std::string trace, replay, record;
        std::vector<Uint32> picture;
        SDL_Rect ghost{};
        SDL_Point camera{};
    };
    const auto play = [&] {
        Played p;
        p.trace = startNewGame();
        shell->help.hide();
        for (int i = 0; i < 10; ++i) {
            p.trace += frame();
        }
        p.picture = picture();
        p.ghost = shell->playFrame.ghostDrawn();
        p.camera = SDL_Point{game->getPos().x, game->getPos().y};
        testsupport::pushKeyDown(SDLK_ESCAPE);
        p.trace += frame();
        shell->startPause();
        testsupport::pushKeyDown(SDLK_q);
        EXPECT_FALSE(shell->pausePass());
        p.trace += traced([&] { shell->commitRun(); });
        p.replay = testsupport::readFile("files/replay.txt");
        const std::string players = testsupport::readFile("files/players.bin");
        p.record = players.substr(players.size() - PlayerRecord::kSize);
        backToTheMenu();
        return p;
    };
    const Played on = play();
    EXPECT_EQ(on.ghost.x, recorded.x - on.camera.x);
    EXPECT_EQ(on.ghost.y, recorded.y - on.camera.y);
    ASSERT_GT(on.ghost.w, 0);

    // The option off, as a player turns it off on the options screen.
    Screen& menuPicture = *shell->choosing;
    shell->screens.open();
    shell->screens.push(OptionRows::screen(shell->services));
    shell->screens.pass(menuPicture);
    for (std::size_t row = optionRow("Ghost of your best run"); row > 0; --row) {
        testsupport::pushKeyDown(SDLK_DOWN);
        shell->screens.pass(menuPicture);
    }
    testsupport::pushKeyDown(SDLK_RIGHT);
    shell->screens.pass(menuPicture);
    testsupport::pushKeyDown(SDLK_ESCAPE);
    shell->screens.pass(menuPicture);
    ASSERT_FALSE(shell->settings.ghost);
    const Played off = play();
    EXPECT_EQ(off.ghost.w, 0) << "no ghost with the option off";

    // The ghost's box differs, faintly: pixels changed, none of them to the hero's own colours
    // at full strength, and nothing outside it.
    int changed = 0;
    int outside = 0;
    for (int y = 0; y < 720; ++y) {
        for (int x = 0; x < 1080; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * 1080 + x;
            const SDL_Point here{x, y};
            const bool inGhost = SDL_PointInRect(&here, &on.ghost) == SDL_TRUE;
            if (on.picture[at] != off.picture[at]) {
                (inGhost ? changed : outside) += 1;
            }
        }
    }
    EXPECT_GT(changed, 200) << "a hero's figure drawn in the ghost's box";
    EXPECT_EQ(outside, 0) << "the ghost is drawing only, at its place";
    EXPECT_EQ(on.trace, off.trace);
    EXPECT_EQ(on.replay, off.replay);
    EXPECT_EQ(on.record, off.record);
}

// At the start of each later level the banner tells how far ahead of the best win, or behind
// it, the run is; a name without a win is told nothing.
TEST_F(RunTimesInPlay, TheLevelBannerTellsHowFarAheadOrBehindTheBestWinTheRunIs) {
    const auto secondLevelAfter = [&](int frames) {
        startNewGame();
        shell->help.hide();
        for (int i = 0; i < frames; ++i) {
            if (i + 1 == frames) {
                player->setEnemy(shell->run().enemyCount);
                player->setBull(shell->run().bullCount);
            }
            frame();
        }
        drawn().clear();
        Text::onRender = [](const std::string& text) { drawn().push_back(text); };
        frame();
        Text::onRender = nullptr;
        EXPECT_EQ(shell->playFrame.banner.shownLevel(), 2);
        const std::string note = shell->playFrame.banner.shownNote();
        EXPECT_EQ(note.empty(), std::find(drawn().begin(), drawn().end(), note) == drawn().end())
            << "the note is drawn: " << note;
        testsupport::pushKeyDown(SDLK_ESCAPE);
        frame();
        shell->startPause();
        testsupport::pushKeyDown(SDLK_q);
        EXPECT_FALSE(shell->pausePass());
        traced([&] { shell->commitRun(); });
        backToTheMenu();
        return note;
    };
    EXPECT_EQ(secondLevelAfter(30), "") << "no win yet";
    win({30, 30, 30}, 200);
    EXPECT_EQ(secondLevelAfter(20), "0.1 s ahead of your best");  // 10 frames sooner
    EXPECT_EQ(secondLevelAfter(50), "0.3 s behind your best");    // 20 frames later
}

// The ghost is the name's own: another name plays without it. A damaged ghost file is refused
// and the run plays on without a ghost; the next win puts a whole one in its place.
TEST_F(RunTimesInPlay, AGhostIsTheNamesOwnAndADamagedOneIsLeftOut) {
    const auto ghostAfterTenFrames = [&] {
        startNewGame();
        shell->help.hide();
        for (int i = 0; i < 10; ++i) {
            frame();
        }
        const SDL_Rect ghost = shell->playFrame.ghostDrawn();
        testsupport::pushKeyDown(SDLK_ESCAPE);
        frame();
        shell->startPause();
        testsupport::pushKeyDown(SDLK_q);
        EXPECT_FALSE(shell->pausePass());
        traced([&] { shell->commitRun(); });
        backToTheMenu();
        return ghost.w > 0;
    };
    win({30, 30, 30}, 200);
    ASSERT_TRUE(ghostAfterTenFrames()) << "Ann's own ghost";

    for (int i = 0; i < 3; ++i) {
        testsupport::pushKeyDown(SDLK_BACKSPACE);
    }
    testsupport::pushText("Bo");
    traced([&] {
        for (int i = 0; i < 6; ++i) {
            shell->menuPass();
        }
    });
    ASSERT_EQ(button->getInputText(), "Bo");
    EXPECT_FALSE(ghostAfterTenFrames()) << "Bo has no win";

    const std::string path = GhostTrack::pathFor("Ann");
    const std::string whole = testsupport::readFile(path);
    for (int i = 0; i < 2; ++i) {
        testsupport::pushKeyDown(SDLK_BACKSPACE);
    }
    testsupport::pushText("Ann");
    traced([&] {
        for (int i = 0; i < 6; ++i) {
            shell->menuPass();
        }
    });
    ASSERT_EQ(button->getInputText(), "Ann");
    std::string otherFormat = whole;
    otherFormat[8] = 2;
    std::string farPlace = whole;
    farPlace[GhostTrack::kHeaderBytes + 4] = '\x7F';  // a frame's x far out of the world
    for (const std::string& damaged :
         {whole.substr(0, whole.size() - 1), whole + "x", std::string("BHGHOST\n"), otherFormat, farPlace}) {
        testsupport::writeFile(path, damaged);
        EXPECT_FALSE(ghostAfterTenFrames()) << damaged.size() << " bytes";
    }
    win({40, 40, 40}, 200);
    EXPECT_EQ(testsupport::readFile(path).size(), GhostTrack::kHeaderBytes + 120 * GhostTrack::kStepBytes)
        << "the next win kept whole";
    EXPECT_TRUE(ghostAfterTenFrames());
}

// A times file that is damaged (or gone) leaves the board as it is without one; a whole one
// settles equal scores.
TEST_F(RunTimesInPlay, ADamagedOrMissingTimesFileLeavesTheBoardAsWithoutIt) {
    testsupport::writeFile("files/players.bin", testsupport::playersRecord("Ann", 100) +
                                                    testsupport::playersRecord("Bob", 100) +
                                                    testsupport::playersRecord("Cy", 50));
    ::mkdir(RunShelf::kFolder, 0755);
    const std::vector<std::string> plain{"1. Ann 100", "2. Bob 100", "3. Cy 50"};
    EXPECT_EQ(boardLines(), plain) << "no times file";

    const std::string heading = std::string(RunTimes::kHeading) + "\n";
    const std::string ann = "0 won 3 600 600 600 0 1\n";
    const std::string bob = "1 lost 2 300 300 0 0 1\n";
    testsupport::writeFile(RunTimes::kPath, heading + ann + bob);
    EXPECT_EQ(boardLines(),
              (std::vector<std::string>{"1. Bob 100  lost L2 0:10.0", "2. Ann 100  won L3 0:30.0", "3. Cy 50"}))
        << "a whole file";

    for (const std::string& damaged : {
             std::string("garbage\n") + ann + bob,        // not a times file
             heading + ann + "1 lost 9 300 300 0 0 1\n",    // a level past the last
             heading + ann + "1 lost 2 300 -300 0 0 1\n",   // a negative count
             heading + ann + "1 lost 2 300 300 0 0 1 7\n",  // a word too many
             heading + ann + "1 lost 2 300 300 0 0 1",      // its last line cut
             heading + ann + "1 tied 2 300 300 0 0 1\n",    // an ending it never writes
             heading + ann + "1 lost 2 300 300 0 0 3\n",    // begun past the level it reached
             heading + ann + ann,                         // a record twice
             std::string("\xFF\x00\x01", 3),              // bytes
         }) {
        testsupport::writeFile(RunTimes::kPath, damaged);
        EXPECT_EQ(boardLines(), plain) << testsupport::readFile(RunTimes::kPath);
    }
}

}  // namespace
