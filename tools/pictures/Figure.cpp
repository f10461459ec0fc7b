#include "pictures/Figure.h"

#include <algorithm>

namespace {
constexpr int kArtX = 8;      // left edge of the hat and body art
constexpr int kHatY = 2;      // top row of the hat
constexpr int kBodyY = 9;     // top row of the head and body art
constexpr int kBareY = 7;     // top row of the bare head art
constexpr int kHipY = 23;     // top of the legs
constexpr int kAnkleY = 26;   // bottom of a leg standing on the ground
constexpr int kLegWidth = 3;  // trousers are three pixels wide
constexpr int kArmWidth = 2;  // sleeves are two pixels wide

// Hip x (left edge of the leg) per view and limb.
int hipX(View view, int which) {
    if (view == View::Side) {
        return which == 0 ? 15 : 14;
    }
    return which == 0 ? 12 : 17;
}
}  // namespace

Figure::Figure(const FigureLook& figureLook) : look(figureLook) {}

SDL_Point Figure::shoulder(View view, int which) {
    if (view == View::Side) {
        return which == 0 ? SDL_Point{16, 16} : SDL_Point{15, 16};
    }
    return which == 0 ? SDL_Point{9, 16} : SDL_Point{21, 16};
}

Pose Figure::standing(View view) {
    Pose pose;
    if (view == View::Side) {
        pose.hand[0] = {16, 21};
        pose.hand[1] = {15, 21};
    } else {
        pose.hand[0] = {9, 21};
        pose.hand[1] = {21, 21};
    }
    return pose;
}

void Figure::drawHat(Canvas& frame, View view, int dx, int dy) const {
    const PixelRows& hat = view == View::Front ? look.hatFront : view == View::Back ? look.hatBack : look.hatSide;
    frame.art(hat, look.palette, kArtX + dx, kHatY + dy);
}

void Figure::drawLeg(Canvas& frame, View view, const Pose& pose, int which) const {
    const bool far = view == View::Side && which == 0;
    const int hx = hipX(view, which);
    const int ankleX = hx + pose.footDx[which];
    const int ankleY = kAnkleY - pose.lift[which];
    frame.line(hx, kHipY + pose.bodyDy, ankleX, ankleY - kLegWidth + 1, far ? look.legShade : look.leg, kLegWidth);
    if (view == View::Side) {
        Palette boot = look.palette;
        if (far) {
            boot['O'] = look.bootShade;
        }
        frame.art(look.bootSide, boot, ankleX - 2, ankleY + 1);
    } else if (which == 0) {
        frame.art(look.bootFront, look.palette, ankleX - 1, ankleY + 1);
    } else {
        frame.art(look.bootFront, look.palette, ankleX, ankleY + 1, true);
    }
}

void Figure::drawArm(Canvas& frame, View view, const Pose& pose, int which) const {
    const bool far = view == View::Side && which == 0;
    const SDL_Point from = shoulder(view, which);
    const SDL_Point to = pose.hand[which];
    frame.line(from.x, from.y + pose.bodyDy, to.x, to.y + pose.bodyDy, far ? look.sleeveShade : look.sleeve, kArmWidth);
    frame.fillRect(to.x, to.y + pose.bodyDy, kArmWidth, kArmWidth, look.hand);
}

void Figure::drawBody(Canvas& frame, const PixelRows& body, const Pose& pose) const {
    const size_t split = std::min(body.size(), static_cast<size_t>(std::max(0, look.swayFromRow)));
    const PixelRows upper(body.begin(), body.begin() + static_cast<long>(split));
    const PixelRows skirt(body.begin() + static_cast<long>(split), body.end());
    frame.art(upper, look.palette, kArtX, kBodyY + pose.bodyDy);
    frame.art(skirt, look.palette, kArtX + pose.sway, kBodyY + pose.bodyDy + static_cast<int>(split));
}

void Figure::draw(Canvas& frame, View view, const Pose& pose) const {
    const PixelRows& body = view == View::Front ? look.bodyFront : view == View::Back ? look.bodyBack : look.bodySide;
    if (view == View::Side) {
        drawArm(frame, view, pose, 0);
        drawLeg(frame, view, pose, 0);
        drawBody(frame, body, pose);
        drawLeg(frame, view, pose, 1);
        if (pose.armsBehind) {
            // The near arm reaches past the face, so it goes under the head.
            Canvas arm(frame.width(), frame.height());
            drawArm(arm, view, pose, 1);
            arm.blit(frame, 0, 0);
            frame = arm;
        } else {
            drawArm(frame, view, pose, 1);
        }
    } else {
        drawLeg(frame, view, pose, 0);
        drawLeg(frame, view, pose, 1);
        if (pose.armsBehind) {
            drawArm(frame, view, pose, 0);
            drawArm(frame, view, pose, 1);
            drawBody(frame, body, pose);
        } else {
            drawBody(frame, body, pose);
            drawArm(frame, view, pose, 0);
            drawArm(frame, view, pose, 1);
        }
    }
    if (pose.hat) {
        drawHat(frame, view, 0, pose.bodyDy);
    } else if (view == View::Front) {
        frame.art(look.bareFront, look.palette, kArtX, kBareY + pose.bodyDy);
    }
}
