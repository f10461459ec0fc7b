#pragma once

#include <SDL.h>

// Whether a menu pass has anything new to show: an event waiting (input, an expose, a resize, the
// focus), the name cursor's blink turning, or no picture shown yet. A pass with nothing new draws
// and presents nothing, so a menu left alone costs next to no CPU.
class MenuRedraw {
public:
    static constexpr Uint64 kBlinkMs = 530;  // the cursor's on and off time, as desktops blink it

    Uint64 (*clock)() = &SDL_GetTicks64;  // milliseconds; tests stop time with their own

    // Asked once at the start of each pass, told whether an event waits; notes the cursor's phase
    // for the pass.
    bool needed(bool eventWaiting);
    // Notes the cursor's phase by the clock for a picture drawn outside a pass.
    void notePhase() { cursorOn = phaseOn(); }
    // The name cursor is shown in this pass's picture.
    bool cursorShown() const { return cursorOn; }

private:
    bool phaseOn() const { return (clock() / kBlinkMs) % 2 == 0; }

    bool drawn = false;    // a picture has been made since the menu opened
    bool cursorOn = true;  // the cursor's phase in the last picture
};
