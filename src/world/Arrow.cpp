#include "world/Arrow.h"

#include "world/Farm.h"

Arrow::Arrow() {
    texW = kPictureW;
    texH = kPictureH;
    loadPicture(kPicturePath, texW, texH);
    frameH = kPictureH;
    frameW = kPictureW;
    rect = SDL_Rect{0, 0, kPictureW, kPictureH};
    pos = SDL_Rect{kStartX, kStartY, kDrawW, kDrawH};
}

void Arrow::restart() {
    angle = 0;
    flip = 0;
    pos = SDL_Rect{kStartX, kStartY, kDrawW, kDrawH};
}

void Arrow::show_arrow(int code) {
    place(code);
    draw();
}

void Arrow::place(int code) {
    flip = SDL_FLIP_NONE;
    angle = 0;
    switch (code) {
        case Farm::kPointMidLeft:
            pos.x = kMargin;
            pos.y = kMidY;
            angle = kTurnLeft;
            break;
        case Farm::kPointUp:
            pos.x = kCentreX - pos.w / 2;
            pos.y = kMargin;
            break;
        case Farm::kPointRight:
            pos.x = kRightEdge - pos.w;
            pos.y = kMidY;
            angle = kTurnRight;
            break;
        case Farm::kPointDown:
            // Flipped top to bottom rather than turned, so the picture is mirrored, not rotated.
            pos.x = kCentreX - pos.w / 2;
            pos.y = kBottomEdge - pos.h;
            flip = SDL_FLIP_VERTICAL;
            break;
        case Farm::kPointLeft:
            pos.x = kMargin;
            pos.y = kMidY - pos.h;
            angle = kTurnLeft;
            break;
        default:
            break;  // unknown codes keep the last place and point up
    }
}

void Arrow::draw() {
    SDL_RenderCopyEx(renderer, texture, &rect, &pos, angle, nullptr, static_cast<SDL_RendererFlip>(flip));
    markDrawn();
}
