#include "pictures/IconPainter.h"

#include "pictures/HeroPainter.h"

#include <algorithm>

namespace {
constexpr int kFacingDown = 2;  // sheet row of the walk towards the viewer; column 0 stands still
const Color kSky = rgb(120, 186, 232);
const Color kSand = rgb(242, 196, 111);
const Color kRim = rgb(112, 70, 36);

// The opaque part of `picture`, cut out.
Canvas cropped(const Canvas& picture) {
    int left = picture.width(), top = picture.height(), right = -1, bottom = -1;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.get(x, y).a != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) {
        return picture;
    }
    Canvas cut(right - left + 1, bottom - top + 1);
    cut.blit(picture, -left, -top);
    return cut;
}
}  // namespace

Canvas IconPainter::paint(int size) {
    Canvas icon(size, size);
    // The badge: a disc with a rim, sky above a horizon a little below the middle.
    const int rim = std::max(1, size / 32);
    const double centre = size / 2.0;
    const double radius = centre - rim / 2.0;
    const int horizon = size * 9 / 16;
    icon.fillEllipse(centre, centre, radius, radius, kRim);
    const double inner = radius - rim;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double dx = x + 0.5 - centre;
            const double dy = y + 0.5 - centre;
            if (dx * dx + dy * dy <= inner * inner) {
                icon.set(x, y, y < horizon ? kSky : kSand);
            }
        }
    }
    // The cowboy as big as a whole factor allows within the badge, feet on the sand; his hat may
    // reach over the rim.
    // Outlined like in the game, without the ground shadow, which the badge's sand replaces.
    const HeroPainter painter;
    Canvas frame = painter.frame(kFacingDown, 0);
    frame.outline(painter.outlineColor());
    const Canvas hero = cropped(frame);
    const int scale = std::max(1, (size - 2 * rim) / hero.height());
    const int x = (size - hero.width() * scale) / 2;
    const int y = std::min(size - hero.height() * scale, size * 15 / 16 - hero.height() * scale);
    icon.blit(hero, x, y, scale);
    return icon;
}
