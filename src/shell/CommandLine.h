#pragma once

// What the game was asked on its command line. Only --mute is read here.
class CommandLine {
public:
    bool help = false;
    bool version = false;
    bool mute = false;  // --mute: start with every sound off
    bool bad = false;

    CommandLine(int argc, char** argv);
};
