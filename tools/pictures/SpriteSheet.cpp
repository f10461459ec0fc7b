#include "pictures/SpriteSheet.h"

#include <algorithm>

namespace {
// Opaque, like every pixel of a figure: a frame is then either fully covered or left as it was
// where a figure is drawn, so drawing it again at the same place changes nothing (the play frame
// relies on this to skip covered drawings). The shade of sand a faint shadow would give.
const Color kShadow = rgb(150, 112, 62);
constexpr double kMaxShadowRadius = 12.0;  // keeps the frame's corners clear
constexpr double kClearCorner = 3.5;       // the shadow stays this far from the frame's sides

// A flat ellipse under the lowest part of the figure.
void addShadow(Canvas& frame) {
    int bottom = -1;
    for (int y = frame.height() - 1; y >= 0 && bottom < 0; --y) {
        for (int x = 0; x < frame.width(); ++x) {
            if (frame.get(x, y).a == 255) {
                bottom = y;
                break;
            }
        }
    }
    if (bottom < 0) {
        return;
    }
    int left = frame.width();
    int right = -1;
    for (int y = std::max(0, bottom - 3); y <= bottom; ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            if (frame.get(x, y).a == 255) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    Canvas shadow(frame.width(), frame.height());
    const double center = (left + right + 1) / 2.0;
    const double radius = std::min({kMaxShadowRadius, (right - left + 1) / 2.0 + 1.0, center - kClearCorner,
                                    frame.width() - kClearCorner - center});
    shadow.fillEllipse(center, bottom + 0.5, radius, 1.6, kShadow);
    shadow.blit(frame, 0, 0);
    frame = shadow;
}
}  // namespace

Canvas SpriteSheet::finishedFrame(const FramePainter& painter, int row, int column) {
    Canvas frame = painter.frame(row, column);
    frame.outline(painter.outlineColor());
    addShadow(frame);
    return frame;
}

Canvas SpriteSheet::paint(const FramePainter& painter) {
    Canvas sheet(FramePainter::kColumns * kFrameSize, FramePainter::kRows * kFrameSize);
    for (int row = 0; row < FramePainter::kRows; ++row) {
        for (int column = 0; column < FramePainter::kColumns; ++column) {
            sheet.blit(finishedFrame(painter, row, column), column * kFrameSize, row * kFrameSize, kScale);
        }
    }
    return sheet;
}
