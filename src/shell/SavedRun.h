#pragma once

class Shell;

// The saved game as the run sees it: written from the hero, the level and the living enemies at
// the end of every run, and restored into a new run when RESUME is chosen.
class SavedRun {
public:
    static void save(Shell& shell);
    // Restores the saved game; when there is none the game could have written, says why on
    // standard error and starts a new game instead.
    static void resume(Shell& shell);
};
