#include "present/SettingsKeeper.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
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
// write, and is not taken for a toggle afterwards.
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
    keeper.keepToggles(game, true);
    EXPECT_FALSE(testsupport::fileExists(settings.file(Settings::kFileName)));
    EXPECT_FALSE(settings.muted);
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

// Settings that cannot be written are said once, however often the player toggles, and the game
// goes on with what he chose.
TEST_F(SettingsKeeperTest, AFileThatCannotBeWrittenIsSaidOnce) {
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
    EXPECT_EQ(said.rfind("bramblehoof: settings.ini not written: ", 0), 0u) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

}  // namespace
