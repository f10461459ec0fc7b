#include "input/PlayKeys.h"

#include "input/PanelKeys.h"

bool PlayKeys::passes(const SDL_Event& event) {
    if (!active) {
        return true;
    }
    if (PanelKeys::asksPause(event, keys) || PanelKeys::losesFocus(event) || PanelKeys::losesPad(event)) {
        pauseAsked = true;
    }
    if (PanelKeys::asksHelp(event, keys)) {
        helpAsked = true;
    }
    return !PanelKeys::isPanelKey(event, keys);
}
