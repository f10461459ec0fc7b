#include "input/Gamepads.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace {

// A mapping line SDL takes, for a pad of its own GUID (32 hex digits).
std::string mapping(const std::string& guid, const std::string& platform = "Linux") {
    return guid + ",Test pad " + guid.substr(8, 4) + ",a:b0,b:b1,x:b2,y:b3,leftx:a0,lefty:a1,platform:" + platform +
           ",";
}

bool mapped(const std::string& guid) {
    char* found = SDL_GameControllerMappingForGUID(SDL_JoystickGetGUIDFromString(guid.c_str()));
    SDL_free(found);
    return found != nullptr;
}

class GamepadsTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError(); }
    void TearDown() override { SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER); }

    // loadMappings on path; what it said on stderr.
    std::string load(const std::string& path) {
        testing::internal::CaptureStderr();
        Gamepads::loadMappings(path);
        return testing::internal::GetCapturedStderr();
    }

    testsupport::ScratchDir scratch;
};

TEST_F(GamepadsTest, TheLinesSDLRefusesAreCountedInOneLineAndTheRestAreUsed) {
    const std::string path = scratch.file("pads.txt");
    testsupport::writeFile(path, "# the player's own pads\n" +                               // 1
                                     mapping("03000000aaaa00000100000000000000") + "\r\n" +  // 2
                                     "\n"                                                    // 3
                                     "   \t\n" +                                             // 4
                                     mapping("03000000bbbb00000100000000000000", "Windows") +
                                     "\n" +                         // 5
                                     "not a mapping at all\n"       // 6
                                     "  # an indented comment\n" +  // 7
                                     mapping("03000000cccc00000100000000000000") +
                                     "\n" +                                             // 8
                                     "03000000dddd00000100000000000000,no buttons\n" +  // 9
                                     mapping("03000000eeee00000100000000000000"));      // 10, no line end
    EXPECT_EQ(load(path),
              "bramblehoof: " + path + ": 2 lines refused, not a controller mapping (the first is line 6)\n");
    EXPECT_TRUE(mapped("03000000aaaa00000100000000000000"));
    EXPECT_TRUE(mapped("03000000cccc00000100000000000000"));
    EXPECT_TRUE(mapped("03000000eeee00000100000000000000"));
    EXPECT_FALSE(mapped("03000000bbbb00000100000000000000")) << "another system's mapping is skipped";
    EXPECT_FALSE(mapped("03000000dddd00000100000000000000"));
}

TEST_F(GamepadsTest, AFileTooLargeOrNotRegularIsRefusedInOneLineAndNeverHandedToSDL) {
    // Good mappings all through, but more than a player's list: none of them is taken.
    const std::string big = scratch.file("big.txt");
    std::string text = mapping("03000000f1f100000100000000000000") + "\n";
    while (text.size() <= 2 * 1024 * 1024) {
        text += "# " + std::string(1000, '-') + "\n";
    }
    testsupport::writeFile(big, text);
    const int before = SDL_GameControllerNumMappings();
    EXPECT_EQ(load(big), "bramblehoof: " + big + ": larger than 1048576 bytes; no controller mappings read\n");
    EXPECT_FALSE(mapped("03000000f1f100000100000000000000"));
    EXPECT_EQ(SDL_GameControllerNumMappings(), before);

    // A FIFO with no writer would keep a reader waiting for ever; the alarm ends the test then.
    const std::string fifo = scratch.file("fifo.txt");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    alarm(60);
    const std::string said = load(fifo);
    alarm(0);
    EXPECT_EQ(said, "bramblehoof: " + fifo + ": not a regular file; no controller mappings read\n");

    EXPECT_EQ(load(scratch.file("missing.txt")), "") << "no file is no problem";
    EXPECT_EQ(SDL_GameControllerNumMappings(), before);
}

}  // namespace
