#pragma once

#include "pictures/Canvas.h"
#include "pictures/FigureLook.h"
#include "pictures/Pose.h"

// Draws one character in a pose onto a 32 by 32 frame: feet on row 29, hat from row 2.
class Figure {
public:
    static constexpr int kFrame = 32;  // logical frame size; the sheet doubles it to 64

    explicit Figure(const FigureLook& look);

    // The pose of standing still in the given view, hands hanging at the sides.
    static Pose standing(View view);
    // Where the shoulder of limb `which` is in `view`, before the body's bob.
    static SDL_Point shoulder(View view, int which);

    void draw(Canvas& frame, View view, const Pose& pose) const;
    void drawHat(Canvas& frame, View view, int dx, int dy) const;

private:
    void drawLeg(Canvas& frame, View view, const Pose& pose, int which) const;
    void drawArm(Canvas& frame, View view, const Pose& pose, int which) const;
    void drawBody(Canvas& frame, const PixelRows& body, const Pose& pose) const;

    FigureLook look;  // the character's art and colours
};
