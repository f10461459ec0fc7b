#pragma once

#include <SDL.h>

#include <vector>

// Small markers at the picture's edge that point to what the level still needs (its bulls and
// outlaws) while none of it is in view: each lies where the line from the picture's middle to the
// thing leaves the picture, in the thing's colour. Drawing only: the world never reads it.
class EdgeMarkers {
public:
    static constexpr int kLength = 16;                     // a marker's length, tip to base
    static constexpr int kWidth = 14;                      // its base
    static constexpr int kMargin = 6;                      // between its tip and the picture's edge
    static constexpr SDL_Color kOutline{40, 24, 20, 255};  // the figures' own outline
    static constexpr SDL_Color kOutlaw{62, 52, 80, 255};   // his coat
    static constexpr SDL_Color kBrownBull{156, 84, 40, 255};
    static constexpr SDL_Color kWhiteBull{244, 242, 236, 255};

    // Forgets the last frame's things.
    void clear();
    // Something the level still needs, drawn at onScreen (which may lie outside the picture).
    void add(SDL_Rect onScreen, SDL_Color colour);
    // How many markers the frame shows: one a thing, when none of them is in view.
    int shown() const { return anyInView ? 0 : static_cast<int>(things.size()); }
    // The markers, over the field and the HUD.
    void draw(SDL_Renderer* renderer);

private:
    struct Thing {
        SDL_FPoint centre;
        SDL_Color colour;
    };
    // The triangle of a marker for a thing at centre, grown by `grow` pixels all round, into
    // three corners.
    static void triangle(SDL_FPoint centre, float grow, SDL_Color colour, std::vector<SDL_Vertex>& out);

    std::vector<Thing> things;
    bool anyInView = false;
    std::vector<SDL_Vertex> corners;  // keeps its capacity
};
