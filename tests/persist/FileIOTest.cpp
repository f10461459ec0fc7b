#include "persist/FileIO.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

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

TEST(FileIO, OnlyRegularFilesAreOpenedNeverThroughALinkNorBlocking) {
    testsupport::ScratchDir scratch;
    testsupport::writeFile("outside.bin", "keep me");
    ASSERT_EQ(symlink("../outside.bin", "files/link.bin"), 0);
    ASSERT_EQ(symlink("/dev/zero", "files/zero.bin"), 0);
    ASSERT_EQ(mkfifo("files/fifo.bin", 0644), 0);
    ASSERT_EQ(mkdir("files/folder.bin", 0755), 0);
    struct Case {
        const char* path;
        const char* says;
    };
    const Case cases[] = {
        {"files/link.bin", "files/link.bin is a link, not a regular file"},
        {"files/zero.bin", "files/zero.bin is a link, not a regular file"},
        {"files/fifo.bin", "files/fifo.bin is a FIFO, not a regular file"},
        {"files/folder.bin", "files/folder.bin is a folder, not a regular file"},
    };
    // Each way a file is opened; a FIFO opened to read would wait for a writer forever.
    for (const int flags : {O_RDONLY, O_WRONLY | O_CREAT | O_APPEND, O_WRONLY | O_CREAT}) {
        for (const Case& c : cases) {
            std::string error;
            const int fd = FileIO::openRegular(c.path, flags, error);
            EXPECT_EQ(fd, -1) << c.path;
            EXPECT_EQ(error, c.says) << flags;
            if (fd >= 0)
                close(fd);
        }
    }
    EXPECT_EQ(testsupport::readFile("outside.bin"), "keep me");

    std::string error;
    EXPECT_EQ(FileIO::openRegular("files/none.bin", O_RDONLY, error), -1);
    EXPECT_EQ(errno, ENOENT) << "a missing file is told apart";
    // The folder on the way may itself be a link.
    ASSERT_EQ(mkdir("real", 0755), 0);
    ASSERT_EQ(symlink("real", "linked"), 0);
    const int fd = FileIO::openRegular("linked/new.bin", O_WRONLY | O_CREAT, error);
    EXPECT_GE(fd, 0) << error;
    if (fd >= 0)
        close(fd);
    EXPECT_TRUE(testsupport::fileExists("real/new.bin"));
}

// A message's last character is read whole like any other: a name ending in an accent or a symbol
// is shown, not escaped; only a character cut short at the end is.
TEST(FileIO, PrintableKeepsACharacterThatEndsTheMessage) {
    EXPECT_EQ(FileIO::printable("players.bin of Zoë"), "players.bin of Zoë");
    EXPECT_EQ(FileIO::printable("clef 𝄞"), "clef 𝄞");
    EXPECT_EQ(FileIO::printable("€"), "€");
    EXPECT_EQ(FileIO::printable("ë"), "ë");
    EXPECT_EQ(FileIO::printable("cut \xe2\x82"), "cut \\xe2\\x82");
    EXPECT_EQ(FileIO::printable("cut \xe2\x82\xac"), "cut €");
}

// The size limit is told once a process: every later write it stops says nothing more.
TEST(FileIO, TheSizeLimitIsToldOnceHoweverManyWritesItStops) {
    FileIO::sizeLimitTold = false;
    testing::internal::CaptureStderr();
    FileIO::reportSizeLimit("files/players.bin");
    FileIO::reportSizeLimit("files/resP.bin");
    FileIO::reportSizeLimit("files/replay.txt");
    const std::string said = testing::internal::GetCapturedStderr();
    FileIO::sizeLimitTold = false;  // as a new process has it, for the tests after this one
    EXPECT_EQ(said,
              "bramblehoof: files/players.bin: the size limit for files (ulimit -f) is reached; what would pass it "
              "(a score, a save, a replay) is not written, and the files already there stay whole\n");
}

TEST(FileIO, PrintableEscapesControlsAndBrokenUtf8AndKeepsTheRest) {
    // Text, accents and a four-byte character stay as they are.
    EXPECT_EQ(FileIO::printable("Zoë plays 𝄞 at 10:30"), "Zoë plays 𝄞 at 10:30");
    // C0 controls, DEL and a C1 control (the one-byte CSI, as UTF-8) would drive a terminal.
    EXPECT_EQ(FileIO::printable("\x1b]0;title\x07\r\n\t\x7f|\xc2\x9b"
                                "2J"),
              "\\x1b]0;title\\x07\\x0d\\x0a\\x09\\x7f|\\xc2\\x9b2J");
    // A lone continuation byte, a cut character, an overlong slash, a surrogate, past U+10FFFF.
    EXPECT_EQ(FileIO::printable("a\x80"
                                "b\xe2\x82"),
              "a\\x80b\\xe2\\x82");
    EXPECT_EQ(FileIO::printable("\xc0\xaf|\xed\xa0\x80|\xf4\x90\x80\x80"),
              "\\xc0\\xaf|\\xed\\xa0\\x80|\\xf4\\x90\\x80\\x80");
    // The backslash is doubled, so an escape in the message always stands for a byte.
    EXPECT_EQ(FileIO::printable("C:\\x1b"), "C:\\\\x1b");
    EXPECT_EQ(FileIO::printable(std::string("a\0b", 3)), "a\\x00b");
}
