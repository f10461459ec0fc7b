#include "WorldFixture.h"

#include "world/Character.h"
#include "world/Cowboy.h"
#include "world/Enemy.h"
#include "world/Farm.h"

#include <cmath>
#include <vector>

using worldtest::WorldTest;

namespace {

// Steps an attack from column 0 until it clears the flag and returns the columns shown.
std::vector<int> attackColumns(Character& c, int shorten) {
    std::vector<int> columns;
    c.srcRect.x = 0;
    c.attacking = true;
    for (int step = 0; step < 20 && c.attacking; ++step) {
        c.attack(shorten, c.side);
        columns.push_back(c.srcRect.x / c.frameW);
    }
    return columns;
}

}  // namespace

TEST(Distance, TruncatesSquaresAndNeverWraps) {
    EXPECT_DOUBLE_EQ(Character::distance(3, -4), 5.0);
    EXPECT_DOUBLE_EQ(Character::distance(0, 0), 0.0);
    EXPECT_DOUBLE_EQ(Character::distance(50000, 50000), std::sqrt(5.0e9));
    // Squares of 50,000 overflow 32 bits; wrapped they could add up to a tiny distance.
    EXPECT_FALSE(Character::withinReach(50000, 50000, 300.0));
    EXPECT_FALSE(Character::withinReach(-50000, 0, 300.0));
    // Differences of two far-apart ints still give a huge distance, not a wrapped or invalid one.
    const long long span = 4294967295LL;
    EXPECT_GT(Character::distance(span, -span), 2.0e9);
    EXPECT_FALSE(Character::withinReach(span, span, 300.0));
    EXPECT_TRUE(Character::withinReach(300, 0, 300.0));
    EXPECT_FALSE(Character::withinReach(300, 1, 300.0));
}

TEST_F(WorldTest, GetHurtReachIsFrameWidthPlus55) {
    Enemy enemy;
    enemy.spawn(500, 500);
    ASSERT_EQ(enemy.frameW, 64);
    EXPECT_TRUE(enemy.getHurt({0, 0, 70, 70}, {119, 0, 0, 0}));
    EXPECT_FALSE(enemy.getHurt({0, 0, 70, 70}, {120, 0, 0, 0}));
    EXPECT_TRUE(enemy.getHurt({84, 84, 0, 0}, {0, 0, 0, 0}));   // 118.8
    EXPECT_FALSE(enemy.getHurt({85, 84, 0, 0}, {0, 0, 0, 0}));  // 119.5
    EXPECT_FALSE(enemy.getHurt({-25000, -25000, 0, 0}, {25000, 25000, 0, 0}));

    Farm farm;  // its Character frameW stays 0, so its reach is 55
    farm.spawn(1500, 500);
    EXPECT_TRUE(farm.getHurt({1500, 500, 0, 0}, {1445, 500, 70, 70}));
    EXPECT_FALSE(farm.getHurt({1500, 500, 0, 0}, {1444, 500, 70, 70}));
}

TEST_F(WorldTest, GetRedTintsAndTakesDamageOverSix) {
    Enemy enemy;
    enemy.spawn(500, 500);
    enemy.texture = worldtest::quadrantTexture(64, 64);
    Uint8 r = 0, g = 0, b = 0;

    enemy.getRed(5);
    EXPECT_EQ(enemy.getHel(), 50);
    EXPECT_FALSE(enemy.isDestroyedAni());
    SDL_GetTextureColorMod(enemy.texture, &r, &g, &b);
    EXPECT_EQ(r, 255);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 0);
    enemy.getUnRed();
    SDL_GetTextureColorMod(enemy.texture, &r, &g, &b);
    EXPECT_EQ(g, 255);
    EXPECT_EQ(b, 255);

    enemy.getRed(25);  // the hero's blow: 25 / 6 = 4
    EXPECT_EQ(enemy.getHel(), 46);

    Cowboy hero(300, 300);
    hero.getRed(enemy.getDam());  // an enemy's blow: 20 / 6 = 3
    hero.setHurt();
    EXPECT_EQ(hero.getHel(), 4997);
    EXPECT_TRUE(hero.hurt);
}

TEST_F(WorldTest, GetRedToZeroStartsDeathAndStepsOnce) {
    Enemy enemy;
    enemy.spawn(500, 500);
    enemy.texW = 576;
    enemy.setHealth(4);
    enemy.getRed(24);
    EXPECT_EQ(enemy.getHel(), 0);
    EXPECT_TRUE(enemy.isDestroyedAni());
    EXPECT_FALSE(enemy.isDestroyed());
    EXPECT_EQ(enemy.srcRect, (SDL_Rect{64, 8 * 64, 64, 64}));
}

TEST_F(WorldTest, AttackAnimationBounds) {
    Cowboy hero(300, 300);
    hero.spawn();
    hero.texW = 576;
    hero.side = 2;
    EXPECT_EQ(attackColumns(hero, 0), (std::vector<int>{1, 2, 3, 4, 5, 1}));
    EXPECT_EQ(hero.srcRect.y, 6 * 64);

    Enemy enemy;
    enemy.spawn(0, 0);
    enemy.texW = 576;
    EXPECT_EQ(attackColumns(enemy, 1), (std::vector<int>{1, 2, 3, 4, 5, 6, 1}));

    // A sheet only three frames wide ends the attack at its first step.
    hero.texW = 192;
    EXPECT_EQ(attackColumns(hero, 0), (std::vector<int>{1}));
    enemy.texW = 100;
    EXPECT_EQ(attackColumns(enemy, 1), (std::vector<int>{1}));
}

TEST_F(WorldTest, DeathAnimationRunsTheRowThenReleases) {
    Enemy enemy;
    enemy.spawn(0, 0);
    enemy.texture = worldtest::quadrantTexture(64, 64);
    enemy.texW = 576;

    enemy.destroyedAni = true;  // dying but still healthy: nothing moves
    const SDL_Rect before = enemy.srcRect;
    enemy.dead();
    EXPECT_EQ(enemy.srcRect, before);
    EXPECT_FALSE(enemy.isDestroyed());

    enemy.setHealth(0);
    int steps = 0;
    testing::internal::CaptureStdout();
    while (!enemy.isDestroyed() && steps < 20) {
        enemy.dead();
        ++steps;
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");  // a real texture is released silently
    EXPECT_EQ(steps, 6);                                    // columns 1 to 5 shown, the sixth step ends the row
    EXPECT_EQ(enemy.srcRect.x, 0);
    EXPECT_EQ(enemy.texture, nullptr);

    Enemy narrow;
    narrow.spawn(0, 0);
    narrow.texW = 192;
    narrow.setHealth(-3);
    testing::internal::CaptureStdout();
    narrow.dead();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "end");
    EXPECT_TRUE(narrow.isDestroyed());
}

TEST_F(WorldTest, DestroyWithoutTextureWritesEnd) {
    Cowboy hero(300, 300);
    testing::internal::CaptureStdout();
    hero.destroyE();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "end");
    EXPECT_TRUE(hero.isDestroyed());
    testing::internal::CaptureStdout();
    hero.getUnRed();  // drawing calls on a released character stay harmless
    hero.getRed(0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}
