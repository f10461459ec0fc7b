#pragma once

#include "persist/GhostTrack.h"
#include "persist/Player.h"
#include "persist/Replay.h"
#include "shell/RunRecorder.h"
#include "world/Bull.h"
#include "world/Cowboy.h"
#include "world/Enemy.h"
#include "world/Farm.h"

#include <SDL.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <memory>
#include <vector>

// The hero's values that the end of run reads, kept when he is removed from play.
struct HeroSnapshot {
    SDL_Rect pos{};     // world rectangle
    int health = 0;     // hit points
    int killed = 0;     // enemies killed in the current wave
    int collected = 0;  // bulls collected in the current wave
};

// The assists a run was played with: the slowest pace it ran at, and the three that change the
// world, as its set-up fixed them.
struct RunAssists {
    int speed = 100;
    int damageShare = 100;
    bool refill = false;
    bool autoAttack = false;
    bool any() const { return speed != 100 || damageShare != 100 || refill || autoAttack; }
};

// Everything that lasts one run, from its menu choice to its end of run. A process may play
// several runs; each starts from a fresh Run, so nothing of one run can reach the next.
struct Run {
    Run() = default;
    Run(Run&&) = default;
    Run& operator=(Run&&) = default;

    // How a run ended by itself: won at the last level, lost with the hero, or a replay that ran
    // out; or none of these (the window was closed, the player quit to the menu).
    enum class Outcome { None, Won, Died, ReplayOver };

    // Level state.
    int enemyCount = 0;    // enemy slots of the current level
    int bullCount = 0;     // bull slots of the current level
    int farmCount = 0;     // farm slots of the current level
    int level = 0;         // 1 to 3
    int levelUpTrace = 0;  // 3 after a level change: the next frame says so

    // Owning slot lists: a removed object leaves a null slot; an unplaced one has id 0.
    std::vector<std::unique_ptr<Enemy>> enemies;
    std::vector<std::unique_ptr<Farm>> farms;
    std::vector<std::unique_ptr<Bull>> bulls;

    std::unique_ptr<Cowboy> playerObj;  // the hero character; null once he has died
    std::unique_ptr<Player> heroObj;    // the run's name-and-score record
    std::unique_ptr<Replay> replayObj;  // the replay object

    // Replay recording and playback.
    std::ofstream replayOut;    // writer of the replay file while a run is played
    std::vector<int> replayXs;  // positions read back from the replay file
    std::vector<int> replayYs;
    int replayIndex = 0;  // next replay position to apply

    HeroSnapshot heroLast;            // the hero's last values, for the end of run after his death
    bool heroSwinging = false;        // the hero's attack was under way at the end of the last frame
    Outcome outcome = Outcome::None;  // set by the frame that ends the run by itself
    bool quitToMenu = false;          // the player left the run from the pause panel
    bool committed = false;           // the record, the save and the replay are written
    bool notSaved = false;            // one of those writes failed (its line is on standard error)
    int place = 0;                    // where the run's score stands among the runs before it (0: not told)
    bool assisted = false;            // played with an assist on (the options' Assists), at any time of it
    RunAssists assists;               // which ones
    RunRecorder recorder;             // the run's recording (files/runs/)

    // Its times and its ghost.
    bool timed = false;                    // a run played (a new game or a resume): its frames count
    bool newGame = false;                  // started from NEW GAME: a win may become the one to beat
    int firstLevel = 1;                    // the level play began at (a resume's saved level)
    std::array<int64_t, 3> levelFrames{};  // frames played at each level; a pause plays none
    GhostTrack track;                      // the hero of this run, frame by frame (a new game only)
    std::unique_ptr<GhostTrack> best;      // the name's fastest win, shown faintly; null when none or off

    // The class-wide values every run reads (the menu's, the frame loop's flag, the farms'
    // countdown, the enemies' mood) as a fresh process has them before its menu. The one place
    // they are reset, at the start of every run.
    static void resetClassWide();

    // The hero's values as the end of run sees them, alive or not.
    HeroSnapshot heroState() const;
    // Takes the hero out of play, keeping his last values.
    void removeHero();

    // The mode steps of a frame: record the hero's place, load the replay, or play its next place.
    void recordFrame();
    void loadReplay();
    void playBackFrame();
};
