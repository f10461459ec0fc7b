#include "present/FontCache.h"
#include "present/Text.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <vector>

namespace {

// Text objects need the font from images/, so these run in a scratch folder linked to it.
class TextTest : public testing::Test {
protected:
    testsupport::ScratchDir scratch;
    testsupport::SdlSession sdl;

    // Size of s rendered in the game font, measured independently of Text.
    static SDL_Point measure(const std::string& s) {
        TTF_Font* font = TTF_OpenFont(Text::kFontPath, Text::kPointSize);
        SDL_Point size{0, 0};
        if (font != nullptr) {
            TTF_SizeUTF8(font, s.c_str(), &size.x, &size.y);
            TTF_CloseFont(font);
        }
        return size;
    }

    // Width of the texture a rendering produced, or -1 for none.
    static int widthOf(SDL_Texture* tex) {
        int w = -1;
        if (tex != nullptr) {
            SDL_QueryTexture(tex, nullptr, nullptr, &w, nullptr);
        }
        return w;
    }
};

TEST_F(TextTest, InitOpensTheFontAndMeasuresTheSample) {
    Text text;
    testing::internal::CaptureStdout();
    text.init();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    ASSERT_NE(text.font, nullptr) << "images/slkscr.ttf must be there (make build)";
    const SDL_Point sample = measure("SMTH WROTE");
    EXPECT_EQ(text.getRect().w, sample.x);
    EXPECT_EQ(text.getRect().h, sample.y);
    EXPECT_GT(sample.y, 20);
    EXPECT_LT(sample.y, 50) << "a line must fit the menu's 50-pixel spacing";
    EXPECT_EQ(text.color.r, 26);
    EXPECT_EQ(text.color.g, 142);
    EXPECT_EQ(text.color.b, 0);

    const SDL_Rect row2 = text.getPos(30);
    EXPECT_EQ(row2.x, 20);
    EXPECT_EQ(row2.y, 50);
    EXPECT_EQ(row2.w, 0);
    EXPECT_EQ(row2.h, 0);
    EXPECT_EQ(text.getPos(0).y, 20) << "getPos leaves pos unchanged";
}

TEST_F(TextTest, CreateCentresBySampleSizeAndSwitchesToMenuColour) {
    Text text;
    text.init();
    const SDL_Rect sample = text.getRect();
    text.Create(-50);
    EXPECT_EQ(text.pos.x, 540 - sample.w / 2);
    EXPECT_EQ(text.pos.y, 360 - sample.h / 2 - 50);
    EXPECT_EQ(text.pos.w, 50);
    EXPECT_EQ(text.pos.h, 50);
    EXPECT_EQ(text.color.r, 24);
    EXPECT_EQ(text.color.g, 0);
    EXPECT_EQ(text.color.b, 0);
    EXPECT_EQ(text.color.a, 170);
}

TEST_F(TextTest, SetTextBuildsTheHudStrings) {
    Text text;
    text.init();
    EXPECT_EQ(widthOf(text.SetText("Health: ", 100, 77, 0)), measure("Health: 100").x) << "b ignored without withB";
    text.freeALL();
    EXPECT_EQ(widthOf(text.SetText("Enemies killed: ", 3, 2, 1)), measure("Enemies killed: 3/2").x);
    text.freeALL();
    EXPECT_EQ(widthOf(text.SetText("Health: ", -5, 0, 0)), measure("Health: -5").x);
    EXPECT_EQ(text.textSurface, nullptr) << "SetText frees its surface";
    text.freeALL();
    EXPECT_EQ(text.textTexture, nullptr);
}

TEST_F(TextTest, PrintButtonAndShowInputMeasureWhatTheyRender) {
    Text text;
    text.init();
    text.PrintButton("SCORE BOARD");
    EXPECT_EQ(text.getRect().w, measure("SCORE BOARD").x);
    EXPECT_EQ(text.textSurface, nullptr);
    text.freeALL();

    text.showInput("Élise");
    EXPECT_EQ(text.getRect().w, measure("Élise").x) << "typed names render as UTF-8";
    EXPECT_NE(text.textSurface, nullptr) << "showInput keeps its surface until released";
    text.freeALL();
    EXPECT_EQ(text.textSurface, nullptr);

    EXPECT_EQ(text.showInput(""), nullptr) << "an empty line renders nothing";
    EXPECT_EQ(text.getRect().w, measure("Élise").x) << "and keeps the last measured size";
}

TEST_F(TextTest, DisplayDrawsAtNaturalSizeAndReleases) {
    Text text;
    text.init();
    text.Create(0);
    SDL_SetRenderDrawColor(Render::renderer, 255, 255, 255, 255);
    SDL_RenderClear(Render::renderer);
    SDL_Texture* tex = text.PrintButton("NEW GAME");
    ASSERT_NE(tex, nullptr);
    const SDL_Rect where = text.getPos(0);
    text.display(tex, where);
    EXPECT_EQ(text.textTexture, nullptr);
    EXPECT_EQ(text.textSurface, nullptr);
    text.freeALL();  // nothing left to release, nothing changes

    // Some dark red pixel lies inside the drawn label's box and none outside it.
    const SDL_Point size = measure("NEW GAME");
    std::vector<Uint32> pixels(1080 * 720);
    ASSERT_EQ(SDL_RenderReadPixels(Render::renderer, nullptr, SDL_PIXELFORMAT_RGBA8888, pixels.data(), 1080 * 4), 0);
    int inside = 0, outside = 0;
    for (int y = 0; y < 720; ++y) {
        for (int x = 0; x < 1080; ++x) {
            if (pixels[y * 1080 + x] != 0xFFFFFFFFu) {
                const bool in = x >= where.x && x < where.x + size.x && y >= where.y && y < where.y + size.y;
                (in ? inside : outside) += 1;
            }
        }
    }
    EXPECT_GT(inside, 50);
    EXPECT_EQ(outside, 0);
}

TEST_F(TextTest, OutlinedLinesKeepTheirLettersGainADarkEdgeAndAreRemadeOnlyWhenTheyChange) {
    Text plain;
    plain.init();
    Text outlined;
    outlined.init();
    outlined.outlined = true;
    const SDL_Rect where = plain.getPos(30);
    // Both drawn over white, each read back: every pixel of the plain line is in the outlined one.
    auto drawn = [&](Text& text, int health) {
        SDL_SetRenderDrawColor(Render::renderer, 255, 255, 255, 255);
        SDL_RenderClear(Render::renderer);
        text.display(text.SetText("Health: ", health, 0, 0), where);
        std::vector<Uint32> pixels(1080 * 720);
        EXPECT_EQ(SDL_RenderReadPixels(Render::renderer, nullptr, SDL_PIXELFORMAT_RGBA8888, pixels.data(), 1080 * 4),
                  0);
        return pixels;
    };
    const std::vector<Uint32> letters = drawn(plain, 40);
    const std::vector<Uint32> edged = drawn(outlined, 40);
    const Uint32 green = 0x1A8E00FFu;  // Text::kHudColor, opaque
    const Uint32 dark = 0x180E06FFu;   // Text::kOutlineColor
    int greens = 0, edges = 0, farEdges = 0;
    // The line stands at the top left; the rest of the window is white in both.
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 600; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * 1080 + x;
            if (letters[i] == green) {
                ++greens;
                EXPECT_EQ(edged[i], green) << "a letter's pixel at " << x << "," << y;
            } else if (edged[i] == dark) {
                ++edges;
                const bool near = x >= where.x - Text::kOutline && y >= where.y - Text::kOutline &&
                                  x < where.x + measure("Health: 40").x + Text::kOutline &&
                                  y < where.y + measure("Health: 40").y + Text::kOutline;
                farEdges += near ? 0 : 1;
            } else {
                EXPECT_EQ(edged[i], letters[i]) << "only letters and their edge are drawn, at " << x << "," << y;
            }
        }
    }
    EXPECT_GT(greens, 100);
    EXPECT_GT(edges, greens / 2) << "a dark edge around the letters";
    EXPECT_EQ(farEdges, 0);

    SDL_Texture* first = outlined.SetText("Health: ", 40, 0, 0);
    EXPECT_EQ(outlined.SetText("Health: ", 40, 0, 0), first) << "an unchanged line is not made again";
    EXPECT_EQ(outlined.keptText(), "Health: 40");
    outlined.SetText("Health: ", 39, 0, 0);
    EXPECT_EQ(outlined.keptText(), "Health: 39");
}

// A window shows the picture smaller than it is laid out (640 by 480 for 1080 by 720): a panel's
// small letters must stay whole, with sharp letters at the picture's own size. Each pixel of the shrunk line is compared with the share of its
// area the letters cover (what an ideal shrink shows); a pixel at least half covered whose drawing
// shows next to nothing of the ink is a piece of a letter dropped out.
TEST_F(TextTest, PanelLettersStayWholeInAWindowSmallerThanThePicture) {
    constexpr float kShrunk = 480.0f / 720.0f * 0.8889f;  // 640 / 1080, as a 640 by 480 window shows it
    constexpr SDL_Color kInk{255, 236, 200, 255};
    constexpr SDL_Color kPanel{40, 22, 10, 255};
    ASSERT_EQ(TTF_Init(), 0);
    TTF_Font* small = TTF_OpenFont(Text::kFontPath, 15);
    ASSERT_NE(small, nullptr);
    const std::string line = "Attack: click or Space   Pause: Esc or P   This help: F1";
    SDL_Texture* texture = Text::lineTexture(Render::renderer, small, line, kInk);
    ASSERT_NE(texture, nullptr);
    SDL_Surface* letters = TTF_RenderUTF8_Solid(small, line.c_str(), kInk);
    ASSERT_NE(letters, nullptr);
    SDL_LockSurface(letters);
    const auto inked = [&](int x, int y) {
        return static_cast<const Uint8*>(letters->pixels)[y * letters->pitch + x] != 0;  // 0: the clear index
    };

    SDL_RenderSetScale(Render::renderer, kShrunk, kShrunk);
    SDL_SetRenderDrawColor(Render::renderer, kPanel.r, kPanel.g, kPanel.b, 255);
    SDL_RenderClear(Render::renderer);
    const SDL_Rect where{0, 0, letters->w, letters->h};
    Text::fitToWindow(Render::renderer, texture);
    SDL_RenderCopy(Render::renderer, texture, nullptr, &where);
    SDL_RenderSetScale(Render::renderer, 1.0f, 1.0f);
    const int outW = static_cast<int>(static_cast<float>(letters->w) * kShrunk);
    const int outH = static_cast<int>(static_cast<float>(letters->h) * kShrunk);
    std::vector<Uint8> red(static_cast<std::size_t>(outW) * outH);
    std::vector<Uint32> row(static_cast<std::size_t>(outW));
    for (int y = 0; y < outH; ++y) {
        const SDL_Rect one{0, y, outW, 1};
        ASSERT_EQ(SDL_RenderReadPixels(Render::renderer, &one, SDL_PIXELFORMAT_RGBA8888, row.data(), outW * 4), 0);
        for (int x = 0; x < outW; ++x) {
            red[static_cast<std::size_t>(y) * outW + x] = static_cast<Uint8>(row[static_cast<std::size_t>(x)] >> 24);
        }
    }

    int covered = 0;
    int dropped = 0;
    for (int y = 0; y < outH; ++y) {
        for (int x = 0; x < outW; ++x) {
            // The letters' share of this pixel's area, counted on a fine grid.
            int in = 0;
            constexpr int kGrid = 8;
            for (int gy = 0; gy < kGrid; ++gy) {
                for (int gx = 0; gx < kGrid; ++gx) {
                    const int sx = static_cast<int>((static_cast<float>(x) + (gx + 0.5f) / kGrid) / kShrunk);
                    const int sy = static_cast<int>((static_cast<float>(y) + (gy + 0.5f) / kGrid) / kShrunk);
                    in += sx < letters->w && sy < letters->h && inked(sx, sy) ? 1 : 0;
                }
            }
            if (in * 2 < kGrid * kGrid) {
                continue;
            }
            ++covered;
            // Less than a tenth of the way from the panel to the ink.
            dropped += red[static_cast<std::size_t>(y) * outW + x] < kPanel.r + (kInk.r - kPanel.r) / 10 ? 1 : 0;
        }
    }
    // At the picture's own size (or larger) the pixel font stays sharp.
    Text::fitToWindow(Render::renderer, texture);
    SDL_ScaleMode mode = SDL_ScaleModeLinear;
    SDL_GetTextureScaleMode(texture, &mode);
    EXPECT_EQ(mode, SDL_ScaleModeNearest);
    SDL_UnlockSurface(letters);
    SDL_FreeSurface(letters);
    SDL_DestroyTexture(texture);
    TTF_CloseFont(small);
    EXPECT_GT(covered, 200) << "the line was drawn and measured";
    // Drawn sharp, a third of them drop out (112 of 365 on the software renderer). Smoothed, a
    // real window shows every one; the software renderer's coarser smoothing leaves a few faint.
    EXPECT_LT(dropped * 20, covered) << dropped << " of " << covered << " pixels mostly covered by letters";
}

TEST_F(TextTest, MissingFontIsReportedAndRendersNothing) {
    ASSERT_EQ(unlink("images"), 0);
    FontCache::closeAll();  // as in a process that starts without it: nothing opened before
    Text text;
    testing::internal::CaptureStdout();
    text.init();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "asdfsdafd");
    EXPECT_EQ(text.font, nullptr);
    EXPECT_EQ(text.SetText("Health: ", 1, 0, 0), nullptr);
    text.display(nullptr, text.getPos(0));
}

TEST(TextWithoutRenderer, InitSaysRenderFail) {
    testsupport::ScratchDir scratch;
    Render::renderer = nullptr;
    Text text;
    testing::internal::CaptureStdout();
    text.init();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Render fail\n");
    EXPECT_EQ(text.textTexture, nullptr);
}

}  // namespace

TEST_F(TextTest, WidthsFollowTheLineAndTheSizeAskedFor) {
    // Widths are remembered between asks: a remembered one must never answer for another line
    // or another size.
    Text text;
    text.init();
    ASSERT_NE(text.font, nullptr);
    EXPECT_EQ(text.widthOf("Health: 5000"), measure("Health: 5000").x);
    EXPECT_EQ(text.widthOf("Health: 5000"), measure("Health: 5000").x) << "asked again";
    EXPECT_EQ(text.widthOf("Health: 50000"), measure("Health: 50000").x) << "a longer line";
    const int small = text.widthOf("Health: 50000");
    ASSERT_TRUE(text.openAt(Text::kPointSize * 2));
    EXPECT_GT(text.widthOf("Health: 50000"), small * 3 / 2) << "the same line at twice the size";
}
