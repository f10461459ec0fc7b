#pragma once

#include "present/Button.h"
#include "present/Game.h"
#include "present/Menu.h"
#include "present/ResultCard.h"
#include "present/ScoreBoard.h"
#include "present/Sound.h"
#include "present/Text.h"
#include "persist/Player.h"
#include "persist/Replay.h"
#include "shell/FramePacer.h"
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

// Process-wide handles, set once by Shell::startUp.
extern Game* game;        // window, renderer and camera
extern Cowboy* player;    // the hero character; null once he has died
extern Player* hero;      // the player's name-and-score record
extern Arrow* arrow;      // the direction arrow
extern Menu* menu;        // the menu background
extern Button* button;    // menu clicks and name input
extern Replay* replay;    // the replay object

// A world point where a farm stands and enemies and bulls are placed around.
struct Site {
    int x = 0;
    int y = 0;
};

// The hero's values that the end of run reads, kept when he is removed from play.
struct HeroSnapshot {
    SDL_Rect pos{};     // world rectangle
    int health = 0;     // hit points
    int killed = 0;     // enemies killed in the current wave
    int collected = 0;  // bulls collected in the current wave
};

// The whole game: every object it creates and the phases of one run, each callable on its own so
// the game can be stepped without a player.
class Shell {
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
    static constexpr int kNameLineOffset = 50;  // the name line stands 50 pixels below NEW GAME
    static constexpr Uint64 kCardMillis = 3000;  // how long the result card stays at most

    // How a run in play ended: won at the last level or lost with the hero, or neither (the
    // window was closed, a replay ran out).
    enum class Outcome { None, Won, Died };

    // Level state.
    int enemyCount = 0;  // enemy slots of the current level
    int bullCount = 0;   // bull slots of the current level
    int farmCount = 0;   // farm slots of the current level
    int level = 0;       // 1 to 3
    int levelUpTrace = 0;  // 3 after a level change: the next frame says so

    // Owning slot lists: a removed object leaves a null slot; an unplaced one has id 0.
    std::vector<std::unique_ptr<Enemy>> enemies;
    std::vector<std::unique_ptr<Farm>> farms;
    std::vector<std::unique_ptr<Bull>> bulls;

    // Texts: HUD health, bulls, enemies, and one spare; menu name field and the four items.
    std::array<std::unique_ptr<Text>, kHudTexts> hudTexts;
    std::array<std::unique_ptr<Text>, kMenuTexts> menuTexts;
    std::vector<SDL_Rect> menuPositions;  // where each clickable menu item is
    std::vector<SDL_Rect> menuSizes;      // how large each clickable menu item is

    Site farmSite1;  // farm positions, centres of enemy and bull placement
    Site farmSite2;
    Site farmSite3;

    // Replay recording and playback.
    std::ofstream replayOut;    // writer of the replay file while a run is played
    std::vector<int> replayXs;  // positions read back from the replay file
    std::vector<int> replayYs;
    int replayIndex = 0;        // next replay position to apply

    ScoreBoard scoreBoard;  // the best runs, shown on the menu on demand
    HeroSnapshot heroLast;  // the hero's last values, for the end of run after his death
    FramePacer pacer;       // at most 60 menu passes and frames a second
    Sound sound;            // effects and tunes; mute it before start-up for a silent run
    Settings settings;      // the player's keys and controller mappings, read at start-up
    bool heroSwinging = false;  // the hero's attack was under way at the end of the last frame
    Outcome outcome = Outcome::None;  // set by the frame that wins or loses the run
    ResultCard card;                  // shown after such a frame, over its picture

    Shell() = default;
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;
    ~Shell();

    // The whole process: start-up, menu, run set-up, frames, end of run. Returns the exit status.
    int run();

    // Creates every object and opens the window. Returns false, with a line on standard error,
    // when no window can be shown; then nothing else may run and no file is touched.
    bool startUp();
    // One pass of the menu; false once the menu phase has ended.
    bool menuPass();
    void menuPhase();
    void runSetUp();
    // One pass of the frame loop: the mode step, then the play frame.
    void frame();
    void frameLoop();
    // After a run won or lost in play: the result card, until a key, a click, a closed window
    // or `millis` have passed. Otherwise nothing.
    void showResultCard(Uint64 millis = kCardMillis);
    void endOfRun();

    // The hero's values as the end of run sees them, alive or not.
    HeroSnapshot heroState() const;
    // Takes the hero out of play, keeping his last values.
    void removeHero();

    // Mode steps of the frame loop.
    void recordFrame();
    void loadReplay();
    void playBackFrame();

private:
    bool menuOpen = true;  // the menu phase goes on
    std::unique_ptr<Game> gameObj;
    std::unique_ptr<Cowboy> playerObj;
    std::unique_ptr<Player> heroObj;
    std::unique_ptr<Arrow> arrowObj;
    std::unique_ptr<Menu> menuObj;
    std::unique_ptr<Button> buttonObj;
    std::unique_ptr<Replay> replayObj;
};
