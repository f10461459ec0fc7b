#pragma once

#include "present/Render.h"

// The menu background picture.
class Menu : public Render {
public:
    static constexpr const char* kPicture = "images/images.png";

    // The focus mark: a warm band behind the chosen item, a darker bar at its left edge.
    static constexpr SDL_Color kFocusBand{255, 190, 80, 110};
    static constexpr SDL_Color kFocusBar{150, 70, 20, 255};
    static constexpr int kFocusMargin = 6;  // the band reaches this far beyond the item's box
    static constexpr int kFocusBarW = 5;

    Menu();
    void StartNewGame();
    // Marks the item in box as the one Enter chooses; drawn before the item's text.
    void drawFocus(SDL_Rect box);
};
