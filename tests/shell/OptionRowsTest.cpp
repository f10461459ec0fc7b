#include "ShellFixture.h"

#include "persist/FileIO.h"
#include "present/OptionRows.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The options over the pause panel, played with keys, clicks at the rows' places and the wheel;
// every change is heard or seen at once and kept in settings.ini.
class OptionRowsTest : public ShellTest {
protected:
    void SetUp() override {
        // The disk driver opens the mixer where no sound card is, so the click is started.
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", scratch.file("audio.raw").c_str(), 1);
        ShellTest::SetUp();
        optionsOverThePause();
    }
    void TearDown() override {
        ShellTest::TearDown();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        unsetenv("SDL_DISKAUDIOFILE");
    }

    void frame() {
        traced([&] { shell->frame(); });
    }
    bool pass() { return shell->pausePass(); }

    // A click on a row's left or right half, well inside it.
    void clickRow(const std::string& label, bool right) {
        const SDL_Rect area = options().lineArea(optionRow(label));
        testsupport::pushClick(right ? area.x + area.w - 40 : area.x + 40, area.y + area.h / 2);
    }
    void pointAt(const std::string& label) {
        const SDL_Rect area = options().lineArea(optionRow(label));
        SDL_Event event{};
        event.type = SDL_MOUSEMOTION;
        event.motion.x = area.x + 40;
        event.motion.y = area.y + area.h / 2;
        SDL_PushEvent(&event);
    }
    static void pushWheel(int y) {
        SDL_Event event{};
        event.type = SDL_MOUSEWHEEL;
        event.wheel.y = y;
        SDL_PushEvent(&event);
    }
    // Up or Down from the row chosen now to the row labelled so.
    void keysTo(const std::string& label) {
        const std::size_t to = optionRow(label);
        for (std::size_t at = options().chosen(); at != to; at += at < to ? 1 : -1) {
            testsupport::pushKeyDown(at < to ? SDLK_DOWN : SDLK_UP);
        }
    }
    bool fileSays(const std::string& line) const {
        return ("\n" + testsupport::readFile(shell->settings.file(Settings::kFileName))).find("\n" + line + "\n") !=
               std::string::npos;
    }
    int clicks() const { return shell->sound.timesPlayed(Sound::Effect::Click); }
};

TEST_F(OptionRowsTest, TheRowsAreTheTablesShownSettingsInItsOrderWithControlsLast) {
    const std::vector<std::string> labels = {"Music volume", "Effects volume", "Mute", "Fullscreen", "Reduced motion"};
    std::size_t after = 0;
    for (const std::string& label : labels) {
        const std::size_t row = options().rowNamed(label);
        EXPECT_LT(row, options().lines()) << label;
        EXPECT_TRUE(row == 0 || row > after) << label << " in the table's order";
        after = row;
    }
    EXPECT_EQ(options().rowNamed(OptionRows::kControls), options().lines() - 2) << "last before Back";
    EXPECT_EQ(options().valueOf(optionRow("Music volume")), "10");
    EXPECT_EQ(options().valueOf(optionRow("Mute")), "off");
    EXPECT_EQ(options().valueOf(optionRow(OptionRows::kControls)), ">");
}

TEST_F(OptionRowsTest, KeysClicksAndTheWheelChangeEachSettingWhichActsAtOnceAndIsWritten) {
    ASSERT_TRUE(shell->sound.isOpen());
    const int before = clicks();
    keysTo("Music volume");
    testsupport::pushKeyDown(SDLK_LEFT);
    ASSERT_TRUE(pass());
    EXPECT_EQ(shell->settings.musicVolume, 9);
    EXPECT_FALSE(fileSays("music = 9")) << "written when the options close, not at each step";
    EXPECT_EQ(clicks(), before) << "the music changes silently";

    clickRow("Effects volume", false);
    ASSERT_TRUE(pass());
    EXPECT_EQ(shell->settings.effectsVolume, 9) << "a click on its left half lowers it";
    EXPECT_EQ(clicks(), before + 1) << "the effects' new level is heard as a click";
    clickRow("Effects volume", true);
    ASSERT_TRUE(pass());
    EXPECT_EQ(shell->settings.effectsVolume, 10);
    EXPECT_EQ(clicks(), before + 2);

    pointAt("Mute");
    pushWheel(1);
    ASSERT_TRUE(pass());
    EXPECT_TRUE(shell->settings.muted);
    EXPECT_TRUE(shell->sound.isMuted()) << "heard at once";
    EXPECT_EQ(options().valueOf(optionRow("Mute")), "on");
    shell->sound.setMuted(false);  // as M does, unseen by the options yet
    EXPECT_EQ(options().valueOf(optionRow("Mute")), "off") << "the row shows what is heard";

    clickRow("Reduced motion", true);
    ASSERT_TRUE(pass());
    EXPECT_TRUE(shell->settings.reducedMotion) << "a click flips a switch";

    keysTo("Fullscreen");
    testsupport::pushKeyDown(SDLK_RETURN);
    ASSERT_TRUE(pass());
    EXPECT_TRUE(shell->settings.fullscreen);
    EXPECT_EQ(clicks(), before + 2) << "only the effects click";

    keysTo(OptionsScreen::kBack);
    testsupport::pushKeyDown(SDLK_RETURN);
    EXPECT_TRUE(pass()) << "Back returns to the pause panel";
    EXPECT_EQ(shell->screens.top(), &shell->playing->pausePanel()) << "the options are done, and gone";
    for (const char* line : {"music = 9", "effects = 10", "mute = off", "fullscreen = on", "reduced_motion = on"}) {
        EXPECT_TRUE(fileSays(line)) << line << " kept as the options close";
    }
    EXPECT_TRUE(fileSays("width = 1080")) << "what the options do not show stays";
}

// The fullscreen row switches the window itself, at once, both ways; the row shows what the window
// is, so a setting written but not applied would read "off" on the row.
TEST_F(OptionRowsTest, TheFullscreenRowSwitchesTheWindowAtOnceBothWays) {
    const auto windowFullscreen = [] {
        return (SDL_GetWindowFlags(game->window) & SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN_DESKTOP;
    };
    ASSERT_FALSE(windowFullscreen());
    testing::internal::CaptureStderr();
    keysTo("Fullscreen");
    testsupport::pushKeyDown(SDLK_RETURN);
    ASSERT_TRUE(pass());
    EXPECT_TRUE(windowFullscreen()) << "the window covers the screen before the options close";
    EXPECT_EQ(options().valueOf(optionRow("Fullscreen")), "on");
    clickRow("Fullscreen", false);
    ASSERT_TRUE(pass());
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(windowFullscreen()) << "and a click gives the window back";
    EXPECT_EQ(options().valueOf(optionRow("Fullscreen")), "off");
    EXPECT_EQ(said, "bramblehoof: fullscreen on\nbramblehoof: fullscreen off\n");
    testsupport::pushKeyDown(SDLK_RETURN);
    keysTo(OptionsScreen::kBack);
    testsupport::pushKeyDown(SDLK_RETURN);
    testing::internal::CaptureStderr();
    ASSERT_TRUE(pass());
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(windowFullscreen()) << "it stays so once the options close";
    EXPECT_TRUE(fileSays("fullscreen = on"));
}

// Many wheel steps and rebindings are one write each screen, as it closes: none while the player
// turns the wheel.
TEST_F(OptionRowsTest, TheOptionsAndTheControlsAreWrittenOnceAsEachCloses) {
    int writes = 0;
    FileIO::beforeStep = [&writes](FileIO::Step step, const std::string&) {
        writes += step == FileIO::Step::Rename ? 1 : 0;
        return 0;
    };
    pointAt("Music volume");
    for (int step = 0; step < 40; ++step) {
        pushWheel(step == 10 || step == 20 ? 1 : -1);
    }
    ASSERT_TRUE(pass());
    EXPECT_EQ(shell->settings.musicVolume, 0);
    EXPECT_EQ(writes, 0);
    keysTo(OptionRows::kControls);
    testsupport::pushKeyDown(SDLK_RETURN);
    ASSERT_TRUE(pass());
    for (const SDL_Keycode key : {SDLK_i, SDLK_k, SDLK_SEMICOLON}) {
        testsupport::pushKeyDown(SDLK_RETURN);  // Up waits
        testsupport::pushKeyDown(key);
    }
    ASSERT_TRUE(pass());
    EXPECT_EQ(shell->settings.keys.keysOf(KeyBindings::Action::Up),
              (std::vector<SDL_Keycode>{SDLK_SEMICOLON, SDLK_UP}));
    EXPECT_EQ(writes, 0);
    testsupport::pushKeyDown(SDLK_ESCAPE);  // the controls close
    ASSERT_TRUE(pass());
    EXPECT_EQ(writes, 1);
    EXPECT_TRUE(fileSays("music = 0"));
    EXPECT_TRUE(fileSays("up = \"\\;\", \"Up\"")) << testsupport::readFile(shell->settings.file(Settings::kFileName));
    testsupport::pushKeyDown(SDLK_ESCAPE);  // the options close: nothing more to write
    ASSERT_TRUE(pass());
    EXPECT_EQ(writes, 1);
    FileIO::beforeStep = nullptr;
}

// A table with more shown settings than the game has: each becomes a row before Controls, bound
// to its member, and a change tells its own row of the table.
TEST(OptionRows, EveryLabelledRowOfATableBecomesARowBoundToItsMember) {
    std::vector<Settings::Row> table = Settings::table();
    table.push_back(Settings::Row{"play", "extra", Settings::Kind::Switch, 0, 1, 0, nullptr, &Settings::reducedMotion,
                                  KeyBindings::Action::None, "Extra switch", Settings::Acts::Nothing, true});
    table.push_back(Settings::Row{"play", "count", Settings::Kind::Number, 2, 5, 3, &Settings::windowWidth, nullptr,
                                  KeyBindings::Action::None, "A count"});
    Settings settings;
    settings.windowWidth = 5;
    OptionsScreen game;
    game.open(nullptr, nullptr, OptionRows::of(settings, {}));
    const std::size_t extra = game.rowNamed(OptionRows::kControls);  // where the game's rows end
    std::vector<const Settings::Row*> told;
    OptionRows::Hooks hooks;
    hooks.changed = [&](const Settings::Row& row) { told.push_back(&row); };
    OptionsScreen screen;
    screen.open(nullptr, nullptr, OptionRows::of(settings, hooks, table));
    ASSERT_EQ(screen.lines(), game.lines() + 2) << "two rows more";
    EXPECT_EQ(screen.rowNamed("Extra switch"), extra);
    EXPECT_EQ(screen.rowNamed("A count"), extra + 1);
    EXPECT_EQ(screen.rowNamed(OptionRows::kControls), extra + 2);

    for (std::size_t i = 0; i < extra; ++i) {
        screen.take([] {
            SDL_Event down{};
            down.type = SDL_KEYDOWN;
            down.key.keysym.sym = SDLK_DOWN;
            return down;
        }());
    }
    SDL_Event enter{};
    enter.type = SDL_KEYDOWN;
    enter.key.keysym.sym = SDLK_RETURN;
    screen.take(enter);
    EXPECT_TRUE(settings.reducedMotion);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0], &table[table.size() - 2]);

    // The count's row, as a player brings it into view: the rows past what the panel holds scroll.
    SDL_Event down{};
    down.type = SDL_KEYDOWN;
    down.key.keysym.sym = SDLK_DOWN;
    screen.take(down);
    const SDL_Rect count = screen.lineArea(extra + 1);
    SDL_Event click{};
    click.type = SDL_MOUSEBUTTONDOWN;
    click.button.x = count.x + count.w - 40;
    click.button.y = count.y + count.h / 2;
    screen.take(click);
    EXPECT_EQ(settings.windowWidth, 5) << "already at its highest";
    click.button.x = count.x + 40;
    screen.take(click);
    EXPECT_EQ(settings.windowWidth, 4);
    EXPECT_EQ(screen.valueOf(extra + 1), "4");
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(told[1], &table.back());
}

}  // namespace

namespace {

std::vector<Uint32> readPicture() {
    std::vector<Uint32> pixels(1080u * 720u);
    SDL_RenderReadPixels(Render::renderer, nullptr, SDL_PIXELFORMAT_RGBA8888, pixels.data(), 1080 * 4);
    return pixels;
}

bool inside(const SDL_Rect& box, int x, int y) {
    return x >= box.x && x < box.x + box.w && y >= box.y && y < box.y + box.h;
}

}  // namespace

// The options opened over the pause panel hide it: inside their panel the picture is the options'
// own, as over anything else, and around it not a pixel of the pause panel or its lines shows.
TEST_F(OptionRowsTest, TheOptionsOverThePausePanelHideItsPanelAndEveryLineOfIt) {
    const std::vector<Uint32> shownNow = readPicture();
    const SDL_Rect panel = options().panel();

    // The options drawn alone, over a plain picture unlike the paused one.
    SDL_SetRenderDrawColor(Render::renderer, 0, 90, 200, 255);
    SDL_RenderClear(Render::renderer);
    options().draw(Render::renderer);
    const std::vector<Uint32> alone = readPicture();
    int throughPanel = 0;
    for (int y = panel.y; y < panel.y + panel.h; ++y) {
        for (int x = panel.x; x < panel.x + panel.w; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * 1080 + static_cast<std::size_t>(x);
            throughPanel += shownNow[at] != alone[at] ? 1 : 0;
        }
    }
    EXPECT_EQ(throughPanel, 0) << "pixels of the options' panel that show what stands under it";

    // The pause panel's colour and its light letters, anywhere around the options.
    constexpr Uint32 kPauseColour = 0x28160AFFu;  // the card's panel, opaque
    constexpr Uint32 kLetters = 0xFFECC8FFu;      // its lines
    int pausePixels = 0;
    int letterPixels = 0;
    for (int y = 0; y < 720; ++y) {
        for (int x = 0; x < 1080; ++x) {
            if (inside(panel, x, y)) {
                continue;
            }
            const Uint32 pixel = shownNow[static_cast<std::size_t>(y) * 1080 + static_cast<std::size_t>(x)];
            pausePixels += pixel == kPauseColour ? 1 : 0;
            letterPixels += pixel == kLetters ? 1 : 0;
        }
    }
    EXPECT_EQ(pausePixels, 0) << "the pause panel shows around the options";
    EXPECT_EQ(letterPixels, 0) << "a line of the pause panel runs out past the options";

    // Back on the pause panel, it is whole again.
    testsupport::pushKeyDown(SDLK_ESCAPE);
    ASSERT_TRUE(pass());
    const std::vector<Uint32> pause = readPicture();
    EXPECT_GT(std::count(pause.begin(), pause.end(), kPauseColour), 100000) << "the pause panel is back";
    EXPECT_GT(std::count(pause.begin(), pause.end(), kLetters), 1000) << "with its lines";
}
