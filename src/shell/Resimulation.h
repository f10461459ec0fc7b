#pragma once

#include "input/KeyBindings.h"
#include "persist/RunRecording.h"

#include <cstdint>
#include <iosfwd>
#include <string>

class Shell;

// A recorded run played again, one frame at a time, by the game's own frame: everything the world
// took from outside comes from the recording (the shell's SimInput feeds it), so the world at
// every frame is the recorded run's, as long as this game simulates as the one that recorded it.
// The recording's hashes and its end say whether it does. Given a shell with a window, the frames
// are drawn as in play; given one started with startWorld, nothing is.
class Resimulation {
public:
    enum class State { Running, Ended, Mismatch };

    Resimulation(Shell& shell, RunRecording& recording);
    Resimulation(const Resimulation&) = delete;
    Resimulation& operator=(const Resimulation&) = delete;
    ~Resimulation();

    // The run set up as it began (its own play screen on the shell). The state after the set-up.
    State start();
    // The takes between frames, then one frame; the state after it.
    State step();
    State state() const { return current; }

    uint32_t frames() const { return played; }
    // Where the world and the recording parted (0: in the set-up).
    uint32_t mismatchFrame() const { return partedAt; }
    // How the re-simulated run ended (once Ended).
    RunRecording::Ending ending() const { return how; }
    int level() const;
    int score() const;
    // What --verify prints: "NAME: won at level L, score S, F frames (M:SS)", or the frame at which
    // the recording does not match.
    std::string line() const;

    // --verify FILE: the recording re-simulated without a window or sound, nothing written to
    // files/ and only the line on out. 0 when it matches, 1 when not, 2 when FILE is no recording
    // this game reads (one line on standard error).
    // Reads a recording this game can play again: false, with why (one line naming the file), for
    // one that is unreadable, damaged, of another format or of another version of the game.
    static bool load(const std::string& path, RunRecording& recording, std::string& why);
    static int verify(const std::string& path, std::ostream& out);

private:
    State mismatch(uint32_t frame);
    State endWith(const RunRecording::Take& end);
    // The figures' sheets as the recording saw them: the animation cycles count in them.
    void applySheets();

    Shell& shell;
    RunRecording& recording;
    KeyBindings keys;  // the hero's, as recorded
    State current = State::Running;
    uint32_t played = 0;
    uint32_t partedAt = 0;
    RunRecording::Ending how = RunRecording::Ending::Closed;
};
