#include "shell/CommandLine.h"
#include "shell/Shell.h"

#include <SDL.h>

int main(int argc, char** argv) {
    const CommandLine options(argc, argv);
    // The game's objects stay alive, and reachable from here, until the process ends: nothing is
    // torn down after the end of run has written its last trace line.
    static Shell* const shell = new Shell();
    shell->sound.setMuted(options.mute);
    return shell->run();
}
