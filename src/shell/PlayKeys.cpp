#include "shell/PlayKeys.h"

#include "input/PanelKeys.h"

void PlayKeys::install() { SDL_SetEventFilter(&PlayKeys::filter, this); }

void PlayKeys::uninstall() { SDL_SetEventFilter(nullptr, nullptr); }

int PlayKeys::filter(void* self, SDL_Event* event) {
    PlayKeys& keys = *static_cast<PlayKeys*>(self);
    keys.device.see(*event);  // every event of the process passes here, in play or not
    if (!keys.active) {
        return 1;
    }
    if (PanelKeys::asksPause(*event, keys.keys) || PanelKeys::losesFocus(*event) || PanelKeys::losesPad(*event)) {
        keys.pauseAsked = true;
    }
    keys.help.take(*event);
    return PanelKeys::isPanelKey(*event, keys.keys) ? 0 : 1;  // the hero never sees them
}
