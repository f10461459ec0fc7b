#include "present/Atlas.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// A w by h picture whose every pixel has its own colour (and alpha 255, or 0 at the corner).
SDL_Surface* picture(int w, int h, Uint8 seed) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(surface->pixels) + y * surface->pitch);
        for (int x = 0; x < w; ++x) {
            const Uint8 a = x == 0 && y == 0 ? 0 : 255;
            row[x] =
                SDL_MapRGBA(surface->format, static_cast<Uint8>(seed + 40 * x), static_cast<Uint8>(30 * y), seed, a);
        }
    }
    return surface;
}

Uint32 pixelOf(SDL_Surface* surface, int x, int y) {
    return reinterpret_cast<Uint32*>(static_cast<Uint8*>(surface->pixels) + y * surface->pitch)[x];
}

// The atlas's pixels in and around place (a frame of one pixel), copied out unblended.
std::vector<Uint32> around(SDL_Renderer* renderer, SDL_Texture* atlas, SDL_Rect place) {
    const SDL_Rect from{place.x - 1, place.y - 1, place.w + 2, place.h + 2};
    const SDL_Rect to{0, 0, from.w, from.h};
    SDL_SetTextureBlendMode(atlas, SDL_BLENDMODE_NONE);
    SDL_RenderCopy(renderer, atlas, &from, &to);
    SDL_SetTextureBlendMode(atlas, SDL_BLENDMODE_BLEND);
    std::vector<Uint32> pixels(static_cast<std::size_t>(from.w * from.h));
    SDL_RenderReadPixels(renderer, &to, SDL_PIXELFORMAT_ARGB8888, pixels.data(), from.w * 4);
    return pixels;
}

TEST(Atlas, HoldsEachPictureOnceFramedByItsOwnEdge) {
    testsupport::SdlSession sdl;
    Atlas atlas(sdl.renderer);
    SDL_Surface* first = picture(5, 3, 10);
    SDL_Surface* second = picture(4, 6, 90);
    SDL_Surface* firstAgain = picture(5, 3, 10);
    SDL_Surface* tooLarge = picture(Atlas::kSize, 2, 0);

    const SDL_Rect a = atlas.add(first);
    const SDL_Rect b = atlas.add(second);
    ASSERT_EQ(a.w, 5);
    ASSERT_EQ(a.h, 3);
    ASSERT_EQ(b.w, 4);
    ASSERT_EQ(b.h, 6);
    const SDL_Rect aFramed{a.x - 1, a.y - 1, a.w + 2, a.h + 2};
    const SDL_Rect bFramed{b.x - 1, b.y - 1, b.w + 2, b.h + 2};
    EXPECT_FALSE(SDL_HasIntersection(&aFramed, &bFramed)) << "frames and all, apart";
    const SDL_Rect again = atlas.add(firstAgain);
    EXPECT_TRUE(SDL_RectEquals(&a, &again)) << "the same pixels are held once";
    EXPECT_EQ(atlas.add(tooLarge).w, 0) << "no room: drawn from its own texture";

    // Every pixel's colour as loaded (the window keeps no alpha), framed by a copy of the edge next
    // to it (corners included).
    const std::vector<Uint32> shown = around(sdl.renderer, atlas.texture(), a);
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(first, SDL_PIXELFORMAT_ARGB8888, 0);
    for (int y = -1; y <= a.h; ++y) {
        for (int x = -1; x <= a.w; ++x) {
            const Uint32 expected = pixelOf(argb, std::clamp(x, 0, a.w - 1), std::clamp(y, 0, a.h - 1));
            EXPECT_EQ(shown[static_cast<std::size_t>((y + 1) * (a.w + 2) + x + 1)] & 0xFFFFFFu, expected & 0xFFFFFFu)
                << x << "," << y;
        }
    }
    for (SDL_Surface* surface : {first, second, firstAgain, tooLarge, argb}) {
        SDL_FreeSurface(surface);
    }
}

}  // namespace
