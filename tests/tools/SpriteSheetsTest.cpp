#include "PictureFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr int kSheetSize = 576;
constexpr int kFrame = 64;
constexpr int kLastWalkColumn = 7;
constexpr int kLastDeathColumn = 5;
constexpr int kDeathRow = 8;
constexpr int kMinFigurePixels = 400;  // a figure covers far more than this of a 64 by 64 frame
constexpr int kMinDifference = 8;      // pixels that must change between two frames of a cycle
constexpr int kCorner = 6;             // corner blocks that must stay clear

struct Sheet {
    const char* file;      // path below images/
    int lastAttackColumn;  // the attack shows columns 1 to this
};
const Sheet kSheets[] = {{"sprites/hero2.png", 5}, {"sprites/enemy2.png", 6}};

// The columns the game shows in a row, column 0 (the standing frame) included.
int lastUsedColumn(const Sheet& sheet, int row) {
    if (row == kDeathRow) {
        return kLastDeathColumn;
    }
    return row < 4 ? kLastWalkColumn : sheet.lastAttackColumn;
}

double luminance(SDL_Color c) { return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b; }

double distanceFromSand(SDL_Color c) {
    const double dr = c.r - 242.0;
    const double dg = c.g - 196.0;
    const double db = c.b - 111.0;
    return std::sqrt(dr * dr + dg * dg + db * db);
}

TEST(SpriteSheets, AreNineByNineFramesOf64Pixels) {
    for (const Sheet& sheet : kSheets) {
        const PictureFile picture(sheet.file);
        ASSERT_TRUE(picture.loaded()) << picture.loadError();
        EXPECT_EQ(kSheetSize, picture.width()) << sheet.file;
        EXPECT_EQ(kSheetSize, picture.height()) << sheet.file;
    }
}

TEST(SpriteSheets, EveryShownFrameHoldsAFigureWithClearCorners) {
    for (const Sheet& sheet : kSheets) {
        const PictureFile picture(sheet.file);
        ASSERT_TRUE(picture.loaded()) << picture.loadError();
        for (int row = 0; row <= kDeathRow; ++row) {
            for (int column = row == kDeathRow ? 1 : 0; column <= lastUsedColumn(sheet, row); ++column) {
                const SDL_Rect r = frameRect(row, column);
                EXPECT_GE(picture.opaqueCount(r), kMinFigurePixels)
                    << sheet.file << " row " << row << " column " << column;
                // Neighbouring frames must not bleed into each other when the game cuts one out.
                const std::string where =
                    std::string(sheet.file) + " row " + std::to_string(row) + " column " + std::to_string(column);
                EXPECT_TRUE(picture.transparentBlock(r.x, r.y, kCorner)) << where << " top left";
                EXPECT_TRUE(picture.transparentBlock(r.x + kFrame - kCorner, r.y, kCorner)) << where << " top right";
                EXPECT_TRUE(picture.transparentBlock(r.x, r.y + kFrame - kCorner, kCorner)) << where << " bottom left";
                EXPECT_TRUE(picture.transparentBlock(r.x + kFrame - kCorner, r.y + kFrame - kCorner, kCorner))
                    << where << " bottom right";
            }
        }
    }
}

TEST(SpriteSheets, FramesWithinEachCycleAllDiffer) {
    for (const Sheet& sheet : kSheets) {
        const PictureFile picture(sheet.file);
        ASSERT_TRUE(picture.loaded()) << picture.loadError();
        for (int row = 0; row <= kDeathRow; ++row) {
            const int last = lastUsedColumn(sheet, row);
            for (int a = 1; a <= last; ++a) {
                for (int b = a + 1; b <= last; ++b) {
                    EXPECT_GE(picture.differingPixels(frameRect(row, a), frameRect(row, b)), kMinDifference)
                        << sheet.file << " row " << row << " columns " << a << " and " << b;
                }
            }
        }
    }
}

TEST(SpriteSheets, EachFacingAndItsAttackLookDifferent) {
    for (const Sheet& sheet : kSheets) {
        const PictureFile picture(sheet.file);
        ASSERT_TRUE(picture.loaded()) << picture.loadError();
        for (int a = 0; a < 4; ++a) {
            for (int b = a + 1; b < 4; ++b) {
                EXPECT_GE(picture.differingPixels(frameRect(a, 0), frameRect(b, 0)), 100)
                    << sheet.file << " standing rows " << a << " and " << b;
            }
            // The swing must show at a glance, not only in a few pixels.
            EXPECT_GE(picture.differingPixels(frameRect(a, 0), frameRect(a + 4, 3)), 150)
                << sheet.file << " attack of row " << a;
        }
        // Left and right are mirror images of each other.
        const SDL_Rect left = frameRect(1, 0);
        const SDL_Rect right = frameRect(3, 0);
        int mismatches = 0;
        for (int y = 0; y < kFrame; ++y) {
            for (int x = 0; x < kFrame; ++x) {
                const SDL_Color p = picture.at(left.x + x, left.y + y);
                const SDL_Color q = picture.at(right.x + kFrame - 1 - x, right.y + y);
                mismatches += (p.r != q.r || p.g != q.g || p.b != q.b || p.a != q.a) ? 1 : 0;
            }
        }
        EXPECT_EQ(0, mismatches) << sheet.file;
    }
}

TEST(SpriteSheets, FigureEdgesStandOutFromTheSand) {
    for (const Sheet& sheet : kSheets) {
        const PictureFile picture(sheet.file);
        ASSERT_TRUE(picture.loaded()) << picture.loadError();
        for (int row = 0; row <= kDeathRow; ++row) {
            for (int column = 0; column <= lastUsedColumn(sheet, row); ++column) {
                const SDL_Rect r = frameRect(row, column);
                int edges = 0;
                int strong = 0;
                for (int y = r.y; y < r.y + r.h; ++y) {
                    for (int x = r.x; x < r.x + r.w; ++x) {
                        const SDL_Color c = picture.at(x, y);
                        if (c.a < 250) {
                            continue;
                        }
                        const bool edge = picture.at(x - 1, y).a < 128 || picture.at(x + 1, y).a < 128 ||
                                          picture.at(x, y - 1).a < 128 || picture.at(x, y + 1).a < 128;
                        if (edge) {
                            ++edges;
                            strong += distanceFromSand(c) > 120.0 ? 1 : 0;
                        }
                    }
                }
                ASSERT_GT(edges, 0) << sheet.file << " " << row << "," << column;
                EXPECT_GE(strong * 10, edges * 9) << sheet.file << " row " << row << " column " << column;
            }
        }
    }
}

// Pixels inside a figure, away from its outline: what its palette looks like.
bool inside(const PictureFile& picture, int x, int y) {
    return picture.at(x, y).a == 255 && picture.at(x - 1, y).a == 255 && picture.at(x + 1, y).a == 255 &&
           picture.at(x, y - 1).a == 255 && picture.at(x, y + 1).a == 255;
}

TEST(SpriteSheets, TheOutlawIsDarkerAndUnlikeTheHero) {
    const PictureFile hero("sprites/hero2.png");
    const PictureFile enemy("sprites/enemy2.png");
    ASSERT_TRUE(hero.loaded()) << hero.loadError();
    ASSERT_TRUE(enemy.loaded()) << enemy.loadError();
    for (int row = 0; row < 4; ++row) {
        const SDL_Rect r = frameRect(row, 0);
        double heroLight = 0.0;
        double enemyLight = 0.0;
        int heroCount = 0;
        int enemyCount = 0;
        for (int y = r.y + 1; y < r.y + r.h - 1; ++y) {
            for (int x = r.x + 1; x < r.x + r.w - 1; ++x) {
                if (inside(hero, x, y)) {
                    heroLight += luminance(hero.at(x, y));
                    ++heroCount;
                }
                if (inside(enemy, x, y)) {
                    enemyLight += luminance(enemy.at(x, y));
                    ++enemyCount;
                }
            }
        }
        ASSERT_GT(heroCount, 0);
        ASSERT_GT(enemyCount, 0);
        EXPECT_GT(heroLight / heroCount - enemyLight / enemyCount, 25.0) << "row " << row;

        int differing = 0;
        int union_ = 0;
        for (int y = r.y; y < r.y + r.h; ++y) {
            for (int x = r.x; x < r.x + r.w; ++x) {
                const SDL_Color p = hero.at(x, y);
                const SDL_Color q = enemy.at(x, y);
                if (p.a == 0 && q.a == 0) {
                    continue;
                }
                ++union_;
                differing += (p.r != q.r || p.g != q.g || p.b != q.b || p.a != q.a) ? 1 : 0;
            }
        }
        EXPECT_GT(differing * 10, union_ * 8) << "row " << row;
    }
}

}  // namespace

namespace {

// The play frame skips a figure's drawing that a later one at the same place covers; that leaves
// the picture unchanged only while no pixel of a figure is partly transparent.
TEST(SpriteSheets, EveryPixelIsFullyOpaqueOrFullyClear) {
    for (const char* file : {"sprites/hero2.png", "sprites/enemy2.png"}) {
        const PictureFile picture(file);
        ASSERT_TRUE(picture.loaded()) << picture.loadError();
        int partial = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const Uint8 a = picture.at(x, y).a;
                partial += (a != 0 && a != 255) ? 1 : 0;
            }
        }
        EXPECT_EQ(partial, 0) << file;
    }
}

}  // namespace
