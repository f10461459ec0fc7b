#include "present/EdgeMarkers.h"

#include "present/Render.h"

#include <algorithm>
#include <cmath>

void EdgeMarkers::clear() {
    things.clear();
    anyInView = false;
}

void EdgeMarkers::add(SDL_Rect onScreen, SDL_Color colour) {
    anyInView = anyInView || Render::showsInPicture(onScreen);
    things.push_back(Thing{SDL_FPoint{static_cast<float>(onScreen.x) + static_cast<float>(onScreen.w) / 2.0f,
                                      static_cast<float>(onScreen.y) + static_cast<float>(onScreen.h) / 2.0f},
                           colour});
}

void EdgeMarkers::triangle(SDL_FPoint centre, float grow, SDL_Color colour, std::vector<SDL_Vertex>& out) {
    const SDL_Rect& picture = Render::kPicture;
    const float midX = static_cast<float>(picture.x) + static_cast<float>(picture.w) / 2.0f;
    const float midY = static_cast<float>(picture.y) + static_cast<float>(picture.h) / 2.0f;
    const float dx = centre.x - midX;
    const float dy = centre.y - midY;
    const float along = std::hypot(dx, dy);
    if (along < 1.0f) {
        return;
    }
    // Where the line from the middle leaves the picture, kept kMargin inside it.
    const float reachX = static_cast<float>(picture.w) / 2.0f - kMargin;
    const float reachY = static_cast<float>(picture.h) / 2.0f - kMargin;
    const float scale =
        std::min(dx != 0.0f ? reachX / std::fabs(dx) : 1e9f, dy != 0.0f ? reachY / std::fabs(dy) : 1e9f);
    const SDL_FPoint way{dx / along, dy / along};
    const SDL_FPoint across{-way.y, way.x};
    const SDL_FPoint tip{midX + dx * scale + way.x * grow, midY + dy * scale + way.y * grow};
    const float back = kLength + 2.0f * grow;
    const float half = kWidth / 2.0f + grow;
    const SDL_FPoint base{tip.x - way.x * back, tip.y - way.y * back};
    for (const SDL_FPoint corner : {tip, SDL_FPoint{base.x + across.x * half, base.y + across.y * half},
                                    SDL_FPoint{base.x - across.x * half, base.y - across.y * half}}) {
        out.push_back(SDL_Vertex{corner, colour, SDL_FPoint{0.0f, 0.0f}});
    }
}

void EdgeMarkers::draw(SDL_Renderer* renderer) {
    if (renderer == nullptr || shown() == 0) {
        return;
    }
    corners.clear();
    // Outlines first, then the colours over them, all in one call.
    for (const Thing& thing : things) {
        triangle(thing.centre, 2.0f, kOutline, corners);
    }
    for (const Thing& thing : things) {
        triangle(thing.centre, 0.0f, thing.colour, corners);
    }
    if (!corners.empty()) {
        SDL_RenderGeometry(renderer, nullptr, corners.data(), static_cast<int>(corners.size()), nullptr, 0);
        Render::markDrawn();
    }
}
