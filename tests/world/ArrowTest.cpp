#include "WorldFixture.h"

#include "world/Arrow.h"

using worldtest::WorldTest;

TEST_F(WorldTest, ArrowStartsAtTheTopCentre) {
    Arrow arrow;
    EXPECT_EQ(arrow.texture, nullptr);  // no picture: the game goes on without an arrow
    EXPECT_EQ(arrow.texW, 496);
    EXPECT_EQ(arrow.texH, 404);
    EXPECT_EQ(arrow.getRect(), (SDL_Rect{0, 0, 496, 404}));
    // Unknown codes right after construction draw it pointing up where it stands.
    for (int code : {7, -1}) {
        arrow.show_arrow(code);
        EXPECT_EQ(arrow.getPos(), (SDL_Rect{540, 10, 80, 50}));
        EXPECT_EQ(arrow.angle, 0);
        EXPECT_EQ(arrow.flip, 0);
    }
}

TEST_F(WorldTest, ArrowPlacementPerCode) {
    pictures.add("arrow.png", 248, 202);
    Arrow arrow;
    EXPECT_NE(arrow.texture, nullptr);
    EXPECT_EQ(arrow.texW, 248);
    EXPECT_EQ(arrow.getRect(), (SDL_Rect{0, 0, 496, 404}));
    struct Case {
        int code, x, y, angle, flip;
    };
    const Case cases[] = {{0, 10, 360, -90, 0}, {1, 500, 10, 0, 0},   {2, 990, 360, 90, 0},
                          {3, 500, 660, 0, 2},  {4, 10, 310, -90, 0}, {9, 10, 310, 0, 0}};
    for (const Case& c : cases) {
        arrow.show_arrow(c.code);
        SCOPED_TRACE(c.code);
        EXPECT_EQ(arrow.getPos(), (SDL_Rect{c.x, c.y, 80, 50}));
        EXPECT_EQ(arrow.angle, c.angle);
        EXPECT_EQ(arrow.flip, c.flip);
    }
}

TEST_F(WorldTest, ArrowDrawsFlippedDownAndTurnedRight) {
    Arrow arrow;
    arrow.texture = worldtest::quadrantTexture(496, 404);
    ASSERT_NE(arrow.texture, nullptr);
    using namespace worldtest;

    SDL_RenderClear(Render::renderer);
    arrow.show_arrow(1);  // unturned: (500, 10) to (580, 60)
    EXPECT_EQ(pixelAt(505, 15), kTopLeft);
    EXPECT_EQ(pixelAt(575, 55), kBottomRight);

    SDL_RenderClear(Render::renderer);
    arrow.show_arrow(3);  // mirrored top to bottom, left and right kept: (500, 660) to (580, 710)
    EXPECT_EQ(pixelAt(505, 665), kBottomLeft);
    EXPECT_EQ(pixelAt(575, 665), kBottomRight);
    EXPECT_EQ(pixelAt(505, 705), kTopLeft);

    SDL_RenderClear(Render::renderer);
    arrow.show_arrow(2);  // a quarter turn clockwise about (1030, 385): the top now faces right
    EXPECT_EQ(pixelAt(1050, 350), kTopLeft);
    EXPECT_EQ(pixelAt(1050, 420), kTopRight);
    EXPECT_EQ(pixelAt(1010, 420), kBottomRight);
}
