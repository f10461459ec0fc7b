#include "present/FontCache.h"
#include "present/HelpPanel.h"

#include "present/Render.h"
#include "present/Text.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr SDL_Color kSand{230, 200, 150, 255};

class HelpPanelTest : public testing::Test {
protected:
    testsupport::ScratchDir scratch;  // the font from images/
    testsupport::SdlSession sdl;
    HelpPanel help;

    void SetUp() override {
        ASSERT_EQ(TTF_Init(), 0) << TTF_GetError();
        help.open(sdl.renderer, Text::kFontPath, HelpPanel::linesFor(KeyBindings()));
        ASSERT_NE(help.smallFont(), nullptr);
    }
    void TearDown() override {
        help.close();
        FontCache::closeAll();  // the fonts go with the library
        TTF_Quit();
    }

    // One frame of the panel over plain sand: how light it shows in its bottom margin, under
    // its last line (the sum of red, green and blue).
    int frameShows() {
        SDL_SetRenderDrawColor(sdl.renderer, kSand.r, kSand.g, kSand.b, kSand.a);
        SDL_RenderClear(sdl.renderer);
        help.draw(sdl.renderer);
        const SDL_Rect at{Render::kPicture.w / 2, Render::kPicture.h - HelpPanel::kBottomMargin - 4, 1, 1};
        Uint8 rgb[4] = {};
        SDL_RenderReadPixels(sdl.renderer, &at, SDL_PIXELFORMAT_RGBA32, rgb, 4);
        help.step();
        return rgb[0] + rgb[1] + rgb[2];
    }
};

TEST_F(HelpPanelTest, NamesPForPauseOnlyWhileItIsFreeAndFadesOutAtTheEndOfItsTime) {
    EXPECT_EQ(help.text()[1], "Attack: click or Space   Pause: Esc or P   This help: F1");
    KeyBindings pTaken;
    std::string why;
    ASSERT_TRUE(pTaken.bind(KeyBindings::Action::Stop, {SDLK_b, SDLK_p}, why)) << why;
    EXPECT_EQ(HelpPanel::linesFor(pTaken)[1], "Attack: click or Space   Pause: Esc   This help: F1");
    EXPECT_NE(HelpPanel::linesFor(pTaken)[0].find("Stop walking: B or P"), std::string::npos);

    const int sand = frameShows();
    EXPECT_EQ(sand, kSand.r + kSand.g + kSand.b) << "nothing shows before it is asked for";
    help.show();
    const int full = frameShows();
    EXPECT_LT(full, sand - 100) << "a dark panel";
    for (int frame = 1; frame <= HelpPanel::kShownFrames - HelpPanel::kFadeFrames; ++frame) {
        ASSERT_EQ(frameShows(), full) << "frame " << frame;
    }
    int last = full;
    for (int frame = HelpPanel::kShownFrames - HelpPanel::kFadeFrames + 1; frame < HelpPanel::kShownFrames; ++frame) {
        const int now = frameShows();
        ASSERT_GE(now, last) << "frame " << frame << ": it fades, never darkens";
        last = now;
    }
    EXPECT_GT(last, full + 100) << "its last frame is nearly gone";
    EXPECT_LT(last, sand) << "but still there";
    EXPECT_EQ(frameShows(), sand) << "then it is gone";
    EXPECT_FALSE(help.showing());

    SDL_Event f1{};
    f1.type = SDL_KEYDOWN;
    f1.key.keysym.sym = SDLK_F1;
    help.take(f1);
    EXPECT_EQ(frameShows(), full) << "F1 shows it again, whole";
}

}  // namespace
