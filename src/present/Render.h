#pragma once

#include <SDL.h>

#include "present/Atlas.h"
#include "present/OpaqueMask.h"
#include "present/SceneTarget.h"

#include <cstdint>
#include <memory>
#include <string>

// Base of everything that draws itself: one texture, a source and a destination rectangle,
// all drawn through the one renderer of the process.
class Render {
public:
    static SDL_Renderer* renderer;  // the one renderer; null before Game::init and after Game::clean
    static bool isRunning;          // the frame loop runs while this is true
    static bool drawnSincePresent;  // something was cleared or drawn since the last present
    static constexpr SDL_Rect kPicture{0, 0, 1080, 720};  // where every drawing lands, before scaling
    static constexpr SDL_Color kSand{242, 196, 111, 255};  // the ground's own colour, the draw colour a clear fills with
    // The pictures loaded with a mask, copied into one texture; made with the renderer (Game::init)
    // and gone before it (Game::clean). Null without a renderer.
    static std::unique_ptr<Atlas> atlas;
    // Where the software renderer draws a picture it scales up whole (Game::init makes it for that
    // renderer, Game::clean frees it); null for a graphics card's renderer, which scales for free.
    static std::unique_ptr<SceneTarget> scene;

    SDL_Texture* texture = nullptr;  // the picture this object draws, owned by this object
    SDL_Rect rect{};                 // source rectangle: the part of texture to draw
    SDL_Rect pos{};                  // destination rectangle in window pixels
    int32_t worldX = 0;              // world position of an entity
    int32_t worldY = 0;
    int32_t frameW = 0;  // size of one source frame
    int32_t frameH = 0;
    int32_t texW = 0;  // full texture size as SDL_QueryTexture reports it
    int32_t texH = 0;

    Render() = default;
    Render(const Render&) = delete;
    Render& operator=(const Render&) = delete;
    ~Render();

    static SDL_Texture* LoadPNG(std::string path, SDL_Renderer* renderer);
    // software: SDL's own renderer, without trying OpenGL first.
    SDL_Renderer* createRender(SDL_Window* window, bool software = false);
    void copyTex(SDL_Rect src, SDL_Rect dst);
    void clear();
    void present();
    SDL_Rect getRect();
    SDL_Rect getPos();
    bool running();

    // Notes a draw made straight through SDL, so the next present shows it.
    static void markDrawn() { drawnSincePresent = true; }
    // Whether a drawing at dst shows any of the picture; the renderer would take one that does
    // not all the same, and a real window's driver pays for it.
    static bool showsInPicture(const SDL_Rect& dst) { return SDL_HasIntersection(&dst, &kPicture) == SDL_TRUE; }
    // Narrows an unscaled drawing of a picture loaded with its mask to the part of src that is not
    // fully transparent, which draws the same pixels; false when nothing of src would show.
    static bool trimToOpaque(SDL_Texture* texture, SDL_Rect& src, SDL_Rect& dst);
    // Whether the renderer is SDL's software one, which scales a drawing pixel by pixel.
    static bool scalesOnProcessor(SDL_Renderer* renderer);

protected:
    // Destroys texture while its renderer still exists (after the flush of a queue still holding
    // a drawing of it); after Game::clean the renderer has already taken every texture with it,
    // so there is nothing left to free.
    void releaseTexture();
    // Replaces texture with the picture at path and writes its size into w and h; when it cannot
    // be loaded, texture is null and w and h keep their defaults. A sheet whose frames of frame
    // pixels are drawn at another size (drawn) is also kept scaled where the renderer would scale
    // every drawing on the processor.
    void loadPicture(const std::string& path, int32_t& w, int32_t& h, SDL_Point frame = {0, 0},
                     SDL_Point drawn = {0, 0});

    std::unique_ptr<OpaqueMask> mask;  // which pixels of texture show, when loadPicture made it

private:
    // LoadPNG, also making the picture's mask into *mask (when given) and tying it to the texture.
    static SDL_Texture* loadPNG(const std::string& path, SDL_Renderer* renderer, std::unique_ptr<OpaqueMask>* mask,
                                SDL_Point frame = {0, 0}, SDL_Point drawn = {0, 0});
};
