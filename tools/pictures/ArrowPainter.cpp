#include "pictures/ArrowPainter.h"

#include <algorithm>
#include <vector>

namespace {
const Color kOutline = rgb(60, 20, 16);
const Color kRim = rgb(255, 246, 226);
const Color kBody = rgb(226, 56, 40);
const Color kShine = rgb(255, 120, 90);
constexpr int kOutlineWidth = 18;  // thick enough to survive the game's shrinking to 80 by 50
constexpr int kRimWidth = 36;      // outline and the pale rim inside it
constexpr int kShineWidth = 58;    // the lighter band just inside the rim on the upper left

// Chamfer distance (in pixels) from every opaque pixel to the nearest transparent one, so the
// outline, rim and shine follow the shape at an even width.
std::vector<int> insideDistance(const Canvas& mask) {
    const int w = mask.width();
    const int h = mask.height();
    const int far = 1 << 20;
    std::vector<int> d(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            d[static_cast<size_t>(y) * w + x] = mask.get(x, y).a != 0 ? far : 0;
        }
    }
    auto at = [&](int x, int y) { return x < 0 || y < 0 || x >= w || y >= h ? 0 : d[static_cast<size_t>(y) * w + x]; };
    // Steps of 3 straight and 4 diagonal approximate Euclidean distance times three.
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int& v = d[static_cast<size_t>(y) * w + x];
            v = std::min({v, at(x - 1, y) + 3, at(x, y - 1) + 3, at(x - 1, y - 1) + 4, at(x + 1, y - 1) + 4});
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        for (int x = w - 1; x >= 0; --x) {
            int& v = d[static_cast<size_t>(y) * w + x];
            v = std::min({v, at(x + 1, y) + 3, at(x, y + 1) + 3, at(x + 1, y + 1) + 4, at(x - 1, y + 1) + 4});
        }
    }
    for (int& v : d) {
        v /= 3;
    }
    return d;
}
}  // namespace

Canvas ArrowPainter::paint() {
    const float cx = kWidth / 2.0f;
    const float headBase = 214.0f;
    const float headHalf = 240.0f;
    const float shaftHalf = 86.0f;
    Canvas mask(kWidth, kHeight);
    mask.fillPolygon({{cx, 4.0f},
                      {cx + headHalf, headBase},
                      {cx + shaftHalf, headBase},
                      {cx + shaftHalf, kHeight - 4.0f},
                      {cx - shaftHalf, kHeight - 4.0f},
                      {cx - shaftHalf, headBase},
                      {cx - headHalf, headBase}},
                     kBody);
    const std::vector<int> distance = insideDistance(mask);
    Canvas c(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const int d = distance[static_cast<size_t>(y) * kWidth + x];
            if (d == 0) {
                continue;
            }
            Color colour = kBody;
            if (d <= kOutlineWidth) {
                colour = kOutline;
            } else if (d <= kRimWidth) {
                colour = kRim;
            } else if (d <= kShineWidth && x < cx) {
                colour = kShine;
            }
            c.set(x, y, colour);
        }
    }
    return c;
}
