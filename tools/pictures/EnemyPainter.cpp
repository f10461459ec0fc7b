#include "pictures/EnemyPainter.h"

#include <algorithm>
#include <cmath>

namespace {
const Color kOutline = rgb(24, 16, 28);    // near black with a cold tint
const Color kClub = rgb(190, 128, 66);     // the club's wood, light enough for the sand
const Color kClubDark = rgb(140, 88, 44);  // its heavy end
const Color kSpark = rgb(255, 244, 150);   // the flash of a blow that lands
constexpr double kPi = 3.14159265358979323846;
constexpr int kSparkMargin = 4;  // nearest the spark's centre comes to a frame edge
constexpr int kSparkMax = Figure::kFrame - 1 - kSparkMargin;

FigureLook coyoteLook() {
    FigureLook look;
    look.palette = {
        {'H', rgb(44, 38, 50)},     // hat
        {'h', rgb(28, 24, 32)},     // underside of the brim
        {'b', rgb(150, 34, 40)},    // hat band
        {'F', rgb(122, 96, 78)},    // fur
        {'f', rgb(84, 64, 54)},     // dark fur, inside the ears
        {'M', rgb(222, 204, 172)},  // pale muzzle and tail tip
        {'n', rgb(26, 20, 22)},     // nose
        {'Y', rgb(255, 212, 36)},   // eyes
        {'e', rgb(36, 24, 24)},     // brows
        {'m', rgb(96, 28, 34)},     // mouth
        {'w', rgb(255, 255, 255)},  // fangs
        {'R', rgb(214, 36, 40)},    // bandana
        {'r', rgb(150, 20, 28)},    // bandana in shade
        {'D', rgb(62, 52, 80)},     // duster
        {'d', rgb(42, 34, 56)},     // duster in shade
        {'G', rgb(200, 180, 90)},   // buttons
        {'T', rgb(62, 60, 66)},     // trousers
        {'O', rgb(36, 30, 34)},     // boots
        {'o', rgb(20, 16, 18)},     // soles
    };
    look.hatFront = {
        "..F..........F..", "..FF..HHHH..FF..", "..FfF.HHHH.FfF..", "...FFHHHHHHFF...",
        "....HbbbbbbH....", ".hHHHHHHHHHHHHh.", "..hhhhhhhhhhhh..",
    };
    look.hatBack = {
        "..F..........F..", "..FF..HHHH..FF..", "..FFF.HHHH.FFF..", "...FFHHHHHHFF...",
        "....HbbbbbbH....", ".HHHHHHHHHHHHHH.", "..HHHHHHHHHHHH..",
    };
    look.hatSide = {
        "..........F.....", ".........FF.....", ".....HHHHFf.....", ".....HHHHHF.....",
        ".....bbbbbb.....", "..hHHHHHHHHHHh..", "...hhhhhhhhhh...",
    };
    look.bareFront = {
        "..F..........F..",
        "..FF.FFFFFF.FF..",
    };
    look.bodyFront = {
        "....FFFFFFFF....", "...FeFFFFFFeF...", "...FFeYFFYeFF...", "...FFYYFFYYFF...", "....FFMnnMFF....",
        "....FMmmmmMF....", ".....MwMMwM.....", "...DRRRRRRRRD...", "..DDdRRRRRRdDD..", "..DDdDRRRRDdDD..",
        "..DDdDDrrDDdDD..", "..DDdDGDDGDdDDFF", "..DDdDDDDDDdDDFF", "..DDdDDDDDDdDDFM", "..DDDDDDDDDDDD.M",
        "..DDDDD..DDDDD..", ".DDDDD....DDDDD.",
    };
    look.bodyBack = {
        "....FFFFFFFF....", "...FFFFFFFFFF...", "...FFFFFFFFFF...", "...FFFFFFFFFF...", "....FFFFFFFF....",
        "....ffFFFFff....", ".....RRRRRR.....", "...DRRRRRRRRD...", "..DDDDRRRRDDDD..", "..DDDDDrrDDDDD..",
        "..DDDDDDDDDDDD..", "..DDDDDddDDDDD..", "..DDDDDDDDDDDD..", "..DDDDDDDDDDDD..", "..DDDDFFFFDDDD..",
        "..DDDDFFFFDDDD..", ".DDDDFFFFFFDDDD.", "......FFFF......", "......FMMF......", ".......MM.......",
    };
    look.bodySide = {
        ".....eFFFFFF....", ".....YeFFFFFF...", "..MMFFFFFFFFF...", "nMMMMFFFFFFF....", ".MwmMMFFFFFF....",
        "..MMMMFFFFF.....", ".....RRRRR......", ".....RRRDDD.....", ".....RDDDDD.....", ".....DDDDDD.....",
        ".....DDDDDD.....", ".....DDGDDD.....", ".....DDDDDDF....", ".....DDDDDDFF...", "....DDDDDDDFFF..",
        "....DDDDDDDDFF..", "...........MMF..", "............MM..",
    };
    look.sleeve = rgb(62, 52, 80);
    look.sleeveShade = rgb(40, 32, 54);
    look.hand = rgb(122, 96, 78);
    look.leg = rgb(62, 60, 66);
    look.legShade = rgb(42, 40, 46);
    look.bootShade = rgb(24, 20, 24);
    look.swayFromRow = 14;  // the duster's skirt below the hips
    return look;
}

// One club frame: the hand that holds it, which way the club points (degrees clockwise from
// straight up), how long it looks, and whether the blow lands here.
struct ClubStep {
    SDL_Point hand;  // top-left of the club hand
    double angle;    // direction of the club
    int length;      // shorter when it points at or away from the viewer
    bool spark;      // the blow lands
};

// Columns 1 to 7 per view; the game shows columns 1 to 6.
const ClubStep kFront[7] = {
    {{23, 11}, 35.0, 8, false},  {{22, 5}, -15.0, 8, false},  {{20, 9}, -60.0, 7, false}, {{17, 18}, 210.0, 8, true},
    {{14, 21}, 235.0, 7, false}, {{20, 15}, 120.0, 6, false}, {{22, 14}, 20.0, 7, false},
};
const ClubStep kBack[7] = {
    {{23, 13}, 140.0, 7, false}, {{23, 8}, 70.0, 7, false},   {{22, 5}, 20.0, 7, false},   {{19, 5}, 40.0, 6, true},
    {{19, 10}, 80.0, 6, false},  {{21, 14}, 120.0, 6, false}, {{22, 15}, 160.0, 6, false},
};
const ClubStep kSide[7] = {
    {{19, 11}, 50.0, 8, false},  {{16, 5}, -10.0, 8, false},  {{11, 8}, -60.0, 8, false}, {{8, 15}, -115.0, 7, true},
    {{9, 19}, -160.0, 7, false}, {{13, 13}, -40.0, 7, false}, {{14, 17}, 20.0, 7, false},
};

void drawClub(Canvas& frame, const ClubStep& step) {
    const double rad = step.angle * kPi / 180.0;
    const double dx = std::sin(rad);
    const double dy = -std::cos(rad);
    const int x0 = step.hand.x;
    const int y0 = step.hand.y;
    const int x1 = x0 + static_cast<int>(std::lround(dx * step.length));
    const int y1 = y0 + static_cast<int>(std::lround(dy * step.length));
    const int xm = x0 + static_cast<int>(std::lround(dx * step.length * 0.55));
    const int ym = y0 + static_cast<int>(std::lround(dy * step.length * 0.55));
    frame.line(x0, y0, x1, y1, kClub, 2);
    frame.line(xm, ym, x1, y1, kClubDark, 3);
    if (step.spark) {
        // A star where the blow lands.
        // Kept off the frame's edges, where the game would cut it.
        const int sx = std::clamp(x1 + static_cast<int>(std::lround(dx * 3)), kSparkMargin, kSparkMax);
        const int sy = std::clamp(y1 + static_cast<int>(std::lround(dy * 3)), kSparkMargin, kSparkMax);
        frame.fillRect(sx - 2, sy, 5, 1, kSpark);
        frame.fillRect(sx, sy - 2, 1, 5, kSpark);
        frame.fillRect(sx - 1, sy - 1, 3, 3, kSpark);
    }
}
}  // namespace

EnemyPainter::EnemyPainter() : FramePainter(coyoteLook()) {}

Color EnemyPainter::outlineColor() const { return kOutline; }

int EnemyPainter::fallSide() const { return 1; }

PixelRows EnemyPainter::dazedFace() const {
    return {
        "",
        "...FFFFFFFFFF...",
        "...FFFFFFFFFF...",
        "...FeeeFFeeeF...",
    };
}

Canvas EnemyPainter::attack(View view, int column) const {
    const int index = column < 1 ? 0 : column > 7 ? 6 : column - 1;
    const ClubStep& step = view == View::Front ? kFront[index] : view == View::Back ? kBack[index] : kSide[index];
    Pose pose = Figure::standing(view);
    pose.hand[1] = step.hand;
    // Hunched forward while swinging.
    pose.bodyDy = index == 3 || index == 4 ? 1 : 0;
    Canvas frame(Figure::kFrame, Figure::kFrame);
    // The club is behind the body while raised behind the back, in front of it otherwise.
    const bool clubBehind = view == View::Back ? (index >= 1 && index <= 4) : false;
    if (clubBehind) {
        drawClub(frame, step);
    }
    figure.draw(frame, view, pose);
    if (!clubBehind) {
        drawClub(frame, step);
        frame.fillRect(step.hand.x, step.hand.y + pose.bodyDy, 2, 2, look.hand);
    }
    return frame;
}
