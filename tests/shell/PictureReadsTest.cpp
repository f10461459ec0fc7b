#include "ShellFixture.h"

#include <SDL_image.h>

#include <climits>
#include <cstdlib>
#include <map>
#include <mutex>

// Every picture file the game reads passes through one of two calls: IMG_Load, or SDL_LoadFile
// for a picture fetched ahead (PictureFetch, on a thread of its own for the menu's picture). The
// shell tests link with --wrap for both, so that these tests count the reads of each file.
namespace {
std::mutex readsLock;
bool counting = false;
std::map<std::string, int> reads;  // by the file's real path

void countRead(const char* file) {
    if (file == nullptr) {
        return;
    }
    char real[PATH_MAX];
    const std::string path = realpath(file, real) != nullptr ? real : file;
    const std::lock_guard<std::mutex> hold(readsLock);
    if (counting) {
        ++reads[path];
    }
}
}  // namespace

extern "C" SDL_Surface* __real_IMG_Load(const char* file);
extern "C" SDL_Surface* __wrap_IMG_Load(const char* file) {
    countRead(file);
    return __real_IMG_Load(file);
}

extern "C" void* __real_SDL_LoadFile(const char* file, size_t* size);
extern "C" void* __wrap_SDL_LoadFile(const char* file, size_t* size) {
    countRead(file);
    return __real_SDL_LoadFile(file, size);
}

namespace {

class PictureReadsTest : public ShellTest {
protected:
    std::map<std::string, int> startUpReads;

    void SetUp() override {
        startCounting();
        ShellTest::SetUp();
        startUpReads = stopCounting();
    }

    static void startCounting() {
        const std::lock_guard<std::mutex> hold(readsLock);
        reads.clear();
        counting = true;
    }
    static std::map<std::string, int> stopCounting() {
        const std::lock_guard<std::mutex> hold(readsLock);
        counting = false;
        return reads;
    }
    static std::string real(const char* file) {
        char path[PATH_MAX];
        return realpath(file, path) != nullptr ? path : file;
    }
    static int count(const std::map<std::string, int>& of, const char* file) {
        const auto found = of.find(real(file));
        return found != of.end() ? found->second : 0;
    }
};

// The figures' sheets are decoded once, at start-up, and everything that draws them (the figures,
// the white flashes and the ghosts of play's feedback) makes its pictures from that one decoding.
TEST_F(PictureReadsTest, StartUpReadsEachPictureOnceAndARunReadsNoSheetAgain) {
    for (const char* sheet : {Cowboy::kSpritePath, Enemy::kSpritePath, Bull::kSpritePath, Bull::kSpritePath2,
                              Farm::kSpritePath, Arrow::kPicturePath, Menu::kPicture, Game::kGroundPath}) {
        EXPECT_EQ(count(startUpReads, sheet), 1) << sheet;
    }
    for (const auto& [file, times] : startUpReads) {
        EXPECT_EQ(times, 1) << file << " read more than once at start-up";
    }

    startCounting();
    startNewGame();
    for (int frame = 0; frame < 5 && Render::isRunning; ++frame) {
        traced([&] { shell->frame(); });
    }
    const std::map<std::string, int> runReads = stopCounting();
    for (const char* sheet : {Cowboy::kSpritePath, Enemy::kSpritePath, Bull::kSpritePath, Bull::kSpritePath2,
                              Farm::kSpritePath, Arrow::kPicturePath}) {
        EXPECT_EQ(count(runReads, sheet), 0) << sheet << ": the run's spawns take the sheet decoded at start-up";
    }
}

// What play's feedback makes of the sheets it did not read itself: the outlaw's and the hero's
// flashes are their sheets' figures in white, an outlaw's ghost is his sheet as it is.
TEST_F(PictureReadsTest, TheFlashesAndTheGhostAreTheSheetsDecodedAtStartUp) {
    SDL_Renderer* renderer = Render::renderer;
    ASSERT_NE(renderer, nullptr);
    FieldEffects& effects = shell->playFrame.effects;
    effects.reducedMotion = false;
    // Each sheet whole, drawn over black at the window's top left; returns what was drawn, ARGB.
    const auto drawn = [&](SDL_Surface* sheet, const auto& show) {
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        DrawQueue field;
        show(field, SDL_Rect{0, 0, sheet->w, sheet->h});
        field.flush();
        std::vector<Uint32> pixels(static_cast<std::size_t>(sheet->w * sheet->h));
        const SDL_Rect box{0, 0, sheet->w, sheet->h};
        EXPECT_EQ(SDL_RenderReadPixels(renderer, &box, SDL_PIXELFORMAT_ARGB8888, pixels.data(), sheet->w * 4), 0);
        return pixels;
    };
    const auto sheetOf = [](const char* path) {
        const PictureFetch* fetch = PictureFetch::find(path);
        return fetch != nullptr ? SDL_ConvertSurfaceFormat(fetch->picture(), SDL_PIXELFORMAT_ARGB8888, 0) : nullptr;
    };
    const auto at = [](SDL_Surface* sheet, int x, int y) {
        return reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(sheet->pixels) + y * sheet->pitch)[x];
    };
    const Uint32 flashGrey = FieldEffects::kFlashAlpha;  // white at the flash's alpha over black

    for (const char* path : {Enemy::kSpritePath, Cowboy::kSpritePath}) {
        SCOPED_TRACE(path);
        SDL_Surface* sheet = sheetOf(path);
        ASSERT_NE(sheet, nullptr) << "the sheet is held from start-up on";
        const bool outlaw = std::string(path) == Enemy::kSpritePath;
        const std::vector<Uint32> flash = drawn(sheet, [&](DrawQueue& field, SDL_Rect whole) {
            if (outlaw) {
                effects.struck(0, 1, 0);
                effects.outlawShown(field, 0, whole, whole, 5, 5);
            } else {
                effects.heroHurt();
                effects.heroShown(field, whole, whole);
            }
        });
        int shown = 0;
        int wrong = 0;
        for (int y = 0; y < sheet->h; ++y) {
            for (int x = 0; x < sheet->w; ++x) {
                const bool opaque = (at(sheet, x, y) >> 24) == 0xFF;
                const Uint32 got = flash[static_cast<std::size_t>(y * sheet->w + x)] & 0xFFFFFF;
                const Uint32 grey = (flashGrey << 16) | (flashGrey << 8) | flashGrey;
                shown += opaque ? 1 : 0;
                wrong += got != (opaque ? grey : 0u) ? 1 : 0;
            }
        }
        EXPECT_GT(shown, 1000) << "the sheet has figures";
        EXPECT_EQ(wrong, 0) << "pixels of the flash unlike the sheet's figures in white";

        if (outlaw) {
            const std::vector<Uint32> ghost = drawn(sheet, [&](DrawQueue& field, SDL_Rect whole) {
                effects.outlawGone(0, whole, whole, SDL_Point{0, 0});
                effects.addToField(field, SDL_Point{0, 0});
            });
            wrong = 0;
            for (int y = 0; y < sheet->h; ++y) {
                for (int x = 0; x < sheet->w; ++x) {
                    const Uint32 pixel = at(sheet, x, y);
                    const Uint32 want = (pixel >> 24) == 0xFF ? pixel & 0xFFFFFF : 0u;
                    wrong += (ghost[static_cast<std::size_t>(y * sheet->w + x)] & 0xFFFFFF) != want ? 1 : 0;
                }
            }
            EXPECT_EQ(wrong, 0) << "pixels of the fresh ghost unlike the sheet";
        }
        SDL_FreeSurface(sheet);
    }
}

}  // namespace
