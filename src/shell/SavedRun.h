#pragma once

class Shell;
struct resPl;

// The saved game as the run sees it: written from the hero, the level and the living enemies at
// the end of every run, and restored into a new run when RESUME is chosen.
class SavedRun {
public:
    // The end of run's files: the run's record in the players file, then the save. With no files
    // folder, one line says that nothing of the run is kept, and the save's trace is written alone.
    // True when both the record and the save were kept, whatever notes went to stderr.
    static bool keep(Shell& shell);
    // True when the save stands (see SavedGame::save).
    static bool save(Shell& shell);
    // Restores the saved game; when there is none the game could have written, says why on
    // standard error and starts a new game instead.
    static void resume(Shell& shell);

private:
    // The resume once the hero's record is read: the level's slots, the enemies, the bulls.
    static void restore(Shell& shell, const resPl& record);
};
