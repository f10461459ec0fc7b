#pragma once

#include <string>

// The few options the game takes. Anything else makes `bad` true: the caller prints the usage on
// standard error and stops before opening a window.
class CommandLine {
public:
    CommandLine(int argc, char* argv[]);

    // The usage text, the same for --help and for a mistake.
    static std::string usage();
    // "bramblehoof " and the version of the build.
    static std::string versionLine();

    bool help = false;     // --help
    bool version = false;  // --version
    bool mute = false;     // --mute
    bool bad = false;      // an option we do not know, or a stray argument
    std::string mistake;   // what was wrong, for the message on standard error
};
