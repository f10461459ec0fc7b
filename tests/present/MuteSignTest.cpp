#include "present/MuteSign.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The sign draws inside its box only, struck through, and leaves the renderer's colour and blend
// as it found them: the menu and play draw on after it.
TEST(MuteSign, DrawsInItsBoxOnlyAndLeavesTheRendererAsItFoundIt) {
    testsupport::SdlSession sdl;
    SDL_SetRenderDrawColor(sdl.renderer, 90, 160, 70, 255);
    SDL_RenderClear(sdl.renderer);
    SDL_SetRenderDrawColor(sdl.renderer, 12, 34, 56, 78);
    SDL_SetRenderDrawBlendMode(sdl.renderer, SDL_BLENDMODE_ADD);
    MuteSign::draw(sdl.renderer);

    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_GetRenderDrawColor(sdl.renderer, &r, &g, &b, &a);
    EXPECT_EQ(r, 12);
    EXPECT_EQ(g, 34);
    EXPECT_EQ(b, 56);
    EXPECT_EQ(a, 78);
    SDL_BlendMode mode = SDL_BLENDMODE_NONE;
    SDL_GetRenderDrawBlendMode(sdl.renderer, &mode);
    EXPECT_EQ(mode, SDL_BLENDMODE_ADD);

    std::vector<Uint32> pixels(1080u * 720u);
    ASSERT_EQ(SDL_RenderReadPixels(sdl.renderer, nullptr, SDL_PIXELFORMAT_RGBA8888, pixels.data(), 1080 * 4), 0);
    const Uint32 ground = 0x5AA046FFu;
    const Uint32 strike = static_cast<Uint32>(MuteSign::kStrike.r) << 24 |
                          static_cast<Uint32>(MuteSign::kStrike.g) << 16 |
                          static_cast<Uint32>(MuteSign::kStrike.b) << 8 | 0xFFu;
    const Uint32 ink = static_cast<Uint32>(MuteSign::kInk.r) << 24 | static_cast<Uint32>(MuteSign::kInk.g) << 16 |
                       static_cast<Uint32>(MuteSign::kInk.b) << 8 | 0xFFu;
    const SDL_Rect box = MuteSign::kBox;
    int outside = 0;
    int struck = 0;
    int speaker = 0;
    int plate = 0;
    for (int y = 0; y < 720; ++y) {
        for (int x = 0; x < 1080; ++x) {
            const Uint32 p = pixels[static_cast<std::size_t>(y) * 1080 + x];
            const SDL_Point at{x, y};
            if (SDL_PointInRect(&at, &box) == SDL_FALSE) {
                outside += p != ground ? 1 : 0;
                continue;
            }
            struck += p == strike ? 1 : 0;
            speaker += p == ink ? 1 : 0;
            plate += p != ground && p != strike && p != ink ? 1 : 0;
        }
    }
    EXPECT_EQ(outside, 0) << "pixels changed outside the sign's box";
    EXPECT_GT(struck, 2 * box.w) << "a line three pixels thick across the box";
    EXPECT_GT(speaker, 100);
    EXPECT_GT(plate, box.w * box.h / 2) << "the dark plate under it, the ground darkened through it";
}

}  // namespace
