#include "persist/SettingsFile.h"

#include <gtest/gtest.h>
#include <ini.h>

#include <string>
#include <vector>

namespace {

using Line = SettingsFile::Line;
using Setting = SettingsFile::Setting;

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

// lines() tells each line as inih takes it: its entries stand on exactly the lines lines() calls
// entries or more of one, and a line is a problem exactly when it is none of these, no section,
// no comment and no blank (the blanks being all that isspace() takes).
TEST(SettingsFile, EachLineIsToldAsInihReadsItAndOnlyTheLinesItTakesForNoneAreProblems) {
    const std::string text =
        std::string("\xEF\xBB\xBF[keys] ; mine\n") +  // 1: the mark is skipped, the comment ends the header
        "up = w\n"                                    // 2
        "  s\n"                                       // 3: more of up's value
        " [pad]\n"                                    // 4: more of it too, indented after an entry
        "\v\n"                                        // 5: a blank
        "\f; a comment\n"                             // 6
        "# another\n"                                 // 7
        "[pad ;]\n"                                   // 8: the ';' after a blank comes before the ']'
        "[video\n"                                    // 9
        "stop ; = z\n"                                // 10: a comment before the '='
        "[ sound ]\n"                                 // 11: a section named with its blanks
        " junk\n"                                     // 12: indented, but no entry to continue
        "=\n"                                         // 13: a nameless entry
        "  mute = on\n"                               // 14: which nothing continues
        "right\r: F6\n" +                             // 15: a carriage return is a blank, ':' a separator
        std::string("a\0b = 1\n", 8) +                // 16: not text
        "[play]\r\n";                                 // 17
    const std::vector<Line::Kind> kinds = {Line::Section, Line::Entry,  Line::Continued, Line::Continued, Line::Quiet,
                                           Line::Quiet,   Line::Quiet,  Line::Bad,       Line::Bad,       Line::Bad,
                                           Line::Section, Line::Bad,    Line::Entry,     Line::Entry,     Line::Entry,
                                           Line::Refused, Line::Section};
    const std::vector<Line> lines = SettingsFile::lines(text);
    ASSERT_EQ(lines.size(), kinds.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].kind, kinds[i]) << "line " << i + 1;
    }
    EXPECT_EQ(lines[0].name, "keys");
    EXPECT_EQ(lines[0].text, "\xEF\xBB\xBF[keys] ; mine") << "the line as it stands, without its end";
    EXPECT_FALSE(lines[0].indented) << "the mark is no blank";
    EXPECT_EQ(lines[10].name, " sound ");
    EXPECT_EQ(lines[13].name, "mute");
    EXPECT_TRUE(lines[13].indented);
    EXPECT_EQ(lines[14].name, "right");
    EXPECT_EQ(lines[16].text, "[play]\r");

    SettingsFile file;
    file.parse(text);
    std::vector<int> entryLines;
    for (const SettingsFile::Entry& entry : file.entries) {
        entryLines.push_back(entry.line);
        EXPECT_EQ(entry.section, entry.line < 11 ? "keys" : " sound ") << "line " << entry.line;
    }
    EXPECT_EQ(entryLines, (std::vector<int>{2, 3, 4, 13, 14, 15})) << "inih makes entries of the same lines";
    std::vector<int> problemLines;
    for (const SettingsFile::Problem& problem : file.problems) {
        problemLines.push_back(problem.line);
    }
    EXPECT_EQ(problemLines, (std::vector<int>{8, 9, 10, 12, 16}));
}

}  // namespace
