#include "PlayFixture.h"

#include "shell/PlayScreen.h"

#include <string>

namespace {

// Held walks and attacks step by this clock: each frame here lasts 1/60 s of it.
Uint64 fakeMillis = 0;
Uint64 fakeClock() { return fakeMillis; }

// The assists in play: what a blow costs, a held attack, a level's start, and the card's line.
class AssistsTest : public PlayTest {
protected:
    void SetUp() override {
        fakeMillis = 0;
        shell->walkClock = &fakeClock;
        PlayTest::SetUp();
    }

    void frames(int n) {
        traced([&] {
            for (int i = 0; i < n && Render::isRunning && player != nullptr; ++i) {
                fakeMillis += 16;
                shell->frame();
            }
        });
    }

    // A new game whose hero stands still where the first outlaw strikes, for `frames` frames:
    // the health it cost him.
    int lossInTheFirstOutlawsReach(int share, int count) {
        shell->settings.assistDamage = share;
        startNewGame();
        frames(1);
        const SDL_Rect enemyAt = shell->run().enemies[0]->realRect;
        player->setAll(enemyAt.x - 35, enemyAt.y - 35, Cowboy::kHealth);
        frames(count);
        EXPECT_NE(player, nullptr) << "he stands through the fight";
        return player != nullptr ? Cowboy::kHealth - player->getHel() : -1;
    }

    // Swings begun over n frames: the frame's swing under way after one that had none (a swing
    // heard anew).
    int swingsIn(int n) {
        int swings = 0;
        bool before = shell->run().heroSwinging;
        for (int i = 0; i < n; ++i) {
            frames(1);
            swings += shell->run().heroSwinging && !before ? 1 : 0;
            before = shell->run().heroSwinging;
        }
        return swings;
    }

    // A new shell, as a new start of the game has it.
    void restart() {
        TearDown();
        shell = std::make_unique<Shell>();
        SetUp();
    }
};

}  // namespace

// The same fight, blow for blow, costs the hero half with damage at 50: the blows land where they
// did, and what each costs is halved, the half points carried, so two blows cost one whole blow.
TEST_F(AssistsTest, HalfDamageHalvesWhatTheSameFightCosts) {
    const int full = lossInTheFirstOutlawsReach(100, 150);
    restart();
    const int half = lossInTheFirstOutlawsReach(50, 150);
    ASSERT_GT(full, 3 * 4) << "the outlaw struck him several times";
    EXPECT_EQ(half, full / 2);
    EXPECT_TRUE(shell->run().assisted);

    // Each odd blow's half point is carried, not lost and not rounded up.
    Cowboy alone(0, 0);
    alone.damageShare = 50;
    alone.takeBlow(Enemy::kDamage);
    EXPECT_EQ(alone.getHel(), Cowboy::kHealth - 1) << "3 / 2: one point now, the half carried";
    alone.takeBlow(Enemy::kDamage);
    EXPECT_EQ(alone.getHel(), Cowboy::kHealth - 3) << "two blows: one whole blow's cost";
}

// With the assist on, holding the attack key through the game's input swings again as soon as a
// swing ends; let go, the swing under way ends and no other starts. Without it, a held key swings once.
TEST_F(AssistsTest, AHeldAttackKeyAttacksAgainAndAgainOnlyWithTheAssist) {
    shell->settings.assistAutoAttack = true;
    startNewGame();
    frames(2);
    testsupport::pushKeyDown(SDLK_SPACE);
    EXPECT_GE(swingsIn(60), 4) << "a second of holding swings many times";
    testsupport::pushKeyUp(SDLK_SPACE);
    frames(30);  // the last swing ends
    EXPECT_FALSE(player->is_attack());
    EXPECT_EQ(swingsIn(60), 0) << "released, it stops";

    restart();
    startNewGame();
    frames(2);
    testsupport::pushKeyDown(SDLK_SPACE);
    EXPECT_EQ(swingsIn(60), 1) << "without the assist a held key swings once";
    EXPECT_FALSE(shell->run().assisted);
}

// A level's start fills the hero's health with the assist, and leaves it without.
TEST_F(AssistsTest, RefillFillsTheHealthWhenALevelBegins) {
    for (const bool refill : {false, true}) {
        restart();
        shell->settings.assistRefill = refill;
        startNewGame();
        frames(1);
        player->setAll(player->getPos().x, player->getPos().y, 1000);
        player->setEnemy(2);
        player->setBull(2);
        frames(1);
        ASSERT_EQ(shell->run().level, 2);
        EXPECT_EQ(player->getHel(), refill ? Cowboy::kHealth : 1000) << refill;
    }
}

// The card names the assists a run was played with, in one sentence of the texts table.
TEST_F(AssistsTest, TheCardLineNamesEachAssistUsed) {
    EXPECT_EQ(PlayScreen::assistedLine(RunAssists{100, 50, true, false}), "Assisted: half damage, refill");
    EXPECT_EQ(PlayScreen::assistedLine(RunAssists{75, 100, false, true}), "Assisted: speed 75%, auto attack");
}
