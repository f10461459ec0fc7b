#pragma once

#include "present/Render.h"

#include <cstdint>

// Everything that lives on the playing field: a sprite at a world position with an activity id.
class Thing : public Render {
public:
    int32_t id = 0;  // 0 until placed, 1 once spawned; unplaced things take no part in a frame

    Thing() = default;

    // Sets the thing up with its picture; the concrete classes place themselves through overloads.
    virtual void spawn() = 0;

    int getID();

protected:
    // Lists hold concrete pointers and delete through them, never through this base.
    ~Thing() = default;

    // One spawn step shared by every entity: the renderer must exist before pictures can load.
    static void reportMissingRenderer();
    // Replaces texture with the picture at path (freeing any earlier one, since a slot may be
    // placed twice) and reports the picture's size, leaving w and h untouched when it has none.
    void loadSprite(const char* path, int32_t& w, int32_t& h);
};
