#include "persist/SettingsFile.h"

#include "TestSupport.h"
#include "persist/FileIO.h"

#include <gtest/gtest.h>

#include <fstream>
#include <ini.h>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
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

// What the reader makes of the entries of settings in text: each one's values, in order.
std::vector<std::string> valuesRead(const std::string& text, const Setting& setting) {
    SettingsFile file;
    file.parse(text);
    std::vector<std::string> values;
    for (const SettingsFile::Entry& entry : file.entries) {
        if (entry.section == setting.section && entry.name == setting.name) {
            values.push_back(entry.value);
        }
    }
    return values;
}

// Every entry of settings reads back from text with its value (every line of it, if it is there
// more than once).
void expectReadBack(const std::string& text, const std::vector<Setting>& settings) {
    for (const Setting& setting : settings) {
        const std::vector<std::string> values = valuesRead(text, setting);
        EXPECT_FALSE(values.empty()) << "[" << setting.section << "] " << setting.name << " in:\n" << text;
        for (const std::string& value : values) {
            EXPECT_EQ(value, setting.value) << "[" << setting.section << "] " << setting.name << " in:\n" << text;
        }
    }
}

TEST(SettingsFile, WhatTheGameWritesReadsBackSectionBySection) {
    const std::vector<Setting> settings = {
        {"sound", "music", "6"}, {"sound", "mute", "off"}, {"keys", "up", "W, Up"}, {"keys", "down", ""}};
    const std::string text = SettingsFile::written(settings);
    EXPECT_EQ(text, "[sound]\nmusic = 6\nmute = off\n\n[keys]\nup = W, Up\ndown =\n")
        << "an empty value leaves no blank at the line's end";
    expectReadBack(text, settings);
    EXPECT_EQ(SettingsFile::merged("", settings), text) << "merged into nothing, the same file";

    // A list's item that starts with ';' follows its comma at once: after a blank it would start a
    // comment.
    const std::string list = SettingsFile::listed({"Z", ";", "Up"});
    EXPECT_EQ(list, "Z,;, Up");
    expectReadBack(SettingsFile::written({{"keys", "up", list}}), {{"keys", "up", list}});
    EXPECT_EQ(SettingsFile::listed({}), "");
}

TEST(SettingsFile, AMergeSetsTheGamesLinesWhereTheyStandAndKeepsEveryOtherLineAsItIs) {
    const std::vector<Setting> settings = {{"sound", "music", "6"}, {"keys", "up", "Z, Up"}};
    const std::string old =
        "\xEF\xBB\xBF; mine\n"
        "[sound]\n"
        "  music=2 ; loud\n"
        "# quiet\n"
        "volume = 11\n"
        "\n"
        "[keys]\r\n"
        "jump = x\r\n"
        "up : w\r\n"
        "left = a";
    const std::string merged = SettingsFile::merged(old, settings);
    EXPECT_EQ(merged,
              "\xEF\xBB\xBF; mine\n"
              "[sound]\n"
              "music = 6 ; loud\n"
              "# quiet\n"
              "volume = 11\n"
              "\n"
              "[keys]\r\n"
              "jump = x\r\n"
              "up = Z, Up\n"
              "left = a\n");
    expectReadBack(merged, settings);
    EXPECT_EQ(SettingsFile::merged(merged, settings), merged) << "merged again, nothing changes";
    EXPECT_EQ(valuesRead(merged, {"sound", "volume", ""}), std::vector<std::string>{"11"});
}

TEST(SettingsFile, AMergeAddsWhatTheFileLacksAfterItsSectionsLastEntryOrInANewSectionAtTheEnd) {
    const std::vector<Setting> settings = {{"keys", "up", "Z"},
                                           {"keys", "left", "A"},
                                           {"sound", "music", "6"},
                                           {"sound", "mute", "off"},
                                           {"window", "width", "800"},
                                           {"window", "height", "600"},
                                           {"play", "reduced_motion", "on"}};
    const std::string old =
        "[keys]\n"
        "up = w\n"
        "; after the keys\n"
        "\n"
        "[sound]\n"
        "music = 2\n"
        "[play]\n"
        "; nothing yet\n"
        "[sound]\n"  // the second [sound] takes what the first lacks
        "effects = 3\n"
        "\n"
        "  \t\n";
    const std::string merged = SettingsFile::merged(old, settings);
    EXPECT_EQ(merged,
              "[keys]\n"
              "up = Z\n"
              "left = A\n"
              "; after the keys\n"
              "\n"
              "[sound]\n"
              "music = 6\n"
              "[play]\n"
              "reduced_motion = on\n"
              "; nothing yet\n"
              "[sound]\n"
              "effects = 3\n"
              "mute = off\n"
              "\n"
              "[window]\n"
              "width = 800\n"
              "height = 600\n");
    expectReadBack(merged, settings);
}

TEST(SettingsFile, AMergeSetsEveryLineOfAnEntryTheFileHasTwiceButNoneOfAnotherSection) {
    const std::vector<Setting> settings = {{"sound", "music", "6"}};
    const std::string merged = SettingsFile::merged(
        "music = 1\n[sound]\nmusic = 2\n[other]\nmusic = 3\n[sound]\nmusic=4\nmusic = 6\n", settings);
    EXPECT_EQ(merged, "music = 1\n[sound]\nmusic = 6\n[other]\nmusic = 3\n[sound]\nmusic = 6\nmusic = 6\n");
    expectReadBack(merged, settings);
}

// A line the reader refuses whole is no entry, whatever it holds: it stays, and the entry it
// seems to hold is added as one the file lacks. The longest line the reader takes is an entry.
TEST(SettingsFile, AMergeKeepsALineTheReaderRefusesWholeAndAddsTheEntryItSeemsToHold) {
    const std::size_t room = static_cast<std::size_t>(ini_max_line);
    const std::string fits = "music = " + std::string(room - 1 - 9, '1');  // room - 1 with its end
    const std::string over = "mute = " + std::string(room - 8, '1');       // room with its end
    const std::string notText("effects = 3\0", 12);
    ASSERT_TRUE(SettingsFile::refusedWhole(over + "\n"));
    ASSERT_FALSE(SettingsFile::refusedWhole(fits + "\n"));
    const std::vector<Setting> settings = {
        {"sound", "music", "6"}, {"sound", "mute", "off"}, {"sound", "effects", "2"}};
    const std::string merged = SettingsFile::merged("[sound]\n" + over + "\n" + notText + "\n" + fits + "\n", settings);
    EXPECT_EQ(merged, "[sound]\n" + over + "\n" + notText + "\nmusic = 6\nmute = off\neffects = 2\n");
    expectReadBack(merged, settings);

    // Without its end, a last line holds one byte more before it is refused.
    const std::string last = "mute = " + std::string(room - 7 - 1, '1');
    ASSERT_EQ(last.size(), over.size());
    EXPECT_EQ(SettingsFile::merged("[sound]\n" + last, {{"sound", "mute", "off"}}), "[sound]\nmute = off\n");
}

// An indented line after an entry is more of its value to the reader: more of one of ours goes
// with the line it continued, and no line is put where it would take such a line in.
TEST(SettingsFile, AMergeTakesIndentedLinesAsTheReaderDoes) {
    struct Case {
        std::string old;
        std::string merged;
    };
    const std::vector<Setting> settings = {{"keys", "up", "Z"}, {"keys", "left", "A"}};
    const std::vector<Case> cases = {
        // More of ours: gone with it, and what follows is read as before.
        {"[keys]\nleft = j\n  k\n\tl\nup = i\n", "[keys]\nleft = A\nup = Z\n"},
        // More of another entry's value: kept, and nothing goes between.
        {"[keys]\njump = x\n  y\n", "[keys]\njump = x\n  y\n\n[keys]\nup = Z\nleft = A\n"},
        // An indented header after an entry is more of it too.
        {"[keys]\njump = x\n  [pad]\nup = w\n", "[keys]\njump = x\n  [pad]\nup = Z\nleft = A\n"},
        // Indented lines no entry comes before would be taken in by a line put before them.
        {"[keys]\n junk\n", "[keys]\n junk\n\n[keys]\nup = Z\nleft = A\n"},
        {"[keys]\n  [pad]\nstop = y\n", "[keys]\n  [pad]\nstop = y\n\n[keys]\nup = Z\nleft = A\n"},
        // ...unless an entry follows them: a line put after it continues nothing.
        {"[keys]\n junk\njump = x\n", "[keys]\n junk\njump = x\nup = Z\nleft = A\n"},
        // A nameless entry is continued by nothing: the indented line after it is an entry.
        {"[keys]\n=\n up = F6\n", "[keys]\n=\nup = Z\nleft = A\n"},
    };
    for (const Case& c : cases) {
        const std::string merged = SettingsFile::merged(c.old, settings);
        EXPECT_EQ(merged, c.merged) << "from:\n" << c.old;
        expectReadBack(merged, settings);
    }
}

// Comments after a blank end a line for the reader, a section's name ends at its ']', and the
// blanks around a name are all that isspace() takes: the merge finds the same entries.
TEST(SettingsFile, AMergeReadsInlineCommentsSectionNamesAndBlanksAsTheReaderDoes) {
    struct Case {
        std::string old;
        std::string merged;
    };
    const std::vector<Setting> settings = {{"keys", "right", "L"}, {"pad", "right", "dpright"}};
    const std::vector<Case> cases = {
        {"[keys] ; mine\nright = x ; old\n[pad];\nright = b\n",
         "[keys] ; mine\nright = L ; old\n[pad];\nright = dpright\n"},
        // No section: "right" stays in [keys].
        {"[keys]\n[pad ;]\nright = x\n", "[keys]\n[pad ;]\nright = L\n\n[pad]\nright = dpright\n"},
        // A comment before the separator: no entry.
        {"[keys]\nright ; = x\n", "[keys]\nright = L\nright ; = x\n\n[pad]\nright = dpright\n"},
        // A ';' with no blank before it is part of the name.
        {"[keys]\nright; = x\n[pad;]\nright = b\n",
         "[keys]\nright; = x\nright = L\n[pad;]\nright = b\n\n[pad]\nright = dpright\n"},
        // A section's name keeps its blanks, an entry's loses all that isspace() takes.
        {"[ keys ]\n\v right\f\r: x\n", "[ keys ]\n\v right\f\r: x\n\n[keys]\nright = L\n\n[pad]\nright = dpright\n"},
        {"[keys]\n\v right\f\r: x\n", "[keys]\nright = L\n\n[pad]\nright = dpright\n"},
        {"[keys]\n\f[pad]\r\nright = x\n", "[keys]\n\f[pad]\r\nright = dpright\n\n[keys]\nright = L\n"},
        {"\xEF\xBB\xBF[pad]\nright = x\n", "\xEF\xBB\xBF[pad]\nright = dpright\n\n[keys]\nright = L\n"},
    };
    for (const Case& c : cases) {
        const std::string merged = SettingsFile::merged(c.old, settings);
        EXPECT_EQ(merged, c.merged) << "from:\n" << c.old;
        expectReadBack(merged, settings);
    }
}

}  // namespace

namespace {

// A name the plain list cannot hold is quoted, and every item then reads back as it was; names
// the plain list holds are written as they always were.
TEST(SettingsFile, ANameThePlainListCannotHoldIsQuotedAndReadsBack) {
    const std::vector<std::vector<std::string>> lists = {{";", "Up"}, {"Keypad ,", "W"}, {";", "\""},
                                                         {"\\", ","}, {" a ", "b"},      {"x ;y"}};
    for (const std::vector<std::string>& list : lists) {
        const std::string value = SettingsFile::listed(list);
        const std::vector<std::string> read = valuesRead("[keys]\nup = " + value + " ; mine\n", {"keys", "up", ""});
        ASSERT_EQ(read.size(), 1u) << value;
        EXPECT_NE(SettingsFile::items(read[0]), list) << "the plain reading fails first: " << value;
        std::vector<std::string> items;
        ASSERT_TRUE(SettingsFile::quotedItems(read[0], items)) << value;
        EXPECT_EQ(items, list) << value;
    }
    EXPECT_EQ(SettingsFile::listed({"Keypad ,", ";"}), "\"Keypad \\,\", \"\\;\"");
    EXPECT_EQ(SettingsFile::listed({"W", ";", "\""}), "W,;, \"") << "as the game always wrote it";
    std::vector<std::string> items;
    EXPECT_TRUE(SettingsFile::quotedItems("\";\", Up,, \"Keypad \\,\"", items)) << "quoted and plain mixed";
    EXPECT_EQ(items, (std::vector<std::string>{";", "Up", "Keypad ,"}));
    EXPECT_FALSE(SettingsFile::quotedItems("\"open, Up", items));
    EXPECT_FALSE(SettingsFile::quotedItems("\"a\" b, Up", items));
}

// An entry the merge sets keeps the comment after it, with the blanks before it.
TEST(SettingsFile, AMergeKeepsTheInlineCommentOfALineItSets) {
    const std::vector<Setting> settings = {{"sound", "music", "7"}, {"keys", "down", ""}, {"keys", "up", "\";\""}};
    EXPECT_EQ(SettingsFile::merged("[sound]\nmusic=4   ; evenings\r\n[keys]\ndown = ; none\nup =;x ; y\n", settings),
              "[sound]\nmusic = 7   ; evenings\r\n[keys]\ndown = ; none\nup = \";\" ; y\n");
}

// A scratch folder holding config/, where the saves below write.
class SettingsFileSave : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(mkdir("config", 0755), 0); }
    void TearDown() override { FileIO::beforeStep = nullptr; }

    static std::string read(const std::string& path) {
        std::string text;
        std::string why;
        FileIO::readSmall(path, 1 << 20, text, why);
        return text;
    }
    static void write(const std::string& path, const std::string& text) {
        std::string why;
        std::string made;
        ASSERT_TRUE(FileIO::writeTemporary(path, text, 0, made, why)) << why;
        ASSERT_TRUE(FileIO::rename(made, path, why)) << why;
    }
    static std::vector<std::string> names() {
        std::vector<std::string> found;
        DIR* dir = opendir("config");
        for (dirent* entry = readdir(dir); entry != nullptr; entry = readdir(dir)) {
            if (entry->d_name[0] != '.') {
                found.push_back(entry->d_name);
            }
        }
        closedir(dir);
        std::sort(found.begin(), found.end());
        return found;
    }

    testsupport::ScratchDir scratch;
    const std::string path = "config/settings.ini";
    const std::vector<Setting> whole = {{"sound", "music", "3"}, {"sound", "effects", "10"}};
    const std::vector<Setting> music = {{"sound", "music", "3"}};
};

// A link is written through: a dotfile manager's link stays and its file takes the change; a
// dangling link's file is made; a file with a second name is left whole, said why; a private
// file stays private.
TEST_F(SettingsFileSave, ALinkIsWrittenThroughAHardLinkIsLeftAndTheModeIsKept) {
    ASSERT_EQ(mkdir("dots", 0755), 0);
    write("dots/settings.ini", "[sound]\nmusic = 8 ; mine\n");
    ASSERT_EQ(symlink("../dots/settings.ini", path.c_str()), 0);
    SettingsFile::Saved saved = SettingsFile::save(path, music, whole);
    EXPECT_TRUE(saved.written) << saved.why;
    struct stat info {};
    ASSERT_EQ(lstat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode)) << "the link stays a link";
    EXPECT_EQ(read("dots/settings.ini"), "[sound]\nmusic = 3 ; mine\n");

    ASSERT_EQ(unlink(path.c_str()), 0);
    ASSERT_EQ(symlink("../dots/new.ini", path.c_str()), 0);
    saved = SettingsFile::save(path, music, whole);
    EXPECT_TRUE(saved.written) << saved.why;
    ASSERT_EQ(lstat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(read("dots/new.ini"), "[sound]\nmusic = 3\neffects = 10\n") << "made whole where the link leads";

    ASSERT_EQ(unlink(path.c_str()), 0);
    ASSERT_EQ(link("dots/settings.ini", path.c_str()), 0);
    saved = SettingsFile::save(path, {{"sound", "music", "5"}}, whole);
    EXPECT_FALSE(saved.written);
    EXPECT_NE(saved.why.find("hard link"), std::string::npos) << saved.why;
    EXPECT_EQ(read(path), "[sound]\nmusic = 3 ; mine\n");
    EXPECT_EQ(read("dots/settings.ini"), read(path)) << "still one file";

    ASSERT_EQ(unlink(path.c_str()), 0);
    write(path, "[sound]\nmusic = 1\n");
    ASSERT_EQ(chmod(path.c_str(), 0600), 0);
    saved = SettingsFile::save(path, music, whole);
    EXPECT_TRUE(saved.written) << saved.why;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_EQ(names(), (std::vector<std::string>{"settings.ini", "settings.ini.lock"})) << "no temporary left";
}

// A file the reader would refuse as too large is never written: the old one stays, and why says
// so. One just within the size is.
TEST_F(SettingsFileSave, AFileThatWouldPassTheReadersSizeIsNotWritten) {
    const std::string head = "[sound]\nmusic = 1\n";
    std::string text = head;
    while (text.size() + 20 <= SettingsFile::kMaxBytes - 1) {
        text += "; a note of mine.\n";
    }
    text += std::string(SettingsFile::kMaxBytes - 1 - text.size(), ';') + "\n";
    ASSERT_EQ(text.size(), SettingsFile::kMaxBytes);
    write(path, text);
    SettingsFile::Saved saved = SettingsFile::save(path, {{"sound", "effects", "4"}}, whole);
    EXPECT_FALSE(saved.written);
    EXPECT_NE(saved.why.find(std::to_string(SettingsFile::kMaxBytes)), std::string::npos) << saved.why;
    EXPECT_EQ(read(path), text);
    saved = SettingsFile::save(path, {{"sound", "music", "2"}}, whole);
    EXPECT_TRUE(saved.written) << "the same size: " << saved.why;
    EXPECT_EQ(read(path).size(), SettingsFile::kMaxBytes);
}

// A line the reader would refuse (longer than its buffer) is never written: the value would be lost.
TEST_F(SettingsFileSave, AValueThatWouldNotReadBackIsNotWritten) {
    write(path, "[keys]\nup = w\n");
    const std::string value(static_cast<std::size_t>(ini_max_line), 'x');
    const SettingsFile::Saved saved = SettingsFile::save(path, {{"keys", "up", value}}, whole);
    EXPECT_FALSE(saved.written);
    EXPECT_NE(saved.why.find("[keys] up"), std::string::npos) << saved.why;
    EXPECT_EQ(read(path), "[keys]\nup = w\n");
}

// Two games saving at once: the second waits for the first's lock, then reads what the first
// wrote, so neither change is lost and the file is never short.
TEST_F(SettingsFileSave, TwoGamesSavingAtOnceKeepBothChanges) {
    write(path, "[sound]\nmusic = 10\neffects = 10\n");
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    const pid_t other = fork();
    ASSERT_GE(other, 0);
    if (other == 0) {
        close(go[1]);
        char byte = 0;
        const bool told = ::read(go[0], &byte, 1) == 1;
        const SettingsFile::Saved saved = SettingsFile::save(path, {{"sound", "effects", "4"}}, whole);
        _exit(told && saved.written ? 0 : 1);
    }
    close(go[0]);
    // Between this game's write and its rename, the other starts its save and waits.
    FileIO::beforeStep = [&go](FileIO::Step step, const std::string&) {
        if (step == FileIO::Step::Rename) {
            const char byte = 1;
            EXPECT_EQ(::write(go[1], &byte, 1), 1);
            usleep(300 * 1000);
        }
        return 0;
    };
    const SettingsFile::Saved saved = SettingsFile::save(path, music, whole);
    FileIO::beforeStep = nullptr;
    close(go[1]);
    int status = 0;
    ASSERT_EQ(waitpid(other, &status, 0), other);
    EXPECT_TRUE(saved.written) << saved.why;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(read(path), "[sound]\nmusic = 3\neffects = 4\n");
    EXPECT_EQ(names(), (std::vector<std::string>{"settings.ini", "settings.ini.lock"}));
}

// What a game killed mid-write left is cleared by the next save; another file's temporary stays.
TEST_F(SettingsFileSave, ATemporaryLeftByAWriteThatNeverEndedIsRemoved) {
    write(path, "[sound]\nmusic = 10\n");
    testsupport::writeFile("config/settings.ini.tmp-99999-1", "[sound]\nmus");
    testsupport::writeFile("config/scores.tmp-99999-1", "theirs");
    const SettingsFile::Saved saved = SettingsFile::save(path, music, whole);
    EXPECT_TRUE(saved.written) << saved.why;
    EXPECT_EQ(names(), (std::vector<std::string>{"scores.tmp-99999-1", "settings.ini", "settings.ini.lock"}));
}

// A lock another game keeps past the wait: nothing written, and why names it.
TEST_F(SettingsFileSave, ALockKeptByAnotherGameLeavesTheFileAsItIs) {
    write(path, "[sound]\nmusic = 10\n");
    const int held = open((path + SettingsFile::kLockSuffix).c_str(), O_RDONLY | O_CREAT, 0644);
    ASSERT_GE(held, 0);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    const pid_t other = fork();  // a lock of another process's: this one's own descriptor would share it
    ASSERT_GE(other, 0);
    if (other == 0) {
        FileIO::beforeStep = [](FileIO::Step step, const std::string&) {
            return step == FileIO::Step::Lock ? EWOULDBLOCK : 0;  // the wait, cut short
        };
        close(held);
        const SettingsFile::Saved saved = SettingsFile::save(path, music, whole);
        _exit(!saved.written && saved.why.find("another game kept") != std::string::npos ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(other, &status, 0), other);
    close(held);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(read(path), "[sound]\nmusic = 10\n");
}

// An editor saving while the game writes does not take the game's lock: what it saved is read
// and merged again, not overwritten; a file rewritten without end is written over at last.
TEST_F(SettingsFileSave, AHandEditMadeWhileTheGameWritesIsKept) {
    write(path, "[sound]\nmusic = 10\neffects = 10\n");
    int edits = 0;
    FileIO::beforeStep = [&](FileIO::Step step, const std::string& at) {
        if (step == FileIO::Step::Sync && at.find(".tmp-") != std::string::npos && edits++ == 0) {
            std::ofstream("config/settings.ini") << "[sound]\nmusic = 10\neffects = 2 ; by hand\n";
        }
        return 0;
    };
    SettingsFile::Saved saved = SettingsFile::save(path, music, whole);
    EXPECT_TRUE(saved.written) << saved.why;
    EXPECT_EQ(read(path), "[sound]\nmusic = 3\neffects = 2 ; by hand\n");
    EXPECT_EQ(names(), (std::vector<std::string>{"settings.ini", "settings.ini.lock"})) << "no temporary left";

    edits = 0;
    FileIO::beforeStep = [&](FileIO::Step step, const std::string& at) {
        if (step == FileIO::Step::Sync && at.find(".tmp-") != std::string::npos) {
            std::ofstream("config/settings.ini") << "[sound]\nmusic = " << ++edits << "\n";
        }
        return 0;
    };
    saved = SettingsFile::save(path, {{"sound", "effects", "6"}}, whole);
    EXPECT_TRUE(saved.written) << saved.why;
    EXPECT_GT(edits, 1);
    EXPECT_LT(edits, 10) << "tried again a few times, not without end";
    EXPECT_EQ(read(path).find("effects = 6"), std::string("[sound]\nmusic = 1\n").size()) << read(path);
}

// A file standing where the settings folder should be is named, in reading and in writing.
TEST_F(SettingsFileSave, AFileWhereTheFolderShouldBeIsNamed) {
    testsupport::writeFile("config/game", "not a folder");
    SettingsFile file;
    EXPECT_FALSE(file.read("config/game/settings.ini"));
    ASSERT_EQ(file.problems.size(), 1u);
    EXPECT_EQ(file.problems[0].what, "config/game is a file, not a folder");
    const SettingsFile::Saved saved = SettingsFile::save("config/game/settings.ini", music, whole);
    EXPECT_FALSE(saved.written);
    EXPECT_NE(saved.why.find("config/game is a file, not a folder"), std::string::npos) << saved.why;
}

}  // namespace
