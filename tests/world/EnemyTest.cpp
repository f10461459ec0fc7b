#include "WorldFixture.h"

#include "world/Enemy.h"

#include <climits>

using worldtest::WorldTest;

namespace {

// A hero rectangle whose centre lies at (cx, cy).
SDL_Rect heroCentredAt(int cx, int cy) { return SDL_Rect{cx - 35, cy - 35, 70, 70}; }

const SDL_Rect kFarAway{50000, 50000, 70, 70};  // never within attack reach

class EnemyTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        enemy.spawn(1000, 1000);
        enemy.texW = 576;
        enemy.getPosAbs(cam);  // as the play frame does before any hit test
    }

    SDL_Rect cam{100, 50, 0, 0};
    Enemy enemy;
};

}  // namespace

TEST_F(WorldTest, EnemySpawnPlacesAndWritesNothing) {
    pictures.add("sprites/enemy2.png", 576, 584);
    Enemy enemy;
    EXPECT_EQ(enemy.getID(), 0);
    EXPECT_EQ(enemy.getHel(), 50);
    EXPECT_EQ(enemy.getDam(), 20);
    EXPECT_EQ(enemy.dir, 1);
    EXPECT_EQ(enemy.texW, 575);
    testing::internal::CaptureStdout();
    enemy.spawn(1200, 800);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(enemy.getID(), 1);
    EXPECT_EQ(enemy.texW, 576);
    EXPECT_EQ(enemy.getPos(), (SDL_Rect{0, 0, 64, 64}));
    EXPECT_EQ(enemy.realRect, (SDL_Rect{1200, 800, 0, 0}));
    // Placing the same slot again (a level change does) replaces the picture cleanly.
    enemy.spawn(900, 700);
    EXPECT_EQ(enemy.realRect, (SDL_Rect{900, 700, 0, 0}));
    EXPECT_NE(enemy.texture, nullptr);
}

TEST_F(WorldTest, EnemyPosRealBeforeFirstDrawIsTheCameraCorner) {
    Enemy enemy;
    enemy.spawn(1000, 1000);
    DrawPair* pair = enemy.getPosReal({200, 100, 0, 0});
    ASSERT_EQ(pair, &enemy.draw);
    EXPECT_EQ(pair->drawDest, (SDL_Rect{200, 100, 0, 0}));
    EXPECT_EQ(pair->drawSrc, (SDL_Rect{0, 0, 64, 64}));
}

TEST_F(EnemyTest, CalmEnemyFollowsTheCameraOnScreen) {
    EXPECT_FALSE(enemy.getAngry(heroCentredAt(1000 + 301, 1000), false, cam, 5));
    EXPECT_FALSE(Enemy::isAngry);
    DrawPair* pair = enemy.getPosAbs(cam);
    EXPECT_EQ(pair->drawDest, (SDL_Rect{900, 950, 64, 64}));
    EXPECT_EQ(pair->drawSrc, (SDL_Rect{0, 0, 64, 64}));
    pair = enemy.getPosAbs({400, 300, 0, 0});
    EXPECT_EQ(pair->drawDest, (SDL_Rect{600, 700, 64, 64}));
    EXPECT_EQ(enemy.worldX, 1000);
    EXPECT_EQ(enemy.worldY, 1000);
    EXPECT_EQ(enemy.getPosReal({400, 300, 0, 0})->drawDest, (SDL_Rect{1000, 1000, 0, 0}));
}

TEST_F(EnemyTest, AngerReachIs300FromTheHerosCentre) {
    EXPECT_FALSE(enemy.getAngry(heroCentredAt(1000 + 301, 1000), false, cam, 5));
    EXPECT_EQ(enemy.realRect, (SDL_Rect{1000, 1000, 0, 0}));
    EXPECT_FALSE(enemy.getAngry(heroCentredAt(1000 + 50000, 1000 + 50000), false, cam, 5));

    EXPECT_TRUE(enemy.getAngry(heroCentredAt(1000 + 300, 1000), false, cam, 5));
    EXPECT_TRUE(Enemy::isAngry);
    EXPECT_EQ(enemy.realRect, (SDL_Rect{1002, 1000, 0, 0}));  // one step right
    EXPECT_EQ(enemy.getPos(), (SDL_Rect{902, 950, 64, 64}));
    EXPECT_EQ(enemy.srcRect, (SDL_Rect{64, 3 * 64, 64, 64}));
    EXPECT_EQ(enemy.dir, 3);
    // Angry, the anchor follows the chase.
    enemy.getPosAbs(cam);
    EXPECT_EQ(enemy.worldX, 1002);

    EXPECT_TRUE(enemy.getAngry(heroCentredAt(1002, 1000 - 300), false, cam, 5));
    EXPECT_EQ(enemy.realRect, (SDL_Rect{1002, 998, 0, 0}));  // one step up
}

TEST_F(EnemyTest, ChaseStepsAlongTheFartherAxis) {
    struct Case {
        int dx, dy, dir, moveX, moveY;
    };
    const Case cases[] = {{10, -10, 2, 0, 2},   {10, 9, 3, 2, 0},   {-10, -11, 0, 0, -2},
                          {-11, -10, 1, -2, 0}, {-40, 40, 2, 0, 2}, {0, 0, 2, 0, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "dx " << c.dx << " dy " << c.dy);
        const SDL_Rect before = enemy.realRect;
        enemy.followCowboy(c.dx, c.dy, kFarAway, false, cam, 5);
        EXPECT_FALSE(enemy.is_attack());
        EXPECT_EQ(enemy.dir, c.dir);
        EXPECT_EQ(enemy.srcRect.y, 64 * c.dir);
        EXPECT_EQ(enemy.realRect.x, before.x + c.moveX);
        EXPECT_EQ(enemy.realRect.y, before.y + c.moveY);
        EXPECT_EQ(enemy.getPos().x, enemy.realRect.x - cam.x);
        EXPECT_EQ(enemy.getPos().y, enemy.realRect.y - cam.y);
    }
}

// The hero as far off on both axes: the chase takes the same step each time, never wavering
// between the axes (down and right go along x, up and left along y).
TEST_F(EnemyTest, ATieBetweenTheAxesIsSettledTheSameWayEveryTime) {
    struct Case {
        int dx, dy, dir, moveX, moveY;
    };
    const Case cases[] = {{10, 10, 3, 2, 0}, {40, 40, 3, 2, 0}, {-10, -10, 0, 0, -2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "dx " << c.dx << " dy " << c.dy);
        for (int step = 0; step < 3; ++step) {
            const SDL_Rect before = enemy.realRect;
            enemy.followCowboy(c.dx, c.dy, kFarAway, false, cam, 5);
            EXPECT_EQ(enemy.dir, c.dir);
            EXPECT_EQ(enemy.realRect.x, before.x + c.moveX);
            EXPECT_EQ(enemy.realRect.y, before.y + c.moveY);
        }
    }
}

TEST_F(EnemyTest, ChasingEnemyIsCarriedAlongByTheCameraOnItsStillAxis) {
    enemy.followCowboy(10, 0, kFarAway, false, cam, 5);  // right; screen y stays 950
    enemy.followCowboy(10, 0, kFarAway, false, {100, 60, 0, 0}, 5);
    EXPECT_EQ(enemy.realRect, (SDL_Rect{1004, 1010, 0, 0}));
}

TEST_F(EnemyTest, HeroOnTheCornerIsAttackedWithoutMoving) {
    enemy.srcRect.x = 0;
    EXPECT_TRUE(enemy.getAngry(heroCentredAt(1000, 1000), false, cam, 5));
    EXPECT_TRUE(enemy.is_attack());
    EXPECT_EQ(enemy.realRect, (SDL_Rect{1000, 1000, 0, 0}));
    EXPECT_EQ(enemy.getPos(), (SDL_Rect{900, 950, 64, 64}));
    EXPECT_EQ(enemy.srcRect, (SDL_Rect{64, (1 + 4) * 64, 64, 64}));  // attack row of dir 1
    EXPECT_EQ(enemy.dir, 1);

    // Attack reach is half the hero's height: 35 pixels.
    enemy.collision(heroCentredAt(1035, 1000));
    EXPECT_TRUE(enemy.is_attack());
    enemy.collision(heroCentredAt(1036, 1000));
    EXPECT_FALSE(enemy.is_attack());
}

TEST_F(EnemyTest, DistCalGivesOffsetToCentreAndSquares) {
    EXPECT_EQ(enemy.distCal({1010, 990, 71, 31}), (SDL_Rect{45, 5, 2025, 25}));
    EXPECT_EQ(enemy.distCal({990, 1000, 0, 0}), (SDL_Rect{-10, 0, 100, 0}));
    // Far-off rectangles saturate rather than wrap.
    EXPECT_EQ(enemy.distCal({INT_MAX - 100, 1000, 0, 0}).w, INT_MAX);
}
