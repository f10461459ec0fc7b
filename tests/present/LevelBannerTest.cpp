#include "present/LevelBanner.h"

#include "present/FontCache.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// The banner's opacity on each frame of its time, from its announcement on.
std::vector<int> alphas(LevelBanner& banner) {
    std::vector<int> seen;
    for (int age = 0; age < LevelBanner::kShownFrames; ++age) {
        seen.push_back(banner.alpha());
        banner.tick();
    }
    return seen;
}

// Seen from its first frame, it comes in quickly, stays, goes slowly, and is gone at its time.
TEST(LevelBanner, ComesInQuicklyStaysAndGoesSlowlyThenIsGone) {
    LevelBanner banner;
    EXPECT_EQ(banner.shownLevel(), 0) << "nothing before an announcement";
    banner.now = 500;
    banner.announce(2);
    const std::vector<int> seen = alphas(banner);
    EXPECT_GT(seen.front(), 0) << "seen on its first frame";
    EXPECT_GT(seen.back(), 0) << "and on its last";
    int rising = 0;
    while (rising + 1 < static_cast<int>(seen.size()) && seen[rising] < 255) {
        EXPECT_LT(seen[rising], seen[rising + 1]) << "frame " << rising;
        ++rising;
    }
    int falling = 0;
    for (std::size_t age = seen.size() - 1; age > 0 && seen[age] < 255; --age) {
        EXPECT_LT(seen[age], seen[age - 1]) << "frame " << age;
        ++falling;
    }
    EXPECT_EQ(seen[LevelBanner::kShownFrames / 2], 255) << "full in the middle of its time";
    EXPECT_GT(rising, 0);
    EXPECT_LT(rising, falling) << "in quickly, out slowly";
    EXPECT_EQ(banner.now, 500 + LevelBanner::kShownFrames);
    EXPECT_EQ(banner.shownLevel(), 0) << "gone at its time";
    EXPECT_EQ(banner.alpha(), 0);
}

// A level announced while another shows takes the whole time from then; hidden, it is gone at
// once.
TEST(LevelBanner, ANewAnnouncementStartsAfreshAndAHiddenBannerIsGone) {
    LevelBanner banner;
    banner.announce(1);
    banner.now += LevelBanner::kShownFrames - 1;
    ASSERT_EQ(banner.shownLevel(), 1);
    banner.announce(2);
    banner.now += LevelBanner::kShownFrames - 1;
    EXPECT_EQ(banner.shownLevel(), 2);
    EXPECT_GT(banner.alpha(), 0);
    banner.hide();
    EXPECT_EQ(banner.shownLevel(), 0);
    EXPECT_EQ(banner.alpha(), 0);
}

// Drawn, it stands centred across the picture at its height, faint on its first frame and in its
// own ink once in.
TEST(LevelBanner, IsDrawnCentredAcrossThePictureAtItsOpacity) {
    testsupport::SdlSession sdl;
    testsupport::ScratchDir scratch;
    ASSERT_EQ(TTF_Init(), 0);
    {
        LevelBanner banner;
        banner.open();
        const Uint32 ink = static_cast<Uint32>(LevelBanner::kInk.r) << 24 |
                           static_cast<Uint32>(LevelBanner::kInk.g) << 16 |
                           static_cast<Uint32>(LevelBanner::kInk.b) << 8 | 0xFFu;
        struct Shown {
            int inked = 0;  // pixels of its very ink
            int left = 1080;
            int right = -1;
            int top = 720;
        };
        const auto drawn = [&] {
            SDL_SetRenderDrawColor(sdl.renderer, 0, 0, 0, 255);
            SDL_RenderClear(sdl.renderer);
            banner.draw(sdl.renderer);
            std::vector<Uint32> pixels(1080u * 720u);
            SDL_RenderReadPixels(sdl.renderer, nullptr, SDL_PIXELFORMAT_RGBA8888, pixels.data(), 1080 * 4);
            Shown shown;
            for (int y = 0; y < 720; ++y) {
                for (int x = 0; x < 1080; ++x) {
                    const Uint32 p = pixels[static_cast<std::size_t>(y) * 1080 + x];
                    shown.inked += p == ink ? 1 : 0;
                    if (p != 0x000000FFu) {
                        shown.left = std::min(shown.left, x);
                        shown.right = std::max(shown.right, x);
                        shown.top = std::min(shown.top, y);
                    }
                }
            }
            return shown;
        };
        EXPECT_EQ(drawn().right, -1) << "nothing before an announcement";
        for (const int level : {1, 3}) {
            banner.announce(level);
            EXPECT_EQ(drawn().inked, 0) << "level " << level << ": faint on its first frame";
            banner.now += LevelBanner::kFadeInFrames;
            const Shown full = drawn();
            EXPECT_GT(full.inked, 300) << "level " << level;
            // The line's picture is centred; its last letter leaves some room at its right.
            EXPECT_NEAR(full.left + full.right, 1079, 12) << "level " << level << ": centred";
            EXPECT_GE(full.top, LevelBanner::kTop - Text::kOutline) << "level " << level;
            EXPECT_LT(full.top, LevelBanner::kTop + LevelBanner::kPointSize / 2) << "level " << level;
        }
    }
    FontCache::closeAll();  // the fonts go with the library
    TTF_Quit();
}

}  // namespace
