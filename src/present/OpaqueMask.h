#pragma once

#include <SDL.h>

#include <array>
#include <utility>
#include <vector>

// Which pixels of a picture are not fully transparent, so that a drawing of part of it can leave
// out its empty margins: a blended pixel that is fully transparent changes nothing, and a real
// window's driver pays for every pixel it blends.
class OpaqueMask {
public:
    // Reads the picture's alpha; a picture without alpha is opaque everywhere.
    explicit OpaqueMask(SDL_Surface* picture);

    // The smallest part of src that holds every pixel of it that is not fully transparent; empty
    // (w and h 0) when it holds none.
    SDL_Rect box(const SDL_Rect& src);

    // Where the same picture's pixels lie in the play atlas (Render::atlas); w 0 when they are not
    // there and the picture is drawn from its own texture.
    SDL_Rect inAtlas{0, 0, 0, 0};
    // Where its frames lie in the play atlas scaled to the size they are drawn at (frame by frame
    // pixels drawn as drawn), for a renderer that scales on the processor; w 0 when they are not.
    SDL_Rect scaledInAtlas{0, 0, 0, 0};
    SDL_Point frame{0, 0};
    SDL_Point drawn{0, 0};

private:
    int w = 0;  // the picture's size
    int h = 0;
    std::vector<Uint8> opaque;  // 1 per pixel that is not fully transparent, row by row
    // Each part asked for so far and its box, sorted by part: one run of memory, since a frame's
    // clear and present have pushed everything else out of the cache by the next ask.
    std::vector<std::pair<std::array<int, 4>, SDL_Rect>> boxes;
};
