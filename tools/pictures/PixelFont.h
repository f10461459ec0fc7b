#pragma once

#include "pictures/Canvas.h"

#include <string>

// A blocky 5 by 7 capital alphabet for titles painted into pictures. Lower-case letters are
// drawn as capitals; other characters leave a gap the width of a letter.
class PixelFont {
public:
    static constexpr int kGlyphWidth = 5;  // pixels per glyph, before enlarging
    static constexpr int kGlyphHeight = 7;
    static constexpr int kSpacing = 1;  // empty pixels between glyphs

    // The text in `color` on transparent, each font pixel grown to block by block pixels.
    static Canvas render(const std::string& text, int block, Color color);
    static int width(const std::string& text, int block);
};
