#pragma once

#include <SDL.h>

#include <vector>

// The picture drawn at its own size (1080 by 720) and scaled to the window in one step, for SDL's
// software renderer in a window that shows the picture larger: scaling each drawing on its own
// costs the processor far more there than drawing unscaled and scaling the whole once. Windows
// that show it at its size or smaller, and a graphics card, draw straight into the window, as the
// renderer's logical size scales.
// Only the software renderer draws here: its textures are plain memory, so a device reset
// (SDL_RENDER_TARGETS_RESET) never takes the picture's contents.
class SceneTarget {
public:
    // For renderer (SDL's software one), which it draws through; sets nothing up yet (follow).
    explicit SceneTarget(SDL_Renderer* renderer) : owner(renderer) {}
    SceneTarget(const SceneTarget&) = delete;
    SceneTarget& operator=(const SceneTarget&) = delete;
    ~SceneTarget();

    // Whether a window of w by h pixels is drawn through the picture: when it shows the picture
    // larger than its size in both directions.
    static bool scalesUp(int w, int h);
    // The whole factor a window of w by h pixels shows the picture at, or 0 between them.
    static int wholeFactor(int w, int h);

    // Shows what was drawn: the picture, when it was drawn here, scaled into the window's
    // letterboxed area with black bars; then chooses where the next picture is drawn, by the
    // window's size now.
    void present();
    // Where the next picture is drawn, by the window's size now (also right after the renderer is made).
    void follow();
    // Whether the picture being drawn goes here, to be scaled when shown.
    bool active() const { return drawing; }
    // Whether it was made for renderer (a process's renderer may be made again, as tests do).
    bool madeFor(const SDL_Renderer* renderer) const { return owner == renderer; }
    // Frees the texture; drawing goes straight to the window again. Before the renderer goes.
    void release();

private:
    // Where a window of w by h pixels shows the picture, as SDL's logical size places it.
    static SDL_Rect area(int w, int h);
    // Scales the picture into the window's own pixels, each window pixel its nearest picture
    // pixel as SDL's nearest scaling picks it; false when it cannot (another pixel format), and
    // SDL scales it.
    bool copyScaled(int outW, int outH);
    // The picture column of each window column of the picture's area, and the picture row of
    // each window row, for a window of outW by outH pixels (made again when its size changes).
    void mapFor(int outW, int outH);

    SDL_Renderer* owner = nullptr;   // the renderer it draws through
    SDL_Texture* picture = nullptr;  // the 1080 by 720 picture, made when first needed
    bool drawing = false;            // the renderer's target is picture
    int barsW = 0;                   // the window size whose black bars are painted (none yet: 0)
    int barsH = 0;
    Uint32 format = SDL_PIXELFORMAT_UNKNOWN;  // picture's pixel format: the window's
    std::vector<Uint32> pixels;               // the picture read back for copyScaled
    int mapW = 0;                             // the window size columns and rows are made for
    int mapH = 0;
    SDL_Rect shownAt{};        // the picture's area in that window
    std::vector<int> columns;  // by window column from shownAt.x: its picture column
    std::vector<int> rows;     // by window row from shownAt.y: its picture row
};
