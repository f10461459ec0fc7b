#include "PlayFixture.h"

namespace {

constexpr Uint32 kBannerInk = 0xE84A28FF;  // LevelBanner::kInk, RGBA8888

// The banner of a game in play, its clock set forward by the tests instead of waited for.
class LevelBannerInPlay : public PlayTest {
protected:
    LevelBanner& banner() { return shell->playFrame.banner; }
    // The band across the picture where the banner stands.
    static constexpr SDL_Rect kBannerBand{0, LevelBanner::kTop, 1080, 100};
};

TEST_F(LevelBannerInPlay, TheLevelIsAnnouncedWhenARunStartsAndWhenItChangesThenGoes) {
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

// Each run of a process starts with its first level announced, as the first run did, though the
// run before never left that level.
TEST_F(LevelBannerInPlay, ASecondRunInTheSameProcessIsAnnouncedAfresh) {
    startNewGame();
    shell->help.hide();
    frame();
    ASSERT_EQ(banner().shownLevel(), 1);
    testsupport::pushKeyDown(SDLK_ESCAPE);
    frame();
    shell->startPause();
    testsupport::pushKeyDown(SDLK_q);  // quit to the menu, still on level 1
    EXPECT_FALSE(shell->pausePass());
    traced([&] { shell->endOfRun(true); });
    traced([&] { shell->showMenuAgain(); });

    startNewGame();
    shell->help.hide();
    frame();
    EXPECT_EQ(banner().shownLevel(), 1) << "the second run announces its level 1";
    banner().now += LevelBanner::kFadeInFrames;
    frame();
    EXPECT_GT(countIn(picture(), kBannerBand, kBannerInk), 300) << "LEVEL 1 across the field again";
}

}  // namespace
