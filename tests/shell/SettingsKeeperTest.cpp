#include "ShellFixture.h"

#include <string>
#include <sys/stat.h>

namespace {

// A game started with a settings file of a smaller window, muted.
class SettingsKeeperInAGame : public ShellTest {
protected:
    void SetUp() override {
        mkdir("config", 0755);
        mkdir("config/bramblehoof", 0755);
        testsupport::writeFile("config/bramblehoof/settings.ini",
                               "[window]\nwidth = 800\nheight = 600\n[sound]\nmute = on\nmusic = 4\n");
        setenv("SDL_AUDIODRIVER", "dummy", 1);  // a mixer that opens and plays nowhere
        ShellTest::SetUp();
    }
};

// What the player toggles with keys, and the window's size, are the next start's settings too.
TEST_F(SettingsKeeperInAGame, MuteAndTheWindowsSizeChangedInPlayAreThereAtTheNextStart) {
    const std::string path = "config/bramblehoof/settings.ini";
    startNewGame();
    testsupport::pushKeyDown(SDLK_m);
    traced([&] { shell->frame(); });
    ASSERT_FALSE(shell->sound.isMuted());
    EXPECT_NE(testsupport::readFile(path).find("mute = off"), std::string::npos) << "written at once";
    SDL_SetWindowSize(game->window, 900, 650);
    traced([&] { shell->frame(); });
    EXPECT_NE(testsupport::readFile(path).find("width = 800"), std::string::npos) << "a size waits for the end";
    testsupport::pushQuit();
    traced([&] {
        shell->frame();
        shell->endOfRun();
    });
    EXPECT_NE(testsupport::readFile(path).find("width = 900\nheight = 650"), std::string::npos)
        << testsupport::readFile(path);

    shell = std::make_unique<Shell>();
    shell->pacer.enabled = false;
    bool started = false;
    traced([&] { started = shell->startUp(); });
    ASSERT_TRUE(started);
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(game->window, &w, &h);
    EXPECT_EQ(w, 900);
    EXPECT_EQ(h, 650);
    EXPECT_FALSE(shell->sound.isMuted());
}

}  // namespace
