#include "pictures/FarmPainter.h"

namespace {
const Color kOutline = rgb(48, 26, 22);
const Color kGrass = rgb(126, 178, 74);
const Color kGrassDark = rgb(92, 146, 56);
const Color kRed = rgb(196, 52, 42);
const Color kRedDark = rgb(150, 34, 30);
const Color kRoof = rgb(96, 66, 60);
const Color kRoofDark = rgb(70, 46, 44);
const Color kTrim = rgb(250, 246, 232);
const Color kHay = rgb(250, 210, 90);
const Color kHayDark = rgb(214, 164, 54);
const Color kSilo = rgb(170, 184, 196);
const Color kSiloDark = rgb(126, 140, 156);
const Color kSiloLight = rgb(214, 224, 232);
const Color kWood = rgb(150, 98, 54);
const Color kDoorInside = rgb(90, 28, 24);

void barn(Canvas& c) {
    // Walls with vertical planks.
    c.fillRect(26, 21, 52, 24, kRed);
    for (int x = 29; x < 78; x += 4) {
        c.fillRect(x, 22, 1, 22, kRedDark);
    }
    // Gambrel roof with a white edge.
    c.fillPolygon({{23, 22}, {31, 10}, {52, 3}, {73, 10}, {81, 22}}, kRoof);
    for (int y = 6; y < 22; y += 3) {
        for (int x = 0; x < FarmPainter::kWidth; ++x) {
            if (c.get(x, y) == kRoof) {
                c.set(x, y, kRoofDark);  // shingle rows, only on the roof
            }
        }
    }
    c.fillPolygon({{23, 22}, {31, 10}, {52, 3}, {73, 10}, {81, 22}, {79, 22}, {72, 11}, {52, 5}, {32, 11}, {25, 22}},
                  kTrim);
    // Hayloft with hay showing.
    c.fillRect(45, 11, 14, 9, kTrim);
    c.fillRect(47, 13, 10, 6, kHay);
    c.fillRect(47, 16, 10, 1, kHayDark);
    c.fillRect(47, 18, 10, 1, kHayDark);
    // Corner trim and the big door with its cross braces.
    c.fillRect(26, 21, 2, 24, kTrim);
    c.fillRect(76, 21, 2, 24, kTrim);
    c.fillRect(40, 26, 24, 19, kTrim);
    c.fillRect(42, 28, 20, 17, kRed);
    c.line(42, 28, 51, 44, kTrim, 1);
    c.line(51, 28, 42, 44, kTrim, 1);
    c.line(53, 28, 61, 44, kTrim, 1);
    c.line(61, 28, 53, 44, kTrim, 1);
    c.fillRect(52, 28, 1, 17, kDoorInside);
    // Small windows either side of the door.
    for (int x : {31, 67}) {
        c.fillRect(x, 28, 6, 6, kTrim);
        c.fillRect(x + 1, 29, 4, 4, rgb(120, 190, 230));
        c.fillRect(x + 3, 29, 1, 4, kTrim);
    }
}

void silo(Canvas& c) {
    c.fillRect(8, 12, 14, 33, kSilo);
    c.fillRect(8, 12, 3, 33, kSiloLight);
    c.fillRect(19, 12, 3, 33, kSiloDark);
    for (int y = 18; y < 45; y += 6) {
        c.fillRect(8, y, 14, 1, kSiloDark);
    }
    c.fillEllipse(15.0, 12.5, 7.0, 6.0, kRedDark);
    c.fillEllipse(13.5, 11.0, 3.0, 2.5, kRed);
    c.fillRect(8, 12, 14, 1, kTrim);
}

void fence(Canvas& c) {
    for (int x : {83, 90, 97}) {
        c.fillRect(x, 33, 2, 11, kWood);
    }
    c.fillRect(82, 35, 17, 2, kWood);
    c.fillRect(82, 40, 17, 2, kWood);
}

void hayBale(Canvas& c) {
    c.fillRect(2, 38, 9, 7, kHay);
    c.fillRect(2, 40, 9, 1, kHayDark);
    c.fillRect(2, 43, 9, 1, kHayDark);
    c.fillRect(5, 38, 1, 7, kHayDark);
}
}  // namespace

Canvas FarmPainter::art() {
    Canvas c(kWidth, kHeight);
    c.fillEllipse(50.0, 45.0, 49.0, 4.5, kGrass);
    silo(c);
    barn(c);
    fence(c);
    hayBale(c);
    // Tufts on the grass in front.
    for (int x : {20, 34, 66, 88}) {
        c.fillRect(x, 45, 1, 2, kGrassDark);
        c.fillRect(x + 2, 46, 1, 2, kGrassDark);
    }
    c.outline(kOutline);
    return c;
}

Canvas FarmPainter::paint() { return art().scaled(kScale); }
