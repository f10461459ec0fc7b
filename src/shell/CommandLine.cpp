#include "shell/CommandLine.h"

#include <string>

CommandLine::CommandLine(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--mute") {
            mute = true;
        }
    }
}
