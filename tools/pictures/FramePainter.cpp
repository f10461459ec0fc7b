#include "pictures/FramePainter.h"

#include <cmath>

namespace {
constexpr int kWalkFrames = 7;    // columns 1 to 7 of a walking row
constexpr int kLastFallStep = 5;  // the fall ends lying flat in column 5
constexpr double kPi = 3.14159265358979323846;

// Front and back: a foot is lifted while the other carries; the body rises as it passes.
struct FrontStep {
    int liftA;  // viewer-left foot
    int liftB;  // viewer-right foot
    int bob;    // body up (negative) or down
};
constexpr FrontStep kFrontSteps[kWalkFrames] = {
    {1, 0, 0}, {2, 0, -1}, {1, 0, -1}, {0, 0, 1}, {0, 1, 0}, {0, 2, -1}, {0, 1, -1},
};
}  // namespace

FramePainter::FramePainter(const FigureLook& figureLook) : figure(figureLook), look(figureLook) {}

Canvas FramePainter::stand(View view) const {
    Canvas frame(Figure::kFrame, Figure::kFrame);
    figure.draw(frame, view, Figure::standing(view));
    return frame;
}

Canvas FramePainter::walk(View view, int column) const {
    const int step = column - 1;
    Pose pose = Figure::standing(view);
    if (view == View::Side) {
        // The feet swing like a pendulum; the foot that moves forward is off the ground.
        const double phase = 2.0 * kPi * step / kWalkFrames;
        const int swing = static_cast<int>(std::lround(3.0 * std::cos(phase)));
        const bool nearForward = std::sin(phase) > 0.0;
        pose.footDx[1] = swing;
        pose.footDx[0] = -swing;
        pose.lift[1] = nearForward ? 1 : 0;
        pose.lift[0] = nearForward ? 0 : 1;
        pose.bodyDy = std::abs(std::cos(phase)) < 0.5 ? -1 : 0;
        pose.sway = swing > 1 ? 1 : swing < -1 ? -1 : 0;
        // Arms swing against the legs (a negative x is forward).
        pose.hand[1].x += swing;
        pose.hand[0].x -= swing;
        pose.hand[1].y -= std::abs(swing) / 2;
        pose.hand[0].y -= std::abs(swing) / 2;
    } else {
        const FrontStep& s = kFrontSteps[step];
        pose.lift[0] = s.liftA;
        pose.lift[1] = s.liftB;
        pose.bodyDy = s.bob;
        pose.sway = s.liftA > 0 ? -1 : s.liftB > 0 ? 1 : 0;
        // The arm opposite the lifted foot swings forward, which from here looks like rising.
        pose.hand[0].y -= s.liftB;
        pose.hand[1].y -= s.liftA;
        pose.hand[0].x += s.liftB > 0 ? 1 : 0;
        pose.hand[1].x -= s.liftA > 0 ? 1 : 0;
    }
    Canvas frame(Figure::kFrame, Figure::kFrame);
    figure.draw(frame, view, pose);
    return frame;
}

Canvas FramePainter::fall(int column) const {
    struct FallStep {
        double angle;    // how far the body has tipped, in degrees
        double centerX;  // where the middle of the body ends up
        double centerY;
        int hatDx;  // how far the hat has flown from the head
        int hatDy;
    };
    static const FallStep kSteps[] = {
        {0.0, 16.0, 18.0, 0, 0},   // column 0: still standing
        {0.0, 16.0, 19.0, 2, -2},  // knocked back, the hat pops off
        {25.0, 16.5, 19.0, 7, 0}, {55.0, 16.0, 20.0, 8, 4}, {80.0, 16.0, 21.0, 8, 5}, {90.0, 16.0, 21.5, 8, 5},
    };
    const int step = column < 0 ? 0 : column > kLastFallStep ? kLastFallStep : column;
    const FallStep& s = kSteps[step];
    const int side = fallSide();

    Pose pose = Figure::standing(View::Front);
    pose.hat = step == 0;
    if (step >= 1 && step <= 2) {
        // Arms thrown up in surprise.
        pose.hand[0] = {7, 12};
        pose.hand[1] = {23, 12};
        pose.lift[side < 0 ? 1 : 0] = step == 1 ? 1 : 0;
    }
    Canvas body(Figure::kFrame, Figure::kFrame);
    figure.draw(body, View::Front, pose);
    if (step >= 4) {
        body.art(dazedFace(), look.palette, 8, 9);
    }
    // Turn about the middle of the body without its hat.
    Canvas frame = body.rotated(side * s.angle, 16.0, 18.0, s.centerX, s.centerY);
    if (step >= 1) {
        Canvas hat(Figure::kFrame, Figure::kFrame);
        figure.drawHat(hat, View::Front, 0, 0);
        const double hatAngle = step == 1 ? 15.0 : step == 2 ? 25.0 : step == 3 ? 10.0 : 0.0;
        // The hat lands on the side away from the head.
        const Canvas turned = hat.rotated(-side * hatAngle, 16.0, 5.0, 16.0 - side * s.hatDx, 5.0 + s.hatDy);
        frame.blit(turned, 0, 0);
    }
    if (step == kLastFallStep) {
        // Little stars circle the fallen head.
        const Color star = rgb(255, 236, 90);
        const int headX = 16 + side * 9;
        for (const SDL_Point& p : {SDL_Point{headX - 3, 12}, SDL_Point{headX + 4, 11}, SDL_Point{headX, 8}}) {
            frame.fillRect(p.x, p.y - 1, 1, 3, star);
            frame.fillRect(p.x - 1, p.y, 3, 1, star);
        }
    }
    return frame;
}

Canvas FramePainter::frame(int row, int column) const {
    static const View kViews[4] = {View::Back, View::Side, View::Front, View::Side};
    if (row == kDeathRow) {
        return fall(column);
    }
    const int direction = row % 4;
    const View view = kViews[direction];
    Canvas picture;
    if (column == 0 || column >= kColumns - 1) {
        picture = stand(view);
    } else if (row < 4) {
        picture = walk(view, column);
    } else {
        picture = attack(view, column);
    }
    // Walking right is walking left in a mirror.
    return direction == 3 ? picture.mirrored() : picture;
}
