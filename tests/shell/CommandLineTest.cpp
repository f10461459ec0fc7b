#include "shell/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The command line as the program is given it, its name first.
CommandLine parsed(std::vector<std::string> args) {
    args.insert(args.begin(), "bramblehoof");
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    return CommandLine(static_cast<int>(args.size()), argv.data());
}

// Each option in its long and short forms, in any order; nothing given asks for nothing.
TEST(CommandLine, EveryOptionIsTakenLongOrShortInAnyOrder) {
    const CommandLine none = parsed({});
    EXPECT_FALSE(none.help || none.version || none.mute || none.bad);

    const CommandLine all = parsed({"-V", "--mute", "-h"});
    EXPECT_TRUE(all.version);
    EXPECT_TRUE(all.mute);
    EXPECT_TRUE(all.help);
    EXPECT_FALSE(all.bad);
    EXPECT_TRUE(parsed({"--version"}).version);
    EXPECT_TRUE(parsed({"--help"}).help);
    EXPECT_TRUE(parsed({"--mute", "--mute"}).mute) << "given twice is given";

    // What --help prints names every option the game takes.
    for (const char* option : {"--mute", "-h, --help", "-V, --version"}) {
        EXPECT_NE(CommandLine::usage().find(option), std::string::npos) << option;
    }
    EXPECT_EQ(CommandLine::versionLine().rfind("bramblehoof ", 0), 0u);
    EXPECT_NE(CommandLine::versionLine(), "bramblehoof unknown\n") << "the build gives its version";
}

// The first mistake is the one named, as an option or as an argument, exactly as typed; the game
// then stops before anything else it was asked.
TEST(CommandLine, TheFirstMistakeIsNamedAsTyped) {
    const CommandLine two = parsed({"--mute", "--fast", "extra"});
    EXPECT_TRUE(two.bad);
    EXPECT_EQ(two.mistake, "unknown option '--fast'");
    EXPECT_EQ(parsed({"saved.bin", "-x"}).mistake, "unexpected argument 'saved.bin'");
    EXPECT_EQ(parsed({"--Mute"}).mistake, "unknown option '--Mute'") << "options are lower case";
    EXPECT_EQ(parsed({"--help=all"}).mistake, "unknown option '--help=all'");
    EXPECT_EQ(parsed({"-"}).mistake, "unknown option '-'");
    EXPECT_EQ(parsed({""}).mistake, "unexpected argument ''") << "an empty argument is still one";
    EXPECT_EQ(parsed({"-hV"}).mistake, "unknown option '-hV'") << "short options are not joined";
    EXPECT_FALSE(parsed({"-x", "--help"}).help) << "nothing after the mistake is read";
}

}  // namespace
