#include "PlayFixture.h"

namespace {

constexpr Uint32 kHudGreen = 0x1A8E00FF;  // Text::kHudColor
constexpr Uint32 kHeroBlue = 0x0000C0FF;
constexpr Uint32 kBarRed = 0xD63424FF;  // the health bar's fill

class FeedbackTest : public PlayTest {};

TEST_F(FeedbackTest, TheHudFadesWhereTheHeroStandsUnderIt) {
    startNewGame();
    shell->help.hide();
    // The hero in one flat colour, so what shows through the HUD is known.
    SDL_Surface* flat = SDL_CreateRGBSurfaceWithFormat(0, 1500, 1500, 32, SDL_PIXELFORMAT_RGBA8888);
    ASSERT_NE(flat, nullptr);
    SDL_FillRect(flat, nullptr, kHeroBlue);
    SDL_DestroyTexture(player->texture);
    player->texture = SDL_CreateTextureFromSurface(Render::renderer, flat);
    SDL_FreeSurface(flat);
    const SDL_Rect hud{20, 20, 420, 140};

    heroCentreAt(700, 500);
    frame();
    EXPECT_FALSE(shell->playFrame.hudFaded());
    EXPECT_GT(countIn(picture(), hud, kHudGreen), 300) << "the HUD in full colour away from the hero";
    EXPECT_GT(countIn(picture(), hud, kBarRed), 100) << "the health bar in its own red";

    heroCentreAt(110, 70);  // the camera stops at the world's corner: he stands under the HUD's first lines
    frame();
    EXPECT_TRUE(shell->playFrame.hudFaded());
    const std::vector<Uint32> faded = picture();
    EXPECT_EQ(countIn(faded, hud, kHudGreen), 0) << "every HUD pixel lets the field through";
    EXPECT_EQ(countIn(faded, hud, kBarRed), 0) << "the health bar's too";
    const SDL_Rect hero{75, 35, 70, 70};
    const int blue = countIn(faded, hero, kHeroBlue);
    EXPECT_GT(blue, 0) << "the hero shows between the letters";
    EXPECT_LT(blue, 70 * 70) << "and through them: the letters are there, faded";

    heroCentreAt(700, 500);
    frame();
    EXPECT_FALSE(shell->playFrame.hudFaded());
    EXPECT_GT(countIn(picture(), hud, kHudGreen), 300) << "full again once he has gone";
}

// The level line, alone at the top right, fades with the other lines: the hero under any of them
// sees the field through all of them, the level's too.
TEST_F(FeedbackTest, TheLevelLineFadesWithTheRestOfTheHud) {
    startNewGame();
    shell->help.hide();
    const SDL_Rect levelLine{1080 - 300, 0, 300, 90};
    heroCentreAt(700, 500);
    frame();
    ASSERT_FALSE(shell->playFrame.hudFaded());
    const int full = countIn(picture(), levelLine, kHudGreen);
    EXPECT_GT(full, 100) << "the level line in full colour away from the hero";
    heroCentreAt(110, 70);  // under the HUD's first lines, far from the level line
    frame();
    ASSERT_TRUE(shell->playFrame.hudFaded());
    EXPECT_EQ(countIn(picture(), levelLine, kHudGreen), 0) << "the level line lets the field through too";
    heroCentreAt(700, 500);
    frame();
    EXPECT_EQ(countIn(picture(), levelLine, kHudGreen), full) << "full again once he has gone";
}

}  // namespace
