#pragma once

#include <cstdint>

struct Run;
class Game;

// A stable hash of a run's world, field by field (never memory bytes): the hero, the enemy, farm
// and bull slots, the counters, the level, the score, the camera and the class-wide values the
// frame reads. Two worlds with equal hashes play on alike.
class WorldHash {
public:
    static uint64_t of(const Run& run, const Game& game);

private:
    uint64_t value = 14695981039346656037ull;  // FNV-1a 64
    void add(int64_t field);
    void add(int32_t field) { add(static_cast<int64_t>(field)); }
    void add(bool field) { add(static_cast<int64_t>(field ? 1 : 0)); }
};
