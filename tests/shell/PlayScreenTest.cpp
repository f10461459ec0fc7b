#include "PlayFixture.h"

#include "persist/Player.h"
#include "persist/RunPlace.h"
#include "present/ResultCard.h"
#include "shell/Levels.h"

#include <algorithm>
#include <string>
#include <unistd.h>
#include <vector>

using namespace std::string_literals;

namespace {

using testsupport::pushPad;

// Held walking keys step by the clock: each frame here lasts 1/60 s of this clock.
Uint64 fakeMillis = 0;
Uint64 fakeClock() { return fakeMillis; }

// One run's play: its frames, the pause panel over them, its end, its commit and its card.
class PlayScreenTest : public PlayTest {
protected:
    void SetUp() override {
        shell->walkClock = &fakeClock;
        PlayTest::SetUp();
    }

    std::string frame() {
        fakeMillis += 16;
        return PlayTest::frame();
    }

    // A new game lost at once: the hero, with 4 health, stands with his centre on the first
    // outlaw's corner, where it attacks.
    void dieAtTheFirstOutlaw() {
        startNewGame();
        frame();
        const SDL_Rect enemyAt = shell->run().enemies[0]->realRect;
        player->setAll(enemyAt.x - 35, enemyAt.y - 35, 4);
        endFrames(100);
        ASSERT_EQ(shell->run().outcome, Run::Outcome::Died);
    }

    // Escape in play, and the pause panel it asks for.
    void pauseWithEscape() {
        testsupport::pushKeyDown(SDLK_ESCAPE);
        frame();
        ASSERT_TRUE(shell->playKeys.pauseAsked);
        shell->startPause();
    }
};

TEST_F(PlayScreenTest, ThePadPausesContinuesAndQuitsAndAWalkHeldIntoAPauseEndsThere) {
    startNewGame();
    // d held down when Start pauses, and let go while paused: the hero must not walk on after.
    testsupport::pushKeyDown(SDLK_d);
    frame();
    fakeMillis += 1000;
    frame();
    const int walkedTo = player->getPos().x;
    EXPECT_GT(walkedTo, 300);
    pushPad(SDL_CONTROLLER_BUTTON_START);
    frame();
    ASSERT_TRUE(shell->playKeys.pauseAsked) << "Start pauses";
    shell->startPause();
    // The panel names what is in the player's hands: the pad's buttons now, keys after a key.
    const std::vector<std::string>& said = shell->playing->pausePanel().text();
    EXPECT_EQ(said.back(), ResultCard::kPadPauseChoices);
    EXPECT_EQ(said[1].rfind("Walk: stick or D-pad up", 0), 0u) << said[1];
    testsupport::pushKeyUp(SDLK_d);
    EXPECT_TRUE(shell->pausePass());
    pushPad(SDL_CONTROLLER_BUTTON_A);
    EXPECT_FALSE(shell->pausePass()) << "A continues";
    const int pausedAt = player->getPos().x;
    for (int i = 0; i < 5; ++i) {
        fakeMillis += 1000;
        frame();
    }
    EXPECT_EQ(player->getPos().x, pausedAt) << "a walk held into the pause ends there";
    EXPECT_FALSE(player->walking);

    testsupport::pushKeyDown(SDLK_ESCAPE);
    frame();
    shell->startPause();
    EXPECT_EQ(shell->playing->pausePanel().text().back(), ResultCard::kPauseChoices);
    EXPECT_EQ(shell->playing->pausePanel().text()[1].rfind("Walk: W A S D", 0), 0u);
    pushPad(SDL_CONTROLLER_BUTTON_B);
    EXPECT_FALSE(shell->pausePass()) << "B quits";
    EXPECT_TRUE(shell->run().quitToMenu);
    EXPECT_FALSE(Render::isRunning);
}

// A pause or the help asked in the frame that ends a run (the window left, F1, as the hero falls)
// belongs to that run: the next run starts in play, with no panel and no help asked.
TEST_F(PlayScreenTest, APauseAndTheHelpAskedAsARunEndsAreNotTheNextRuns) {
    startNewGame();
    frame();
    shell->help.hide();
    SDL_Event focus{};
    focus.type = SDL_WINDOWEVENT;
    focus.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    SDL_PushEvent(&focus);
    testsupport::pushKeyDown(SDLK_F1);
    shell->screens.pumpInput();  // seen in the run's last moment, before a frame could heed them
    ASSERT_TRUE(shell->playKeys.pauseAsked);
    ASSERT_TRUE(shell->playKeys.helpAsked);
    Render::isRunning = false;  // the run ends there, as a close ends it
    traced([&] {
        shell->endOfRun(true);
        shell->showMenuAgain();
    });

    testsupport::pushClick(kItemX, kReplayY);  // a replay shows no help of its own
    endMenu();
    traced([&] { shell->runSetUp(); });
    frame();
    EXPECT_FALSE(shell->playKeys.pauseAsked) << "the new run does not open on the pause panel";
    EXPECT_FALSE(shell->help.showing()) << "nor on the help asked in the run before";
}

TEST_F(PlayScreenTest, NoCardWhenTheWindowIsClosedInTheWinningFrameOrInAReplay) {
    startNewGame();
    toLevelThree();
    player->setEnemy(6);
    player->setBull(6);
    testsupport::pushQuit();
    frame();
    EXPECT_FALSE(Render::isRunning);
    EXPECT_EQ(shell->run().outcome, Run::Outcome::None);
    EXPECT_FALSE(shell->playing->resultCard.captured());
    const Uint64 before = SDL_GetTicks64();
    shell->showResultCard();
    EXPECT_LT(SDL_GetTicks64() - before, 100u);

    // A replay that ends on a dead hero (kept recording of a lost run) shows no card either.
    Render::isRunning = true;
    Button::flag = Button::kPlayback;
    shell->run().replayXs.assign(200, player->getPos().x);
    shell->run().replayYs.assign(200, player->getPos().y);
    shell->run().replayIndex = 0;
    player->setAll(player->getPos().x, player->getPos().y, 0);
    player->getRed(1);
    for (int frames = 0; frames < 100 && Render::isRunning; ++frames) {
        frame();
    }
    EXPECT_EQ(player, nullptr) << "the hero died during the replay";
    EXPECT_EQ(shell->run().outcome, Run::Outcome::None);
}

// The pause panel is made for the pause it shows: it stands on the picture of the frame that asked
// for it and is gone when the pause ends, so the next pause shows its own frame, not an old one.
// A close on the panel ends the pause and reaches the next frame, which ends the run as any close
// in play does: no card, and the run is still kept.
TEST_F(PlayScreenTest, EachPauseShowsItsOwnFrameAndACloseOnThePanelReachesTheNextFrame) {
    startNewGame();
    frame();
    EXPECT_EQ(shell->playing->opens(), nullptr) << "nothing asked: play opens nothing";
    pauseWithEscape();
    const PauseScreen* first = dynamic_cast<PauseScreen*>(shell->screens.top());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, &shell->playing->pausePanel());
    EXPECT_TRUE(first->captured()) << "the frame that asked kept its picture for it";
    ASSERT_TRUE(shell->pausePass());
    const std::vector<Uint32> firstPause = picture();
    testsupport::pushKeyDown(SDLK_RETURN);
    ASSERT_FALSE(shell->pausePass());
    EXPECT_EQ(shell->screens.top(), nullptr) << "the panel is gone";
    EXPECT_FALSE(shell->playing->pausePanel().captured()) << "the next pause's panel holds no old picture";

    // The hero walks away; the view follows him.
    player->setPos(1400, 900);
    frame();
    frame();
    EXPECT_FALSE(shell->playing->pausePanel().captured()) << "a frame that asks for no pause keeps nothing";
    pauseWithEscape();
    ASSERT_TRUE(shell->pausePass());
    const std::vector<Uint32> secondPause = picture();
    const SDL_Rect box = PauseScreen::kPanel;  // outside it: the kept picture, darkened
    int differ = 0;
    for (int y = 0; y < 720; ++y) {
        for (int x = 0; x < 1080; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * 1080 + x;
            const bool onPanel = x >= box.x && x < box.x + box.w && y >= box.y && y < box.y + box.h;
            differ += !onPanel && firstPause[at] != secondPause[at] ? 1 : 0;
        }
    }
    EXPECT_GT(differ, 5000) << "the second pause stands on the field where the hero now is";
    const Uint32 panel = pixelAt(PauseScreen::kPanel.x + 4, PauseScreen::kPanel.y + 4);
    EXPECT_EQ(panel, firstPause[static_cast<std::size_t>(PauseScreen::kPanel.y + 4) * 1080 + PauseScreen::kPanel.x + 4])
        << "the same panel over both";

    const std::string replayBefore = testsupport::readFile("files/replay.txt");
    testsupport::pushQuit();
    EXPECT_FALSE(shell->pausePass()) << "a close ends the pause";
    EXPECT_EQ(shell->screens.top(), nullptr);
    EXPECT_TRUE(Render::isRunning) << "the close is for the next frame";
    EXPECT_FALSE(shell->playing->done());
    frame();
    EXPECT_FALSE(Render::isRunning) << "which ends the run";
    EXPECT_TRUE(shell->playing->done());
    EXPECT_FALSE(shell->run().quitToMenu) << "a close, not a quit to the menu";
    EXPECT_EQ(shell->run().outcome, Run::Outcome::None);
    EXPECT_FALSE(shell->showResultCard()) << "no card after a close";
    const std::string end = traced([&] { shell->endOfRun(); });
    EXPECT_EQ(end.substr(end.size() - std::min<std::size_t>(end.size(), 13)), "Game Cleaned\n");
    EXPECT_EQ(testsupport::readFile("files/players.bin").size(), 56u) << "the run is kept";
}

// Q on the panel ends the run at once, with the window still there and no card; its record, its
// save and its replay are written once, however often the end of run is asked for.
TEST_F(PlayScreenTest, AQuitToTheMenuEndsTheRunWhichIsCommittedOnceAndOnlyOnce) {
    testsupport::pushText("Bo");
    startNewGame();
    frame();
    frame();
    pauseWithEscape();
    testsupport::pushKeyDown(SDLK_q);
    EXPECT_FALSE(shell->pausePass());
    EXPECT_TRUE(shell->run().quitToMenu);
    EXPECT_FALSE(Render::isRunning);
    EXPECT_TRUE(shell->playing->done()) << "no frame after a quit";
    EXPECT_NE(Render::renderer, nullptr) << "the window stays";
    EXPECT_FALSE(shell->showResultCard()) << "a quit shows no card";
    EXPECT_FALSE(testsupport::fileExists("files/players.bin")) << "nothing written before the commit";

    EXPECT_EQ(traced([&] { shell->commitRun(); }).find("Game Cleaned"), std::string::npos);
    EXPECT_TRUE(shell->run().committed);
    EXPECT_FALSE(shell->run().notSaved);
    const std::string players = testsupport::readFile("files/players.bin");
    const std::string saved = testsupport::readFile("files/resP.bin");
    const std::string replayed = testsupport::readFile("files/replay.txt");
    ASSERT_EQ(players.size(), 56u);
    EXPECT_EQ(players.substr(0, 3), "Bo\0"s);
    ASSERT_EQ(saved.size(), 56u);
    EXPECT_EQ(std::count(replayed.begin(), replayed.end(), '\n'), 3) << "a line a frame, closed";

    player->setPos(900, 900);  // whatever moves after the commit is not the run's
    const std::string again = traced([&] {
        shell->commitRun();
        shell->endOfRun(true);
    });
    EXPECT_EQ(again, "") << "nothing written twice, nothing torn down";
    EXPECT_EQ(testsupport::readFile("files/players.bin"), players) << "one record for the run";
    EXPECT_EQ(testsupport::readFile("files/resP.bin"), saved) << "one save";
    EXPECT_EQ(testsupport::readFile("files/replay.txt"), replayed);
}

// A run's end never waits on a huge players file: when the runs the card may read hold too few
// ahead to place this one, the card leaves the place out rather than guess it. A short file names
// the place as it always did.
TEST_F(PlayScreenTest, TheCardLeavesOutAPlaceAHugePlayersFileCannotTell) {
    ASSERT_NO_FATAL_FAILURE(dieAtTheFirstOutlaw());
    hero->score = 5;
    const std::string scoreLine = "Score: 5   Level reached: 1";
    const std::string timeLine = shell->playing->timesLine();

    // The card's lines as the game makes them into pictures.
    static std::vector<std::string> drawn;
    Text::onRender = [](const std::string& text) { drawn.push_back(text); };

    // More runs than are read, all scored 0 (a sparse file: no disk spent).
    testsupport::writeFile("files/players.bin", "");
    ASSERT_EQ(truncate("files/players.bin", static_cast<off_t>((RunPlace::kMaxRuns + 1) * PlayerRecord::kSize)), 0);
    drawn.clear();
    traced([&] { shell->showResultCard(300); });
    EXPECT_EQ(drawn, (std::vector<std::string>{ResultCard::kDied, scoreLine, timeLine, ResultCard::kChoices}));

    // Two runs scored 0 before it: the best so far.
    ASSERT_EQ(truncate("files/players.bin", static_cast<off_t>(2 * PlayerRecord::kSize)), 0);
    drawn.clear();
    traced([&] { shell->showResultCard(300); });
    Text::onRender = nullptr;
    EXPECT_EQ(drawn, (std::vector<std::string>{ResultCard::kDied, scoreLine, timeLine, "The best run so far",
                                               ResultCard::kChoices}));
}

// The card tells a place only for a run the board lists among the best: one without points is
// never there, whatever stands in the players file; one with points that enters is placed.
TEST_F(PlayScreenTest, TheCardTellsAPlaceOnlyForARunThatEntersTheBoard) {
    ASSERT_NO_FATAL_FAILURE(dieAtTheFirstOutlaw());
    // Seven named runs of 100 points each: the board lists them, with room for three more.
    std::string players;
    for (int i = 0; i < 7; ++i) {
        PlayerRecord record;
        record.name = "Run" + std::to_string(i);
        record.score = 100;
        std::string bytes(PlayerRecord::kSize, '\0');
        record.encode(reinterpret_cast<unsigned char*>(&bytes[0]));
        players += bytes;
    }
    testsupport::writeFile("files/players.bin", players);

    static std::vector<std::string> drawn;
    Text::onRender = [](const std::string& text) { drawn.push_back(text); };
    const std::string timeLine = shell->playing->timesLine();
    const struct {
        int score;
        std::vector<std::string> lines;
    } cases[] = {
        {0, {ResultCard::kDied, "Score: 0   Level reached: 1", timeLine, ResultCard::kChoices}},
        {60,
         {ResultCard::kDied, "Score: 60   Level reached: 1", timeLine, "Place 8 among the best runs",
          ResultCard::kChoices}},
        {130,
         {ResultCard::kDied, "Score: 130   Level reached: 1", timeLine, "The best run so far", ResultCard::kChoices}},
    };
    for (const auto& c : cases) {
        hero->score = c.score;
        drawn.clear();
        traced([&] { shell->showResultCard(300); });
        EXPECT_EQ(drawn, c.lines) << c.score << " points";
    }
    Text::onRender = nullptr;
}

// The card of a committed run tells where it placed among the runs before it: its own record,
// now in the players file with the same score as the seven before it, is not one of them.
TEST_F(PlayScreenTest, TheCardPlacesACommittedRunAmongTheRunsBeforeIt) {
    std::string players;
    for (int i = 0; i < 7; ++i) {
        players += testsupport::playersRecord("Run" + std::to_string(i), 100);
    }
    testsupport::writeFile("files/players.bin", players);
    ASSERT_NO_FATAL_FAILURE(dieAtTheFirstOutlaw());
    hero->score = 100;
    traced([&] { shell->commitRun(); });
    ASSERT_EQ(testsupport::readFile("files/players.bin").size(), 8 * PlayerRecord::kSize) << "the run is recorded";

    static std::vector<std::string> drawn;
    drawn.clear();
    Text::onRender = [](const std::string& text) { drawn.push_back(text); };
    traced([&] { shell->showResultCard(300); });
    Text::onRender = nullptr;
    EXPECT_EQ(drawn,
              (std::vector<std::string>{ResultCard::kDied, "Score: 100   Level reached: 1", shell->playing->timesLine(),
                                        "Place 8 among the best runs", ResultCard::kWatch, ResultCard::kChoices}));
}

// The frame that wins the run by collecting its last bull shows the HUD with the numbers the card
// then tells: the bull counted, its points in the score.
TEST_F(PlayScreenTest, TheLastFramesHudAgreesWithTheCard) {
    startNewGame();
    frame();
    shell->run().level = Levels::kLastLevel;
    player->setEnemy(shell->run().enemyCount);
    player->setBull(shell->run().bullCount - 1);
    shell->run().bulls[1].reset();  // collected before
    const Bull& last = *shell->run().bulls[0];
    player->setPos(last.worldX, last.worldY);
    const int before = hero->score;

    static std::vector<std::string> drawn;
    Text::onRender = [](const std::string& text) { drawn.push_back(text); };
    drawn.clear();
    frame();
    Text::onRender = nullptr;
    ASSERT_EQ(shell->run().outcome, Run::Outcome::Won);
    ASSERT_GT(hero->score, before) << "the last bull's points came in this frame";
    const std::string score = Texts::format(Texts::Id::HudScore, {std::to_string(hero->score)});
    const std::string bulls = Texts::format(Texts::Id::HudBulls, {"2", "2"});
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), score), drawn.end()) << "the HUD shows the final score";
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), bulls), drawn.end()) << "and every bull";
}

}  // namespace

namespace {

// A close of the window (or SIGTERM, which SDL turns into one) that comes after the run ended,
// before its card shows, is the card's: the game ends, and does not wait on a card nobody reads.
TEST_F(PlayScreenTest, ACloseBetweenTheRunsEndAndItsCardEndsTheGame) {
    ASSERT_NO_FATAL_FAILURE(dieAtTheFirstOutlaw());
    testsupport::pushQuit();
    traced([&] { shell->commitRun(); });
    bool again = true;
    traced([&] { again = shell->showResultCard(30000); });
    EXPECT_FALSE(again);
    EXPECT_EQ(shell->playing->resultCard.choice(), PanelKeys::CardChoice::Quit) << "the card took the close";
    EXPECT_TRUE(shell->screens.closed());
}

}  // namespace
