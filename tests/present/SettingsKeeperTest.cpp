#include "present/SettingsKeeper.h"

#include "TestSupport.h"
#include "persist/FileIO.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <sstream>
#include <string>

namespace {

// A keeper over the game's window (SDL's dummy one), a sound never opened and the settings of a
// scratch folder's config/.
class SettingsKeeperTest : public testing::Test {
protected:
    void SetUp() override {
        std::ostringstream problems;
        settings.load(problems);
        ASSERT_EQ(problems.str(), "");
        game.window = sdl.window;
    }
    void TearDown() override { game.window = nullptr; }  // the session's to destroy

    std::string written() const { return testsupport::readFile(settings.file(Settings::kFileName)); }
    bool kept(const std::string& line) const { return written().find(line + "\n") != std::string::npos; }
    void forget() const { std::remove(settings.file(Settings::kFileName).c_str()); }

    testsupport::SdlSession sdl;
    testsupport::ScratchDir scratch;
    Settings settings;
    Sound sound;
    Game game;
    SettingsKeeper keeper{settings, sound};
};

// The mute the player toggles is written at once; what the options set themselves is theirs to
// write, and is not taken for a toggle afterwards: written when they close, or at the latest when
// the process ends.
TEST_F(SettingsKeeperTest, AToggleIsWrittenAtOnceAndWhatTheOptionsAppliedIsNoToggle) {
    keeper.start(game);
    keeper.keepToggles(game, false);
    EXPECT_FALSE(testsupport::fileExists(settings.file(Settings::kFileName))) << "nothing toggled, nothing written";

    sound.setMuted(true);  // M
    keeper.keepToggles(game, false);
    EXPECT_TRUE(settings.muted);
    EXPECT_TRUE(kept("mute = on")) << written();

    settings.muted = false;  // the options' Mute row
    sound.setMuted(false);
    keeper.applied(game);
    forget();
    keeper.keepToggles(game, false);
    EXPECT_FALSE(testsupport::fileExists(settings.file(Settings::kFileName)));
    EXPECT_FALSE(settings.muted);
    keeper.keepToggles(game, true);
    EXPECT_TRUE(kept("mute = off")) << "the options' change, not yet written";
    forget();
    keeper.keepToggles(game, true);
    EXPECT_FALSE(testsupport::fileExists(settings.file(Settings::kFileName))) << "nothing left to write";
}

// A window dragged to a new size is written once, when the process ends, never smaller than the
// least a file may ask for; an end with nothing new writes nothing.
TEST_F(SettingsKeeperTest, ANewWindowSizeWaitsForTheEndAndIsNeverBelowTheLeast) {
    keeper.start(game);
    SDL_SetWindowSize(sdl.window, 700, 500);
    keeper.keepToggles(game, false);
    SDL_SetWindowSize(sdl.window, 200, 100);
    keeper.keepToggles(game, false);
    EXPECT_FALSE(testsupport::fileExists(settings.file(Settings::kFileName))) << "not at each step of a drag";
    keeper.keepToggles(game, true);
    EXPECT_TRUE(kept("width = " + std::to_string(Settings::kMinWindowWidth))) << written();
    EXPECT_TRUE(kept("height = " + std::to_string(Settings::kMinWindowHeight)));

    forget();
    keeper.keepToggles(game, true);
    EXPECT_FALSE(testsupport::fileExists(settings.file(Settings::kFileName))) << "the size was written already";

    // A toggle writes the size dragged before it too, and the end then has nothing left to write.
    SDL_SetWindowSize(sdl.window, 900, 650);
    keeper.keepToggles(game, false);
    sound.setMuted(true);
    keeper.keepToggles(game, false);
    EXPECT_TRUE(kept("width = 900")) << written();
    forget();
    keeper.keepToggles(game, true);
    EXPECT_FALSE(testsupport::fileExists(settings.file(Settings::kFileName)));
}

// Settings that cannot be written are said each time a write fails, and the game goes on with
// what the player chose.
TEST_F(SettingsKeeperTest, AFileThatCannotBeWrittenIsSaidEachTime) {
    testsupport::writeFile("config", "a file where the settings' folder would be");
    keeper.start(game);
    testing::internal::CaptureStderr();
    for (const bool muted : {true, false, true}) {
        sound.setMuted(muted);
        keeper.keepToggles(game, false);
        EXPECT_EQ(settings.muted, muted);
    }
    keeper.save();
    const std::string said = testing::internal::GetCapturedStderr();
    // Muted, unmuted (as the file has it: nothing to write), muted, then the mute still unwritten.
    // The file in the folder's way is named, not the lock the game could not make beyond it.
    const std::string line =
        "bramblehoof: settings.ini not written: " + settings.folder.substr(0, settings.folder.rfind('/')) +
        " is a file, not a folder\n";
    EXPECT_EQ(said, line + line + line);
}

// A file renamed into place whose folder could not be flushed is there, but a crash may undo it:
// said so, not "not written".
TEST_F(SettingsKeeperTest, AWriteWhoseFolderFlushFailedSaysItWasWritten) {
    keeper.start(game);
    FileIO::beforeStep = [](FileIO::Step step, const std::string&) {
        return step == FileIO::Step::SyncFolder ? EIO : 0;
    };
    testing::internal::CaptureStderr();
    sound.setMuted(true);
    keeper.keepToggles(game, false);
    FileIO::beforeStep = nullptr;
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(kept("mute = on")) << written();
    EXPECT_EQ(said, "bramblehoof: settings.ini written, but a crash may still undo it: " + settings.folder +
                        ": Input/output error\n");
}

// A window resized and closed writes its size alone: what the player wrote by hand meanwhile stays.
TEST_F(SettingsKeeperTest, AResizeAtTheEndKeepsAHandEditMadeMeanwhile) {
    keeper.start(game);
    sound.setMuted(true);
    keeper.keepToggles(game, false);
    ASSERT_TRUE(kept("music = 10")) << written();
    std::string text = written();
    text.replace(text.find("music = 10"), 10, "music = 3");
    text.replace(text.find("mute = on"), 9, "mute = on ; evenings");
    testsupport::writeFile(settings.file(Settings::kFileName), text);
    SDL_SetWindowSize(sdl.window, 700, 500);
    keeper.keepToggles(game, true);
    EXPECT_TRUE(kept("music = 3")) << written();
    EXPECT_TRUE(kept("mute = on ; evenings")) << written();
    EXPECT_TRUE(kept("width = 700")) << written();
    EXPECT_EQ(settings.musicVolume, 10) << "the game goes on with what it read";
}

}  // namespace
