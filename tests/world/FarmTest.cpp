#include "WorldFixture.h"

#include "world/Farm.h"

#include <cmath>

using worldtest::WorldTest;

namespace {

// A farm whose screen corner lies at (x, y) for the camera at the world's origin.
class FarmAt {
public:
    FarmAt(int x, int y) {
        testing::internal::CaptureStdout();
        farm.spawn(x, y);
        testing::internal::GetCapturedStdout();
        farm.getPos({0, 0, 0, 0});
    }
    Farm farm;
};

bool inView(int x, int y) {
    FarmAt at(x, y);
    Farm::isHere = 5;
    at.farm.IsInWindow({0, 0, 70, 70}, {0, 0, 0, 0}, 3);
    return Farm::isHere == 3;
}

}  // namespace

TEST_F(WorldTest, FarmSpawnKeepsItsOwnFieldsApart) {
    Farm missing;
    missing.spawn(900, 700);
    EXPECT_EQ(missing.getRect(), (SDL_Rect{0, 0, 1416, 864}));

    pictures.add("farm.png", 708, 432);
    Farm farm;
    EXPECT_EQ(farm.getID(), 0);
    EXPECT_EQ(farm.texW, 1416);
    testing::internal::CaptureStdout();
    farm.spawn(1500, 500);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Render Building created\n");
    EXPECT_EQ(farm.getID(), 1);
    EXPECT_EQ(farm.Thing::getID(), 0);
    EXPECT_EQ(farm.getRect(), (SDL_Rect{0, 0, 708, 432}));
    EXPECT_EQ(farm.getPos({1080, 0, 0, 0}), (SDL_Rect{420, 500, 200, 100}));
    EXPECT_EQ(farm.health, 200);
    EXPECT_EQ(farm.Character::frameW, 0);
    EXPECT_EQ(farm.Character::destRect, (SDL_Rect{0, 0, 0, 0}));
}

TEST_F(WorldTest, FarmVisibilityEdges) {
    EXPECT_FALSE(inView(-200, 300));
    EXPECT_TRUE(inView(-199, 300));
    EXPECT_TRUE(inView(1079, 300));
    EXPECT_FALSE(inView(1080, 300));
    EXPECT_FALSE(inView(300, -100));
    EXPECT_TRUE(inView(300, -99));
    EXPECT_TRUE(inView(300, 719));
    EXPECT_FALSE(inView(300, 720));
    EXPECT_FALSE(inView(-60000, -60000));
}

TEST_F(WorldTest, FarmCountdownWithTwoFarms) {
    FarmAt near(300, 300);
    FarmAt far(30000, 30000);
    Farm::isHere = 0;
    const SDL_Rect hero{0, 0, 70, 70};
    for (int frame = 0; frame < 5; ++frame) {
        far.farm.IsInWindow(hero, {0, 0, 0, 0}, 2);
        near.farm.IsInWindow(hero, {0, 0, 0, 0}, 2);
        EXPECT_EQ(Farm::isHere, 2);
        far.farm.IsInWindow(hero, {0, 0, 0, 0}, 2);
        EXPECT_GT(Farm::isHere, 0);
    }
    // With both out of view it runs out after one test of each.
    near.farm.getPos({2000, 0, 0, 0});
    Farm::isHere = 2;
    near.farm.IsInWindow(hero, {0, 0, 0, 0}, 2);
    EXPECT_EQ(Farm::isHere, 1);
    far.farm.IsInWindow(hero, {0, 0, 0, 0}, 2);
    EXPECT_EQ(Farm::isHere, 0);
}

TEST_F(WorldTest, FarmPointerCodes) {
    struct Case {
        int x, y, code;
    };
    const Case cases[] = {{2000, 300, 2}, {-500, 300, 4}, {300, 2000, 3}, {300, -500, 1}, {0, 0, 0}, {0, 300, 0},
                          {300, 0, 0},    {-5, -5, 1},    {5, 5, 2},      {-5, 0, 4},     {0, -5, 1}};
    for (const Case& c : cases) {
        FarmAt at(c.x, c.y);
        EXPECT_EQ(at.farm.pointer({0, 0, 70, 70}), c.code) << c.x << ", " << c.y;
    }
}

TEST_F(WorldTest, FarmDistanceFromScreenCorners) {
    FarmAt at(1000, 700);
    at.farm.getPos({1080, 720, 0, 0});  // screen corner (-80, -20)
    EXPECT_FLOAT_EQ(at.farm.distCal({-80 + 30, -20 - 40, 70, 70}), 50.0f);
    at.farm.getPos({0, 0, 0, 0});
    EXPECT_FLOAT_EQ(at.farm.distCal({1000 - 50000, 700 + 50000, 0, 0}), static_cast<float>(std::sqrt(5.0e9)));
}

TEST_F(WorldTest, FarmIsWornDownByFiftyBlows) {
    Farm farm;
    farm.spawn(1500, 500);
    farm.texture = worldtest::quadrantTexture(20, 10);
    EXPECT_EQ(farm.getPosReal({700, 100, 0, 0}), (SDL_Rect{1500, 500, 0, 0}));
    for (int blow = 0; blow < 49; ++blow) {
        farm.getRed(25);
    }
    EXPECT_FALSE(farm.isDestroyedAni());
    farm.getRed(25);
    // Its zero sheet width ends the death row at once.
    EXPECT_TRUE(farm.isDestroyed());
    EXPECT_EQ(farm.texture, nullptr);
}
