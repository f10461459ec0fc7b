#pragma once

#include "pictures/Canvas.h"
#include "pictures/Color.h"

// Which way a figure is seen. Side shows it walking to the left; the right is its mirror image.
enum class View { Back, Side, Front };

// Everything that makes one character look like itself: the pixel art of its hat and body in the
// three views and the colours of its limbs. Hats and bodies are 16 pixels wide, placed at x 8.
struct FigureLook {
    Palette palette;      // colours of every art character below
    PixelRows hatFront;   // hat seen from the front, top row at y 2
    PixelRows hatBack;    // hat seen from behind
    PixelRows hatSide;    // hat seen from the left
    PixelRows bareFront;  // what shows of the head when the hat has flown off, top row at y 7
    PixelRows bodyFront;  // head, torso and hips from the front, top row at y 9
    PixelRows bodyBack;   // the same from behind
    PixelRows bodySide;   // the same from the left
    // the boot of the viewer-left foot; the other one is its mirror
    PixelRows bootFront = {"OOOO", "OOOO", "oooo"};
    // a boot seen from the side, toe to the left
    PixelRows bootSide = {"..OOO", "OOOOO", "ooooo"};
    Color sleeve = kClear;       // upper arm
    Color sleeveShade = kClear;  // far arm in the side view
    Color hand = kClear;         // hands (skin, paws or gloves)
    Color leg = kClear;          // trousers
    Color legShade = kClear;     // far leg in the side view
    Color bootShade = kClear;    // tints the far boot in the side view
    int swayFromRow = 1000;      // body art rows from here down (a coat's skirt) swing with the stride
};
