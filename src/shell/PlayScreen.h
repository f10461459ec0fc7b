#pragma once

#include "present/CardScreen.h"
#include "present/PauseScreen.h"
#include "shell/Run.h"

#include <SDL.h>

class Shell;

// One run, from the menu that chooses it to its end: the run itself (counts, slots, hero, record,
// replay, outcome), its frames, its pauses and the card after it. Made before the menu that chooses
// the run (as a process makes its objects before its first menu) and gone with the run, so nothing
// of one run can reach the next: the shell makes a new one for every run.
class PlayScreen {
public:
    static constexpr int kHeroStartX = 300;
    static constexpr int kHeroStartY = 300;

    Run run;                 // everything that lasts the run
    PauseScreen pausePanel;  // shown while the run is paused, over its last picture
    CardScreen resultCard;   // shown after the run ended by itself, over its last picture

    // A fresh run as a fresh process has it before its menu: level 1's slots, a new hero, record
    // and replay, and the class-wide values every run reads.
    explicit PlayScreen(Shell& shell);
    ~PlayScreen();
    PlayScreen(const PlayScreen&) = delete;
    PlayScreen& operator=(const PlayScreen&) = delete;

    // After the menu: the run's mode set up (a new game placed, a saved one resumed, a replay).
    void setUp();
    // One frame: the mode step, then the play frame.
    void frame();
    // Frames until the run ends, with the pauses the player asks for in between.
    void frameLoop();
    // The pause panel until the player continues, quits to the menu or closes the window.
    void pause();
    // Stops the sound and the hero's held walks and readies the panel over the kept picture.
    void startPause();
    // One pass of the pause panel; false once the pause is over.
    bool pausePass();
    // After a run that ended by itself: the result card until the player chooses or closes the
    // window (or, for tests, `giveUpMillis` pass). True when the player chose to play again.
    bool showResultCard(Uint64 giveUpMillis = 0);
    // The run's player record, its save and the replay's close, as soon as the run has ended and
    // before any card: a kill while a card shows loses nothing. Once a run.
    void commit();

private:
    Shell& shell;
};
