#include "pictures/BullPainter.h"

namespace {
// Colours and marks that tell the two bulls apart.
struct BullLook {
    Color coat;      // body
    Color shade;     // far legs and the underside
    Color head;      // head
    Color muzzle;    // nose and mouth
    Color horn;      // horns
    Color hornTip;   // horn tips
    Color patch;     // patches on the coat; transparent for none
    bool ring;       // a brass ring through the nose
    bool longHorns;  // long curved horns rather than short stubs
    bool mirrored;   // faces left
};

const Color kOutline = rgb(40, 24, 20);      // outline around the whole bull
const Color kHoof = rgb(58, 40, 34);         // hooves
const Color kEye = rgb(20, 14, 14);          // eye
const Color kNostril = rgb(120, 50, 50);     // nostril
const Color kRing = rgb(255, 206, 60);       // nose ring
const Color kShadow = rgba(70, 40, 20, 70);  // shadow on the sand

const BullLook kLooks[2] = {
    {rgb(156, 84, 40), rgb(112, 58, 28), rgb(140, 74, 34), rgb(236, 170, 150), rgb(248, 240, 216), rgb(170, 150, 120),
     kClear, false, true, false},
    {rgb(244, 242, 236), rgb(176, 172, 168), rgb(34, 32, 36), rgb(240, 176, 170), rgb(236, 228, 204),
     rgb(150, 136, 110), rgb(34, 32, 36), true, false, true},
};

// The body without head, legs or tail, used again as the stencil for the patches.
void paintBody(Canvas& art, Color c) {
    art.fillEllipse(17.0, 12.5, 11.5, 6.0, c);
    art.fillEllipse(24.0, 10.5, 6.5, 5.5, c);  // the hump over the shoulders
    art.fillEllipse(9.5, 12.0, 5.5, 6.0, c);   // the hindquarters
}
}  // namespace

Canvas BullPainter::paint(int kind) {
    const BullLook& look = kLooks[kind == 0 ? 0 : 1];
    Canvas art(kWidth, kHeight);

    // Far legs first, in shade, then the tail, body, near legs and head.
    for (int x : {12, 21}) {
        art.fillRect(x, 15, 3, 7, look.shade);
        art.fillRect(x, 21, 3, 2, kHoof);
    }
    art.line(5, 9, 3, 17, look.coat, 1);
    art.fillEllipse(3.0, 18.5, 1.5, 2.0, look.head);

    paintBody(art, look.coat);
    if (look.patch.a != 0) {
        Canvas spots(kWidth, kHeight);
        spots.fillEllipse(10.0, 9.0, 4.0, 3.0, look.patch);
        spots.fillEllipse(21.0, 13.0, 3.5, 2.5, look.patch);
        spots.fillEllipse(26.0, 7.5, 3.0, 2.5, look.patch);
        spots.fillEllipse(14.0, 15.0, 2.0, 1.5, look.patch);
        Canvas stencil(kWidth, kHeight);
        paintBody(stencil, look.coat);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                if (spots.get(x, y).a != 0 && stencil.get(x, y).a != 0) {
                    art.set(x, y, look.patch);
                }
            }
        }
    }
    for (int x : {8, 24}) {
        art.fillRect(x, 15, 3, 8, look.coat);
        art.fillRect(x, 22, 3, 2, kHoof);
    }

    // Head, lowered a little, with horns, ear, eye and muzzle.
    if (look.longHorns) {
        art.fillRect(30, 5, 2, 2, look.horn);
        art.line(30, 5, 28, 4, look.horn, 1);
        art.set(27, 3, look.hornTip);
        art.fillRect(35, 5, 2, 2, look.horn);
        art.line(36, 5, 38, 4, look.horn, 1);
        art.set(39, 3, look.hornTip);
    } else {
        art.fillRect(31, 4, 2, 3, look.horn);
        art.fillRect(35, 4, 2, 3, look.horn);
        art.set(31, 4, look.hornTip);
        art.set(36, 4, look.hornTip);
    }
    art.fillEllipse(33.5, 10.0, 4.5, 4.5, look.head);
    art.fillRect(28, 8, 3, 2, look.head);  // the ear, pointing back
    art.fillEllipse(36.0, 13.5, 3.2, 2.6, look.muzzle);
    art.fillRect(34, 9, 2, 2, kEye);
    art.set(34, 9, rgb(255, 255, 255));
    art.set(37, 13, kNostril);
    if (look.ring) {
        art.ellipseRing(37.5, 16.5, 1.6, 1.6, detail(kRing));
    }
    if (kind != 0) {
        art.fillRect(33, 6, 2, 2, rgb(255, 255, 255));  // a white blaze on the black head
    }

    art.outline(kOutline);
    Canvas withShadow(kWidth, kHeight);
    withShadow.fillEllipse(19.0, 23.5, 15.0, 1.5, kShadow);
    withShadow.blit(art, 0, 0);
    const Canvas facing = look.mirrored ? withShadow.mirrored() : withShadow;
    return facing.scaled(kScale);
}
