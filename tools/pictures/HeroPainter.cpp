#include "pictures/HeroPainter.h"

namespace {
const Color kRope = rgb(255, 238, 196);  // the lasso: pale rope, outlined like the figure
const Color kOutline = rgb(52, 30, 20);  // dark brown around the whole figure

FigureLook cowboyLook() {
    FigureLook look;
    look.palette = {
        {'H', rgb(160, 98, 48)},    // hat
        {'L', rgb(196, 132, 70)},   // hat highlight
        {'h', rgb(112, 66, 32)},    // underside of the brim
        {'b', rgb(62, 36, 22)},     // hat band
        {'S', rgb(250, 196, 150)},  // skin
        {'s', rgb(222, 156, 114)},  // skin in shade
        {'e', rgb(40, 26, 24)},     // eyes
        {'m', rgb(120, 66, 34)},    // moustache
        {'r', rgb(140, 86, 44)},    // hair
        {'K', rgb(250, 178, 40)},   // neckerchief
        {'C', rgb(84, 146, 222)},   // shirt
        {'c', rgb(62, 110, 180)},   // shirt in shade
        {'V', rgb(172, 104, 52)},   // vest
        {'v', rgb(128, 74, 36)},    // vest seam
        {'B', rgb(46, 30, 22)},     // belt
        {'G', rgb(255, 214, 70)},   // buckle
        {'J', rgb(72, 104, 184)},   // jeans
        {'O', rgb(104, 58, 30)},    // boots
        {'o', rgb(66, 36, 20)},     // soles
    };
    look.hatFront = {
        "......HHHH......", ".....HLHHHH.....", "....HLHHHHHH....", ".H..HLHHHHHH..H.",
        ".HH.bbbbbbbb.HH.", ".HHHHHHHHHHHHHH.", "..hhhhhhhhhhhh..",
    };
    look.hatBack = {
        "......HHHH......", ".....HHHHHH.....", "....HHHHHHHH....", ".H..HHHHHHHH..H.",
        ".HH.bbbbbbbb.HH.", ".HHHHHHHHHHHHHH.", "..HHHHHHHHHHHH..",
    };
    look.hatSide = {
        "......HHHH......", ".....HLHHHH.....", ".....HLHHHH.....", ".....HHHHHH.....",
        ".H...bbbbbb...H.", ".HHHHHHHHHHHHHH.", "...hhhhhhhhhh...",
    };
    look.bareFront = {
        ".....rrrrrr.....",
        "....rrrrrrrr....",
    };
    look.bodyFront = {
        "....rrSSSSrr....", "....rSSSSSSr....", "...sSSeSSeSSs...", "...sSSeSSeSSs...", "....SSSSSSSS....",
        "....SmmmmmmS....", ".....sSSSSs.....", "...VVKKKKKKVV...", "...VVCKKKKCVV...", "...VvCCKKCCvV...",
        "...VvCCCCCCvV...", "...VVCCCCCCVV...", "...BBBBGGBBBB...", "...JJJJJJJJJJ...", "...JJJJ..JJJJ...",
    };
    look.bodyBack = {
        "....rrrrrrrr....", "....rrrrrrrr....", "...srrrrrrrrs...", "...srrrrrrrrs...", "....rrrrrrrr....",
        "....rrrrrrrr....", ".....sSSSSs.....", "...VVVKKKKVVV...", "...VVVVKKVVVV...", "...VVVVVVVVVV...",
        "...VVVVvvVVVV...", "...VVVVVVVVVV...", "...BBBBBBBBBB...", "...JJJJJJJJJJ...", "...JJJJ..JJJJ...",
    };
    look.bodySide = {
        ".....SSSSrrr....", "....SSSSSrrrr...", "....SeSSSsrrr...", "...SSeSSSSrrr...", "...SSSSSSSrr....",
        "....mmmSSSs.....", ".....sSSSs......", ".....KKKVVV.....", ".....KccVVV.....", ".....cccVvV.....",
        ".....cccVvV.....", ".....cccVVV.....", ".....BBBBBB.....", ".....JJJJJJ.....",
    };
    look.sleeve = rgb(84, 146, 222);
    look.sleeveShade = rgb(56, 100, 168);
    look.hand = rgb(250, 196, 150);
    look.leg = rgb(72, 104, 184);
    look.legShade = rgb(52, 76, 140);
    look.bootShade = rgb(74, 40, 22);
    return look;
}

// One lasso frame: the throwing hand, and the loop as an ellipse that is either spun around
// the hat (its far half behind the figure) or flying out at the end of the rope.
struct LassoStep {
    SDL_Point hand;  // top-left of the throwing hand
    double loopX;    // loop centre
    double loopY;
    double loopRx;  // loop radii
    double loopRy;
    bool overhead;  // spun around the hat rather than thrown
    bool rope;      // a rope runs from the hand to the loop
};

// Columns 1 to 7 per view; the game shows columns 1 to 5 and the last two ease back.
const LassoStep kFront[7] = {
    {{23, 12}, 25.0, 17.0, 2.0, 3.0, false, false}, {{23, 6}, 22.0, 4.0, 6.5, 2.5, true, false},
    {{22, 5}, 20.0, 3.5, 8.0, 2.5, true, false},    {{19, 19}, 22.0, 27.5, 7.0, 3.0, false, true},
    {{21, 19}, 24.0, 25.0, 4.0, 2.5, false, true},  {{22, 15}, 24.5, 19.0, 2.0, 2.5, false, false},
    {{21, 19}, 23.5, 23.0, 2.0, 2.5, false, false},
};
const LassoStep kBack[7] = {
    {{23, 12}, 25.0, 17.0, 2.0, 3.0, false, false}, {{23, 6}, 22.0, 4.0, 6.5, 2.5, true, false},
    {{22, 5}, 20.0, 3.5, 8.0, 2.5, true, false},    {{20, 6}, 25.0, 4.5, 3.5, 2.5, false, true},
    {{21, 9}, 24.5, 7.5, 3.0, 2.5, false, true},    {{22, 15}, 24.5, 19.0, 2.0, 2.5, false, false},
    {{21, 19}, 23.5, 23.0, 2.0, 2.5, false, false},
};
const LassoStep kSide[7] = {
    {{19, 11}, 21.0, 15.0, 2.0, 3.0, false, false}, {{18, 5}, 19.0, 3.5, 7.0, 2.5, true, false},
    {{15, 4}, 14.0, 3.5, 8.0, 2.5, true, false},    {{7, 15}, 3.0, 17.0, 2.0, 4.0, false, true},
    {{9, 17}, 5.0, 21.0, 2.0, 3.0, false, true},    {{13, 14}, 12.0, 18.0, 2.0, 2.5, false, false},
    {{14, 19}, 12.5, 23.0, 2.0, 2.5, false, false},
};
}  // namespace

HeroPainter::HeroPainter() : FramePainter(cowboyLook()) {}

Color HeroPainter::outlineColor() const { return kOutline; }

int HeroPainter::fallSide() const { return -1; }

PixelRows HeroPainter::dazedFace() const {
    return {
        "",
        "",
        "...sSSSSSSSSs...",
        "...sSeeSSeeSs...",
    };
}

Canvas HeroPainter::attack(View view, int column) const {
    const int index = column < 1 ? 0 : column > 7 ? 6 : column - 1;
    const LassoStep& step = view == View::Front ? kFront[index] : view == View::Back ? kBack[index] : kSide[index];
    Pose pose = Figure::standing(view);
    pose.hand[1] = step.hand;
    // Seen from behind, an arm thrown forward disappears in front of the body.
    pose.armsBehind = view == View::Back && step.rope && index == 3;
    if (view != View::Side) {
        pose.hand[0] = {10, 19};  // the free hand rests on the belt
    }

    Canvas frame(Figure::kFrame, Figure::kFrame);
    if (step.overhead) {
        frame.ellipseArc(step.loopX, step.loopY, step.loopRx, step.loopRy, kRope, false);
    }
    figure.draw(frame, view, pose);
    if (step.overhead) {
        frame.ellipseArc(step.loopX, step.loopY, step.loopRx, step.loopRy, kRope, true);
    } else {
        frame.ellipseRing(step.loopX, step.loopY, step.loopRx, step.loopRy, kRope);
    }
    if (step.rope) {
        frame.line(step.hand.x, step.hand.y, static_cast<int>(step.loopX), static_cast<int>(step.loopY - step.loopRy),
                   kRope);
    }
    return frame;
}
