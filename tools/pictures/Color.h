#pragma once

#include <SDL.h>

#include <map>

// One RGBA pixel; alpha 0 is transparent, 255 opaque.
struct Color {
    Uint8 r = 0;  // red
    Uint8 g = 0;  // green
    Uint8 b = 0;  // blue
    Uint8 a = 0;  // opacity

    bool operator==(const Color& other) const { return r == other.r && g == other.g && b == other.b && a == other.a; }
    bool operator!=(const Color& other) const { return !(*this == other); }
};

constexpr Color rgb(Uint8 r, Uint8 g, Uint8 b) { return Color{r, g, b, 255}; }
constexpr Color rgba(Uint8 r, Uint8 g, Uint8 b, Uint8 a) { return Color{r, g, b, a}; }
constexpr Color kClear = Color{0, 0, 0, 0};

// Thin details such as ropes are painted at this alpha: it looks opaque, but the outline pass
// leaves them alone so they stay thin lines instead of growing dark borders.
constexpr Uint8 kDetailAlpha = 254;
constexpr Color detail(Color c) { return Color{c.r, c.g, c.b, kDetailAlpha}; }

// Maps the characters of text pixel art to colours; '.' and ' ' are always transparent.
using Palette = std::map<char, Color>;
