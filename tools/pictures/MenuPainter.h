#pragma once

#include "pictures/Canvas.h"

// The menu background: a desert evening with the title, a signboard whose light middle carries
// the menu's dark red words, the farm, bulls, the hero and an outlaw.
class MenuPainter {
public:
    static constexpr int kWindowWidth = 1080;  // the scene as the player sees it
    static constexpr int kWindowHeight = 720;
    // The signboard's light face, which holds the menu items and the name line.
    static constexpr SDL_Rect kBoardFace = {348, 178, 424, 266};

    // The scene as it should look in the window.
    static Canvas scene();
    // The scene squeezed to 720 by 1080, because the game stretches that part of the picture
    // over its 1080 by 720 window.
    static Canvas paint();
};
