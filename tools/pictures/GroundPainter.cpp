#include "pictures/GroundPainter.h"

#include <cmath>
#include <cstdint>

namespace {

// Faint shades of the sand itself: close enough that no detail reads as a bull or an outlaw.
const Color kDarkSand = rgb(222, 176, 96);
const Color kDeepSand = rgb(208, 162, 88);
const Color kLightSand = rgb(250, 214, 140);
const Color kDryGrass = rgb(196, 178, 92);
const Color kPaleGrass = rgb(214, 190, 104);

constexpr int kPebbleGroups = 45;
constexpr int kTufts = 30;
constexpr int kCracks = 12;
constexpr int kRuts = 4;
constexpr int kRutLength = 150;
constexpr int kHoofTrails = 3;

// A small fixed generator, so the picture is the same on every build.
class Dice {
public:
    int below(int n) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>((state >> 33) % static_cast<uint64_t>(n));
    }
    double unit() { return below(1 << 20) / static_cast<double>(1 << 20); }

private:
    uint64_t state = 0x6272616d626c65ULL;
};

void pebbles(Canvas& c, Dice& dice, int x, int y) {
    const int count = 1 + dice.below(4);
    for (int i = 0; i < count; ++i) {
        const int px = x + dice.below(24) - 12;
        const int py = y + dice.below(16) - 8;
        const double r = 1.5 + dice.below(3) * 0.8;
        c.fillEllipse(px, py + 1, r + 0.5, r * 0.6, kDarkSand);  // its shade
        c.fillEllipse(px, py, r, r * 0.7, dice.below(2) == 0 ? kDeepSand : kLightSand);
    }
}

void tuft(Canvas& c, Dice& dice, int x, int y) {
    const int blades = 4 + dice.below(4);
    for (int i = 0; i < blades; ++i) {
        const int lean = dice.below(9) - 4;
        const int tall = 5 + dice.below(7);
        c.line(x + i - blades / 2, y, x + i - blades / 2 + lean, y - tall, i % 2 == 0 ? kDryGrass : kPaleGrass);
    }
}

void crack(Canvas& c, Dice& dice, int x, int y) {
    double angle = dice.unit() * 6.283;
    int segments = 3 + dice.below(4);
    for (int i = 0; i < segments; ++i) {
        const int len = 8 + dice.below(12);
        const int nx = x + static_cast<int>(std::lround(std::cos(angle) * len));
        const int ny = y + static_cast<int>(std::lround(std::sin(angle) * len));
        c.line(x, y, nx, ny, kDeepSand);
        if (dice.below(3) == 0) {  // a short branch
            c.line(nx, ny, nx + dice.below(11) - 5, ny + dice.below(11) - 5, kDarkSand);
        }
        x = nx;
        y = ny;
        angle += (dice.unit() - 0.5) * 1.6;
    }
}

// A stretch of two faint parallel wheel ruts, worn away at both ends.
void ruts(Canvas& c, Dice& dice) {
    double y = 150 + dice.below(GroundPainter::kHeight - 300);
    double slope = (dice.unit() - 0.5) * 0.4;
    const int start = dice.below(GroundPainter::kWidth - kRutLength);
    for (int x = start; x < start + kRutLength; ++x) {
        slope += (dice.unit() - 0.5) * 0.02;
        slope = std::fmax(-0.3, std::fmin(0.3, slope));
        y += slope;
        const int iy = static_cast<int>(std::lround(y));
        // Worn away in places: old tracks, not a road.
        if ((x / 40 + iy / 60) % 5 != 0) {
            c.set(x, iy, kDarkSand);
            c.set(x, iy + 14, kDarkSand);
        }
    }
}

// A line of hoof prints left by a bull that wandered off.
void hoofTrail(Canvas& c, Dice& dice) {
    double x = dice.below(GroundPainter::kWidth);
    double y = dice.below(GroundPainter::kHeight);
    double angle = dice.unit() * 6.283;
    const int steps = 12 + dice.below(14);
    for (int i = 0; i < steps; ++i) {
        const double side = (i % 2 == 0 ? 4.0 : -4.0);
        const double px = x - std::sin(angle) * side;
        const double py = y + std::cos(angle) * side;
        c.fillEllipse(px - 1.0, py, 1.0, 1.4, kDeepSand);
        c.fillEllipse(px + 1.5, py, 1.0, 1.4, kDeepSand);
        x += std::cos(angle) * 14.0;
        y += std::sin(angle) * 14.0;
        angle += (dice.unit() - 0.5) * 0.5;
    }
}

}  // namespace

Canvas GroundPainter::paint() {
    Canvas c(kWidth, kHeight);
    c.fill(kSand);
    Dice dice;
    for (int i = 0; i < kRuts; ++i) {
        ruts(c, dice);
    }
    for (int i = 0; i < kHoofTrails; ++i) {
        hoofTrail(c, dice);
    }
    for (int i = 0; i < kCracks; ++i) {
        crack(c, dice, dice.below(kWidth), dice.below(kHeight));
    }
    for (int i = 0; i < kTufts; ++i) {
        tuft(c, dice, dice.below(kWidth), dice.below(kHeight));
    }
    for (int i = 0; i < kPebbleGroups; ++i) {
        pebbles(c, dice, dice.below(kWidth), dice.below(kHeight));
    }
    return c;
}
