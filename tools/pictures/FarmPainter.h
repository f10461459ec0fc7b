#pragma once

#include "pictures/Canvas.h"

// The farm: a red barn with a hayloft, a silo, a bit of fence and a hay bale on a patch of
// grass. 100 by 50 pixel art, doubled to the 200 by 100 the game draws it at.
class FarmPainter {
public:
    static constexpr int kWidth = 100;  // art width
    static constexpr int kHeight = 50;  // art height
    static constexpr int kScale = 2;    // the file is 200 by 100

    // The art before doubling, also used on the menu picture.
    static Canvas art();
    static Canvas paint();
};
