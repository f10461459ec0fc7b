#pragma once

#include "TestSupport.h"

#include "present/Render.h"
#include "world/Enemy.h"
#include "world/Farm.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// Rectangles compared and printed whole, so a failure shows all four numbers.
inline bool operator==(const SDL_Rect& a, const SDL_Rect& b) {
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}
inline void PrintTo(const SDL_Rect& r, std::ostream* out) {
    *out << "{" << r.x << ", " << r.y << ", " << r.w << ", " << r.h << "}";
}

namespace worldtest {

// The scratch folder's images/ replaced by a folder of our own, so each test decides which pictures
// exist (none unless it writes them) whatever the repository's images/ holds.
class PictureFolder {
public:
    explicit PictureFolder(const testsupport::ScratchDir& scratch) : root(scratch.path()) {
        unlink((root + "/images").c_str());
        mkdir((root + "/images").c_str(), 0755);
        mkdir((root + "/images/sprites").c_str(), 0755);
    }

    // Writes a plain w by h PNG at images/<relative>.
    void add(const std::string& relative, int w, int h) {
        SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGBA32);
        ASSERT_NE(surface, nullptr);
        SDL_FillRect(surface, nullptr, SDL_MapRGBA(surface->format, 90, 60, 30, 255));
        EXPECT_EQ(IMG_SavePNG(surface, (root + "/images/" + relative).c_str()), 0);
        SDL_FreeSurface(surface);
    }

private:
    std::string root;
};

// A scratch folder with no pictures, SDL on the dummy driver, and the shared flags reset.
class WorldTest : public ::testing::Test {
protected:
    void SetUp() override {
        Render::isRunning = true;
        Enemy::isAngry = false;
        Farm::isHere = 0;
    }

    testsupport::ScratchDir scratch;
    PictureFolder pictures{scratch};
    testsupport::SdlSession sdl;
};

// A w by h texture whose four quadrants have different colours (see kTopLeft etc.).
constexpr uint32_t kTopLeft = 0xFF0000FF;      // RGBA8888: red
constexpr uint32_t kTopRight = 0x00FF00FF;     // green
constexpr uint32_t kBottomLeft = 0x0000FFFF;   // blue
constexpr uint32_t kBottomRight = 0xFFFFFFFF;  // white

inline SDL_Texture* quadrantTexture(int w, int h) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGBA8888);
    if (surface == nullptr) {
        return nullptr;
    }
    const SDL_Rect quarters[4] = {{0, 0, w / 2, h / 2},
                                  {w / 2, 0, w - w / 2, h / 2},
                                  {0, h / 2, w / 2, h - h / 2},
                                  {w / 2, h / 2, w - w / 2, h - h / 2}};
    const uint32_t colours[4] = {kTopLeft, kTopRight, kBottomLeft, kBottomRight};
    for (int i = 0; i < 4; ++i) {
        SDL_FillRect(surface, &quarters[i], colours[i]);
    }
    SDL_Texture* texture = SDL_CreateTextureFromSurface(Render::renderer, surface);
    SDL_FreeSurface(surface);
    return texture;
}

inline uint32_t pixelAt(int x, int y) {
    uint32_t pixel = 0;
    const SDL_Rect one{x, y, 1, 1};
    SDL_RenderReadPixels(Render::renderer, &one, SDL_PIXELFORMAT_RGBA8888, &pixel, sizeof pixel);
    return pixel;
}

inline bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace worldtest
