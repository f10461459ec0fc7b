#include "persist/FileIO.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

TEST(FileIO, LittleEndianIntegersRoundTrip) {
    unsigned char bytes[4];
    for (const int32_t value : {0, 1, -1, 190, 0x12345678, INT32_MIN, INT32_MAX}) {
        FileIO::putInt32(bytes, value);
        EXPECT_EQ(FileIO::getInt32(bytes), value);
    }
    FileIO::putInt32(bytes, 0x12345678);
    EXPECT_EQ(bytes[0], 0x78);
    EXPECT_EQ(bytes[3], 0x12);
    FileIO::putInt32(bytes, -2);
    EXPECT_EQ(bytes[0], 0xFE);
    EXPECT_EQ(bytes[3], 0xFF);
}

TEST(FileIO, NamesAreCutAtCharacterBoundariesAndZeroBytes) {
    const std::string clef = "\xF0\x9D\x84\x9E";  // four bytes
    EXPECT_EQ(FileIO::prefixOnBoundary("abc", 23), 3u);
    EXPECT_EQ(FileIO::prefixOnBoundary("ab" + clef, 5), 2u);
    EXPECT_EQ(FileIO::prefixOnBoundary("ab" + clef, 6), 6u);
    EXPECT_EQ(FileIO::prefixOnBoundary("ab" + clef + "c", 6), 6u);
    EXPECT_EQ(FileIO::prefixOnBoundary(std::string("ab\0cd", 5), 23), 2u);
    // Not UTF-8 at all: a plain byte cut.
    EXPECT_EQ(FileIO::prefixOnBoundary(std::string(10, '\x80'), 4), 4u);
}

TEST(FileIO, ReplaceFileSwapsContentAndCleansUp) {
    testsupport::ScratchDir scratch;
    testsupport::writeFile("files/a.bin", "old old old");
    std::string error;
    ASSERT_TRUE(FileIO::replaceFile("files/a.bin", "new", error)) << error;
    EXPECT_EQ(testsupport::readFile("files/a.bin"), "new");
    EXPECT_FALSE(testsupport::fileExists("files/a.bin.tmp"));

    EXPECT_FALSE(FileIO::replaceFile("nofolder/a.bin", "x", error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(testsupport::fileExists("nofolder"));
}
