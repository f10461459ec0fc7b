#include "shell/CommandLine.h"

#ifndef BRAMBLEHOOF_VERSION
#define BRAMBLEHOOF_VERSION "unknown"
#endif

CommandLine::CommandLine(int argc, char* argv[]) {
    for (int i = 1; i < argc && !bad; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            help = true;
        } else if (arg == "--version" || arg == "-V") {
            version = true;
        } else if (arg == "--mute") {
            mute = true;
        } else if (arg == "--verify" && i + 1 < argc && verify.empty()) {
            verify = argv[++i];
            bad = verify.empty();
            mistake = "--verify needs a file";
        } else if (arg == "--verify") {
            bad = true;
            mistake = verify.empty() ? "--verify needs a file" : "--verify takes one file";
        } else if (arg == "--watch" && i + 1 < argc && watch.empty() && verify.empty()) {
            watch = argv[++i];
            bad = watch.empty();
            mistake = "--watch needs a file";
        } else if (arg == "--watch") {
            bad = true;
            mistake = !verify.empty() ? "--watch and --verify do not go together"
                      : watch.empty() ? "--watch needs a file"
                                      : "--watch takes one file";
        } else {
            bad = true;
            mistake = (!arg.empty() && arg[0] == '-' ? "unknown option '" : "unexpected argument '") + arg + "'";
        }
    }
}

std::string CommandLine::usage() {
    return "Usage: bramblehoof [--mute] [--help] [--version] [--verify FILE] [--watch FILE]\n"
           "A small top-down action game: fight the outlaws around the farms and round up the bulls.\n"
           "\n"
           "      --mute     play without sound\n"
           "  -h, --help     show this text and exit\n"
           "  -V, --version  show the version and exit\n"
           "      --verify FILE\n"
           "                 re-simulate a run's recording (files/runs/*.run) without a window and\n"
           "                 print how it ended; exit 0 when it matches this game, 1 when not, 2\n"
           "                 when FILE is no recording this game reads\n"
           "      --watch FILE\n"
           "                 show a run's recording in a window, as it was played (Space: pause,\n"
           "                 1 2 4: speed, N: next level, Esc: leave)\n"
           "\n"
           "The game reads images/ and writes files/ in the folder it starts in. The installed\n"
           "command starts it in $XDG_DATA_HOME/bramblehoof (~/.local/share/bramblehoof), so each\n"
           "player keeps their own saves and scores in files/ there.\n";
}

std::string CommandLine::tryHelp() { return "Try 'bramblehoof --help' for more information.\n"; }

std::string CommandLine::versionLine() { return std::string("bramblehoof ") + BRAMBLEHOOF_VERSION + "\n"; }

std::string CommandLine::versionNumber() { return BRAMBLEHOOF_VERSION; }
