#pragma once

#include "input/Input.h"
#include "present/Render.h"

#include <cstdint>
#include <vector>

// Owns SDL itself: start-up, the window, the renderer, the camera that follows the hero, teardown.
class Game : public Render {
public:
    static constexpr int kWindowW = Render::kPicture.w;  // the picture's size, whatever the window's
    static constexpr int kWindowH = Render::kPicture.h;
    static constexpr int kHalfW = 540;  // the camera keeps the hero's centre here
    static constexpr int kHalfH = 360;
    static constexpr int kMaxCamX = 1080;  // the view never leaves the 2160 by 1440 world
    static constexpr int kMaxCamY = 720;
    static constexpr int kWorldW = kMaxCamX + kWindowW;  // the world the view can show
    static constexpr int kWorldH = kMaxCamY + kWindowH;
    static constexpr const char* kGroundPath = "images/ground.png";
    static constexpr const char* kIconPath = "images/icon.png";  // the window's icon
    // The window class: the desktop entry's id, so docks tie the window to its menu entry.
    static constexpr const char* kWindowClass = "io.github.bramblehoof.Bramblehoof";
    // The ground's details are first boxed per cell, then neighbouring boxes are joined where the
    // joined box covers at most kGroundMergeSlack pixels more than its parts. Measured at level 3
    // in a real window and headless: 20 and 400 (about 30 boxes, 12,000 pixels a view) cost more
    // than 8 and 50 (about 60 boxes, 5,000 pixels); 4 and 10 cost more again.
    static constexpr int kGroundCell = 8;
    static constexpr long kGroundMergeSlack = 50;
    static constexpr int kGroundPackWidth = 512;  // width of the small picture the details are packed in

    SDL_Window* window = nullptr;  // the game window
    int32_t camX = 0;              // world x at the window's left edge
    int32_t camY = 0;              // world y at the window's top edge

    Game();
    ~Game();

    void init(const char* title, int x, int y, int w, int h, bool fullscreen);
    // Switches desktop fullscreen on or off when the input saw F11 or Alt+Enter since the last
    // call. The keys stay queued, so in play they still reach the hero like any other key.
    void applyWindowKeys(Input& input);
    bool isFullscreen() const;
    // The camera at the world's corner, where a fresh process has it, for a new run.
    void resetCamera() {
        camX = 0;
        camY = 0;
    }
    // Desktop fullscreen on or off, with one line saying which; the windowed size comes back.
    void setFullscreen(bool on);
    SDL_Rect calculate(SDL_Rect hero, bool activeX, bool activeY);
    // Loads the ground picture (world-sized, flat clear colour with sparse details) and keeps
    // only its details, packed in a small texture. Without it the ground is the clear colour alone.
    void loadGround(const std::string& path);
    // Draws the ground's details inside the view at cam over a frame cleared with the clear
    // colour: the same picture as copying the view's window of the ground picture, one picture
    // pixel per window pixel, at a small part of the cost.
    void drawGround(SDL_Rect cam);
    SDL_Rect getPos();
    void update();
    void clean();

    // Why the game cannot be shown, or empty when it can: SDL failed to start, or it fell back
    // to a driver that shows nothing although nobody asked for one.
    const std::string& displayProblem() const { return problem; }
    // How many boxes the ground is drawn in: each is one drawing of every play frame.
    std::size_t groundBoxes() const { return groundDetails.size(); }
    // Whether presents wait for the display's refresh; when they do not, the caller paces itself.
    bool vsyncPaced() const { return vsync; }
    // Whether OpenGL would be drawn by the processor here: no graphics device under deviceFolder,
    // or Mesa told to draw in software. SDL's own software renderer is then the cheaper one: it
    // shows the first picture about 0.15 s sooner (no OpenGL to load and start) and draws a
    // play frame for about a third of the processor time.
    static bool openGLInSoftware(const std::string& deviceFolder = kGraphicsDevices,
                                 const std::string& nvidiaDevice = kNvidiaDevice);
    static constexpr const char* kGraphicsDevices = "/dev/dri";  // where Linux lists graphics devices
    // NVIDIA's own driver may list nothing there (without its kernel mode setting module).
    static constexpr const char* kNvidiaDevice = "/dev/nvidiactl";

private:
    // Packs the boxes' pixels of picture into texture, noting where each box went.
    void packGround(SDL_Surface* picture);

    std::vector<SDL_Rect> groundDetails;  // boxes that hold every pixel of the ground's details
    std::vector<SDL_Point> groundSpots;   // where each box's pixels are in texture
    int windowedW = 0;                    // the window's size before it went fullscreen
    int windowedH = 0;
    std::string problem;  // set by init when no window can be shown
    bool vsync = false;   // the renderer waits for vertical refresh
};
