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

void DrawQueue::add(Render& figure, SDL_Rect src, SDL_Rect dst) { keep(figure, src, dst, true, Kind::Figure); }

void DrawQueue::add(Render& figure, SDL_Rect src, SDL_Rect dst, SDL_Color tint) {
    if (keep(figure, src, dst, true, Kind::Figure)) {
        tintLast(tint);
    }
}

void DrawQueue::tintLast(SDL_Color tint) {
    drawings.back().r = tint.r;
    drawings.back().g = tint.g;
    drawings.back().b = tint.b;
}

void DrawQueue::addSoftEdged(Render& thing, SDL_Rect src, SDL_Rect dst) { keep(thing, src, dst, false, Kind::Figure); }

void DrawQueue::addCover(Render& building, SDL_Rect src, SDL_Rect dst) { keep(building, src, dst, false, Kind::Cover); }

void DrawQueue::addCover(Render& building, SDL_Rect src, SDL_Rect dst, SDL_Color tint) {
    if (keep(building, src, dst, false, Kind::Cover)) {
        tintLast(tint);
    }
}

void DrawQueue::addPicture(SDL_Texture* picture, SDL_Rect src, SDL_Rect dst, Uint8 alpha) {
    keep(picture, src, dst, false, alpha, Kind::Effect);
}

bool DrawQueue::keep(Render& picture, SDL_Rect src, SDL_Rect dst, bool coverable, Kind kind) {
    return keep(picture.texture, src, dst, coverable, SDL_ALPHA_OPAQUE, kind);
}

bool DrawQueue::keep(SDL_Texture* picture, SDL_Rect src, SDL_Rect dst, bool coverable, Uint8 alpha, Kind kind) {
    if (picture == nullptr || alpha == 0) {
        return false;  // a missing picture draws nothing
    }
    if (skipCovered && !Render::showsInPicture(dst)) {
        ++skipped;  // wholly outside the picture: it would show nothing
        return false;
    }
    Drawing drawing;
    drawing.texture = picture;
    drawing.src = src;
    drawing.dst = dst;
    drawing.alpha = alpha;
    drawing.coverable = coverable;
    drawing.kind = kind;
    SDL_GetTextureColorMod(picture, &drawing.r, &drawing.g, &drawing.b);
    drawings.push_back(drawing);
    return true;
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
    covers.clear();
    for (std::size_t i = 0; i < count; ++i) {
        Drawing& drawing = drawings[i];
        // A building's cracks and dust stay on it; the figures behind it show through them too.
        if (!covers.empty() && (drawing.kind == Kind::Figure || feet(drawing) > feet(drawings[covers.back()]))) {
            showThrough();
        }
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
        drawing.shown = true;
        make(drawing, src, dst, nullptr, SDL_ALPHA_OPAQUE);
        if (drawing.kind == Kind::Cover) {
            covers.push_back(i);
        }
    }
    showThrough();
    sendBatch();
    if (count > 0) {
        Render::markDrawn();
    }
    drawings.clear();
    destroyReleased();
}

void DrawQueue::make(const Drawing& drawing, SDL_Rect src, SDL_Rect dst, const SDL_Rect* clip, Uint8 alpha) {
    const auto along = static_cast<Uint8>(drawing.alpha * alpha / SDL_ALPHA_OPAQUE);
    if (batched && joinBatch(drawing, src, dst, clip, along)) {
        return;
    }
    sendBatch();
    SDL_Rect part = dst;
    if (clip != nullptr && SDL_IntersectRect(&dst, clip, &part) == SDL_FALSE) {
        return;
    }
    const bool scaled = src.w != dst.w || src.h != dst.h;
    if (clip != nullptr && !scaled) {
        // Unscaled, the part inside the clip is the same pixels from the same part of the picture.
        src = SDL_Rect{src.x + part.x - dst.x, src.y + part.y - dst.y, part.w, part.h};
        dst = part;
    }
    SDL_Rect wasClipped{};
    const bool clipping = clip != nullptr && scaled;
    if (clipping) {
        SDL_RenderGetClipRect(Render::renderer, &wasClipped);
        SDL_RenderSetClipRect(Render::renderer, &part);
    }
    Uint8 r = 255, g = 255, b = 255;
    SDL_GetTextureColorMod(drawing.texture, &r, &g, &b);
    SDL_SetTextureColorMod(drawing.texture, drawing.r, drawing.g, drawing.b);
    if (along != SDL_ALPHA_OPAQUE) {
        SDL_SetTextureAlphaMod(drawing.texture, along);
    }
    SDL_RenderCopy(Render::renderer, drawing.texture, &src, &dst);
    ++calls;
    SDL_SetTextureColorMod(drawing.texture, r, g, b);
    if (along != SDL_ALPHA_OPAQUE) {
        SDL_SetTextureAlphaMod(drawing.texture, SDL_ALPHA_OPAQUE);
    }
    if (clipping) {
        SDL_RenderSetClipRect(Render::renderer, SDL_RectEmpty(&wasClipped) == SDL_TRUE ? nullptr : &wasClipped);
    }
}

SDL_Rect DrawQueue::showing(const Drawing& drawing) const {
    SDL_Rect src = drawing.src;
    SDL_Rect dst{drawing.dst.x + shift.x, drawing.dst.y + shift.y, drawing.dst.w, drawing.dst.h};
    return Render::trimToOpaque(drawing.texture, src, dst) ? dst : SDL_Rect{0, 0, 0, 0};
}

bool DrawQueue::coveredLater(std::size_t at) const {
    const Drawing& drawing = drawings[at];
    for (std::size_t later = at + 1; drawing.coverable && later < drawings.size(); ++later) {
        if (sameSpot(drawing, drawings[later])) {
            return true;
        }
    }
    return false;
}

void DrawQueue::showThrough() {
    for (std::size_t c = 0; c < covers.size(); ++c) {
        const Drawing& cover = drawings[covers[c]];
        // A building drawn twice at one spot (struck, in red) lets them through once.
        const bool again = c > 0 && drawings[covers[c - 1]].texture == cover.texture &&
                           SDL_RectEquals(&drawings[covers[c - 1]].dst, &cover.dst) == SDL_TRUE;
        const SDL_Rect building = showing(cover);
        if (again || SDL_RectEmpty(&building) == SDL_TRUE) {
            continue;
        }
        for (std::size_t j = 0; j < covers[c]; ++j) {
            const Drawing& figure = drawings[j];
            if (figure.kind != Kind::Figure || !figure.shown) {
                continue;
            }
            const SDL_Rect stands = showing(figure);
            if (SDL_HasIntersection(&stands, &building) == SDL_FALSE || coveredLater(j)) {
                continue;
            }
            SDL_Rect src = figure.src;
            SDL_Rect dst{figure.dst.x + shift.x, figure.dst.y + shift.y, figure.dst.w, figure.dst.h};
            Render::trimToOpaque(figure.texture, src, dst);
            make(figure, src, dst, &building, kSeenThrough);
            ++seenThrough;
        }
    }
    covers.clear();
}

bool DrawQueue::joinBatch(const Drawing& drawing, const SDL_Rect& src, const SDL_Rect& whole, const SDL_Rect* clip,
                          Uint8 alpha) {
    const auto* mask = static_cast<const OpaqueMask*>(SDL_GetTextureUserData(drawing.texture));
    if (mask == nullptr || mask->inAtlas.w == 0 || Render::atlas == nullptr) {
        return false;
    }
    SDL_Rect dst = whole;
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
    if (clip != nullptr) {
        // From here the drawing is a plain copy, pixel for pixel: its part is the same pixels.
        if (SDL_IntersectRect(&whole, clip, &dst) == SDL_FALSE) {
            return true;  // nothing of it inside
        }
        from = SDL_Rect{from.x + dst.x - whole.x, from.y + dst.y - whole.y, dst.w, dst.h};
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
    const SDL_Color tint{drawing.r, drawing.g, drawing.b, alpha};
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
