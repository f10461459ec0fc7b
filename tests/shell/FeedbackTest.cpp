#include "ShellFixture.h"

#include <cstdlib>
#include <vector>

namespace {

constexpr Uint32 kBannerInk = 0xE84A28FF;  // LevelBanner::kInk, RGBA8888
constexpr Uint32 kHudGreen = 0x1A8E00FF;   // Text::kHudColor
constexpr Uint32 kHeroBlue = 0x0000C0FF;
constexpr Uint32 kBarRed = 0xD63424FF;  // the health bar's fill

std::vector<Uint32> picture() {
    std::vector<Uint32> pixels(1080u * 720u);
    SDL_RenderReadPixels(Render::renderer, nullptr, SDL_PIXELFORMAT_RGBA8888, pixels.data(), 1080 * 4);
    return pixels;
}

// Pixels of exactly `colour` inside box.
int countIn(const std::vector<Uint32>& pixels, SDL_Rect box, Uint32 colour) {
    int count = 0;
    for (int y = std::max(0, box.y); y < std::min(720, box.y + box.h); ++y) {
        for (int x = std::max(0, box.x); x < std::min(1080, box.x + box.w); ++x) {
            count += pixels[static_cast<std::size_t>(y) * 1080 + x] == colour ? 1 : 0;
        }
    }
    return count;
}

class FeedbackTest : public ShellTest {
protected:
    std::string frame() {
        return traced([&] { shell->frame(); });
    }
    static void heroCentreAt(int x, int y) { player->setPos(x - 35, y - 35); }
    LevelBanner& banner() { return shell->playFrame.banner; }
    FieldEffects& effects() { return shell->playFrame.effects; }
    // The band across the picture where the banner stands.
    static constexpr SDL_Rect kBannerBand{0, LevelBanner::kTop, 1080, 100};
};

TEST_F(FeedbackTest, TheLevelIsAnnouncedWhenARunStartsAndWhenItChangesThenGoes) {
    startNewGame();
    shell->help.hide();
    frame();
    EXPECT_EQ(banner().shownLevel(), 1) << "a new game announces its first level";
    banner().now += LevelBanner::kFadeInFrames;  // fully in
    frame();
    EXPECT_GT(countIn(picture(), kBannerBand, kBannerInk), 300) << "LEVEL 1 across the field";

    // Its time runs out on the frames' clock, set forward here instead of waited for.
    banner().now += LevelBanner::kShownFrames - LevelBanner::kFadeInFrames - 3;
    frame();
    EXPECT_EQ(banner().shownLevel(), 1) << "still there just before its time is up";
    banner().now += 2;
    frame();
    EXPECT_EQ(banner().shownLevel(), 0);
    EXPECT_EQ(countIn(picture(), kBannerBand, kBannerInk), 0) << "gone after its time";

    // The level changes at the end of a frame; the next one announces the new level.
    player->setEnemy(2);
    player->setBull(2);
    frame();
    ASSERT_EQ(shell->run().level, 2);
    EXPECT_EQ(frame(), "kul") << "the trace stays as it was";
    EXPECT_EQ(banner().shownLevel(), 2);
    banner().now += LevelBanner::kFadeInFrames;
    frame();
    EXPECT_GT(countIn(picture(), kBannerBand, kBannerInk), 300) << "LEVEL 2";
    banner().now += LevelBanner::kShownFrames;
    frame();
    EXPECT_EQ(banner().shownLevel(), 0);
}

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

TEST_F(FeedbackTest, ReducedMotionKeepsTheFieldStillWhileTheHeroIsHurt) {
    startNewGame();
    frame();
    const SDL_Rect enemyAt = shell->run().enemies[0]->realRect;
    // His centre on the outlaw's corner: the outlaw swings at him frame after frame.
    const auto fight = [&](bool reduced) {
        shell->settings.reducedMotion = reduced;
        player->setAll(enemyAt.x - 35, enemyAt.y - 35, 4000);
        int moved = 0;
        for (int n = 0; n < 90; ++n) {
            frame();
            const SDL_Point offset = effects().viewOffset();
            moved += offset.x != 0 || offset.y != 0 ? 1 : 0;
        }
        EXPECT_LT(player->getHel(), 4000) << "he was hurt";
        return moved;
    };
    EXPECT_GT(fight(false), 0) << "the field shakes when he is hurt";
    EXPECT_EQ(fight(true), 0) << "never with reduced motion";
}

TEST_F(FeedbackTest, AFallenOutlawFadesOutsideTheWorldsLists) {
    startNewGame();
    shell->help.hide();
    frame();
    Enemy& target = *shell->run().enemies[0];
    const SDL_Rect enemyAt = target.realRect;
    target.setHealth(1);
    player->setPos(enemyAt.x - 100, enemyAt.y);
    std::string trace;
    for (int n = 0; n < 100 && shell->run().enemies[0] != nullptr; ++n) {
        testsupport::pushClick(600, 400);
        trace += frame();
    }
    ASSERT_EQ(shell->run().enemies[0], nullptr) << "struck down and removed";
    EXPECT_EQ(shell->run().enemies.size(), 2u) << "the slot is empty, the list as long as it was";
    EXPECT_EQ(player->getEnemy(), 1);
    EXPECT_EQ(hero->score, 30);
    EXPECT_EQ(effects().ghostsShown(), 1u) << "the frame keeps his fall";
    const SDL_Rect cam = game->getPos();
    const SDL_Rect where{enemyAt.x - cam.x - 8, enemyAt.y - cam.y - 8, 80, 96};
    const std::vector<Uint32> falling = picture();

    for (int n = 0; n < FieldEffects::kGhostFrames; ++n) {
        EXPECT_EQ(frame(), "") << "his fall writes nothing";
    }
    EXPECT_EQ(effects().ghostsShown(), 0u);
    const std::vector<Uint32> gone = picture();
    int changed = 0;
    for (int y = where.y; y < where.y + where.h; ++y) {
        for (int x = where.x; x < where.x + where.w; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * 1080 + x;
            changed += falling[i] != gone[i] ? 1 : 0;
        }
    }
    EXPECT_GT(changed, 300) << "he showed where he fell, and no longer does";
    EXPECT_EQ(shell->run().enemies[0], nullptr);
}

}  // namespace
