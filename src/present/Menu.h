#pragma once

#include "present/Render.h"

// The menu background picture.
class Menu : public Render {
public:
    static constexpr const char* kPicture = "images/images.png";

    // The focus mark: a light band behind the chosen item, framed in dark brown, a thicker bar at
    // its left edge; the frame stands out on the sign and on the sand alike.
    static constexpr SDL_Color kFocusBand{255, 236, 190, 200};
    static constexpr SDL_Color kFocusBar{120, 50, 15, 255};
    static constexpr int kFocusMargin = 10;  // the band reaches this far beyond the label, left and right
    static constexpr int kFocusBarW = 5;
    static constexpr int kFocusFrameW = 2;

    Menu();
    void StartNewGame();
    // Marks the item whose label stands in box as the one Enter chooses; drawn before the label.
    void drawFocus(SDL_Rect box);
};
