#pragma once

#include "pictures/FramePainter.h"

// The cowboy: brown hat, blue shirt under a leather vest, jeans and boots. He attacks by
// swinging a lasso over his head and throwing it the way he faces.
class HeroPainter : public FramePainter {
public:
    HeroPainter();

    Color outlineColor() const override;

protected:
    Canvas attack(View view, int column) const override;
    int fallSide() const override;
    PixelRows dazedFace() const override;
};
