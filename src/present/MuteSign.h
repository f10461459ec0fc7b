#pragma once

#include <SDL.h>

// The small sign in the picture's top right corner while the sound is off: a speaker struck
// through, so a player who hears nothing sees why (on the menu and in play).
class MuteSign {
public:
    static constexpr SDL_Rect kBox{1080 - 56, 72, 44, 36};  // in the 1080 by 720 picture, under the level line
    static constexpr SDL_Color kPlate{24, 14, 6, 170};      // a dark plate: it reads on sky and sand alike
    static constexpr SDL_Color kInk{255, 236, 200, 255};
    static constexpr SDL_Color kStrike{220, 60, 40, 255};

    static void draw(SDL_Renderer* renderer);
};
