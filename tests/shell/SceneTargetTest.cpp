#include "ShellFixture.h"

#include "present/SceneTarget.h"

#include <cmath>

// A window larger than the picture, on the software renderer: the picture is drawn at its own
// size and scaled whole when shown. What the player sees there is read from the window's own
// pixels after the present, as the display takes them.
namespace {

Uint64 stoppedClock() { return 0; }  // the name cursor never blinks between two pictures

// The window's pixels as the last present left them, 0xRRGGBB.
struct Shown {
    int w = 0;
    int h = 0;
    std::vector<Uint32> pixels;
    Uint32 at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * w + x]; }
};

Shown shownIn(SDL_Window* window) {
    Shown shown;
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    SDL_Surface* argb = surface != nullptr ? SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_ARGB8888, 0) : nullptr;
    if (argb == nullptr) {
        ADD_FAILURE() << "no window picture: " << SDL_GetError();
        return shown;
    }
    shown.w = argb->w;
    shown.h = argb->h;
    for (int y = 0; y < argb->h; ++y) {
        const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(argb->pixels) + y * argb->pitch);
        for (int x = 0; x < argb->w; ++x) {
            shown.pixels.push_back(row[x] & 0xFFFFFFu);
        }
    }
    SDL_FreeSurface(argb);
    return shown;
}

// Two colours alike but for the rounding of a blend: SDL blends a scaled drawing with other code
// than an unscaled one, which may round each channel by a step or two otherwise.
bool alike(Uint32 a, Uint32 b) {
    for (const int shift : {16, 8, 0}) {
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 3) {
            return false;
        }
    }
    return true;
}

class SceneTargetTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        shell->mainMenu.menuRedraw.clock = &stoppedClock;
    }

    // Two menu passes, each with something for the menu to take and draw after.
    void drawMenu() {
        for (int pass = 0; pass < 2; ++pass) {
            testsupport::pushKeyUp(SDLK_UP);
            traced([&] { shell->menuPass(); });
        }
    }

    // Menu passes enough to take what waits: the button takes one event a pass.
    void passes(int n) {
        for (int pass = 0; pass < n; ++pass) {
            traced([&] { shell->menuPass(); });
        }
    }

    // The menu as the player sees it once the window is w by h.
    Shown menuAt(int w, int h) {
        SDL_SetWindowSize(game->window, w, h);
        drawMenu();
        return shownIn(game->window);
    }

    // The same menu drawn as before the picture was scaled whole: each drawing scaled on its own.
    Shown menuDrawnEachScaled() {
        Render::scene->release();
        std::unique_ptr<SceneTarget> kept = std::move(Render::scene);
        drawMenu();
        const Shown shown = shownIn(game->window);
        Render::scene = std::move(kept);
        Render::scene->follow();
        return shown;
    }

    // Where the picture's point (x, y) is in a window of w by h: scaled to fit, bars on two sides.
    static SDL_Point inWindow(int w, int h, double x, double y) {
        const double scale = std::min(w / 1080.0, h / 720.0);
        return SDL_Point{static_cast<int>((w - 1080 * scale) / 2 + x * scale),
                         static_cast<int>((h - 720 * scale) / 2 + y * scale)};
    }

    // A mouse event of the window at window pixel at, as SDL reports a player's mouse.
    void pushMouse(Uint32 type, SDL_Point at) {
        SDL_Event event{};
        event.type = type;
        if (type == SDL_MOUSEMOTION) {
            event.motion.windowID = SDL_GetWindowID(game->window);
            event.motion.x = at.x;
            event.motion.y = at.y;
            event.motion.xrel = 2;  // moved by the player, not a window change under a resting pointer
        } else {
            event.button.windowID = SDL_GetWindowID(game->window);
            event.button.button = SDL_BUTTON_LEFT;
            event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
            event.button.clicks = 1;
            event.button.x = at.x;
            event.button.y = at.y;
        }
        SDL_PushEvent(&event);
    }

    // The middle of the menu's entry, in the picture.
    SDL_Point middleOf(std::size_t entry) const {
        const SDL_Rect at = shell->mainMenu.menuPositions[entry];
        const SDL_Rect size = shell->mainMenu.menuSizes[entry];
        return SDL_Point{at.x + size.w / 2, at.y + size.h / 2};
    }
};

// At a whole factor every picture pixel is a square of window pixels, the picture the 1080 by 720
// window shows, centred between black bars; the window drawn straight again once it is no
// larger than the picture.
TEST_F(SceneTargetTest, AWholeFactorShowsThePictureOfTheSmallWindowInSquares) {
    const Shown small = menuAt(1080, 720);
    ASSERT_EQ(small.w, 1080);
    ASSERT_NE(Render::scene, nullptr) << "the software renderer has its picture to scale";
    EXPECT_FALSE(Render::scene->active()) << "the picture's own size is drawn straight into the window";

    for (const SDL_Point size : {SDL_Point{2160, 1440}, SDL_Point{2160, 1600}, SDL_Point{3340, 2160}}) {
        const Shown big = menuAt(size.x, size.y);
        ASSERT_EQ(big.w, size.x);
        EXPECT_TRUE(Render::scene->active()) << size.x << " by " << size.y << ": drawn at the picture's size";
        const int factor = size.y / 720;
        const int barX = (size.x - 1080 * factor) / 2;
        const int barY = (size.y - 720 * factor) / 2;
        int wrong = 0;
        int wrongBars = 0;
        for (int y = 0; y < big.h; ++y) {
            for (int x = 0; x < big.w; ++x) {
                const int px = x - barX;
                const int py = y - barY;
                if (px < 0 || py < 0 || px >= 1080 * factor || py >= 720 * factor) {
                    wrongBars += big.at(x, y) != 0 ? 1 : 0;
                } else {
                    wrong += big.at(x, y) != small.at(px / factor, py / factor) ? 1 : 0;
                }
            }
        }
        EXPECT_EQ(wrong, 0) << size.x << " by " << size.y << ": pixels not their picture pixel's";
        EXPECT_EQ(wrongBars, 0) << size.x << " by " << size.y << ": bar pixels not black";
    }

    const Shown again = menuAt(1080, 720);
    EXPECT_FALSE(Render::scene->active());
    EXPECT_TRUE(again.pixels == small.pixels) << "back at 1080 by 720, the same picture";
}

// Between whole factors (1920 by 1080: 1.5) the bars stand where each drawing's own scaling put
// them, and the picture differs from that one only where a drawing's edge is rounded to another
// window pixel: the whole picture is scaled by one rounding, each drawing was scaled by its own.
// So every pixel shown is one of the old picture's within one pixel of the same place, and nearly
// all (98% of the menu's) are the very same; alike, not equal, as blends round apart.
TEST_F(SceneTargetTest, BetweenWholeFactorsThePictureIsTheOneEachDrawingScaledShowed) {
    const Shown whole = menuAt(1920, 1080);
    EXPECT_TRUE(Render::scene->active());
    const Shown each = menuDrawnEachScaled();
    ASSERT_EQ(whole.w, 1920);
    ASSERT_EQ(each.w, 1920);

    int wrongBars = 0;
    int same = 0;
    int far = 0;
    for (int y = 0; y < 1080; ++y) {
        for (int x = 0; x < 1920; ++x) {
            if (x < 150 || x >= 1770) {
                wrongBars += whole.at(x, y) != 0 || each.at(x, y) != 0 ? 1 : 0;
                continue;
            }
            same += alike(whole.at(x, y), each.at(x, y)) ? 1 : 0;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy) {
                for (int dx = -1; dx <= 1 && !near; ++dx) {
                    const int nx = std::clamp(x + dx, 150, 1769);
                    const int ny = std::clamp(y + dy, 0, 1079);
                    near = alike(whole.at(x, y), each.at(nx, ny));
                }
            }
            far += near ? 0 : 1;
        }
    }
    EXPECT_EQ(wrongBars, 0) << "the bars are 150 pixels wide on either side, black";
    // A faint item's see-through strike blends over letters smoothed at the window's size in one
    // picture and at the picture's own in the other: a few dozen pixels along its edges. A smooth
    // whole-picture scale leaves over a hundred thousand.
    EXPECT_LE(far, 1620 * 1080 / 10000)
        << "pixels found nowhere near their place in the picture scaled drawing by drawing";
    EXPECT_GE(same, 1620 * 1080 * 96 / 100) << "of the picture's 1620 by 1080 pixels, so many the very same";
    for (const int x : {150, 1769}) {
        int dark = 0;
        for (int y = 0; y < 1080; ++y) {
            dark += whole.at(x, y) == 0 ? 1 : 0;
        }
        EXPECT_LT(dark, 1080) << "column " << x << " is the picture's, not a bar's";
    }
}

// SDL's own nearest scaling of the picture, into a window of w by h with the logical size's bars:
// what the player saw before the window's pixels were written by our own code.
Shown scaledBySdl(const Shown& picture, int w, int h) {
    Shown out;
    SDL_Surface* from = SDL_CreateRGBSurfaceWithFormat(0, picture.w, picture.h, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_Surface* into = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_Renderer* soft = into != nullptr ? SDL_CreateSoftwareRenderer(into) : nullptr;
    if (from == nullptr || soft == nullptr) {
        ADD_FAILURE() << "no software renderer: " << SDL_GetError();
        return out;
    }
    for (int y = 0; y < picture.h; ++y) {
        auto* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(from->pixels) + y * from->pitch);
        for (int x = 0; x < picture.w; ++x) {
            row[x] = picture.at(x, y) | 0xFF000000u;
        }
    }
    SDL_RenderSetLogicalSize(soft, picture.w, picture.h);
    SDL_SetRenderDrawColor(soft, 0, 0, 0, SDL_ALPHA_OPAQUE);
    SDL_RenderClear(soft);
    SDL_Texture* texture = SDL_CreateTextureFromSurface(soft, from);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
    SDL_RenderCopy(soft, texture, nullptr, nullptr);
    SDL_RenderPresent(soft);
    out.w = w;
    out.h = h;
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(into->pixels) + y * into->pitch);
        for (int x = 0; x < w; ++x) {
            out.pixels.push_back(row[x] & 0xFFFFFFu);
        }
    }
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(soft);
    SDL_FreeSurface(into);
    SDL_FreeSurface(from);
    return out;
}

// Between whole factors the window shows the 1080 by 720 picture exactly as SDL's own nearest
// scaling of it would: the same bars, every window pixel the same picture pixel. Sizes whose
// picture rows and columns repeat unevenly, with the bars beside or above and below, one after
// another (each size's map made anew).
TEST_F(SceneTargetTest, BetweenWholeFactorsEachWindowPixelIsThePixelSdlsNearestScalingPicks) {
    const Shown small = menuAt(1080, 720);
    ASSERT_EQ(small.w, 1080);
    for (const SDL_Point size : {SDL_Point{1920, 1080}, SDL_Point{1300, 1200}, SDL_Point{2501, 1499},
                                 SDL_Point{1920, 1080}, SDL_Point{3839, 2160}}) {
        const Shown big = menuAt(size.x, size.y);
        ASSERT_EQ(big.w, size.x);
        ASSERT_TRUE(Render::scene->active()) << size.x << " by " << size.y;
        const Shown sdl = scaledBySdl(small, size.x, size.y);
        ASSERT_EQ(sdl.pixels.size(), big.pixels.size());
        int wrong = 0;
        SDL_Point first{-1, -1};
        for (int y = 0; y < big.h; ++y) {
            for (int x = 0; x < big.w; ++x) {
                if (big.at(x, y) != sdl.at(x, y)) {
                    first = wrong++ == 0 ? SDL_Point{x, y} : first;
                }
            }
        }
        EXPECT_EQ(wrong, 0) << size.x << " by " << size.y << ": pixels other than SDL's scaling shows, the first at "
                            << first.x << ", " << first.y;
    }
}

// The mouse at real positions in a large window points at the same item as in the picture's own
// size: moving over an item highlights it, a click on SCORE BOARD opens the board.
TEST_F(SceneTargetTest, TheMouseInALargeWindowPointsWhereThePictureShowsTheItem) {
    for (const SDL_Point size : {SDL_Point{2160, 1440}, SDL_Point{1920, 1080}, SDL_Point{1300, 1200}}) {
        menuAt(size.x, size.y);
        ASSERT_TRUE(Render::scene->active()) << size.x << " by " << size.y;
        for (const std::size_t entry : {Button::kOptionsEntry, Button::kReplayEntry, Button::kNewGameEntry}) {
            const SDL_Point middle = middleOf(entry);
            pushMouse(SDL_MOUSEMOTION, inWindow(size.x, size.y, middle.x, middle.y));
            passes(3);
            EXPECT_EQ(button->focus, entry) << size.x << " by " << size.y << ": over entry " << entry;
            EXPECT_TRUE(Render::scene->active());
        }
        // The item's far corner, inside it by a picture pixel, still hits it.
        const SDL_Rect at = shell->mainMenu.menuPositions[Button::kScoreBoardEntry];
        const SDL_Rect sized = shell->mainMenu.menuSizes[Button::kScoreBoardEntry];
        const SDL_Point corner = inWindow(size.x, size.y, at.x + sized.w - 1.5, at.y + sized.h - 1.5);
        pushMouse(SDL_MOUSEMOTION, corner);
        pushMouse(SDL_MOUSEBUTTONDOWN, corner);
        pushMouse(SDL_MOUSEBUTTONUP, corner);
        passes(3);
        EXPECT_TRUE(button->showScores) << size.x << " by " << size.y << ": the click opened the score board";
        testsupport::pushKeyDown(SDLK_ESCAPE);  // closes it again
        testsupport::pushKeyUp(SDLK_ESCAPE);
        passes(3);
        ASSERT_FALSE(button->showScores);
    }
}

}  // namespace
