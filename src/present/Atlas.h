#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

// One texture holding every picture the playing field draws, so that a pass of drawings can reach
// the driver in one call (SDL_RenderGeometry) instead of one call per picture: a real window's
// software driver pays for every call and every change of texture. The pictures are copied in
// at load time from the very surfaces the game loads, so a picture replaced on disk shows here
// too; a picture already in (the same pixels, loaded again for another entity) is not copied twice.
//
// Both sides are a power of two: a texture coordinate (a pixel position divided by the size) is
// then exact in floating point, and the software renderer, which turns each quad back into a
// copy, finds the very source rectangle again. Each picture is framed by a copy of its own edge
// pixels, so a driver that samples a hair beyond a picture's edge finds what the picture's own
// texture would have given it there.
class Atlas {
public:
    static constexpr int kSize = 2048;  // width and height
    static constexpr Uint32 kFormat = SDL_PIXELFORMAT_ARGB8888;

    // Whether a picture's own texture draws what the atlas draws of it: the same pixel format
    // and blend mode, no tint or alpha of its own at rest.
    static bool drawsAlike(SDL_Texture* texture);

    explicit Atlas(SDL_Renderer* renderer);
    ~Atlas();
    Atlas(const Atlas&) = delete;
    Atlas& operator=(const Atlas&) = delete;

    // Copies picture in unless the same pixels already are, and returns where they lie; empty
    // (w and h 0) when there is no room or no texture can be made: that picture is then drawn
    // from its own texture, as before.
    SDL_Rect add(SDL_Surface* picture);
    // Copies in a sheet of frames, frame by frame pixels each, with every whole frame scaled to
    // drawn as SDL's software renderer scales a drawing (nearest pixel, the same sampling), side
    // by side in the sheet's order; returns where the copy lies, empty as for add. The software
    // renderer scales pixel by pixel on every drawing; from here the drawing is a plain copy.
    SDL_Rect addScaled(SDL_Surface* sheet, SDL_Point frame, SDL_Point drawn);
    // Null until a picture was added.
    SDL_Texture* texture() const { return atlas; }

private:
    struct Held {
        int w = 0;
        int h = 0;
        uint64_t hash = 0;  // of its pixels as ARGB8888
        SDL_Rect place{};
    };
    // The lowest spot along the skyline where a w by h box fits, or x -1 when none does.
    SDL_Point lowestSpot(int w, int h) const;
    bool makeTexture();

    SDL_Renderer* renderer = nullptr;
    SDL_Texture* atlas = nullptr;
    std::vector<int> skyline;  // per column, the first row still free
    std::vector<Held> held;
    bool failed = false;  // the texture could not be made: nothing goes in
};
