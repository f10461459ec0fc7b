#pragma once

#include "pictures/Canvas.h"
#include "pictures/Figure.h"
#include "pictures/FigureLook.h"

// Paints the 32 by 32 frames of one character's sprite sheet: 9 rows (walk up, left, down, right,
// attack in the same directions, fall) by 9 columns, column 0 standing still. The walk and the
// fall are shared; each character brings its own look and attack.
class FramePainter {
public:
    static constexpr int kRows = 9;      // rows of the sheet
    static constexpr int kColumns = 9;   // columns of the sheet
    static constexpr int kDeathRow = 8;  // the fall

    explicit FramePainter(const FigureLook& look);
    virtual ~FramePainter() = default;

    Canvas frame(int row, int column) const;
    virtual Color outlineColor() const = 0;

protected:
    // One frame of the attack towards `view` (the right is the mirrored left); column 1 onwards.
    virtual Canvas attack(View view, int column) const = 0;
    // The fall tips over towards this side: -1 left, 1 right.
    virtual int fallSide() const = 0;
    // Pixel art laid over the face once the character has fallen (x 8, y 9 like the body).
    virtual PixelRows dazedFace() const = 0;

    Canvas stand(View view) const;
    Canvas walk(View view, int column) const;
    Canvas fall(int column) const;

    Figure figure;    // draws the character in a pose
    FigureLook look;  // the character's art and colours
};
