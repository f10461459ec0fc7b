#include "pictures/Canvas.h"

#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstring>

Canvas::Canvas(int width, int height)
    : w(std::max(0, width)), h(std::max(0, height)), pixels(static_cast<size_t>(w) * h, kClear) {}

Color Canvas::get(int x, int y) const {
    if (x < 0 || y < 0 || x >= w || y >= h) {
        return kClear;
    }
    return pixels[static_cast<size_t>(y) * w + x];
}

void Canvas::set(int x, int y, Color c) {
    if (x < 0 || y < 0 || x >= w || y >= h || c.a == 0) {
        return;
    }
    Color& p = pixels[static_cast<size_t>(y) * w + x];
    if (c.a >= kDetailAlpha || p.a == 0) {
        p = c;
        return;
    }
    // Source-over blending, enough for shadows and glows.
    const double sa = c.a / 255.0;
    const double da = p.a / 255.0;
    const double oa = sa + da * (1.0 - sa);
    auto mix = [&](Uint8 s, Uint8 d) { return static_cast<Uint8>(std::lround((s * sa + d * da * (1.0 - sa)) / oa)); };
    p = Color{mix(c.r, p.r), mix(c.g, p.g), mix(c.b, p.b), static_cast<Uint8>(std::lround(oa * 255.0))};
}

void Canvas::fill(Color c) { std::fill(pixels.begin(), pixels.end(), c); }

void Canvas::fillRect(int x, int y, int rw, int rh, Color c) {
    for (int yy = std::max(0, y); yy < std::min(h, y + rh); ++yy) {
        for (int xx = std::max(0, x); xx < std::min(w, x + rw); ++xx) {
            set(xx, yy, c);
        }
    }
}

void Canvas::fillEllipse(double cx, double cy, double rx, double ry, Color c) {
    if (rx <= 0 || ry <= 0) {
        return;
    }
    const int x0 = static_cast<int>(std::floor(cx - rx));
    const int x1 = static_cast<int>(std::ceil(cx + rx));
    const int y0 = static_cast<int>(std::floor(cy - ry));
    const int y1 = static_cast<int>(std::ceil(cy + ry));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            // Pixel centres decide, which keeps small ellipses symmetric.
            const double dx = (x + 0.5 - cx) / rx;
            const double dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0) {
                set(x, y, c);
            }
        }
    }
}

namespace {
constexpr double kPi = 3.14159265358979323846;

// Visits the pixels of an ellipse's rim once each, with the angle of every point.
template <typename Visit>
void walkEllipse(double cx, double cy, double rx, double ry, Visit visit) {
    const int steps = std::max(16, static_cast<int>(8 * (rx + ry)));
    int lastX = 1 << 30;
    int lastY = 1 << 30;
    for (int i = 0; i < steps; ++i) {
        const double t = 2.0 * kPi * i / steps;
        const int x = static_cast<int>(std::floor(cx + rx * std::cos(t)));
        const int y = static_cast<int>(std::floor(cy + ry * std::sin(t)));
        if (x != lastX || y != lastY) {
            visit(x, y, std::sin(t));
            lastX = x;
            lastY = y;
        }
    }
}
}  // namespace

void Canvas::ellipseArc(double cx, double cy, double rx, double ry, Color c, bool lowerHalf) {
    walkEllipse(cx, cy, rx, ry, [&](int x, int y, double s) {
        if ((s >= 0) == lowerHalf) {
            set(x, y, c);
        }
    });
}

void Canvas::ellipseRing(double cx, double cy, double rx, double ry, Color c) {
    walkEllipse(cx, cy, rx, ry, [&](int x, int y, double) { set(x, y, c); });
}

void Canvas::line(int x0, int y0, int x1, int y1, Color c, int thickness) {
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        fillRect(x0, y0, thickness, thickness, c);
        if (x0 == x1 && y0 == y1) {
            break;
        }
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void Canvas::fillPolygon(const std::vector<SDL_FPoint>& points, Color c) {
    if (points.size() < 3) {
        return;
    }
    float top = points[0].y;
    float bottom = points[0].y;
    for (const SDL_FPoint& p : points) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    std::vector<double> crossings;
    for (int y = std::max(0, static_cast<int>(std::floor(top)));
         y <= std::min(h - 1, static_cast<int>(std::ceil(bottom))); ++y) {
        const double sy = y + 0.5;
        crossings.clear();
        for (size_t i = 0; i < points.size(); ++i) {
            const SDL_FPoint& a = points[i];
            const SDL_FPoint& b = points[(i + 1) % points.size()];
            if ((a.y <= sy && b.y > sy) || (b.y <= sy && a.y > sy)) {
                crossings.push_back(a.x + (sy - a.y) / (b.y - a.y) * (b.x - a.x));
            }
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const int from = static_cast<int>(std::ceil(crossings[i] - 0.5));
            const int to = static_cast<int>(std::floor(crossings[i + 1] - 0.5));
            for (int x = from; x <= to; ++x) {
                set(x, y, c);
            }
        }
    }
}

void Canvas::art(const PixelRows& rows, const Palette& palette, int x, int y, bool mirror) {
    for (size_t row = 0; row < rows.size(); ++row) {
        const std::string& line = rows[row];
        for (size_t col = 0; col < line.size(); ++col) {
            const char key = line[col];
            if (key == '.' || key == ' ') {
                continue;
            }
            const auto found = palette.find(key);
            if (found == palette.end()) {
                continue;
            }
            const int px = mirror ? x + static_cast<int>(line.size() - 1 - col) : x + static_cast<int>(col);
            set(px, y + static_cast<int>(row), found->second);
        }
    }
}

void Canvas::blit(const Canvas& source, int x, int y, int scale) {
    for (int sy = 0; sy < source.h; ++sy) {
        for (int sx = 0; sx < source.w; ++sx) {
            const Color c = source.get(sx, sy);
            if (c.a != 0) {
                fillRect(x + sx * scale, y + sy * scale, scale, scale, c);
            }
        }
    }
}

void Canvas::outline(Color c) {
    const Canvas before = *this;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (before.get(x, y).a != 0) {
                continue;
            }
            if (before.get(x - 1, y).a == 255 || before.get(x + 1, y).a == 255 || before.get(x, y - 1).a == 255 ||
                before.get(x, y + 1).a == 255) {
                set(x, y, c);
            }
        }
    }
}

Canvas Canvas::mirrored() const {
    Canvas out(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            out.pixels[static_cast<size_t>(y) * w + x] = get(w - 1 - x, y);
        }
    }
    return out;
}

Canvas Canvas::scaled(int factor) const {
    Canvas out(w * factor, h * factor);
    out.blit(*this, 0, 0, factor);
    return out;
}

Canvas Canvas::rotated(double degrees, double cx, double cy, double tx, double ty) const {
    Canvas out(w, h);
    const double rad = degrees * kPi / 180.0;
    const double cs = std::cos(rad);
    const double sn = std::sin(rad);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            // Map each target pixel back into the source so no holes appear.
            const double dx = x + 0.5 - tx;
            const double dy = y + 0.5 - ty;
            const double sx = cx + dx * cs + dy * sn;
            const double sy = cy - dx * sn + dy * cs;
            out.pixels[static_cast<size_t>(y) * w + x] =
                get(static_cast<int>(std::floor(sx)), static_cast<int>(std::floor(sy)));
        }
    }
    return out;
}

int Canvas::opaqueCount() const {
    return static_cast<int>(std::count_if(pixels.begin(), pixels.end(), [](const Color& c) { return c.a != 0; }));
}

bool Canvas::savePng(const std::string& path, std::string& error) const {
    static_assert(sizeof(Color) == 4, "a Color must be exactly one RGBA32 pixel");
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGBA32);
    if (surface == nullptr) {
        error = std::string("cannot make a surface: ") + SDL_GetError();
        return false;
    }
    for (int y = 0; y < h; ++y) {
        // RGBA32 stores the bytes in r, g, b, a order, the same as Color.
        std::memcpy(static_cast<Uint8*>(surface->pixels) + static_cast<size_t>(y) * surface->pitch,
                    &pixels[static_cast<size_t>(y) * w], static_cast<size_t>(w) * sizeof(Color));
    }
    const bool saved = IMG_SavePNG(surface, path.c_str()) == 0;
    if (!saved) {
        error = "cannot write " + path + ": " + SDL_GetError();
    }
    SDL_FreeSurface(surface);
    return saved;
}
