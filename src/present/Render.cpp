#include "present/Render.h"

#include "present/DrawQueue.h"
#include "present/PictureFetch.h"

#include <SDL_image.h>

#include <iostream>

SDL_Renderer* Render::renderer = nullptr;
bool Render::isRunning = false;
bool Render::drawnSincePresent = true;
std::unique_ptr<Atlas> Render::atlas;
std::unique_ptr<SceneTarget> Render::scene;

Render::~Render() { releaseTexture(); }

void Render::releaseTexture() {
    if (texture != nullptr && renderer != nullptr) {
        DrawQueue::release(texture, mask);  // a drawing of it may still wait in a queue
    }
    texture = nullptr;
}

void Render::loadPicture(const std::string& path, int32_t& w, int32_t& h, SDL_Point frame, SDL_Point drawn) {
    releaseTexture();
    texture = loadPNG(path, renderer, &mask, frame, drawn);
    int queriedW = 0;
    int queriedH = 0;
    if (texture != nullptr && SDL_QueryTexture(texture, nullptr, nullptr, &queriedW, &queriedH) == 0) {
        w = queriedW;
        h = queriedH;
    }
}

SDL_Texture* Render::LoadPNG(std::string path, SDL_Renderer* renderer) { return loadPNG(path, renderer, nullptr); }

bool Render::scalesOnProcessor(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    return renderer != nullptr && SDL_GetRendererInfo(renderer, &info) == 0 &&
           (info.flags & SDL_RENDERER_SOFTWARE) != 0;
}

SDL_Texture* Render::loadPNG(const std::string& path, SDL_Renderer* renderer, std::unique_ptr<OpaqueMask>* mask,
                             SDL_Point frame, SDL_Point drawn) {
    // A picture fetched ahead is decoded already and stays with its fetch. One that failed is
    // loaded here again, so that the reason is this thread's error.
    PictureFetch* fetched = PictureFetch::find(path);
    if (fetched != nullptr && fetched->picture() == nullptr) {
        fetched = nullptr;
    }
    SDL_Surface* surface = fetched != nullptr ? fetched->picture() : IMG_Load(path.c_str());
    const int wanted = IMG_INIT_JPG | IMG_INIT_PNG;
    if ((IMG_Init(wanted) & wanted) == 0) {
        std::cout << "Error " << SDL_GetError();
    }
    if (surface == nullptr) {
        std::cout << SDL_GetError();
        return nullptr;
    }
    // A play picture's own texture has the atlas's pixel format: the software renderer blends each
    // format with its own code, which may round a partly clear pixel otherwise.
    SDL_Surface* argb = mask != nullptr ? SDL_ConvertSurfaceFormat(surface, Atlas::kFormat, 0) : nullptr;
    SDL_Texture* loaded = SDL_CreateTextureFromSurface(renderer, argb != nullptr ? argb : surface);
    if (loaded == nullptr) {
        std::cout << "texture_error2" << SDL_GetError();
    }
    if (mask != nullptr) {
        // The texture carries its mask, so whoever draws it can leave out its empty margins.
        *mask = fetched != nullptr ? fetched->maskCopy() : std::make_unique<OpaqueMask>(surface);
        SDL_SetTextureUserData(loaded, mask->get());
        if (atlas != nullptr && Atlas::drawsAlike(loaded)) {
            (*mask)->inAtlas = atlas->add(argb != nullptr ? argb : surface);  // converted once for both
            // A graphics card scales for nothing, and samples in its own way: only the software
            // renderer draws the frames from their scaled copy.
            if ((*mask)->inAtlas.w > 0 && frame.x > 0 && (frame.x != drawn.x || frame.y != drawn.y) &&
                scalesOnProcessor(renderer)) {
                (*mask)->scaledInAtlas = atlas->addScaled(argb != nullptr ? argb : surface, frame, drawn);
                (*mask)->frame = frame;
                (*mask)->drawn = drawn;
            }
        }
    }
    SDL_FreeSurface(argb);
    if (fetched == nullptr) {
        SDL_FreeSurface(surface);
    }
    return loaded;
}

SDL_Renderer* Render::createRender(SDL_Window* window, bool software) {
    std::cout << "is rendering";
    SDL_Renderer* created =
        software ? nullptr : SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (created == nullptr && window != nullptr) {
        // No accelerated driver (a virtual display, a remote session): the software renderer
        // still shows and plays the game; the frame loop paces itself in that case.
        created = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    }
    return created;
}

void Render::copyTex(SDL_Rect src, SDL_Rect dst) {
    if (DrawQueue::skipCovered && (!showsInPicture(dst) || !trimToOpaque(texture, src, dst))) {
        return;
    }
    SDL_RenderCopy(renderer, texture, &src, &dst);
    markDrawn();
}

bool Render::trimToOpaque(SDL_Texture* texture, SDL_Rect& src, SDL_Rect& dst) {
    auto* mask = texture != nullptr ? static_cast<OpaqueMask*>(SDL_GetTextureUserData(texture)) : nullptr;
    // A scaled drawing would land its trimmed part on other pixels than the whole one did.
    if (mask == nullptr || src.w != dst.w || src.h != dst.h) {
        return true;
    }
    const SDL_Rect box = mask->box(src);
    if (box.w == 0 || box.h == 0) {
        return false;
    }
    dst = SDL_Rect{dst.x + box.x - src.x, dst.y + box.y - src.y, box.w, box.h};
    src = box;
    return true;
}

void Render::clear() {
    int logicalW = 0;
    int logicalH = 0;
    int outW = 0;
    int outH = 0;
    SDL_RenderGetLogicalSize(renderer, &logicalW, &logicalH);
    if (logicalW > 0 && logicalH > 0 && SDL_GetRendererOutputSize(renderer, &outW, &outH) == 0 &&
        static_cast<long>(outW) * logicalH != static_cast<long>(outH) * logicalW) {
        // A window of another shape than the picture: black bars beside it, the picture's own
        // area in the draw colour. A clear always fills the whole window, bars included.
        Uint8 r = 0, g = 0, b = 0, a = 0;
        SDL_GetRenderDrawColor(renderer, &r, &g, &b, &a);
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, SDL_ALPHA_OPAQUE);
        SDL_RenderClear(renderer);
        SDL_SetRenderDrawColor(renderer, r, g, b, a);
        SDL_RenderFillRect(renderer, nullptr);
    } else {
        SDL_RenderClear(renderer);
    }
    markDrawn();
}

void Render::present() {
    // The menu presents once per item. Showing a back buffer that nothing was drawn into would
    // flash an old or empty picture on double-buffered displays, and every extra present waits
    // for a display refresh: only the first present after drawing is made.
    if (!drawnSincePresent) {
        return;
    }
    if (scene != nullptr && scene->madeFor(renderer)) {
        scene->present();
    } else {
        SDL_RenderPresent(renderer);
    }
    drawnSincePresent = false;
}

SDL_Rect Render::getRect() { return rect; }

SDL_Rect Render::getPos() { return pos; }

bool Render::running() { return isRunning; }
