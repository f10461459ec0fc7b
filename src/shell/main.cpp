#include "persist/FileIO.h"
#include "shell/CommandLine.h"
#include "shell/Resimulation.h"
#include "shell/Shell.h"
#include "shell/WatchScreen.h"

#include <SDL.h>

#include <csignal>
#include <iostream>

namespace {
constexpr int kUsageError = 2;  // the usual exit status for a wrong command line
}

int main(int argc, char* argv[]) {
    // A write past the size limit for files (ulimit -f) then fails like one on a full disk, and is
    // told as such, instead of killing the game halfway through its files.
    std::signal(SIGXFSZ, SIG_IGN);
    const CommandLine options(argc, argv);
    if (options.bad) {
        FileIO::report(options.mistake);  // quotes what was typed, escaped
        std::cerr << CommandLine::tryHelp();
        return kUsageError;
    }
    if (options.help || options.version) {
        std::cout << (options.help ? CommandLine::usage() : CommandLine::versionLine());
        return 0;
    }
    if (!options.watch.empty()) {
        return WatchScreen::watchFile(options.watch);
    }
    if (!options.verify.empty()) {
        return Resimulation::verify(options.verify, std::cout);
    }
    // The game's objects stay alive, and reachable from here, until the process ends: nothing is
    // torn down after the end of run has written its last trace line.
    static Shell* const shell = new Shell();
    shell->sound.setMuted(options.mute);
    return shell->play();
}
