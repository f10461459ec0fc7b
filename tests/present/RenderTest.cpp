#include "present/Render.h"

#include "present/DrawQueue.h"

#include "TestSupport.h"

#include <SDL_image.h>
#include <gtest/gtest.h>

#include <string>

namespace {

TEST(LoadPNG, MissingPictureReportsAndGivesNull) {
    testsupport::SdlSession sdl;
    testing::internal::CaptureStdout();
    SDL_Texture* none = Render::LoadPNG("images/no-such-picture.png", Render::renderer);
    const std::string trace = testing::internal::GetCapturedStdout();
    EXPECT_EQ(none, nullptr);
    EXPECT_NE(trace.find("no-such-picture"), std::string::npos) << trace;
    EXPECT_EQ(trace.find("texture_error2"), std::string::npos);
}

TEST(LoadPNG, LoadsAPictureItCanRead) {
    testsupport::SdlSession sdl;
    testsupport::ScratchDir scratch;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 6, 4, 32, SDL_PIXELFORMAT_RGBA32);
    ASSERT_NE(surface, nullptr);
    SDL_FillRect(surface, nullptr, SDL_MapRGBA(surface->format, 10, 20, 30, 255));
    ASSERT_EQ(IMG_SavePNG(surface, "small.png"), 0);
    SDL_FreeSurface(surface);
    testing::internal::CaptureStdout();
    SDL_Texture* loaded = Render::LoadPNG("small.png", Render::renderer);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    ASSERT_NE(loaded, nullptr);
    int w = 0, h = 0;
    SDL_QueryTexture(loaded, nullptr, nullptr, &w, &h);
    EXPECT_EQ(w, 6);
    EXPECT_EQ(h, 4);
    SDL_DestroyTexture(loaded);
}

// The flag that lets a present with nothing new to show be skipped.
TEST(RenderPresent, OnlyTheFirstPresentAfterDrawingShows) {
    testsupport::SdlSession sdl;
    Render any;
    Render::drawnSincePresent = false;
    any.present();
    EXPECT_FALSE(Render::drawnSincePresent);
    any.clear();
    EXPECT_TRUE(Render::drawnSincePresent) << "a clear is something to show";
    any.present();
    EXPECT_FALSE(Render::drawnSincePresent);
    any.copyTex(SDL_Rect{0, 0, 1, 1}, SDL_Rect{0, 0, 1, 1});
    EXPECT_TRUE(Render::drawnSincePresent) << "a copy, even of nothing, counts as drawing";
    any.present();
    any.present();  // skipped: nothing new
    EXPECT_FALSE(Render::drawnSincePresent);
}

// A figure that loads its picture with its mask, as the entities do.
struct Figure : Render {
    explicit Figure(const std::string& path) { loadPicture(path, texW, texH); }
};

// A drawing that would show nothing (off the picture, or only clear pixels) is not made, so
// nothing new waits to be presented; a scaled one is made whole, its clear margins included.
TEST(RenderCopy, ADrawingThatShowsNothingIsLeftOutAndNeedsNoPresent) {
    testsupport::SdlSession sdl;
    testsupport::ScratchDir scratch;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 8, 8, 32, SDL_PIXELFORMAT_RGBA32);
    ASSERT_NE(surface, nullptr);
    SDL_FillRect(surface, nullptr, SDL_MapRGBA(surface->format, 0, 0, 0, 0));
    const SDL_Rect dot{5, 6, 2, 1};
    SDL_FillRect(surface, &dot, SDL_MapRGBA(surface->format, 250, 0, 0, 255));
    ASSERT_EQ(IMG_SavePNG(surface, "dot.png"), 0);
    SDL_FreeSurface(surface);
    testing::internal::CaptureStdout();
    Figure figure("dot.png");
    testing::internal::GetCapturedStdout();
    ASSERT_NE(figure.texture, nullptr);
    ASSERT_TRUE(DrawQueue::skipCovered);

    Render::drawnSincePresent = false;
    figure.copyTex(SDL_Rect{0, 0, 8, 4}, SDL_Rect{100, 100, 8, 4});
    EXPECT_FALSE(Render::drawnSincePresent) << "the clear top half of the picture";
    figure.copyTex(SDL_Rect{0, 0, 8, 8}, SDL_Rect{Render::kPicture.w, 100, 8, 8});
    EXPECT_FALSE(Render::drawnSincePresent) << "just right of the picture";
    figure.copyTex(SDL_Rect{0, 0, 8, 8}, SDL_Rect{-8, -8, 8, 8});
    EXPECT_FALSE(Render::drawnSincePresent) << "just above and left of it";
    figure.copyTex(SDL_Rect{0, 0, 8, 8}, SDL_Rect{-4, -5, 8, 8});
    EXPECT_TRUE(Render::drawnSincePresent) << "its shown pixels in the picture's corner";

    // Trimmed, the shown pixels land where the whole drawing would have put them.
    SDL_Rect src{0, 0, 8, 8};
    SDL_Rect dst{100, 200, 8, 8};
    ASSERT_TRUE(Render::trimToOpaque(figure.texture, src, dst));
    EXPECT_TRUE(SDL_RectEquals(&src, &dot) == SDL_TRUE);
    EXPECT_EQ(dst.x, 105);
    EXPECT_EQ(dst.y, 206);
    EXPECT_EQ(dst.w, 2);
    EXPECT_EQ(dst.h, 1);
    src = SDL_Rect{0, 0, 8, 8};
    dst = SDL_Rect{100, 200, 16, 16};
    ASSERT_TRUE(Render::trimToOpaque(figure.texture, src, dst));
    EXPECT_EQ(src.w, 8) << "a scaled drawing is not trimmed: its pixels would land elsewhere";
    EXPECT_EQ(dst.w, 16);
    src = SDL_Rect{0, 0, 8, 4};
    dst = SDL_Rect{100, 200, 8, 4};
    EXPECT_FALSE(Render::trimToOpaque(figure.texture, src, dst));
}

// In a window of another shape than the picture, a clear makes the bars beside the picture black
// and the picture's own area the draw colour, which it leaves as it found it.
TEST(RenderClear, BarsBesideThePictureAreBlackAndThePictureTakesTheDrawColour) {
    testsupport::SdlSession sdl;
    SDL_Window* wide = SDL_CreateWindow("wide", 0, 0, 1280, 720, 0);
    ASSERT_NE(wide, nullptr);
    SDL_Renderer* renderer = SDL_CreateRenderer(wide, -1, SDL_RENDERER_SOFTWARE);
    ASSERT_NE(renderer, nullptr);
    Render::renderer = renderer;
    SDL_RenderSetLogicalSize(renderer, Render::kPicture.w, Render::kPicture.h);
    SDL_SetRenderDrawColor(renderer, 200, 40, 20, 255);
    Render any;
    any.clear();
    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_GetRenderDrawColor(renderer, &r, &g, &b, &a);
    EXPECT_EQ(r, 200) << "the draw colour is left as it was";
    EXPECT_EQ(g, 40);

    SDL_RenderSetLogicalSize(renderer, 0, 0);  // to read the whole window, bars included
    const auto at = [&](int x, int y) {
        Uint32 pixel = 0;
        const SDL_Rect one{x, y, 1, 1};
        SDL_RenderReadPixels(renderer, &one, SDL_PIXELFORMAT_RGBA8888, &pixel, 4);
        return pixel;
    };
    EXPECT_EQ(at(50, 360), 0x000000FFu) << "the left bar";
    EXPECT_EQ(at(1230, 700), 0x000000FFu) << "the right bar";
    EXPECT_EQ(at(100, 0), 0xC82814FFu) << "the picture's first column";
    EXPECT_EQ(at(1179, 719), 0xC82814FFu) << "and its last";
    Render::renderer = sdl.renderer;
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(wide);
}

}  // namespace
