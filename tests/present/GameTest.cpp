#include "present/Game.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

SDL_Rect heroAt(int x, int y, int w = 70, int h = 70) { return SDL_Rect{x, y, w, h}; }

TEST(Camera, CentresOnTheHeroAndStopsAtTheWorldEdges) {
    Game game;
    EXPECT_EQ(game.getPos().x, 0) << "no camera before the first calculate";
    EXPECT_EQ(game.getPos().y, 0);

    SDL_Rect cam = game.calculate(heroAt(600, 400), false, false);
    EXPECT_EQ(cam.x, 95);
    EXPECT_EQ(cam.y, 75);
    EXPECT_EQ(game.getPos().x, 95) << "calculate stores the camera that getPos returns";
    EXPECT_EQ(game.getPos().y, 75);

    cam = game.calculate(heroAt(0, 0), true, true);
    EXPECT_EQ(cam.x, 0) << "35 - 540 is clamped up";
    EXPECT_EQ(cam.y, 0);

    cam = game.calculate(heroAt(2000, 5000), false, true);
    EXPECT_EQ(cam.x, 1080) << "1495 is clamped down";
    EXPECT_EQ(cam.y, 720);

    cam = game.calculate(heroAt(1080 + 540 - 35, 720 + 360 - 35), false, false);
    EXPECT_EQ(cam.x, 1080) << "exactly the limit stays";
    EXPECT_EQ(cam.y, 720);

    cam = game.calculate(heroAt(-7, -500), false, false);
    EXPECT_EQ(cam.x, 0) << "negative world positions clamp to the origin";
    EXPECT_EQ(cam.y, 0);
}

TEST(Camera, HalvesTruncateAndFlagsNeverMatter) {
    Game game;
    // A width of 65 contributes 32.
    const SDL_Rect hero = heroAt(1000, 900, 65, 65);
    for (int flags = 0; flags < 4; ++flags) {
        const SDL_Rect cam = game.calculate(hero, (flags & 1) != 0, (flags & 2) != 0);
        EXPECT_EQ(cam.x, 1000 + 32 - 540);
        EXPECT_EQ(cam.y, 900 + 32 - 360);
    }
}

TEST(GameInit, OpensTheWindowWithTheTraceAndCleansUp) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    Game game;
    testing::internal::CaptureStdout();
    game.init("Bramblehoof", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 1080, 720, false);
    const std::string trace = testing::internal::GetCapturedStdout();
    // Under the dummy driver only the software renderer exists: the game still gets one.
    EXPECT_EQ(trace, "Inited\nWindow created\nis renderingRender created\n");
    EXPECT_TRUE(game.displayProblem().empty());
    EXPECT_TRUE(Render::isRunning);
    ASSERT_NE(Render::renderer, nullptr);
    ASSERT_NE(game.window, nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(game.window), "Bramblehoof");
    int w = 0, h = 0;
    SDL_GetWindowSize(game.window, &w, &h);
    EXPECT_EQ(w, 1080);
    EXPECT_EQ(h, 720);
    EXPECT_NE(SDL_GetWindowFlags(game.window) & SDL_WINDOW_RESIZABLE, 0u);
    int logicalW = 0, logicalH = 0;
    SDL_RenderGetLogicalSize(Render::renderer, &logicalW, &logicalH);
    EXPECT_EQ(logicalW, 1080);
    EXPECT_EQ(logicalH, 720);

    // F11 and Alt+Enter switch desktop fullscreen on and off; the keys stay queued for whoever
    // reads input next; a held key's repeats and a plain Enter switch nothing.
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    const KeyBindings keys;
    Input input(keys);
    testing::internal::CaptureStderr();
    const auto press = [&](SDL_Keycode key, Uint16 mod, Uint8 repeat) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = key;
        e.key.keysym.mod = mod;
        e.key.repeat = repeat;
        SDL_PushEvent(&e);
        input.pump();
        game.applyWindowKeys(input);
        return (SDL_GetWindowFlags(game.window) & SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN_DESKTOP;
    };
    EXPECT_TRUE(press(SDLK_F11, KMOD_NONE, 0));
    EXPECT_TRUE(press(SDLK_F11, KMOD_NONE, 1));
    EXPECT_TRUE(press(SDLK_RETURN, KMOD_NONE, 0));
    EXPECT_FALSE(press(SDLK_RETURN, KMOD_LALT, 0));
    EXPECT_TRUE(press(SDLK_RETURN, KMOD_RALT, 0));
    EXPECT_FALSE(press(SDLK_F11, KMOD_NONE, 0));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "bramblehoof: fullscreen on\nbramblehoof: fullscreen off\n"
              "bramblehoof: fullscreen on\nbramblehoof: fullscreen off\n");
    SDL_Event queued{};
    int waiting = 0;
    while (input.next(queued)) {
        waiting += queued.type == SDL_KEYDOWN ? 1 : 0;
    }
    EXPECT_EQ(waiting, 6);
    SDL_SetWindowSize(game.window, 1080, 720);

    // Every clear fills the window with the sand colour.
    game.clear();
    Uint8 rgb[4] = {};
    SDL_Rect one{500, 300, 1, 1};
    ASSERT_EQ(SDL_RenderReadPixels(Render::renderer, &one, SDL_PIXELFORMAT_RGBA32, rgb, 4), 0);
    EXPECT_EQ(rgb[0], 242);
    EXPECT_EQ(rgb[1], 196);
    EXPECT_EQ(rgb[2], 111);

    testing::internal::CaptureStdout();
    game.clean();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Game Cleaned\n");
    EXPECT_EQ(Render::renderer, nullptr);
    Render::isRunning = false;
}

TEST(GameInit, RefusesADriverThatShowsNothingUnlessAskedFor) {
    // With no display SDL falls back to offscreen by itself; nobody could click the menu.
    unsetenv("SDL_VIDEODRIVER");
    const char* display = std::getenv("DISPLAY");
    const std::string savedDisplay = display != nullptr ? display : "";
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    Game game;
    testing::internal::CaptureStdout();
    game.init("Bramblehoof", 0, 0, 1080, 720, false);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "nothing is traced when no window can be shown";
    EXPECT_FALSE(game.displayProblem().empty());
    EXPECT_FALSE(Render::isRunning);
    EXPECT_EQ(Render::renderer, nullptr);
    if (!savedDisplay.empty()) {
        setenv("DISPLAY", savedDisplay.c_str(), 1);
    }
    setenv("SDL_VIDEODRIVER", "dummy", 1);
}

}  // namespace

namespace {

// The game's window on the dummy driver, its trace swallowed.
void openHeadless(Game& game) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    testing::internal::CaptureStdout();
    game.init("Bramblehoof", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 1080, 720, false);
    testing::internal::GetCapturedStdout();
}

std::vector<Uint32> windowPixels() {
    std::vector<Uint32> pixels(static_cast<std::size_t>(Game::kWindowW) * Game::kWindowH);
    SDL_RenderReadPixels(Render::renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(), Game::kWindowW * 4);
    return pixels;
}

TEST(Ground, DetailsAloneDrawTheWholeGroundAndItMovesWithTheWorld) {
    testsupport::ScratchDir scratch;
    Game game;
    openHeadless(game);
    ASSERT_NE(Render::renderer, nullptr);
    game.loadGround(Game::kGroundPath);
    ASSERT_NE(game.texture, nullptr);
    // The reference: the view's window of the ground picture itself, copied whole.
    SDL_Texture* whole = Render::LoadPNG(Game::kGroundPath, Render::renderer);
    ASSERT_NE(whole, nullptr);
    SDL_SetTextureBlendMode(whole, SDL_BLENDMODE_NONE);

    // Every view a walk across the field shows, the cheap drawing against the whole copy.
    const Uint32 sand = 0xFFF2C46Fu;
    std::vector<Uint32> previous;
    SDL_Rect previousCam{};
    for (int step = 0; step <= 40; ++step) {
        const SDL_Rect cam{std::min(1080, step * 29), std::min(720, step * 19), 0, 0};
        game.clear();
        const SDL_Rect window{cam.x, cam.y, Game::kWindowW, Game::kWindowH};
        SDL_RenderCopy(Render::renderer, whole, &window, nullptr);
        const std::vector<Uint32> whole = windowPixels();
        game.clear();
        game.drawGround(cam);
        const std::vector<Uint32> cheap = windowPixels();
        int differing = 0;
        int details = 0;
        for (std::size_t i = 0; i < whole.size(); ++i) {
            differing += whole[i] != cheap[i] ? 1 : 0;
            details += cheap[i] != sand ? 1 : 0;
        }
        ASSERT_EQ(differing, 0) << "view at " << cam.x << "," << cam.y;
        EXPECT_GT(details, 500) << "every view shows some ground detail";
        // A ground pixel stays under its world point: what was at window (x, y) is now at
        // (x - dx, y - dy).
        if (!previous.empty()) {
            const int dx = cam.x - previousCam.x;
            const int dy = cam.y - previousCam.y;
            int moved = 0;
            for (int y = 0; y + dy < Game::kWindowH; y += 3) {
                for (int x = 0; x + dx < Game::kWindowW; x += 3) {
                    moved += cheap[static_cast<std::size_t>(y) * Game::kWindowW + x] !=
                                     previous[static_cast<std::size_t>(y + dy) * Game::kWindowW + x + dx]
                                 ? 1
                                 : 0;
                }
            }
            EXPECT_EQ(moved, 0) << "view at " << cam.x << "," << cam.y;
        }
        previous = cheap;
        previousCam = cam;
    }
    SDL_DestroyTexture(whole);
    testing::internal::CaptureStdout();
    game.clean();
    testing::internal::GetCapturedStdout();
    Render::isRunning = false;
}

// The ground's details are cut out against the sand a clear leaves, whatever colour the last
// drawing left set: cut against another colour, every 8-pixel cell of the field was a box of its
// own, start-up spent seconds joining them and each frame drew far more boxes.
TEST(Ground, IsCutAgainstTheSandWhateverColourWasLeftSet) {
    testsupport::ScratchDir scratch;
    Game game;
    openHeadless(game);
    ASSERT_NE(Render::renderer, nullptr);
    game.loadGround(Game::kGroundPath);
    const std::size_t onSand = game.groundBoxes();
    const std::size_t cells = static_cast<std::size_t>(Game::kWorldW / Game::kGroundCell) *
                              static_cast<std::size_t>(Game::kWorldH / Game::kGroundCell);
    EXPECT_GT(onSand, 0u);
    EXPECT_LT(onSand, cells / 20) << "a few hundred boxes of details, not the whole field";

    // A menu's faint bar left its own colour set before the ground was loaded.
    SDL_SetRenderDrawColor(Render::renderer, 220, 200, 160, 80);
    game.loadGround(Game::kGroundPath);
    EXPECT_EQ(game.groundBoxes(), onSand);

    testing::internal::CaptureStdout();
    game.clean();
    testing::internal::GetCapturedStdout();
    Render::isRunning = false;
}

// The renderer follows where OpenGL would be drawn: a graphics device listed (a card or a render
// node) means a graphics card; none, no folder at all, or Mesa told to draw in software means the
// processor would draw it, and SDL's software renderer is the cheaper one.
TEST(Game, DrawsInSoftwareWhereOpenGLWouldBeDrawnByTheProcessor) {
    testsupport::ScratchDir scratch;
    const std::string devices = scratch.file("dri");
    const char* saved = std::getenv("LIBGL_ALWAYS_SOFTWARE");
    const std::string kept = saved != nullptr ? saved : "";
    unsetenv("LIBGL_ALWAYS_SOFTWARE");

    const std::string nvidia = scratch.file("nvidiactl");
    EXPECT_TRUE(Game::openGLInSoftware(devices, nvidia)) << "no device folder";
    ASSERT_EQ(mkdir(devices.c_str(), 0755), 0);
    ASSERT_EQ(mkdir((devices + "/by-path").c_str(), 0755), 0);
    EXPECT_TRUE(Game::openGLInSoftware(devices, nvidia)) << "a folder without a device";
    const auto touch = [](const std::string& path) {
        std::FILE* node = std::fopen(path.c_str(), "w");
        ASSERT_NE(node, nullptr);
        std::fclose(node);
    };
    touch(nvidia);
    EXPECT_FALSE(Game::openGLInSoftware(devices, nvidia)) << "NVIDIA's driver, with no device in the folder";
    touch(devices + "/renderD128");
    EXPECT_FALSE(Game::openGLInSoftware(devices, nvidia + "-gone")) << "a render node";
    setenv("LIBGL_ALWAYS_SOFTWARE", "0", 1);
    EXPECT_FALSE(Game::openGLInSoftware(devices, nvidia)) << "Mesa told nothing by a 0";
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    EXPECT_TRUE(Game::openGLInSoftware(devices, nvidia)) << "Mesa told to draw in software";

    if (saved != nullptr) {
        setenv("LIBGL_ALWAYS_SOFTWARE", kept.c_str(), 1);
    } else {
        unsetenv("LIBGL_ALWAYS_SOFTWARE");
    }
}

}  // namespace
