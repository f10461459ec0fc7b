#include "present/MenuRedraw.h"

bool MenuRedraw::needed(bool eventWaiting) {
    const bool on = phaseOn();
    const bool news = !drawn || on != cursorOn || eventWaiting;
    cursorOn = on;
    drawn = true;
    return news;
}
