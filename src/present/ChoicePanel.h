#pragma once

#include <SDL.h>

// The look the panels of choices share (options, controls, letter grid): a dark panel a little
// see-through over what it stands on, light letters, the chosen row or cell lit.
class ChoicePanel {
public:
    static constexpr SDL_Color kInk{255, 236, 200, 255};  // light text on the dark panel, as on the cards
    static constexpr SDL_Color kPanelColour{40, 24, 16, 235};
    static constexpr SDL_Color kChosenColour{110, 70, 40, 255};

    // The panel, then the chosen box over it, blended; the renderer's blend mode is left as it was.
    static void drawBoxes(SDL_Renderer* renderer, const SDL_Rect& panel, const SDL_Rect& chosen,
                          SDL_Color chosenColour = kChosenColour);
};
