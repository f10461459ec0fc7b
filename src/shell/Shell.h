#pragma once

#include "input/Input.h"
#include "input/SimInput.h"
#include "persist/LastName.h"
#include "persist/Player.h"
#include "persist/Replay.h"
#include "present/Button.h"
#include "present/Game.h"
#include "present/HelpPanel.h"
#include "present/Menu.h"
#include "present/PictureFetch.h"
#include "present/Services.h"
#include "present/Settings.h"
#include "present/SettingsKeeper.h"
#include "present/Sound.h"
#include "present/Text.h"
#include "shell/FramePacer.h"
#include "shell/MenuPhase.h"
#include "shell/MenuScreen.h"
#include "shell/PlayFrame.h"
#include "shell/PlayScreen.h"
#include "shell/Run.h"
#include "shell/ScreenLoop.h"
#include "world/Arrow.h"
#include "world/Cowboy.h"
#include "world/RandomSeed.h"

#include <array>
#include <memory>
#include <vector>

// Process-wide handles: game, arrow, menu and button set once by Shell::startUp; player, hero and
// replay point into the current run and are set anew by Shell::beginRun.
extern Game* game;      // window, renderer and camera
extern Cowboy* player;  // the hero character; null once he has died
extern Player* hero;    // the run's name-and-score record
extern Arrow* arrow;    // the direction arrow
extern Menu* menu;      // the menu background
extern Button* button;  // menu clicks and name input
extern Replay* replay;  // the run's replay object

// A world point where a farm stands and enemies and bulls are placed around.
struct Site {
    int x = 0;
    int y = 0;
};

// The process: what lasts it (window, pictures, texts, sound, settings, input, the screen loop and
// what the screens reach) and the order of its phases, each callable on its own so the game can be
// stepped without a player. Each run is a play screen and the menu that chooses it, made together
// and gone with the run.
class Shell {
public:
    // Sizes and places that never change.
    static constexpr const char* kTitle = "Bramblehoof";
    static constexpr int kHudTexts = 4;

    // Texts: HUD health, bulls, enemies, and the score.
    std::array<std::unique_ptr<Text>, kHudTexts> hudTexts;

    Site farmSite1;  // farm positions, centres of enemy and bull placement
    Site farmSite2;
    Site farmSite3;

    std::unique_ptr<PlayScreen> playing;                 // the current run, from its menu to its end
    std::unique_ptr<MenuScreen> choosing;                // the menu that chooses it
    RandomSeed seed;                                     // seeds rand() before every placement
    HeldWalk::Clock walkClock = &HeldWalk::systemClock;  // each run's hero walks by it
    Uint64 (*cardClock)() = &SDL_GetTicks64;             // each run's result card waits by it
    FramePacer pacer;                                    // at most 60 menu passes, frames and screen passes a second
    Sound sound;                                         // effects and tunes; mute it before start-up for a silent run
    Settings settings;                                   // the player's settings, read at start-up
    Input input{settings.keys};                          // the one reader of SDL's events
    LastDevice& device = input.device;                   // keyboard or pad: which the prompts name
    PlayKeys& playKeys = input.play;                     // pause and help keys during play
    SettingsKeeper keeper{settings, sound};              // settings.ini in step with the player
    ScreenLoop screens{pacer, input, sound, keeper};     // runs the menu, play and what opens over them
    Services services;                                   // what the screens reach: filled by startUp
    MenuPhase mainMenu;                                  // the menu's texts, board and passes
    LastName lastName;                                   // the name last played, offered at the next start
    HelpPanel help;       // how to play: at the start of a new game, on F1, in the pause panel
    PlayFrame playFrame;  // one frame of play
    SimInput simInput;    // what the world takes from outside: noted for the run's recording, or fed from one

    Shell() = default;
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;
    ~Shell();

    // The whole process: start-up, then runs (menu, run set-up, frames, end of run) until one
    // ends the process. Returns the exit status.
    int play();
    // The current run.
    Run& run() { return playing->run; }
    const Run& run() const { return playing->run; }
    // A fresh run (its play screen) and a fresh menu to choose it; the typed name is kept.
    void beginRun();
    // The menu shown is not the process's first: a run has been played and saved before it.
    bool menuShownAgain() const { return runsBegun > 1; }
    // After a run that leaves the process going: a fresh run and its menu.
    void showMenuAgain();
    // After the menu phase: true, with the teardown done, when the player chose QUIT (or Escape,
    // pad B) or closed the window on a menu shown again; the process then ends without a run.
    bool closedOnMenuShownAgain();
    // A letter grid bound to the menu's name.
    std::unique_ptr<LetterGrid> makeLetterGrid() { return choosing->makeLetterGrid(); }

    // Creates every object and opens the window. Returns false, with a line on standard error,
    // when no window can be shown; then nothing else may run and no file is touched.
    bool startUp();
    // The world without a window, sound or pictures, for a re-simulation: the camera, the arrow,
    // the menu's name, the HUD's texts (which draw nothing) and the farm sites. No file is read.
    void startWorld();
    // The window closed and what it drew freed, the settings' toggles kept: the end of a process
    // that played no run (a watch).
    void closeWindow() { tearDown(); }
    // One pass of the menu; false once the menu phase has ended.
    bool menuPass();
    void menuPhase();
    // The current run's phases (see PlayScreen), each callable on its own.
    void runSetUp();
    void frame();
    void frameLoop();
    // The pause panel over play, as a frame asking for it opens it.
    void startPause();
    // One pass of the paused game; false once the pause is over.
    bool pausePass();
    // Without an end by itself (won, lost, a replay run out) no card shows, and the answer is false.
    bool showResultCard(Uint64 giveUpMillis = 0);
    void commitRun();
    // The writes above if not made yet; when the process ends with the run, the teardown too.
    void endOfRun(bool processGoesOn = false);

private:
    // Ends the process after a close on a menu shown again: only the teardown.
    void tearDown();
    // Frees the pictures and fonts that need the renderer, before it goes.
    void releasePictures();

    int runsBegun = 0;  // runs made by beginRun in this process
    std::unique_ptr<Game> gameObj;
    std::unique_ptr<Arrow> arrowObj;
    std::unique_ptr<Menu> menuObj;
    // The figures' sheets, decoded once for the process: a spawn in play only makes its texture.
    std::vector<std::unique_ptr<PictureFetch>> figureSheets;
    std::unique_ptr<Button> buttonObj;
};
