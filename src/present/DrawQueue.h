#pragma once

#include "present/OpaqueMask.h"
#include "present/Render.h"

#include <memory>
#include <vector>

// Drawings of the playing field held back until flush, then made in depth order: by their feet
// (the bottom edge of the destination), the lowest on the screen last, so it stands in front.
// A building drawn over figures standing behind it lets them show through: right after it, the part
// of each figure or bull it covers is drawn again, see-through, so nothing on the field is ever
// wholly hidden; the order by feet stays.
// A figure's drawing that a later one covers exactly (same picture, or the same pixels loaded
// again for another figure, same source and destination) can be left out. That changes no pixel
// as long as the picture has no partly transparent pixel: the later drawing replaces every pixel
// the earlier one set and leaves every other pixel alone, whatever was drawn in between.
class DrawQueue {
public:
    // Leave out drawings that show nothing: covered ones, and (here and in Render::copyTex) those
    // wholly outside the picture. Tests turn it off to compare with every drawing made.
    static bool skipCovered;
    // Sends the drawings of pictures held in the atlas (Render::atlas) to the driver together, one
    // SDL_RenderGeometry call for each run of them, each quad carrying its tint and alpha in its
    // vertices' colour. Tests turn it off to compare with one SDL_RenderCopy per drawing.
    static bool batched;
    // How opaque the part of a figure standing behind a building is drawn over it.
    static constexpr Uint8 kSeenThrough = 175;

    long skipped = 0;      // drawings this queue left out so far
    long calls = 0;        // drawing calls this queue sent to the renderer so far
    long seenThrough = 0;  // parts of figures drawn over a building in front of them so far
    // Where the next flush lands every drawing, moved from where it was asked: the field's
    // shake when the hero is hurt. The world's positions never see it.
    SDL_Point shift{0, 0};

    DrawQueue();
    ~DrawQueue();
    DrawQueue(const DrawQueue&) = delete;
    DrawQueue& operator=(const DrawQueue&) = delete;

    // Keeps the drawing of a figure (a sheet fully opaque or fully clear in every pixel) with the
    // picture's colour tint as it is now.
    void add(Render& figure, SDL_Rect src, SDL_Rect dst);
    // The same with tint instead of the picture's own: a colour the frame holds him in.
    void add(Render& figure, SDL_Rect src, SDL_Rect dst, SDL_Color tint);
    // The same for a picture that may have partly transparent pixels: never left out as covered.
    void addSoftEdged(Render& thing, SDL_Rect src, SDL_Rect dst);
    // A building (soft-edged): the figures and bulls drawn before it that it covers show through.
    void addCover(Render& building, SDL_Rect src, SDL_Rect dst);
    void addCover(Render& building, SDL_Rect src, SDL_Rect dst, SDL_Color tint);
    // A picture the queue does not take from an entity (a flash, a ghost, dust), drawn at alpha;
    // never left out as covered. The picture must last until the flush.
    void addPicture(SDL_Texture* picture, SDL_Rect src, SDL_Rect dst, Uint8 alpha = SDL_ALPHA_OPAQUE);
    // Makes the kept drawings by their feet; equal feet keep the order they came in. Each is made
    // with its own tint; the pictures keep their tints. A drawing of a picture in the atlas at its
    // own size joins the batch; any other (a scaled one, a picture not in the atlas) sends the
    // batch first and is then copied from its own texture, so the order on screen never changes.
    void flush();

    // Destroys texture; while a queue still holds a drawing of it, that queue takes it and mask
    // (which its drawings read) and destroys them after its flush, so an entity may go mid-pass.
    static void release(SDL_Texture* texture, std::unique_ptr<OpaqueMask>& mask);

private:
    enum class Kind {
        Figure,  // an outlaw, the hero, a bull: shows through a building in front of it
        Cover,   // a building
        Effect,  // a flash, a ghost, cracks, dust
    };
    struct Drawing {
        SDL_Texture* texture = nullptr;
        SDL_Rect src{};
        SDL_Rect dst{};
        Uint8 r = 255;  // colour tint at the time of the drawing
        Uint8 g = 255;
        Uint8 b = 255;
        Uint8 alpha = SDL_ALPHA_OPAQUE;
        bool coverable = true;  // a later drawing at the same spot may stand in for it
        Kind kind = Kind::Effect;
        bool shown = false;  // made by this flush (not left out)
    };
    // Whether both textures hold the same picture: the same one, or one the atlas holds once.
    static bool samePixels(SDL_Texture* a, SDL_Texture* b);
    // Whether b, drawn later and opaque, covers a exactly with the same pixels.
    static bool sameSpot(const Drawing& a, const Drawing& b);
    static int feet(const Drawing& drawing) { return drawing.dst.y + drawing.dst.h; }
    // Where the drawing's pixels that show land, shifted: its destination narrowed to what is not
    // fully transparent (whether or not the flush leaves the margins out).
    SDL_Rect showing(const Drawing& drawing) const;
    // Whether a later drawing of the flush covers drawings[at] exactly.
    bool coveredLater(std::size_t at) const;
    // After the buildings waiting in `covers`: the parts of the figures drawn before them that
    // they cover, see-through.
    void showThrough();
    // Makes the drawing, or only its part inside clip (when given) at alpha times its own.
    void make(const Drawing& drawing, SDL_Rect src, SDL_Rect dst, const SDL_Rect* clip, Uint8 alpha);
    static std::vector<DrawQueue*>& queues();  // every queue alive

    // Adds the drawing to the batch when its picture lies in the atlas and it is not scaled: a
    // scaled drawing samples between texels, where another texture size could round otherwise.
    // A whole frame whose scaled copy the atlas holds joins it too, drawn from the copy.
    // With clip, only the part inside it, at alpha.
    bool joinBatch(const Drawing& drawing, const SDL_Rect& src, const SDL_Rect& dst, const SDL_Rect* clip, Uint8 alpha);
    void sendBatch();
    // Whether the drawing was kept (not missing, not wholly outside the picture).
    bool keep(Render& picture, SDL_Rect src, SDL_Rect dst, bool coverable, Kind kind);
    void tintLast(SDL_Color tint);
    bool keep(SDL_Texture* picture, SDL_Rect src, SDL_Rect dst, bool coverable, Uint8 alpha, Kind kind);
    bool holds(const SDL_Texture* texture) const;
    void destroyReleased();

    std::vector<Drawing> drawings;                           // keeps its capacity: no allocation once the game runs
    std::vector<SDL_Vertex> corners;                         // the batch waiting to be sent, four a drawing
    std::vector<int> indices;                                // two triangles a drawing
    std::vector<std::size_t> covers;                         // buildings made, their figures not yet shown through
    std::vector<SDL_Texture*> released;                      // pictures gone while drawings of them wait
    std::vector<std::unique_ptr<OpaqueMask>> releasedMasks;  // and their masks
};
