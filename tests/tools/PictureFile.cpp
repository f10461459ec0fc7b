#include "PictureFile.h"

#include "TestSupport.h"

#include <SDL_image.h>

#include <cstring>

PictureFile::PictureFile(const std::string& relativePath) {
    const std::string path = testsupport::sourceDir() + "/images/" + relativePath;
    SDL_Surface* loadedSurface = IMG_Load(path.c_str());
    if (loadedSurface == nullptr) {
        error = path + ": " + IMG_GetError();
        return;
    }
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loadedSurface, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loadedSurface);
    if (rgba == nullptr) {
        error = path + ": " + SDL_GetError();
        return;
    }
    w = rgba->w;
    h = rgba->h;
    pixels.resize(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        std::memcpy(&pixels[static_cast<size_t>(y) * w], static_cast<const Uint8*>(rgba->pixels) + y * rgba->pitch,
                    static_cast<size_t>(w) * 4);
    }
    SDL_FreeSurface(rgba);
}

SDL_Color PictureFile::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= w || y >= h) {
        return SDL_Color{0, 0, 0, 0};
    }
    return pixels[static_cast<size_t>(y) * w + x];
}

int PictureFile::opaqueCount(SDL_Rect region) const {
    int count = 0;
    for (int y = region.y; y < region.y + region.h; ++y) {
        for (int x = region.x; x < region.x + region.w; ++x) {
            count += at(x, y).a != 0 ? 1 : 0;
        }
    }
    return count;
}

int PictureFile::differingPixels(SDL_Rect a, SDL_Rect b) const {
    int count = 0;
    for (int y = 0; y < a.h; ++y) {
        for (int x = 0; x < a.w; ++x) {
            const SDL_Color p = at(a.x + x, a.y + y);
            const SDL_Color q = at(b.x + x, b.y + y);
            count += (p.r != q.r || p.g != q.g || p.b != q.b || p.a != q.a) ? 1 : 0;
        }
    }
    return count;
}

bool PictureFile::transparentBlock(int x, int y, int size) const {
    for (int yy = y; yy < y + size; ++yy) {
        for (int xx = x; xx < x + size; ++xx) {
            if (at(xx, yy).a != 0) {
                return false;
            }
        }
    }
    return true;
}

SDL_Rect frameRect(int row, int column) { return SDL_Rect{column * 64, row * 64, 64, 64}; }
