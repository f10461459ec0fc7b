#include "PlayFixture.h"

#include "present/EdgeMarkers.h"

namespace {

constexpr Uint32 rgba(SDL_Color c) {
    return static_cast<Uint32>(c.r) << 24 | static_cast<Uint32>(c.g) << 16 | static_cast<Uint32>(c.b) << 8 | c.a;
}

// Where a player looks for the markers: a strip along each edge of the picture.
constexpr SDL_Rect kLeft{0, 0, 40, 720};
constexpr SDL_Rect kRight{1040, 0, 40, 720};
constexpr SDL_Rect kTop{0, 0, 1080, 40};
constexpr SDL_Rect kBottom{0, 680, 1080, 40};

// The level's last bull lying out of view is pointed to from the edge of the picture where it
// lies, in its colour; an outlaw still in view, or the bull itself in view, leaves the edge bare.
TEST_F(PlayTest, AMarkerAtTheEdgePointsToTheLastBullOutOfView) {
    startNewGame();
    shell->help.hide();
    shell->run().enemies[1].reset();
    shell->run().bulls[1].reset();
    Bull& bull = *shell->run().bulls[0];  // slot 0: the brown one
    const Uint32 brown = rgba(EdgeMarkers::kBrownBull);
    heroCentreAt(1500, 700);  // the farm in view: no arrow at any edge
    Enemy& outlaw = *shell->run().enemies[0];
    outlaw.spawn(1200, 900);   // in view, beyond his anger
    bull.spawn(2300, 680, 0);  // off the right edge
    frame();
    frame();
    EXPECT_EQ(shell->playFrame.markers.shown(), 0) << "an outlaw still needed is in view";
    EXPECT_EQ(countIn(picture(), kRight, brown), 0);

    shell->run().enemies[0].reset();
    frame();
    EXPECT_EQ(shell->playFrame.markers.shown(), 1) << "nothing the level needs is in view";
    std::vector<Uint32> now = picture();
    EXPECT_GT(countIn(now, kRight, brown), 40) << "at the right edge, for a bull to the right";
    EXPECT_EQ(countIn(now, kLeft, brown) + countIn(now, kTop, brown) + countIn(now, kBottom, brown), 0);

    bull.spawn(1450, 1400, 0);  // below the picture
    frame();
    now = picture();
    EXPECT_GT(countIn(now, kBottom, brown), 40) << "at the bottom edge, for a bull below";
    EXPECT_EQ(countIn(now, kLeft, brown) + countIn(now, kTop, brown) + countIn(now, kRight, brown), 0);

    bull.spawn(1300, 800, 0);  // in view
    frame();
    EXPECT_EQ(shell->playFrame.markers.shown(), 0);
    now = picture();
    EXPECT_EQ(countIn(now, kLeft, brown) + countIn(now, kTop, brown) + countIn(now, kRight, brown) +
                  countIn(now, kBottom, brown),
              0)
        << "no marker once the bull is in view";
    EXPECT_GT(countIn(now, Render::kPicture, brown), 100) << "the bull itself shows";
}

}  // namespace
