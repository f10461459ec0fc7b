#pragma once

#include "persist/RecordingFile.h"
#include "persist/RunRecording.h"

#include <string>

class Shell;

// The recording of one played run (a new game or a resume; a replay is not recorded): the world's
// takes go through the shell's SimInput, which notes them; here they reach files/runs/ as the run
// goes (a temporary of its own), and at the run's end become last.run, and a board row's kept
// recording while its record is on the board. A recording that cannot be written is said once on
// standard error and the run plays on.
class RunRecorder {
public:
    // At the start of the run's set-up: whether this run is recorded, and from now on its takes.
    void begin(Shell& shell);
    // The saved game a resume read (its bytes), when it found one.
    void resumedFrom(const std::string& player, const std::string& enemies);
    void resumedEnemies(const std::string& enemies) { header.savedEnemies = enemies; }
    // At the end of the set-up: the header and the set-up's takes into the temporary.
    void started(Shell& shell);
    // Before a frame: the hero's keys, which the controls may have changed meanwhile.
    void frameStarts(Shell& shell);
    // After a frame: its end, with the world's hash when due.
    void frameDone(Shell& shell);
    // At the run's commit, before the save (which moves what it reads): how the run ended and the
    // world's last hash.
    void end(Shell& shell);
    // After the players record: the recording put in place, and kept for the board.
    void finish(Shell& shell);
    bool active() const { return on; }
    // This run's recording is files/runs/last.run now.
    bool placed() const { return inPlace; }

    // The sizes the figures' sheets have in this process, which the animation cycles count in.
    static void sheetSizes(Shell& shell, RunRecording::Header& header);

private:
    void fail(const std::string& why);
    void write(Shell& shell);

    bool on = false;         // this run is being recorded
    bool ended = false;      // its end is noted
    bool told = false;       // its failure was said
    bool inPlace = false;    // finish put it in place
    bool pastLimit = false;  // it was stopped by the size limit for files, told at the end
    int32_t score = 0;       // the run's, as its end noted it
    RunRecording::Header header;
    RecordingFile file;
};
