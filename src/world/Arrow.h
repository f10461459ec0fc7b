#pragma once

#include "present/Render.h"

#include <cstdint>

// The on-screen pointer to the nearest farm, drawn at the window's edge when no farm is in view.
class Arrow : public Render {
public:
    static constexpr const char* kPicturePath = "images/arrow.png";
    static constexpr int kPictureW = 496;  // the part of the picture drawn (pointing up)
    static constexpr int kPictureH = 404;
    static constexpr int kDrawW = 80;  // drawn 80 by 50
    static constexpr int kDrawH = 50;
    static constexpr int kStartX = 540;  // position after construction
    static constexpr int kStartY = 10;
    static constexpr int kMargin = 10;    // distance from the window's edge
    static constexpr int kCentreX = 540;  // window centre
    static constexpr int kMidY = 360;
    static constexpr int kRightEdge = 1070;  // window width less the margin
    static constexpr int kBottomEdge = 710;  // window height less the margin
    static constexpr int kTurnLeft = -90;    // degrees, clockwise
    static constexpr int kTurnRight = 90;

    int32_t angle = 0;  // clockwise rotation in degrees for the next draw
    int32_t flip = 0;   // SDL flip value for the next draw: 0 none, 2 vertical

    Arrow();
    // Where a fresh process has it, for a new run.
    void restart();

    // Places the arrow for a direction code of Farm::pointer and draws it there.
    void show_arrow(int code);
    // The two halves of show_arrow: the play frame places it in the farm pass and draws it later,
    // over the field.
    void place(int code);
    void draw();
};
