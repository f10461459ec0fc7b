#include "persist/SettingsFile.h"

#include <gtest/gtest.h>
#include <ini.h>

#include <string>

namespace {

// inih reads each line into a buffer of ini_max_line bytes, its end and a closing zero included.
// The longest line that fits is read whole; one byte more is refused as a whole, never cut into
// a line and a rest read as lines of their own.
TEST(SettingsFile, TheLongestLineInihHoldsIsReadWholeAndOneByteMoreIsRefused) {
    const std::size_t room = static_cast<std::size_t>(ini_max_line);
    const std::string head = "name = ";
    // A line of `bytes` with its end, whose value ends in what would read as an entry if cut.
    const auto line = [&](std::size_t bytes, const std::string& end) {
        const std::string tail = "x = 1";
        return head + std::string(bytes - head.size() - tail.size() - end.size(), 'v') + tail + end;
    };
    for (const std::string end : {"\n", "\r\n"}) {
        const std::string fits = line(room - 1, end);
        const std::string over = line(room, end);
        SettingsFile file;
        file.parse("[s]\n" + fits + over + "after = 2\n" + line(room - 1, ""));
        ASSERT_EQ(file.entries.size(), 3u) << "line end " << end.size();
        EXPECT_EQ(file.entries[0].line, 2);
        EXPECT_EQ(file.entries[0].value, fits.substr(head.size(), fits.size() - head.size() - end.size()))
            << "the line that fits is read whole";
        EXPECT_EQ(file.entries[1].line, 4);
        EXPECT_EQ(file.entries[1].name, "after") << "nothing of the long line is read";
        EXPECT_EQ(file.entries[2].line, 5) << "a last line without an end holds one byte more";
        EXPECT_EQ(file.entries[2].value.size(), room - 1 - head.size());
        ASSERT_EQ(file.problems.size(), 1u);
        EXPECT_EQ(file.problems[0].line, 3);
        EXPECT_EQ(file.problems[0].what, "line too long or not text");
    }
}

}  // namespace
