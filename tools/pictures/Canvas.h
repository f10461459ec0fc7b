#pragma once

#include "pictures/Color.h"

#include <SDL.h>

#include <string>
#include <vector>

// Rows of text pixel art: one character per pixel, looked up in a Palette.
using PixelRows = std::vector<std::string>;

// An RGBA picture in memory with the few drawing operations our pixel art needs.
// Everything clips silently at the edges, so painters can draw partly outside.
class Canvas {
public:
    Canvas() = default;
    Canvas(int width, int height);

    int width() const { return w; }
    int height() const { return h; }

    Color get(int x, int y) const;
    // Opaque colours replace the pixel; translucent ones are laid over it.
    void set(int x, int y, Color c);
    void fill(Color c);
    void fillRect(int x, int y, int rw, int rh, Color c);
    void fillEllipse(double cx, double cy, double rx, double ry, Color c);
    // Half of a one-pixel ring: the lower (nearer) half or the upper (farther) half.
    void ellipseArc(double cx, double cy, double rx, double ry, Color c, bool lowerHalf);
    void ellipseRing(double cx, double cy, double rx, double ry, Color c);
    // A line of square dots `thickness` pixels wide, the dot's top-left corner on the line.
    void line(int x0, int y0, int x1, int y1, Color c, int thickness = 1);
    void fillPolygon(const std::vector<SDL_FPoint>& points, Color c);
    void art(const PixelRows& rows, const Palette& palette, int x, int y, bool mirror = false);
    // Copies `source` with its top-left at (x, y), each pixel grown to scale by scale pixels.
    void blit(const Canvas& source, int x, int y, int scale = 1);
    // Paints `c` on every transparent pixel that touches a fully opaque one side by side.
    void outline(Color c);

    Canvas mirrored() const;
    Canvas scaled(int factor) const;
    // Turns the picture by `degrees` clockwise about (cx, cy) and moves that point to (tx, ty).
    Canvas rotated(double degrees, double cx, double cy, double tx, double ty) const;
    int opaqueCount() const;

    // Writes the picture as PNG; on failure returns false and fills `error`.
    bool savePng(const std::string& path, std::string& error) const;

private:
    int w = 0;                  // width in pixels
    int h = 0;                  // height in pixels
    std::vector<Color> pixels;  // row after row, top row first
};
