#pragma once

#include "pictures/Canvas.h"
#include "pictures/FramePainter.h"

// Lays a character's frames out as the game cuts them: 9 by 9 frames of 64 by 64 pixels,
// each outlined, standing on a soft shadow and doubled from its 32 by 32 pixel art.
class SpriteSheet {
public:
    static constexpr int kScale = 2;                            // pixel art is doubled
    static constexpr int kFrameSize = Figure::kFrame * kScale;  // 64

    static Canvas paint(const FramePainter& painter);
    // One finished 32 by 32 frame: outline and shadow added.
    static Canvas finishedFrame(const FramePainter& painter, int row, int column);
};
