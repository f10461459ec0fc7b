#include "present/FontCache.h"

#include "present/Text.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class FontCacheTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(TTF_Init(), 0) << TTF_GetError();
        FontCache::closeAll();  // what earlier tests opened
    }
    void TearDown() override {
        FontCache::closeAll();
        TTF_Quit();
    }

    testsupport::ScratchDir scratch;
};

// One font per file, size and edge: asked again, the same one; an edge given to one size is
// not given to the plain font of that size.
TEST_F(FontCacheTest, EachFileSizeAndEdgeIsOpenedOnceAndKeptApart) {
    TTF_Font* plain = FontCache::get(Text::kFontPath, 30);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(FontCache::get(Text::kFontPath, 30), plain);
    TTF_Font* smaller = FontCache::get(Text::kFontPath, 20);
    ASSERT_NE(smaller, nullptr);
    EXPECT_NE(smaller, plain);
    EXPECT_LT(TTF_FontHeight(smaller), TTF_FontHeight(plain));
    TTF_Font* edged = FontCache::get(Text::kFontPath, 30, Text::kOutline);
    ASSERT_NE(edged, nullptr);
    EXPECT_NE(edged, plain);
    EXPECT_EQ(FontCache::get(Text::kFontPath, 30, Text::kOutline), edged);
    EXPECT_EQ(TTF_GetFontOutline(edged), Text::kOutline);
    EXPECT_EQ(TTF_GetFontOutline(plain), 0) << "the plain font keeps no edge";

    FontCache::closeAll();
    TTF_Font* again = FontCache::get(Text::kFontPath, 30);
    ASSERT_NE(again, nullptr) << "after a close, the next ask opens it anew";
    EXPECT_EQ(TTF_GetFontOutline(again), 0);
}

// A font that cannot be opened is not remembered as missing: once it is there, it is used.
TEST_F(FontCacheTest, AFontMissingIsLookedForAgainNextTime) {
    EXPECT_EQ(FontCache::get("late/font.ttf", 30), nullptr);
    ASSERT_EQ(mkdir("late", 0755), 0);
    testsupport::writeFile("late/font.ttf", testsupport::readFile(Text::kFontPath));
    EXPECT_NE(FontCache::get("late/font.ttf", 30), nullptr);
}

}  // namespace
