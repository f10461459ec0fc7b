#pragma once

#include <SDL.h>

#include <string>
#include <vector>

// A PNG from the game's images/ folder, loaded the way the game loads it (IMG_Load) and kept as
// plain RGBA bytes so tests can look at single pixels and regions.
class PictureFile {
public:
    explicit PictureFile(const std::string& relativePath);

    bool loaded() const { return !pixels.empty(); }
    const std::string& loadError() const { return error; }
    int width() const { return w; }
    int height() const { return h; }

    SDL_Color at(int x, int y) const;
    // Pixels with any opacity inside the region.
    int opaqueCount(SDL_Rect region) const;
    // Pixels that differ between two equally sized regions.
    int differingPixels(SDL_Rect a, SDL_Rect b) const;
    bool transparentBlock(int x, int y, int size) const;

private:
    int w = 0;                      // width in pixels
    int h = 0;                      // height in pixels
    std::vector<SDL_Color> pixels;  // row after row
    std::string error;              // why loading failed
};

// The region of one sprite-sheet frame.
SDL_Rect frameRect(int row, int column);
