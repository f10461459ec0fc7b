#include "present/DrawQueue.h"

#include <algorithm>

bool DrawQueue::skipCovered = true;
bool DrawQueue::batched = true;

DrawQueue::DrawQueue() { queues().push_back(this); }

DrawQueue::~DrawQueue() {
    auto& all = queues();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
    destroyReleased();
}

std::vector<DrawQueue*>& DrawQueue::queues() {
    static std::vector<DrawQueue*> all;
    return all;
}

void DrawQueue::add(Render& figure, SDL_Rect src, SDL_Rect dst) { keep(figure, src, dst, true); }

void DrawQueue::addSoftEdged(Render& thing, SDL_Rect src, SDL_Rect dst) { keep(thing, src, dst, false); }

void DrawQueue::addPicture(SDL_Texture* picture, SDL_Rect src, SDL_Rect dst, Uint8 alpha) {
    keep(picture, src, dst, false, alpha);
}

void DrawQueue::keep(Render& picture, SDL_Rect src, SDL_Rect dst, bool coverable) {
    keep(picture.texture, src, dst, coverable, SDL_ALPHA_OPAQUE);
}

void DrawQueue::keep(SDL_Texture* picture, SDL_Rect src, SDL_Rect dst, bool coverable, Uint8 alpha) {
    if (picture == nullptr || alpha == 0) {
        return;  // a missing picture draws nothing
    }
    if (skipCovered && !Render::showsInPicture(dst)) {
        ++skipped;  // wholly outside the picture: it would show nothing
        return;
    }
    Drawing drawing;
    drawing.texture = picture;
    drawing.src = src;
    drawing.dst = dst;
    drawing.alpha = alpha;
    drawing.coverable = coverable;
    SDL_GetTextureColorMod(picture, &drawing.r, &drawing.g, &drawing.b);
    drawings.push_back(drawing);
}

bool DrawQueue::samePixels(SDL_Texture* a, SDL_Texture* b) {
    if (a == b) {
        return true;
    }
    // Two entities of one kind each load the same sheet; the atlas holds its pixels once.
    const auto* maskA = static_cast<const OpaqueMask*>(SDL_GetTextureUserData(a));
    const auto* maskB = static_cast<const OpaqueMask*>(SDL_GetTextureUserData(b));
    return maskA != nullptr && maskB != nullptr && maskA->inAtlas.w > 0 &&
           SDL_RectEquals(&maskA->inAtlas, &maskB->inAtlas) == SDL_TRUE;
}

bool DrawQueue::sameSpot(const Drawing& a, const Drawing& b) {
    // The spots first: asked for every pair of a frame's drawings, they mostly differ.
    return SDL_RectEquals(&a.dst, &b.dst) == SDL_TRUE && SDL_RectEquals(&a.src, &b.src) == SDL_TRUE &&
           b.alpha == SDL_ALPHA_OPAQUE && samePixels(a.texture, b.texture);
}

bool DrawQueue::holds(const SDL_Texture* texture) const {
    return std::any_of(drawings.begin(), drawings.end(),
                       [texture](const Drawing& drawing) { return drawing.texture == texture; });
}

void DrawQueue::release(SDL_Texture* texture, std::unique_ptr<OpaqueMask>& mask) {
    for (DrawQueue* queue : queues()) {
        if (queue->holds(texture)) {
            queue->released.push_back(texture);
            queue->releasedMasks.push_back(std::move(mask));
            return;
        }
    }
    SDL_DestroyTexture(texture);
}

void DrawQueue::destroyReleased() {
    // Without a renderer its textures went with it.
    if (Render::renderer != nullptr) {
        for (SDL_Texture* texture : released) {
            SDL_DestroyTexture(texture);
        }
    }
    released.clear();
    releasedMasks.clear();
}

void DrawQueue::flush() {
    // Insertion sort: stable, in place (no allocation), and quick on the few dozen drawings of a
    // frame, which mostly come in nearly sorted.
    for (std::size_t i = 1; i < drawings.size(); ++i) {
        const Drawing moving = drawings[i];
        std::size_t at = i;
        for (; at > 0 && feet(drawings[at - 1]) > feet(moving); --at) {
            drawings[at] = drawings[at - 1];
        }
        drawings[at] = moving;
    }
    const std::size_t count = drawings.size();
    for (std::size_t i = 0; i < count; ++i) {
        const Drawing& drawing = drawings[i];
        bool covered = false;
        for (std::size_t later = i + 1; skipCovered && drawing.coverable && later < count && !covered; ++later) {
            covered = sameSpot(drawing, drawings[later]);
        }
        if (covered) {
            ++skipped;
            continue;
        }
        SDL_Rect src = drawing.src;
        SDL_Rect dst = drawing.dst;
        dst.x += shift.x;
        dst.y += shift.y;
        if (skipCovered && !Render::trimToOpaque(drawing.texture, src, dst)) {
            ++skipped;
            continue;
        }
        if (batched && joinBatch(drawing, src, dst)) {
            continue;
        }
        sendBatch();
        Uint8 r = 255, g = 255, b = 255;
        SDL_GetTextureColorMod(drawing.texture, &r, &g, &b);
        SDL_SetTextureColorMod(drawing.texture, drawing.r, drawing.g, drawing.b);
        if (drawing.alpha != SDL_ALPHA_OPAQUE) {
            SDL_SetTextureAlphaMod(drawing.texture, drawing.alpha);
        }
        SDL_RenderCopy(Render::renderer, drawing.texture, &src, &dst);
        ++calls;
        SDL_SetTextureColorMod(drawing.texture, r, g, b);
        if (drawing.alpha != SDL_ALPHA_OPAQUE) {
            SDL_SetTextureAlphaMod(drawing.texture, SDL_ALPHA_OPAQUE);
        }
    }
    sendBatch();
    if (count > 0) {
        Render::markDrawn();
    }
    drawings.clear();
    destroyReleased();
}

bool DrawQueue::joinBatch(const Drawing& drawing, const SDL_Rect& src, const SDL_Rect& dst) {
    const auto* mask = static_cast<const OpaqueMask*>(SDL_GetTextureUserData(drawing.texture));
    if (mask == nullptr || mask->inAtlas.w == 0 || Render::atlas == nullptr) {
        return false;
    }
    SDL_Rect from{mask->inAtlas.x + src.x, mask->inAtlas.y + src.y, src.w, src.h};
    if (src.w != dst.w || src.h != dst.h) {
        // A whole frame drawn at the size its scaled copy has is drawn from that copy, unscaled.
        const SDL_Rect& scaled = mask->scaledInAtlas;
        if (scaled.w == 0 || src.w != mask->frame.x || src.h != mask->frame.y || dst.w != mask->drawn.x ||
            dst.h != mask->drawn.y || src.x < 0 || src.y < 0 || src.x % src.w != 0 || src.y % src.h != 0) {
            return false;
        }
        const SDL_Point at{src.x / src.w * dst.w, src.y / src.h * dst.h};
        if (at.x + dst.w > scaled.w || at.y + dst.h > scaled.h) {
            return false;
        }
        from = SDL_Rect{scaled.x + at.x, scaled.y + at.y, dst.w, dst.h};
    }
    // The corners as SDL_RenderCopy lays them out (top left, top right, bottom right, bottom
    // left; triangles 0 1 2 and 0 2 3), so both make the very same pixels.
    const float size = static_cast<float>(Atlas::kSize);
    const float left = static_cast<float>(dst.x);
    const float top = static_cast<float>(dst.y);
    const float right = static_cast<float>(dst.x + dst.w);
    const float bottom = static_cast<float>(dst.y + dst.h);
    const float u0 = static_cast<float>(from.x) / size;
    const float v0 = static_cast<float>(from.y) / size;
    const float u1 = static_cast<float>(from.x + from.w) / size;
    const float v1 = static_cast<float>(from.y + from.h) / size;
    const SDL_Color tint{drawing.r, drawing.g, drawing.b, drawing.alpha};
    const int first = static_cast<int>(corners.size());
    corners.push_back(SDL_Vertex{SDL_FPoint{left, top}, tint, SDL_FPoint{u0, v0}});
    corners.push_back(SDL_Vertex{SDL_FPoint{right, top}, tint, SDL_FPoint{u1, v0}});
    corners.push_back(SDL_Vertex{SDL_FPoint{right, bottom}, tint, SDL_FPoint{u1, v1}});
    corners.push_back(SDL_Vertex{SDL_FPoint{left, bottom}, tint, SDL_FPoint{u0, v1}});
    for (const int corner : {0, 1, 2, 0, 2, 3}) {
        indices.push_back(first + corner);
    }
    return true;
}

void DrawQueue::sendBatch() {
    if (corners.empty()) {
        return;
    }
    SDL_RenderGeometry(Render::renderer, Render::atlas->texture(), corners.data(), static_cast<int>(corners.size()),
                       indices.data(), static_cast<int>(indices.size()));
    ++calls;
    corners.clear();
    indices.clear();
}
