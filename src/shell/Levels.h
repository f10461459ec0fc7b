#pragma once

#include <memory>
#include <vector>

#include "shell/Shell.h"

// The waves: where enemies, bulls and farms are placed for a new game and at each level change,
// and the checks at the end of every frame that end the run or change the level.
class Levels {
public:
    static constexpr int kSite1X = 1500;  // farm sites in world pixels
    static constexpr int kSite1Y = 500;
    static constexpr int kSite2X = 900;
    static constexpr int kSite2Y = 700;
    static constexpr int kSite3X = 1700;
    static constexpr int kSite3Y = 1100;
    static constexpr int kEnemiesAtLevel1 = 2;
    static constexpr int kBullsAtLevel1 = 2;
    static constexpr int kFarmsAtLevel1 = 1;
    static constexpr int kGrowthPerLevel = 2;  // enemies and bulls added at each level change
    static constexpr int kLastLevel = 3;
    static constexpr int kLevelUpTrace = 3;  // the frame after a level change says "kul"

    // Which random offset a placement draws.
    enum class Family {
        NewGameEnemy,  // enemies of a new game
        Other,         // bulls, and enemies placed at a level change
    };

    // One rand() draw: the offset d that places slot k at (site + d, site + d).
    static int offset(Family family, int k);

    // Replaces every slot with a fresh, unplaced object.
    template <typename T>
    static void refill(std::vector<std::unique_ptr<T>>& slots, int count) {
        slots.clear();
        for (int i = 0; i < count; ++i) {
            slots.push_back(std::make_unique<T>());
        }
    }

    static void newGame(Shell& shell);
    static void endOfFrame(Shell& shell);
    // What the end-of-frame checks are about to decide for the run: the hero is dead, or the
    // last level is complete, or neither.
    static Run::Outcome outcome(const Shell& shell);
    static void levelUp(Shell& shell);
};
