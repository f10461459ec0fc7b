#pragma once

#include "pictures/Canvas.h"

// The two bulls that lie around the farms: a brown one with long horns facing right, and a
// black-and-white one with a nose ring facing left. Painted as 40 by 25 pixel art and grown
// four times, so the game's 80 by 50 drawing shows every art pixel as two by two.
class BullPainter {
public:
    static constexpr int kWidth = 40;   // art width
    static constexpr int kHeight = 25;  // art height
    static constexpr int kScale = 2;    // the file is 80 by 50, the size it is drawn at: no scaling per frame

    // kind 0: the brown bull, kind 1: the black-and-white one.
    static Canvas paint(int kind);
};
