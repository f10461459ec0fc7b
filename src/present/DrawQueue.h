#pragma once

#include "present/Render.h"

#include <vector>

// Figure drawings held back until flush, so that a drawing a later one covers exactly (same
// picture, same source and destination) can be left out. That changes no pixel as long as the
// pictures have no partly transparent pixel: the later drawing replaces every pixel the earlier
// one set and leaves every other pixel alone, whatever was drawn in between.
class DrawQueue {
public:
    // Leave out drawings that show nothing: covered ones, and (here and in Render::copyTex) those
    // wholly outside the picture. Tests turn it off to compare with every drawing made.
    static bool skipCovered;

    long skipped = 0;  // drawings this queue left out so far

    // Keeps the drawing with the picture's colour tint as it is now.
    void add(Render& figure, SDL_Rect src, SDL_Rect dst);
    // Makes the kept drawings in order, each with its own tint; the pictures keep their tints.
    // Must run before a picture whose drawing is kept is destroyed.
    void flush();

private:
    struct Drawing {
        SDL_Texture* texture = nullptr;
        SDL_Rect src{};
        SDL_Rect dst{};
        Uint8 r = 255;  // colour tint at the time of the drawing
        Uint8 g = 255;
        Uint8 b = 255;
    };
    static bool sameSpot(const Drawing& a, const Drawing& b);

    std::vector<Drawing> drawings;  // keeps its capacity: no allocation once the game runs
};
