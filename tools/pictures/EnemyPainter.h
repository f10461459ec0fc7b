#pragma once

#include "pictures/FramePainter.h"

// The outlaw: a coyote in a black hat, red bandana and dark duster, with yellow eyes under
// angry brows and a bushy tail. He attacks by clubbing the way he faces.
class EnemyPainter : public FramePainter {
public:
    EnemyPainter();

    Color outlineColor() const override;

protected:
    Canvas attack(View view, int column) const override;
    int fallSide() const override;
    PixelRows dazedFace() const override;
};
