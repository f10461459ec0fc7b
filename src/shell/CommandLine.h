#pragma once

#include <string>

// The few options the game takes. Anything else makes `bad` true: the caller names the mistake on
// standard error, points to --help and stops before opening a window.
class CommandLine {
public:
    CommandLine(int argc, char* argv[]);

    // The usage text that --help prints.
    static std::string usage();
    // The line after a mistake: where to read the usage.
    static std::string tryHelp();
    // "bramblehoof " and the version of the build.
    static std::string versionLine();
    // The version of the build alone.
    static std::string versionNumber();

    bool help = false;     // --help or -h
    bool version = false;  // --version or -V
    bool mute = false;     // --mute
    std::string verify;    // --verify FILE: the recording to re-simulate, instead of playing
    std::string watch;     // --watch FILE: the recording shown in a window, instead of playing
    bool bad = false;      // an option we do not know, or a stray argument
    std::string mistake;   // what was wrong, for the message on standard error
};
