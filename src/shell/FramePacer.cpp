#include "shell/FramePacer.h"

void FramePacer::endPass() {
    if (!enabled) {
        return;
    }
    const Uint64 ticks = frequency();
    const Uint64 period = this->period();
    const Uint64 now = counter();
    if (deadline == 0 || now > deadline + period) {
        // First pass, or far behind (a stall): start counting afresh instead of racing to catch up.
        deadline = now + period;
        return;
    }
    if (now < deadline) {
        const Uint64 waitMs = (deadline - now) * 1000 / ticks;
        if (waitMs > 0) {
            wait(static_cast<Uint32>(waitMs));
        }
    }
    deadline += period;
}

Uint64 FramePacer::period() const {
    const int share = percent < 1 ? 1 : (percent > 100 ? 100 : percent);
    return static_cast<Uint64>(static_cast<double>(frequency()) / kPassesPerSecond * 100.0 / share);
}
