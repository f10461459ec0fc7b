#include "present/Atlas.h"

#include <algorithm>

namespace {

uint64_t hashOf(const SDL_Surface* argb) {
    uint64_t hash = 1469598103934665603ULL;  // FNV-1a
    for (int y = 0; y < argb->h; ++y) {
        const Uint8* row = static_cast<const Uint8*>(argb->pixels) + y * argb->pitch;
        for (int i = 0; i < argb->w * 4; ++i) {
            hash = (hash ^ row[i]) * 1099511628211ULL;
        }
    }
    return hash;
}

// A picture in the atlas's format, to be copied unblended (the very pixels, alpha and all): the
// picture itself when it already is in that format without a colour key, else the conversion
// SDL_CreateTextureFromSurface makes (a colour key becomes clear pixels). The caller's picture
// gets its own blend mode back.
class Unblended {
public:
    explicit Unblended(SDL_Surface* picture)
        : picture(picture),
          argb(picture->format->format == Atlas::kFormat && SDL_HasColorKey(picture) == SDL_FALSE
                   ? picture
                   : SDL_ConvertSurfaceFormat(picture, Atlas::kFormat, 0)) {
        if (argb != nullptr) {
            SDL_GetSurfaceBlendMode(argb, &mode);
            SDL_SetSurfaceBlendMode(argb, SDL_BLENDMODE_NONE);
        }
    }
    ~Unblended() {
        if (argb == picture) {
            SDL_SetSurfaceBlendMode(argb, mode);
        } else {
            SDL_FreeSurface(argb);
        }
    }
    Unblended(const Unblended&) = delete;
    Unblended& operator=(const Unblended&) = delete;

    SDL_Surface* get() const { return argb; }

private:
    SDL_Surface* picture;
    SDL_Surface* argb;
    SDL_BlendMode mode = SDL_BLENDMODE_NONE;
};

Uint32* pixelAt(SDL_Surface* surface, int x, int y) {
    return reinterpret_cast<Uint32*>(static_cast<Uint8*>(surface->pixels) + y * surface->pitch) + x;
}

}  // namespace

bool Atlas::drawsAlike(SDL_Texture* texture) {
    Uint32 format = 0;
    SDL_BlendMode mode = SDL_BLENDMODE_NONE;
    Uint8 r = 0, g = 0, b = 0, a = 0;
    return texture != nullptr && SDL_QueryTexture(texture, &format, nullptr, nullptr, nullptr) == 0 &&
           format == kFormat && SDL_GetTextureBlendMode(texture, &mode) == 0 && mode == SDL_BLENDMODE_BLEND &&
           SDL_GetTextureColorMod(texture, &r, &g, &b) == 0 && SDL_GetTextureAlphaMod(texture, &a) == 0 && r == 255 &&
           g == 255 && b == 255 && a == SDL_ALPHA_OPAQUE;
}

Atlas::Atlas(SDL_Renderer* to) : renderer(to), skyline(kSize, 0) {}

Atlas::~Atlas() {
    if (atlas != nullptr) {
        SDL_DestroyTexture(atlas);
    }
}

bool Atlas::makeTexture() {
    if (atlas != nullptr || failed) {
        return atlas != nullptr;
    }
    SDL_RendererInfo info;
    failed = renderer == nullptr || SDL_GetRendererInfo(renderer, &info) != 0 ||
             (info.max_texture_width > 0 && info.max_texture_width < kSize) ||
             (info.max_texture_height > 0 && info.max_texture_height < kSize);
    if (!failed) {
        // Made at the first picture, not with the renderer: the menu shows before play loads.
        atlas = SDL_CreateTexture(renderer, kFormat, SDL_TEXTUREACCESS_STATIC, kSize, kSize);
        failed = atlas == nullptr;
    }
    if (!failed) {
        SDL_SetTextureBlendMode(atlas, SDL_BLENDMODE_BLEND);
    }
    return !failed;
}

SDL_Point Atlas::lowestSpot(int w, int h) const {
    SDL_Point best{-1, kSize};
    for (int x = 0; x + w <= kSize; ++x) {
        const int y = *std::max_element(skyline.begin() + x, skyline.begin() + x + w);
        if (y < best.y) {
            best = SDL_Point{x, y};
        }
    }
    return best.y + h <= kSize ? best : SDL_Point{-1, 0};
}

SDL_Rect Atlas::add(SDL_Surface* picture) {
    const SDL_Rect none{0, 0, 0, 0};
    if (picture == nullptr || picture->w + 2 > kSize || picture->h + 2 > kSize || !makeTexture()) {
        return none;
    }
    const Unblended unblended(picture);
    SDL_Surface* argb = unblended.get();
    if (argb == nullptr) {
        return none;
    }
    const uint64_t hash = hashOf(argb);
    for (const Held& known : held) {
        if (known.w == argb->w && known.h == argb->h && known.hash == hash) {
            return known.place;
        }
    }
    const int w = argb->w;
    const int h = argb->h;
    const SDL_Point spot = lowestSpot(w + 2, h + 2);
    SDL_Surface* framed = spot.x >= 0 ? SDL_CreateRGBSurfaceWithFormat(0, w + 2, h + 2, 32, kFormat) : nullptr;
    if (framed == nullptr) {
        return none;
    }
    SDL_Rect inside{1, 1, w, h};
    SDL_BlitSurface(argb, nullptr, framed, &inside);
    // The frame repeats the edge: rows first, then whole columns (corners included).
    for (int x = 1; x <= w; ++x) {
        *pixelAt(framed, x, 0) = *pixelAt(framed, x, 1);
        *pixelAt(framed, x, h + 1) = *pixelAt(framed, x, h);
    }
    for (int y = 0; y < h + 2; ++y) {
        *pixelAt(framed, 0, y) = *pixelAt(framed, 1, y);
        *pixelAt(framed, w + 1, y) = *pixelAt(framed, w, y);
    }
    const SDL_Rect region{spot.x, spot.y, w + 2, h + 2};
    const bool copied = SDL_UpdateTexture(atlas, &region, framed->pixels, framed->pitch) == 0;
    SDL_FreeSurface(framed);
    if (!copied) {
        return none;
    }
    std::fill(skyline.begin() + spot.x, skyline.begin() + spot.x + w + 2, spot.y + h + 2);
    const SDL_Rect place{spot.x + 1, spot.y + 1, w, h};
    held.push_back(Held{w, h, hash, place});
    return place;
}

SDL_Rect Atlas::addScaled(SDL_Surface* sheet, SDL_Point frame, SDL_Point drawn) {
    const SDL_Rect none{0, 0, 0, 0};
    if (sheet == nullptr || frame.x <= 0 || frame.y <= 0 || drawn.x <= 0 || drawn.y <= 0) {
        return none;
    }
    const int columns = sheet->w / frame.x;  // a part frame at the edge is never drawn whole
    const int rows = sheet->h / frame.y;
    if (columns == 0 || rows == 0 || columns * drawn.x + 2 > kSize || rows * drawn.y + 2 > kSize) {
        return none;
    }
    const Unblended unblended(sheet);
    SDL_Surface* argb = unblended.get();
    SDL_Surface* scaled =
        argb != nullptr ? SDL_CreateRGBSurfaceWithFormat(0, columns * drawn.x, rows * drawn.y, 32, kFormat) : nullptr;
    // Unblended: the drawing blends the copy's pixels as it would have blended the sheet's own,
    // scaled on the fly.
    bool made = scaled != nullptr;
    for (int row = 0; made && row < rows; ++row) {
        for (int column = 0; made && column < columns; ++column) {
            SDL_Rect from{column * frame.x, row * frame.y, frame.x, frame.y};
            SDL_Rect to{column * drawn.x, row * drawn.y, drawn.x, drawn.y};
            made = SDL_BlitScaled(argb, &from, scaled, &to) == 0;
        }
    }
    const SDL_Rect place = made ? add(scaled) : none;
    SDL_FreeSurface(scaled);
    return place;
}
