#pragma once

#include "persist/RunTimes.h"
#include "present/CardScreen.h"
#include "present/PauseScreen.h"
#include "shell/Run.h"

#include <SDL.h>

#include <memory>
#include <string>

class Shell;

// One run, from the menu that chooses it to its end: the run itself (counts, slots, hero, record,
// replay, outcome), its frames, its pauses and the card after it. Made before the menu that chooses
// the run (as a process makes its objects before its first menu) and gone with the run, so nothing
// of one run can reach the next: the shell makes a new one for every run. A screen that drives
// itself: each pass is a frame, whose hero takes the input where he always has; the pause panel
// stands over it on the loop.
class PlayScreen : public Screen {
public:
    static constexpr int kHeroStartX = 300;
    static constexpr int kHeroStartY = 300;

    Run run;                // everything that lasts the run
    CardScreen resultCard;  // shown after the run ended by itself, over its last picture

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

    bool drivesItself() const override { return true; }
    // A frame.
    void step() override { frame(); }
    // The run has ended: the window closed, the hero gone, the level won, the replay run out, or
    // a quit to the menu.
    bool done() const override;
    // The pause panel, when the frame just played asked for it.
    std::unique_ptr<Screen> opens() override;
    // Play's picture is its frames' own: the pause panel stands on the one it kept.
    void draw(SDL_Renderer*) const override {}
    // A close while paused: the pause ends, and the next frame takes the close as any frame does.
    void take(const SDL_Event& event) override;
    // The pause panel is done: play goes on, or the run ends on a quit to the menu.
    void uncovered(const Screen& gone) override;

    // Stops the sound and the hero's held walks, readies the panel over the kept picture and
    // hands it over, to be shown over play until the player continues, quits to the menu or
    // closes the window.
    std::unique_ptr<PauseScreen> pause();
    // The pause panel shown now, or while play goes on the one that keeps the picture of the
    // frame that asks for the next pause.
    PauseScreen& pausePanel() { return paused != nullptr ? *paused : *nextPause; }
    // After a run that ended by itself: the result card until the player chooses or closes the
    // window (or, for tests, `giveUpMillis` pass). True when the menu comes next (play again, or
    // back), false when the window was closed or nothing was chosen.
    bool showResultCard(Uint64 giveUpMillis = 0);
    // The run's player record, its save and the replay's close, as soon as the run has ended and
    // before any card: a kill while a card shows loses nothing. Once a run.
    void commit();
    // The card's line naming the assists a run was played with ("Assisted: half damage, ...").
    static std::string assistedLine(const RunAssists& assists);

    // What the level still needs and where the nearest of it is, for the pause panel.
    PauseScreen::Reminder reminder() const;

    // The card's line of the run's time and its levels' times.
    std::string timesLine() const;

private:
    void endPause(PanelKeys::PauseChoice choice);
    // How the run went, as the times file keeps it.
    RunTimes::Entry timesEntry() const;
    // The typed name as the players file stores it.
    std::string storedName() const;
    // The name's fastest win, for its ghost.
    void loadBest();
    // The run's times beside its players record, and its track when it is the name's fastest win.
    void keepTimes();

    Shell& shell;
    std::unique_ptr<PauseScreen> nextPause = std::make_unique<PauseScreen>();  // keeps the picture for the next pause
    PauseScreen* paused = nullptr;                                             // the panel on the loop while paused
};
