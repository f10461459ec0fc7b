#include "PlayFixture.h"

#include "shell/Levels.h"

#include <vector>

namespace {

// The waves of a whole game: where they are placed and when a run ends by itself.
class LevelsTest : public PlayTest {};

TEST_F(LevelsTest, NewGamePlacesFarmOneWithItsWaveAroundIt) {
    const std::string setUp = startNewGame();
    // The hero is spawned after the menu, then the farm; every picture (both bulls, the enemy
    // sheet) loads without a word.
    EXPECT_EQ(setUp, "huyRender created2\nRender Building created\n");

    ASSERT_EQ(shell->run().farms.size(), 1u);
    EXPECT_EQ(shell->run().farms[0]->getID(), 1);
    const Site& site1 = shell->farmSite1;
    EXPECT_EQ(at(*shell->run().farms[0]), around(site1, 0));
    ASSERT_EQ(shell->run().enemies.size(), 2u);
    ASSERT_EQ(shell->run().bulls.size(), 2u);
    // Both seedings read the same second: enemy k and bull k take the same draw, each its own
    // offset from it. Bull 0 thus stands 80 pixels further than enemy 0 (-100 against -180).
    const std::vector<int> r = draws(2);
    EXPECT_EQ(at(*shell->run().enemies[0]), around(site1, r[0] % 150 - 180)) << "enemy 0";
    EXPECT_EQ(at(*shell->run().enemies[1]), around(site1, r[1] % 300 + 100)) << "enemy 1";
    EXPECT_EQ(at(*shell->run().bulls[0]), around(site1, r[0] % 150 - 100)) << "bull 0";
    EXPECT_EQ(at(*shell->run().bulls[1]), around(site1, r[1] % 250 + 100)) << "bull 1";
    EXPECT_TRUE(shell->run().replayOut.is_open());
}

TEST_F(LevelsTest, CompletingLevelOnePlacesLevelTwo) {
    startNewGame();
    player->setBull(2);
    frame();
    EXPECT_EQ(shell->run().level, 1) << "every bull collected with enemies left must not complete the level";
    player->setBull(0);
    player->setEnemy(2);
    frame();
    EXPECT_EQ(shell->run().level, 1) << "every enemy removed with bulls left must not complete the level";

    // A resumed run places every bull anew: collecting one more than the level holds still wins.
    player->setBull(3);
    const std::string won = frame();
    EXPECT_EQ(won, "You win!!!\n112 levelRender Building created\nRender Building created\n")
        << "the level change's whole trace";
    EXPECT_EQ(shell->run().level, 2);
    EXPECT_EQ(shell->run().enemyCount, 4);
    EXPECT_EQ(shell->run().bullCount, 4);
    EXPECT_EQ(shell->run().farmCount, 2);
    ASSERT_EQ(shell->run().enemies.size(), 4u);
    ASSERT_EQ(shell->run().farms.size(), 2u);
    EXPECT_EQ(player->getEnemy(), 0);
    EXPECT_EQ(player->getBul(), 0);
    // One seeding, by the hero's restart, then draws in order: his x and y, enemies 0 and 1 around
    // site 1, enemies 1 to 3 around site 2, and the bulls the same way. Slot 1 ends at site 2.
    const std::vector<int> r = draws(12);
    EXPECT_EQ(player->getPos().x, r[0] % 300);
    EXPECT_EQ(player->getPos().y, r[1] % 300);
    const Site& site1 = shell->farmSite1;
    const Site& site2 = shell->farmSite2;
    EXPECT_EQ(at(*shell->run().enemies[0]), around(site1, otherOffset(r[2], 0))) << "enemy 0";
    EXPECT_EQ(at(*shell->run().bulls[0]), around(site1, otherOffset(r[7], 0))) << "bull 0";
    for (int k = 1; k < 4; ++k) {
        EXPECT_EQ(at(*shell->run().enemies[k]), around(site2, otherOffset(r[3 + k], k))) << "enemy " << k;
        EXPECT_EQ(at(*shell->run().bulls[k]), around(site2, otherOffset(r[8 + k], k))) << "bull " << k;
    }
    EXPECT_EQ(at(*shell->run().farms[0]), around(site1, 0));
    EXPECT_EQ(at(*shell->run().farms[1]), around(site2, 0));
    EXPECT_EQ(frame(), "kul") << "the next frame says so";
    EXPECT_EQ(frame(), "");
}

// What the end of a frame is about to decide: won only with the last level complete, whatever
// was completed before it; nothing once the hero is gone, whose run a close or a quit ended.
TEST_F(LevelsTest, ARunIsWonOnlyWithTheLastLevelComplete) {
    startNewGame();
    EXPECT_EQ(Levels::outcome(*shell), Run::Outcome::None);
    player->setEnemy(2);
    player->setBull(2);
    EXPECT_EQ(Levels::outcome(*shell), Run::Outcome::None) << "level 1 complete is a level change";
    frame();
    ASSERT_EQ(shell->run().level, 2);
    player->setEnemy(4);
    player->setBull(4);
    EXPECT_EQ(Levels::outcome(*shell), Run::Outcome::None) << "level 2 complete too";
    frame();
    ASSERT_EQ(shell->run().level, 3);
    player->setEnemy(6);
    player->setBull(5);
    EXPECT_EQ(Levels::outcome(*shell), Run::Outcome::None) << "a bull of the last level left";
    player->setBull(6);
    player->setEnemy(5);
    EXPECT_EQ(Levels::outcome(*shell), Run::Outcome::None) << "an outlaw of the last level left";
    player->setEnemy(6);
    EXPECT_EQ(Levels::outcome(*shell), Run::Outcome::Won);
    traced([&] { shell->run().removeHero(); });
    EXPECT_EQ(Levels::outcome(*shell), Run::Outcome::None);
}

}  // namespace
