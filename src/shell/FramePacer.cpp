#include "shell/FramePacer.h"

void FramePacer::endPass() {
    if (!enabled) {
        return;
    }
    const Uint64 frequency = SDL_GetPerformanceFrequency();
    const Uint64 period = static_cast<Uint64>(static_cast<double>(frequency) / kPassesPerSecond);
    const Uint64 now = SDL_GetPerformanceCounter();
    if (deadline == 0 || now > deadline + period) {
        // First pass, or far behind (a stall): start counting afresh instead of racing to catch up.
        deadline = now + period;
        return;
    }
    if (now < deadline) {
        const Uint64 waitMs = (deadline - now) * 1000 / frequency;
        if (waitMs > 0) {
            SDL_Delay(static_cast<Uint32>(waitMs));
        }
    }
    deadline += period;
}
