#include "PictureFile.h"

#include "TestSupport.h"

#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>
#include <vector>

namespace {

constexpr int kCorner = 4;

bool clearCorners(const PictureFile& picture) {
    const int w = picture.width();
    const int h = picture.height();
    return picture.transparentBlock(0, 0, kCorner) && picture.transparentBlock(w - kCorner, 0, kCorner) &&
           picture.transparentBlock(0, h - kCorner, kCorner) &&
           picture.transparentBlock(w - kCorner, h - kCorner, kCorner);
}

// Relative luminance as used for text contrast ratios.
double relativeLuminance(SDL_Color c) {
    auto linear = [](Uint8 v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}

TEST(BullPictures, AreTwoDifferentAnimalsInTheShapeTheGameDrawsThem) {
    const PictureFile brown("sprites/bull.png");
    const PictureFile spotted("sprites/bull2.png");
    ASSERT_TRUE(brown.loaded()) << brown.loadError();
    ASSERT_TRUE(spotted.loaded()) << spotted.loadError();
    for (const PictureFile* bull : {&brown, &spotted}) {
        // Drawn whole into 80 by 50: anything but 8:5 would squash the animal.
        EXPECT_EQ(bull->width() * 5, bull->height() * 8);
        EXPECT_GE(bull->width(), 80);
        const int opaque = bull->opaqueCount({0, 0, bull->width(), bull->height()});
        EXPECT_GT(opaque, bull->width() * bull->height() / 4);
        EXPECT_TRUE(clearCorners(*bull));
    }
    ASSERT_EQ(brown.width(), spotted.width());
    ASSERT_EQ(brown.height(), spotted.height());
    int differing = 0;
    int union_ = 0;
    for (int y = 0; y < brown.height(); ++y) {
        for (int x = 0; x < brown.width(); ++x) {
            const SDL_Color p = brown.at(x, y);
            const SDL_Color q = spotted.at(x, y);
            if (p.a == 0 && q.a == 0) {
                continue;
            }
            ++union_;
            differing += (p.r != q.r || p.g != q.g || p.b != q.b) ? 1 : 0;
        }
    }
    EXPECT_GT(differing * 2, union_);
}

TEST(FarmPicture, IsABuildingInTwoToOne) {
    const PictureFile farm("farm.png");
    ASSERT_TRUE(farm.loaded()) << farm.loadError();
    EXPECT_EQ(farm.width(), 2 * farm.height());
    EXPECT_GE(farm.width(), 200);
    EXPECT_GT(farm.opaqueCount({0, 0, farm.width(), farm.height()}), farm.width() * farm.height() / 2);
    EXPECT_TRUE(clearCorners(farm));
}

TEST(ArrowPicture, RegionTheGameCutsShowsAnArrowPointingUp) {
    const PictureFile arrow("arrow.png");
    ASSERT_TRUE(arrow.loaded()) << arrow.loadError();
    ASSERT_GE(arrow.width(), 496);
    ASSERT_GE(arrow.height(), 404);
    const int w = 496;
    const int h = 404;
    std::vector<int> widths(h, 0);
    long long massX = 0;
    long long mass = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (arrow.at(x, y).a != 0) {
                ++widths[y];
                massX += x;
                ++mass;
            }
        }
    }
    ASSERT_GT(mass, w * h / 5);
    const int top =
        static_cast<int>(std::find_if(widths.begin(), widths.end(), [](int v) { return v > 0; }) - widths.begin());
    const int bottom =
        h - 1 -
        static_cast<int>(std::find_if(widths.rbegin(), widths.rend(), [](int v) { return v > 0; }) - widths.rbegin());
    const int widest = static_cast<int>(std::max_element(widths.begin(), widths.end()) - widths.begin());
    const int maxWidth = widths[widest];
    const int span = bottom - top;
    EXPECT_LT(top, h / 10);
    EXPECT_GT(bottom, h * 9 / 10);
    // A tip at the top, the head's widest part above the middle, a narrow shaft below.
    EXPECT_LT(widths[top + span / 10], maxWidth * 3 / 10);
    EXPECT_LT(widest - top, span * 6 / 10);
    EXPECT_LT(widths[bottom - span / 10], maxWidth * 6 / 10);
    EXPECT_GT(widths[bottom - span / 10], 0);
    // Centred left to right, so turning it keeps it on its spot.
    EXPECT_NEAR(static_cast<double>(massX) / mass, w / 2.0, w * 0.03);
}

TEST(MenuPicture, StretchedOverTheWindowKeepsTheMenuTextReadable) {
    const PictureFile menu("images.png");
    ASSERT_TRUE(menu.loaded()) << menu.loadError();
    ASSERT_EQ(720, menu.width());
    ASSERT_EQ(1080, menu.height());
    // The game copies the top-left 720 by 1080 onto the 1080 by 720 window. The menu's words
    // stand from about (465, 188) down to the name line ending near y 432, long names running on.
    const SDL_Color text = {24, 0, 0, 255};
    const double textLight = relativeLuminance(text);
    std::set<std::tuple<int, int, int>> colours;
    int weak = 0;
    int sampled = 0;
    for (int wy = 182; wy < 440; wy += 2) {
        for (int wx = 455; wx < 765; wx += 2) {
            const SDL_Color c = menu.at(wx * 720 / 1080, wy * 1080 / 720);
            ASSERT_EQ(255, c.a);
            colours.insert({c.r, c.g, c.b});
            ++sampled;
            const double ratio = (relativeLuminance(c) + 0.05) / (textLight + 0.05);
            weak += ratio < 7.0 ? 1 : 0;
        }
    }
    EXPECT_EQ(0, weak) << "of " << sampled << " samples";
    EXPECT_LE(colours.size(), 4u) << "the area under the menu should be calm";

    // Away from the board the picture is a scene, not a blank.
    std::set<std::tuple<int, int, int>> scene;
    for (int y = 0; y < menu.height(); y += 7) {
        for (int x = 0; x < menu.width(); x += 7) {
            const SDL_Color c = menu.at(x, y);
            scene.insert({c.r, c.g, c.b});
        }
    }
    EXPECT_GT(scene.size(), 40u);
}

TEST(MenuFont, IsThereAndFitsTheMenuSpacing) {
    ASSERT_EQ(0, TTF_Init()) << TTF_GetError();
    const std::string path = testsupport::sourceDir() + "/images/slkscr.ttf";
    TTF_Font* font = TTF_OpenFont(path.c_str(), 30);
    ASSERT_NE(nullptr, font) << TTF_GetError();
    int w = 0;
    int h = 0;
    ASSERT_EQ(0, TTF_SizeText(font, "SMTH WROTE", &w, &h));
    // Menu items are 50 pixels apart and share the sample's box.
    EXPECT_GT(h, 20);
    EXPECT_LT(h, 50);
    for (char c = ' '; c <= '~'; ++c) {
        EXPECT_TRUE(TTF_GlyphIsProvided(font, static_cast<Uint16>(c))) << "'" << c << "'";
    }
    TTF_CloseFont(font);
    TTF_Quit();
}

}  // namespace

namespace {

TEST(GroundPicture, CoversTheWorldAsSandWithSparseFaintDetail) {
    const PictureFile ground("ground.png");
    ASSERT_TRUE(ground.loaded()) << ground.loadError();
    ASSERT_EQ(ground.width(), 2160);
    ASSERT_EQ(ground.height(), 1440);
    long sand = 0;
    int farthest = 0;
    for (int y = 0; y < ground.height(); ++y) {
        for (int x = 0; x < ground.width(); ++x) {
            const SDL_Color c = ground.at(x, y);
            ASSERT_EQ(c.a, 255) << "the ground is opaque at " << x << "," << y;
            const int away = std::max({std::abs(c.r - 242), std::abs(c.g - 196), std::abs(c.b - 111)});
            sand += away == 0 ? 1 : 0;
            farthest = std::max(farthest, away);
        }
    }
    const double share = static_cast<double>(sand) / (ground.width() * ground.height());
    EXPECT_GT(share, 0.97) << "sparse: the field stays sand";
    EXPECT_LT(share, 0.9995) << "but there is detail to see";
    EXPECT_LE(farthest, 60) << "faint: no detail stands out like a bull or an outlaw";
}

}  // namespace
