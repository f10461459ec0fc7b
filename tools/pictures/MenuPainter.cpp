#include "pictures/MenuPainter.h"

#include "pictures/BullPainter.h"
#include "pictures/EnemyPainter.h"
#include "pictures/FarmPainter.h"
#include "pictures/HeroPainter.h"
#include "pictures/PixelFont.h"
#include "pictures/SpriteSheet.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int kHorizon = 440;    // where the sky meets the sand
constexpr int kSkyBands = 11;    // flat colour bands, pixel-art style
constexpr int kTitleBlock = 11;  // size of one title font pixel
constexpr int kTitleTop = 34;
constexpr int kTitleOutline = 5;  // width of the dark edge around the title
constexpr int kBoardFrame = 18;   // width of the signboard's wooden frame
const Color kSkyTop = rgb(92, 170, 228);
const Color kSkyLow = rgb(255, 222, 164);
const Color kSand = rgb(242, 196, 111);
const Color kSandDark = rgb(222, 170, 92);
const Color kMesa = rgb(204, 124, 100);
const Color kMesaTop = rgb(226, 152, 118);
const Color kMesaFar = rgb(226, 166, 150);
const Color kWood = rgb(150, 98, 54);
const Color kWoodDark = rgb(112, 70, 36);
const Color kInk = rgb(52, 28, 20);
const Color kParchment = rgb(252, 240, 210);
const Color kParchmentLine = rgb(244, 228, 192);
const Color kCactus = rgb(84, 156, 78);
const Color kCactusDark = rgb(58, 118, 58);

Color mix(Color a, Color b, double t) {
    auto channel = [t](Uint8 x, Uint8 y) { return static_cast<Uint8>(std::lround(x + (y - x) * t)); };
    return rgb(channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b));
}

void sky(Canvas& c) {
    const int band = kHorizon / kSkyBands + 1;
    for (int i = 0; i < kSkyBands; ++i) {
        c.fillRect(0, i * band, MenuPainter::kWindowWidth, band, mix(kSkyTop, kSkyLow, i / (kSkyBands - 1.0)));
    }
    // A low sun with a ring of glow.
    c.fillEllipse(930.0, 300.0, 84.0, 84.0, rgba(255, 244, 200, 110));
    c.fillEllipse(930.0, 300.0, 62.0, 62.0, rgb(255, 232, 140));
    c.fillEllipse(918.0, 288.0, 40.0, 40.0, rgb(255, 242, 180));
    // A few flat clouds.
    for (const SDL_Rect& cloud : {SDL_Rect{60, 170, 150, 18}, SDL_Rect{96, 152, 80, 18}, SDL_Rect{820, 150, 130, 16},
                                  SDL_Rect{850, 134, 70, 16}}) {
        c.fillRect(cloud.x, cloud.y, cloud.w, cloud.h, rgb(255, 250, 240));
    }
}

void mesas(Canvas& c) {
    c.fillPolygon({{0, 440},
                   {0, 396},
                   {120, 380},
                   {260, 392},
                   {360, 384},
                   {560, 396},
                   {700, 380},
                   {900, 392},
                   {1080, 384},
                   {1080, 440}},
                  kMesaFar);
    const std::vector<SDL_FPoint> left = {{0, 440},   {0, 350},   {36, 342},  {60, 318},
                                          {210, 318}, {236, 344}, {300, 356}, {330, 440}};
    const std::vector<SDL_FPoint> right = {{770, 440},  {796, 372},  {836, 362},  {862, 336},
                                           {1012, 336}, {1036, 360}, {1080, 366}, {1080, 440}};
    c.fillPolygon(left, kMesa);
    c.fillPolygon(right, kMesa);
    c.fillRect(60, 318, 150, 8, kMesaTop);
    c.fillRect(862, 336, 150, 8, kMesaTop);
}

void ground(Canvas& c) {
    c.fillRect(0, kHorizon, MenuPainter::kWindowWidth, MenuPainter::kWindowHeight - kHorizon, kSand);
    c.fillRect(0, kHorizon, MenuPainter::kWindowWidth, 6, kSandDark);
    // Ripples in the sand, longer the nearer they are.
    for (int row = 0; row < 6; ++row) {
        const int y = kHorizon + 30 + row * row * 8 + row * 22;
        const int length = 30 + row * 14;
        for (int x = (row * 97) % 180; x < MenuPainter::kWindowWidth; x += 180 + row * 20) {
            c.fillRect(x, y, length, 4, kSandDark);
        }
    }
}

void cactus(Canvas& c, int x, int y, int scale) {
    Canvas art(24, 34);
    art.fillRect(9, 2, 6, 32, kCactus);
    art.fillRect(2, 12, 4, 10, kCactus);
    art.fillRect(2, 20, 8, 4, kCactus);
    art.fillRect(18, 8, 4, 10, kCactus);
    art.fillRect(14, 16, 8, 4, kCactus);
    art.fillRect(11, 4, 1, 28, kCactusDark);
    art.outline(kInk);
    c.blit(art, x, y, scale);
}

void signboard(Canvas& c) {
    const SDL_Rect face = MenuPainter::kBoardFace;
    const int left = face.x - kBoardFrame;
    const int top = face.y - kBoardFrame;
    const int width = face.w + 2 * kBoardFrame;
    const int height = face.h + 2 * kBoardFrame;
    // Two posts down into the sand.
    for (int x : {left + 40, left + width - 64}) {
        c.fillRect(x - 4, top + height - 4, 32, 96, kInk);
        c.fillRect(x, top + height, 24, 88, kWood);
        c.fillRect(x + 16, top + height, 8, 88, kWoodDark);
    }
    c.fillRect(left - 4, top - 4, width + 8, height + 8, kInk);
    c.fillRect(left, top, width, height, kWood);
    for (int y = top + 6; y < top + height; y += 12) {
        c.fillRect(left + 4, y, width - 8, 2, kWoodDark);
    }
    c.fillRect(face.x - 4, face.y - 4, face.w + 8, face.h + 8, kInk);
    c.fillRect(face.x, face.y, face.w, face.h, kParchment);
    // Faint ruled lines keep the face calm enough for the menu's words.
    for (int y = face.y + 24; y < face.y + face.h; y += 50) {
        c.fillRect(face.x + 12, y, face.w - 24, 2, kParchmentLine);
    }
    // Nail heads in the corners.
    for (int x : {left + 6, left + width - 12}) {
        for (int y : {top + 6, top + height - 12}) {
            c.fillRect(x, y, 6, 6, kInk);
        }
    }
}

void title(Canvas& c) {
    const std::string name = "BRAMBLEHOOF";
    const int x = (MenuPainter::kWindowWidth - PixelFont::width(name, kTitleBlock)) / 2;
    const Canvas ink = PixelFont::render(name, kTitleBlock, kInk);
    const Canvas shadow = PixelFont::render(name, kTitleBlock, rgba(60, 20, 10, 110));
    c.blit(shadow, x + 10, kTitleTop + 10);
    for (int dy = -kTitleOutline; dy <= kTitleOutline; ++dy) {
        for (int dx = -kTitleOutline; dx <= kTitleOutline; ++dx) {
            c.blit(ink, x + dx, kTitleTop + dy);
        }
    }
    // Each row of font pixels warms from yellow at the top to orange at the bottom.
    for (int row = 0; row < PixelFont::kGlyphHeight; ++row) {
        const Color shade = mix(rgb(255, 232, 96), rgb(244, 120, 36), row / (PixelFont::kGlyphHeight - 1.0));
        const Canvas letters = PixelFont::render(name, kTitleBlock, shade);
        for (int y = row * kTitleBlock; y < (row + 1) * kTitleBlock; ++y) {
            for (int xx = 0; xx < letters.width(); ++xx) {
                if (letters.get(xx, y).a != 0) {
                    c.set(x + xx, kTitleTop + y, shade);
                }
            }
        }
        // A light first line on every font pixel gives the letters a bevel.
        for (int xx = 0; xx < letters.width(); ++xx) {
            const int y = row * kTitleBlock;
            if (letters.get(xx, y).a != 0 && letters.get(xx, y - 1).a == 0) {
                c.fillRect(x + xx, kTitleTop + y, 1, 3, rgb(255, 250, 200));
            }
        }
    }
}

void cast(Canvas& c) {
    c.blit(FarmPainter::art(), 12, 470, 3);
    cactus(c, 1000, 410, 3);
    cactus(c, 292, 396, 2);
    const HeroPainter hero;
    const EnemyPainter outlaw;
    // The outlaw sneaks up from the left, the hero stands his ground by his bulls.
    c.blit(SpriteSheet::finishedFrame(outlaw, 3, 2), 330, 510, 5);
    c.blit(BullPainter::paint(1), 560, 600);
    c.blit(BullPainter::paint(0), 700, 530);
    c.blit(SpriteSheet::finishedFrame(hero, 1, 0), 850, 476, 6);
}
}  // namespace

Canvas MenuPainter::scene() {
    Canvas c(kWindowWidth, kWindowHeight);
    sky(c);
    mesas(c);
    ground(c);
    signboard(c);
    cast(c);
    title(c);
    return c;
}

Canvas MenuPainter::paint() {
    const Canvas window = scene();
    Canvas squeezed(kWindowHeight, kWindowWidth);
    for (int y = 0; y < squeezed.height(); ++y) {
        for (int x = 0; x < squeezed.width(); ++x) {
            // Sample the centre of the window pixel this stored pixel will be stretched over.
            const int wx = std::min(kWindowWidth - 1, (2 * x + 1) * kWindowWidth / (2 * kWindowHeight));
            const int wy = std::min(kWindowHeight - 1, (2 * y + 1) * kWindowHeight / (2 * kWindowWidth));
            squeezed.set(x, y, window.get(wx, wy));
        }
    }
    return squeezed;
}
