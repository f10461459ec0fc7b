#include "present/DrawQueue.h"

#include "TestSupport.h"

#include <SDL_image.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A sheet of two by two frames of 8 by 8, each frame a box of its own colours in a clear margin:
// every pixel opaque or clear, as a figure's sheet is.
void writeSheet(const std::string& path, Uint8 seed) {
    SDL_Surface* sheet = SDL_CreateRGBSurfaceWithFormat(0, 16, 16, 32, SDL_PIXELFORMAT_ARGB8888);
    for (int y = 0; y < 16; ++y) {
        auto* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(sheet->pixels) + y * sheet->pitch);
        for (int x = 0; x < 16; ++x) {
            const bool margin = x % 8 == 0 || y % 8 == 7;
            row[x] = SDL_MapRGBA(sheet->format, static_cast<Uint8>(seed + 29 * x), static_cast<Uint8>(17 * y),
                                 static_cast<Uint8>(seed * (x / 8 + 2 * (y / 8))), margin ? 0 : 255);
        }
    }
    IMG_SavePNG(sheet, path.c_str());
    SDL_FreeSurface(sheet);
}

// A figure that loads a picture as the entities do.
struct Figure : Render {
    Figure(const std::string& path, SDL_Point frame = {0, 0}, SDL_Point drawn = {0, 0}) {
        loadPicture(path, texW, texH, frame, drawn);
    }
    const OpaqueMask* opaque() const { return mask.get(); }
};

// The picture's pixels in box, the window's own bits only.
std::vector<Uint32> pixels(SDL_Rect box) {
    std::vector<Uint32> read(static_cast<std::size_t>(box.w * box.h));
    SDL_RenderReadPixels(Render::renderer, &box, SDL_PIXELFORMAT_ARGB8888, read.data(), box.w * 4);
    for (Uint32& pixel : read) {
        pixel &= 0xFFFFFFu;
    }
    return read;
}

class DrawQueueTest : public ::testing::Test {
protected:
    testsupport::ScratchDir scratch;
    testsupport::SdlSession sdl;

    void SetUp() override {
        Render::atlas = std::make_unique<Atlas>(sdl.renderer);
        writeSheet(scratch.file("a.png"), 40);
        writeSheet(scratch.file("b.png"), 90);
    }
    void TearDown() override {
        DrawQueue::batched = true;
        Render::atlas.reset();
    }

    // The queue's drawings made on a grey picture; what they left in box.
    std::vector<Uint32> drawn(DrawQueue& queue, SDL_Rect box) {
        SDL_SetRenderDrawColor(sdl.renderer, 120, 120, 120, 255);
        SDL_RenderClear(sdl.renderer);
        queue.flush();
        return pixels(box);
    }
};

// Figures overlapping on the field: the one whose feet are lower on the screen stands in front;
// of two with their feet on the same line, the one that came later (as the passes have always
// drawn them), whichever that is.
TEST_F(DrawQueueTest, LowerFeetStandInFrontAndEqualFeetKeepTheOrderTheyCameIn) {
    Figure a(scratch.file("a.png"));
    Figure b(scratch.file("b.png"));
    const SDL_Rect frame{0, 0, 8, 8};
    const SDL_Rect overlap{104, 100, 3, 7};  // opaque in both, the one in front shows
    const auto alone = [&](Figure& figure, SDL_Rect at) {
        DrawQueue queue;
        queue.add(figure, frame, at);
        return drawn(queue, overlap);
    };
    const SDL_Rect left{100, 100, 8, 8};
    const SDL_Rect right{102, 100, 8, 8};
    const std::vector<Uint32> onlyA = alone(a, left);
    const std::vector<Uint32> onlyB = alone(b, right);
    ASSERT_NE(onlyA, onlyB);

    DrawQueue queue;
    queue.add(a, frame, left);
    queue.add(b, frame, right);
    EXPECT_EQ(drawn(queue, overlap), onlyB) << "equal feet: b came later";
    queue.add(b, frame, right);
    queue.add(a, frame, left);
    EXPECT_EQ(drawn(queue, overlap), onlyA) << "equal feet: a came later";

    const SDL_Rect lower{100, 101, 8, 8};
    const SDL_Rect both{104, 101, 3, 6};
    DrawQueue one;
    one.add(a, frame, lower);
    const std::vector<Uint32> aLower = drawn(one, both);
    queue.add(a, frame, lower);
    queue.add(b, frame, right);
    EXPECT_EQ(drawn(queue, both), aLower) << "a's feet lower: a in front though it came first";
}

// A later drawing of the same pixels at the same spot covers an earlier one, whichever figure
// loaded them; another picture, or the same one drawn half clear, does not.
TEST_F(DrawQueueTest, TheSamePixelsDrawnAgainAtTheSameSpotLeaveTheFirstDrawingOut) {
    Figure first(scratch.file("a.png"));
    Figure again(scratch.file("a.png"));
    Figure other(scratch.file("b.png"));
    ASSERT_NE(first.texture, again.texture);
    ASSERT_GT(first.opaque()->inAtlas.w, 0);
    const SDL_Rect src{8, 0, 8, 8};
    const SDL_Rect dst{30, 20, 8, 8};

    DrawQueue queue;
    queue.add(first, src, dst);
    queue.add(again, src, dst);
    queue.flush();
    EXPECT_EQ(queue.skipped, 1) << "one sheet loaded twice, drawn once";

    queue.add(first, src, dst);
    queue.add(other, src, dst);
    queue.flush();
    EXPECT_EQ(queue.skipped, 1) << "other pixels cover nothing";

    queue.add(first, src, dst);
    queue.addPicture(again.texture, src, dst, 128);
    queue.flush();
    EXPECT_EQ(queue.skipped, 1) << "half clear, the drawing under it shows through";

    queue.add(first, src, SDL_Rect{31, 20, 8, 8});
    queue.add(again, src, dst);
    queue.flush();
    EXPECT_EQ(queue.skipped, 1) << "a pixel apart";
}

// On the software renderer a sheet drawn at another size keeps its frames scaled in the atlas; a
// whole frame drawn at that size joins the batch from there and makes the very pixels SDL's own
// scaling of the frame makes, tinted or not, whole or cut by the picture's edge.
TEST_F(DrawQueueTest, AFrameDrawnFromItsScaledCopyMakesThePixelsOfTheScaledDrawing) {
    Figure hero(scratch.file("a.png"), SDL_Point{8, 8}, SDL_Point{11, 13});
    ASSERT_EQ(hero.opaque()->scaledInAtlas.w, 22) << "two frames of 11 side by side";
    ASSERT_EQ(hero.opaque()->scaledInAtlas.h, 26);
    Figure plain(scratch.file("b.png"));
    EXPECT_EQ(plain.opaque()->scaledInAtlas.w, 0) << "a sheet drawn at its own size has no copy";

    const SDL_Rect box = Render::kPicture;
    for (const SDL_Rect src :
         {SDL_Rect{0, 0, 8, 8}, SDL_Rect{8, 0, 8, 8}, SDL_Rect{0, 8, 8, 8}, SDL_Rect{8, 8, 8, 8}}) {
        for (const SDL_Point at : {SDL_Point{40, 30}, SDL_Point{-4, 100}, SDL_Point{box.w - 6, box.h - 9}}) {
            for (const Uint8 green : {Uint8{255}, Uint8{60}}) {
                const SDL_Rect dst{at.x, at.y, 11, 13};
                DrawQueue queue;
                SDL_SetTextureColorMod(hero.texture, 255, green, 255);
                DrawQueue::batched = false;
                queue.add(hero, src, dst);
                queue.add(plain, SDL_Rect{8, 0, 8, 8}, SDL_Rect{200, 200, 8, 8});
                const std::vector<Uint32> scaled = drawn(queue, box);
                DrawQueue::batched = true;
                queue.add(hero, src, dst);
                queue.add(plain, SDL_Rect{8, 0, 8, 8}, SDL_Rect{200, 200, 8, 8});
                const long before = queue.calls;
                const std::vector<Uint32> copied = drawn(queue, box);
                EXPECT_EQ(queue.calls - before, 1) << "the frame joined the batch";
                EXPECT_TRUE(copied == scaled) << src.x << "," << src.y << " at " << at.x << "," << at.y;
            }
        }
    }
    SDL_SetTextureColorMod(hero.texture, 255, 255, 255);

    // Not a whole frame, or another size: scaled on the fly as before.
    std::vector<Uint32> shown[2];
    for (const bool batched : {false, true}) {
        DrawQueue::batched = batched;
        DrawQueue queue;
        queue.add(hero, SDL_Rect{0, 0, 8, 4}, SDL_Rect{40, 30, 11, 6});
        queue.add(hero, SDL_Rect{4, 0, 8, 8}, SDL_Rect{60, 30, 11, 13});
        queue.add(hero, SDL_Rect{0, 0, 8, 8}, SDL_Rect{80, 30, 16, 16});
        queue.add(hero, SDL_Rect{0, 0, 8, 8}, SDL_Rect{100, 30, 16, 13});
        shown[batched ? 1 : 0] = drawn(queue, box);
        EXPECT_EQ(queue.calls, 4) << "one each";
    }
    EXPECT_TRUE(shown[0] == shown[1]);
}

}  // namespace
