#pragma once

#include <SDL.h>

// The look the panels of choices share (options, controls, letter grid): a dark panel that hides
// what it stands on, framed, light letters, the chosen row or cell lit.
class ChoicePanel {
public:
    static constexpr SDL_Color kInk{255, 236, 200, 255};       // light text on the dark panel, as on the cards
    static constexpr SDL_Color kPanelColour{40, 24, 16, 255};  // opaque: nothing under it reads through
    static constexpr SDL_Color kFrameColour{150, 100, 60, 255};
    static constexpr int kFrameWidth = 2;
    static constexpr SDL_Color kChosenColour{110, 70, 40, 255};
    // Where the panels stand in the 1080 by 720 picture: under the menu's title, which they never
    // cover (its letters end 115 pixels down), and clear of the picture's foot.
    static constexpr int kTop = 126;
    static constexpr int kBottom = 712;

    // The panel and its frame, then the chosen box over it; the renderer's blend mode is left as it was.
    static void drawBoxes(SDL_Renderer* renderer, const SDL_Rect& panel, const SDL_Rect& chosen,
                          SDL_Color chosenColour = kChosenColour);
};
