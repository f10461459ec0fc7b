#pragma once

#include <SDL.h>

#include <array>

// A mark over an outlaw who may swing at the hero any moment: he chases him, stands within a few
// steps of the reach at which he swings, and is not swinging yet. An outlaw decides to swing in
// the very frame his blow lands, so the mark is read from where he and the hero stand, before that
// frame comes. Drawing only: the world never reads it.
class SwingTell {
public:
    static constexpr int kSlots = 8;  // outlaw slots followed, as FieldEffects does
    // Pixels beyond his swinging reach at which the mark shows: a chase step is 2 pixels, so a hero
    // who stands his ground sees it for about a third of a second before the first blow.
    static constexpr double kWarningReach = 40.0;
    static constexpr SDL_Color kInk{255, 214, 64, 255};  // a glint's yellow, clear of the sand
    static constexpr SDL_Color kEdge{30, 18, 10, 255};   // the HUD's outline colour
    // The mark's foot below the top of his frame: just over his hat.
    static constexpr int kFoot = 4;
    // The mark: a bar over a dot, outlined.
    static constexpr int kBarW = 5;
    static constexpr int kBarH = 11;
    static constexpr int kGap = 2;
    static constexpr int kRim = 2;

    // Forgets every outlaw: a new run or a new wave.
    void reset();
    // The outlaw in slot this frame, his mark over dst (his drawing, or higher over his pips): within reach to swing soon (ready), and whether
    // he is swinging now. No mark while he swings, nor in the one frame between two swings in a
    // row: it would blink.
    void outlaw(int slot, SDL_Rect dst, bool ready, bool swinging);
    // An outlaw not on the field this frame (removed, unplaced).
    void absent(int slot);
    bool marked(int slot) const;
    // Over the field, moved by the field's shake: every mark of this frame.
    void draw(SDL_Renderer* renderer, SDL_Point shake) const;

private:
    struct Outlaw {
        bool marked = false;
        bool swung = false;  // swinging in the frame before
        SDL_Rect dst{};
    };
    std::array<Outlaw, kSlots> outlaws{};
};
