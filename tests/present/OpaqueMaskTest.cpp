#include "present/OpaqueMask.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace {

bool same(const SDL_Rect& a, const SDL_Rect& b) { return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h; }

std::string text(const SDL_Rect& r) {
    return "{" + std::to_string(r.x) + ", " + std::to_string(r.y) + ", " + std::to_string(r.w) + ", " +
           std::to_string(r.h) + "}";
}

#define EXPECT_RECT(actual, expected) EXPECT_TRUE(same(actual, expected)) << text(actual) << " for " << text(expected)

// An 8 by 6 picture with alpha, clear but for the pixels given (at the alpha given).
SDL_Surface* clearBut(std::initializer_list<SDL_Point> shown, Uint8 alpha = 255) {
    SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormat(0, 8, 6, 32, SDL_PIXELFORMAT_RGBA32);
    SDL_FillRect(picture, nullptr, SDL_MapRGBA(picture->format, 200, 100, 50, 0));
    for (const SDL_Point& at : shown) {
        const SDL_Rect one{at.x, at.y, 1, 1};
        SDL_FillRect(picture, &one, SDL_MapRGBA(picture->format, 200, 100, 50, alpha));
    }
    return picture;
}

// The box of a part holds every pixel of it that shows at all, however faintly, and nothing of it
// that is clear; what lies outside the picture holds nothing, and a part with nothing to show has an
// empty box.
TEST(OpaqueMask, TheBoxHoldsEveryPixelThatShowsAndNoClearMargin) {
    SDL_Surface* picture = clearBut({{2, 1}, {5, 3}});
    const SDL_Rect faint{1, 4, 1, 1};
    SDL_FillRect(picture, &faint, SDL_MapRGBA(picture->format, 0, 0, 0, 1));
    OpaqueMask mask(picture);
    SDL_FreeSurface(picture);

    EXPECT_RECT(mask.box({0, 0, 8, 6}), (SDL_Rect{1, 1, 5, 4}));
    EXPECT_RECT(mask.box({3, 0, 5, 6}), (SDL_Rect{5, 3, 1, 1}));
    EXPECT_RECT(mask.box({-2, -2, 5, 5}), (SDL_Rect{2, 1, 1, 1})) << "the part outside the picture holds nothing";
    const SDL_Rect empty = mask.box({6, 0, 2, 6});
    EXPECT_EQ(empty.w, 0);
    EXPECT_EQ(empty.h, 0);
    // A part wholly off the picture, on any side, has nothing to draw.
    for (const SDL_Rect off : {SDL_Rect{20, 20, 4, 4}, SDL_Rect{-10, 1, 4, 4}, SDL_Rect{1, -10, 4, 4}}) {
        const SDL_Rect none = mask.box(off);
        EXPECT_TRUE(none.w == 0 && none.h == 0) << text(off) << " gave " << text(none);
    }
}

// A part asked for after a larger one that starts at the same corner has a box of its own: the
// answers kept for parts asked before are each for their own part.
TEST(OpaqueMask, EachPartKeepsItsOwnAnswerWhateverWasAskedBefore) {
    SDL_Surface* picture = clearBut({{1, 1}, {6, 5}});
    OpaqueMask asked(picture);
    const SDL_Rect parts[] = {{0, 0, 8, 6}, {0, 0, 4, 3}, {0, 0, 8, 3}, {4, 0, 4, 6}, {0, 0, 1, 1}, {0, 0, 4, 3}};
    for (const SDL_Rect& part : parts) {
        OpaqueMask fresh(picture);  // asked for nothing before
        EXPECT_RECT(asked.box(part), fresh.box(part)) << " asked for " << text(part);
    }
    SDL_FreeSurface(picture);
    EXPECT_RECT(asked.box({0, 0, 4, 3}), (SDL_Rect{1, 1, 1, 1}));
    EXPECT_RECT(asked.box({0, 0, 8, 6}), (SDL_Rect{1, 1, 6, 5}));
}

// A picture without alpha shows everywhere; one with a colour key is clear where the key is.
TEST(OpaqueMask, APictureWithoutAlphaShowsEverywhereAndAColourKeyIsClear) {
    SDL_Surface* plain = SDL_CreateRGBSurfaceWithFormat(0, 4, 4, 24, SDL_PIXELFORMAT_RGB24);
    SDL_FillRect(plain, nullptr, SDL_MapRGB(plain->format, 0, 0, 0));
    OpaqueMask opaque(plain);
    EXPECT_RECT(opaque.box({1, 1, 2, 2}), (SDL_Rect{1, 1, 2, 2})) << "black is a colour like any other";
    EXPECT_RECT(opaque.box({-3, -3, 10, 10}), (SDL_Rect{0, 0, 4, 4}));

    const SDL_Rect spot{2, 1, 1, 2};
    SDL_FillRect(plain, &spot, SDL_MapRGB(plain->format, 255, 0, 255));
    SDL_SetColorKey(plain, SDL_TRUE, SDL_MapRGB(plain->format, 0, 0, 0));
    OpaqueMask keyed(plain);
    SDL_FreeSurface(plain);
    EXPECT_RECT(keyed.box({0, 0, 4, 4}), spot);

    OpaqueMask none(nullptr);
    EXPECT_EQ(none.box({0, 0, 4, 4}).w, 0) << "no picture, nothing to draw";
}

}  // namespace
