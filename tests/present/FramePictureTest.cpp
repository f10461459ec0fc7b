#include "present/FramePicture.h"

#include "present/Render.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr Uint32 kLeft = 0xD02010FFu;  // RGBA8888
constexpr Uint32 kRight = 0x1030C0FFu;
constexpr Uint32 kAfter = 0x20B040FFu;

void fill(SDL_Renderer* renderer, Uint32 rgba, const SDL_Rect* box) {
    SDL_SetRenderDrawColor(renderer, rgba >> 24, (rgba >> 16) & 0xFF, (rgba >> 8) & 0xFF, 255);
    SDL_RenderFillRect(renderer, box);
}

// The picture's left half in one colour, its right half in another.
void drawHalves(SDL_Renderer* renderer) {
    const SDL_Rect left{0, 0, Render::kPicture.w / 2, Render::kPicture.h};
    const SDL_Rect right{Render::kPicture.w / 2, 0, Render::kPicture.w / 2, Render::kPicture.h};
    fill(renderer, kLeft, &left);
    fill(renderer, kRight, &right);
}

Uint32 at(SDL_Renderer* renderer, int x, int y) {
    Uint32 pixel = 0;
    const SDL_Rect one{x, y, 1, 1};
    SDL_RenderReadPixels(renderer, &one, SDL_PIXELFORMAT_RGBA8888, &pixel, 4);
    return pixel;
}

// What was drawn before the capture comes back, pixel for pixel, over whatever was drawn since;
// released, nothing comes back.
TEST(FramePicture, TheKeptPictureComesBackOverWhatWasDrawnSince) {
    testsupport::SdlSession sdl;
    FramePicture kept;
    EXPECT_FALSE(kept.captured());
    kept.capture(nullptr);
    EXPECT_FALSE(kept.captured()) << "no renderer, nothing kept";

    drawHalves(sdl.renderer);
    kept.capture(sdl.renderer);
    ASSERT_TRUE(kept.captured());
    fill(sdl.renderer, kAfter, nullptr);
    kept.draw(sdl.renderer);
    EXPECT_EQ(at(sdl.renderer, 0, 0), kLeft);
    EXPECT_EQ(at(sdl.renderer, 539, 719), kLeft);
    EXPECT_EQ(at(sdl.renderer, 540, 0), kRight);
    EXPECT_EQ(at(sdl.renderer, 1079, 719), kRight);

    kept.release();
    EXPECT_FALSE(kept.captured());
    fill(sdl.renderer, kAfter, nullptr);
    kept.draw(sdl.renderer);
    EXPECT_EQ(at(sdl.renderer, 0, 0), kAfter);
}

// In a window of another shape the picture stands between black bars: what comes back is the
// picture alone, laid over the picture's place as it was, not the bars squeezed in with it.
TEST(FramePicture, InAWindowOfAnotherShapeThePictureComesBackWithoutTheBars) {
    testsupport::SdlSession sdl;
    SDL_Window* wide = SDL_CreateWindow("wide", 0, 0, 1280, 720, 0);
    ASSERT_NE(wide, nullptr);
    SDL_Renderer* renderer = SDL_CreateRenderer(wide, -1, SDL_RENDERER_SOFTWARE);
    ASSERT_NE(renderer, nullptr);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);  // the bars
    SDL_RenderSetLogicalSize(renderer, Render::kPicture.w, Render::kPicture.h);
    drawHalves(renderer);
    {
        FramePicture kept;
        kept.capture(renderer);
        ASSERT_TRUE(kept.captured());
        fill(renderer, kAfter, nullptr);
        kept.draw(renderer);
        // Read in the window's own pixels, the picture between bars of 100.
        SDL_RenderSetLogicalSize(renderer, 0, 0);
        EXPECT_EQ(at(renderer, 100, 0), kLeft) << "the picture's first column, not a bar";
        EXPECT_EQ(at(renderer, 639, 360), kLeft);
        EXPECT_EQ(at(renderer, 640, 360), kRight);
        EXPECT_EQ(at(renderer, 1179, 719), kRight) << "its last";
    }
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(wide);
}

}  // namespace
