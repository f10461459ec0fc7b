#pragma once

#include "ShellFixture.h"

#include <algorithm>
#include <string>
#include <vector>

// A game in play, stepped a frame at a time, and what its window shows.
class PlayTest : public ShellTest {
protected:
    // Steps one frame and returns its trace.
    std::string frame() {
        return traced([&] { shell->frame(); });
    }

    // Moves the hero so that his centre lies at (x, y) in the world.
    static void heroCentreAt(int x, int y) { player->setPos(x - 35, y - 35); }

    // Completes levels 1 and 2 through the hero's counters: the run stands at level 3.
    void toLevelThree() {
        for (const int count : {2, 4}) {
            player->setEnemy(count);
            player->setBull(count);
            frame();
        }
    }

    // The window's picture as the last frame left it, RGBA8888, row by row.
    static std::vector<Uint32> picture() {
        std::vector<Uint32> pixels(1080u * 720u);
        SDL_RenderReadPixels(Render::renderer, nullptr, SDL_PIXELFORMAT_RGBA8888, pixels.data(), 1080 * 4);
        return pixels;
    }

    // Pixels of exactly `colour` inside box.
    static int countIn(const std::vector<Uint32>& pixels, SDL_Rect box, Uint32 colour) {
        int count = 0;
        for (int y = std::max(0, box.y); y < std::min(720, box.y + box.h); ++y) {
            for (int x = std::max(0, box.x); x < std::min(1080, box.x + box.w); ++x) {
                count += pixels[static_cast<std::size_t>(y) * 1080 + x] == colour ? 1 : 0;
            }
        }
        return count;
    }

    // One pixel of the window, RGBA8888.
    static Uint32 pixelAt(int x, int y) {
        Uint32 pixel = 0;
        const SDL_Rect one{x, y, 1, 1};
        SDL_RenderReadPixels(Render::renderer, &one, SDL_PIXELFORMAT_RGBA8888, &pixel, sizeof pixel);
        return pixel;
    }
};
