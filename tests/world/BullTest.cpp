#include "WorldFixture.h"

#include "world/Bull.h"

using worldtest::WorldTest;

TEST_F(WorldTest, BullSpawnAlternatesPicturesByKind) {
    pictures.add("sprites/bull.png", 30, 20);
    pictures.add("sprites/bull2.png", 40, 25);
    const int widths[] = {30, 40, 30, 40};
    for (int kind = 0; kind < 4; ++kind) {
        Bull bull;
        testing::internal::CaptureStdout();
        bull.spawn(1400 + kind, 450, kind);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_EQ(bull.getID(), 1);
        EXPECT_EQ(bull.texW, widths[kind]);
        EXPECT_EQ(bull.getRect(), (SDL_Rect{0, 0, widths[kind], widths[kind] == 30 ? 20 : 25}));
        EXPECT_EQ(bull.getPos({100, 50, 0, 0}), (SDL_Rect{1300 + kind, 400, 80, 50}));
    }
    Bull odd;
    odd.spawn(0, 0, -1);
    EXPECT_EQ(odd.texW, 40);
    odd.spawn(0, 0, 2);  // a slot placed twice swaps its picture without leaking the first
    EXPECT_EQ(odd.texW, 30);
}

TEST_F(WorldTest, BullWithoutPictureKeepsDefaults) {
    Bull bull;
    EXPECT_EQ(bull.getID(), 0);
    bull.spawn(1500, 500, 0);
    EXPECT_EQ(bull.texture, nullptr);
    EXPECT_EQ(bull.getRect(), (SDL_Rect{0, 0, 376, 266}));
    EXPECT_EQ(bull.getPos({1080, 0, 0, 0}), (SDL_Rect{420, 500, 80, 50}));
}
