#pragma once

#include "present/Button.h"
#include "present/Game.h"
#include "present/Menu.h"
#include "present/HelpPanel.h"
#include "present/MenuRedraw.h"
#include "present/ResultCard.h"
#include "present/ScoreBoard.h"
#include "present/Sound.h"
#include "present/Text.h"
#include "persist/Player.h"
#include "persist/Replay.h"
#include "shell/FramePacer.h"
#include "shell/Run.h"
#include "shell/Settings.h"
#include "world/Arrow.h"
#include "world/Bull.h"
#include "world/Cowboy.h"
#include "world/Enemy.h"
#include "world/Farm.h"

#include <array>
#include <fstream>
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

// The whole game: the objects that last the process (window, pictures, texts, sound, menu) and,
// through its Run part, the current run; the phases of a run are each callable on its own so the
// game can be stepped without a player.
class Shell : public Run {
public:
    // Sizes and places that never change.
    static constexpr int kWindowW = 1080;
    static constexpr int kWindowH = 720;
    static constexpr const char* kTitle = "Bramblehoof";
    static constexpr int kHeroStartX = 300;
    static constexpr int kHeroStartY = 300;
    static constexpr int kHudTexts = 4;
    static constexpr int kMenuTexts = 5;
    static constexpr int kNameItem = 0;
    static constexpr int kNameLineOffset = 50;                  // the name line stands 50 pixels below NEW GAME
    static constexpr Uint64 kCardMillis = 10000;                // a result card left alone this long ends the process
    static constexpr SDL_Rect kPausePanel{140, 110, 800, 500};  // room for the controls
    static constexpr Uint8 kPauseDim = 120;  // the paused picture is darkened, so it reads as stopped
    static constexpr int kSignRight = 760;   // the menu sign's writing ends here: a name stops before it

    // Texts: HUD health, bulls, enemies, and one spare; menu name field and the four items.
    std::array<std::unique_ptr<Text>, kHudTexts> hudTexts;
    std::array<std::unique_ptr<Text>, kMenuTexts> menuTexts;
    std::vector<SDL_Rect> menuPositions;  // where each clickable menu item is
    std::vector<SDL_Rect> menuSizes;      // how large each clickable menu item is

    Site farmSite1;  // farm positions, centres of enemy and bull placement
    Site farmSite2;
    Site farmSite3;

    ScoreBoard scoreBoard;  // the best runs, shown on the menu on demand
    FramePacer pacer;       // at most 60 menu passes and frames a second
    Sound sound;            // effects and tunes; mute it before start-up for a silent run
    Settings settings;      // the player's keys and controller mappings, read at start-up
    ResultCard card;        // shown after a run that ended by itself, over its last picture
    ResultCard pauseCard;   // shown while a run is paused, over its last picture
    HelpPanel help;         // how to play: at the start of a new game, on F1, in the pause panel
    MenuRedraw menuRedraw;  // whether a menu pass has anything new to show

    Shell() = default;
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;
    ~Shell();

    // The whole process: start-up, then runs (menu, run set-up, frames, end of run) until one
    // ends the process. Returns the exit status.
    int run();
    // Makes a fresh run: every object and value a run holds, and the class-wide values the game
    // keeps, as a fresh process has them before its menu; the typed name is kept. The one reset.
    void beginRun();
    // The menu shown is not the process's first: a run has been played and saved before it.
    bool menuShownAgain() const { return runsBegun > 1; }
    // After a run that leaves the process going: a fresh run and its menu.
    void showMenuAgain();
    // After the menu phase: true, with the teardown done, when the window was closed on a menu
    // shown again; the process then ends without a run.
    bool closedOnMenuShownAgain();

    // Creates every object and opens the window. Returns false, with a line on standard error,
    // when no window can be shown; then nothing else may run and no file is touched.
    bool startUp();
    // One pass of the menu; false once the menu phase has ended.
    bool menuPass();
    void menuPhase();
    void runSetUp();
    // One pass of the frame loop: the mode step, then the play frame.
    void frame();
    // Frames until the run ends, with the pauses the player asks for in between.
    void frameLoop();
    // The pause panel until the player continues, quits to the menu or closes the window.
    void pause();
    // Stops the sound and the hero's held walks and readies the panel over the kept picture.
    void startPause();
    // One pass of the pause panel; false once the pause is over.
    bool pausePass();
    // After a run that ended by itself (won, lost, a replay run out): the result card, until the
    // player chooses, closes the window or leaves it `millis` alone. True when the player chose to
    // play again. Without such an end no card shows, and the answer is false.
    bool showResultCard(Uint64 millis = kCardMillis);
    // The run's player record and save; when the process ends with it, the teardown too.
    void endOfRun(bool processGoesOn = false);

    // Draws the how-to-play panel over the frame while it is due, fading out at its end.
    void drawHelp();

    // The hero's values as the end of run sees them, alive or not.
    HeroSnapshot heroState() const;
    // Takes the hero out of play, keeping his last values.
    void removeHero();

    // Mode steps of the frame loop.
    void recordFrame();
    void loadReplay();
    void playBackFrame();

private:
    // Takes the pause and help keys out of the queue during play, and notes a lost focus.
    static int SDLCALL playKeyFilter(void* shell, SDL_Event* event);
    // Ends the process after a close on a menu shown again: only the teardown.
    void tearDown();
    // Frees the pictures and fonts that need the renderer, before it goes.
    void releasePictures();

    bool menuOpen = true;            // the menu phase goes on
    int runsBegun = 0;               // runs made by beginRun in this process
    bool filteringPlayKeys = false;  // playKeyFilter acts: a run is in play and not paused
    bool pausePanelShown = false;    // the pause panel is on screen as it stands
    std::unique_ptr<Game> gameObj;
    std::unique_ptr<Arrow> arrowObj;
    std::unique_ptr<Menu> menuObj;
    std::unique_ptr<Button> buttonObj;
};
