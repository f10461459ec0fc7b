#pragma once

#include "pictures/Canvas.h"

#include <array>

// The game's desktop icon: the cowboy standing on a round badge of sky over sand. Painted anew at
// each size, the cowboy's pixel art grown by a whole factor, so every size stays crisp.
class IconPainter {
public:
    // The sizes desktops look for in the hicolor theme.
    static constexpr std::array<int, 5> kSizes = {32, 48, 64, 128, 256};
    // The window's own icon, which the game loads: task bars scale it down, rarely up.
    static constexpr int kWindowSize = 64;

    static Canvas paint(int size);
};
