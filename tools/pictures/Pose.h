#pragma once

#include <SDL.h>

// Where the limbs of a figure are in one frame. Limb 0 is the viewer's left one in the front
// and back views and the far one in the side view; limb 1 is the other.
struct Pose {
    int bodyDy = 0;                        // whole body up (negative) or down, in pixels
    SDL_Point hand[2] = {{0, 0}, {0, 0}};  // top-left of each 2 by 2 hand, before bodyDy
    int footDx[2] = {0, 0};                // how far each foot stands out from under its hip
    int lift[2] = {0, 0};                  // how far each foot is raised off the ground
    int sway = 0;                          // sideways swing of a coat's skirt, in pixels
    bool hat = true;                       // false once the hat has come off
    bool armsBehind = false;               // draw the arms before the body (seen from behind, reaching forward)
};
