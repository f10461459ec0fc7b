#pragma once

#include "pictures/Canvas.h"

// The ground under the whole field, world 0..2160 by 0..1440 at one picture pixel per world
// pixel: flat sand in the game's clear colour with sparse, faint details (pebbles, dry grass
// tufts, cracks, old cart ruts and hoof prints), so the field visibly moves as the view follows
// the hero. Everything that is not a detail is exactly the sand colour: the game clears with
// that colour and draws only the details.
class GroundPainter {
public:
    static constexpr int kWidth = 2160;
    static constexpr int kHeight = 1440;
    static constexpr Color kSand = rgb(242, 196, 111);  // the game's clear colour

    static Canvas paint();
};
