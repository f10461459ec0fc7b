#pragma once

#include "pictures/Canvas.h"

// The pointer to the nearest farm: a chunky red arrow pointing up, 496 by 404 pixels, which the
// game squeezes into 80 by 50 and turns or flips towards the farm.
class ArrowPainter {
public:
    static constexpr int kWidth = 496;  // the part of the picture the game draws
    static constexpr int kHeight = 404;

    static Canvas paint();
};
