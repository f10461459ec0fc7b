// The run files at the sizes that matter: a replay of a million frames, one save and resume, and
// the score board opened over ten million finished runs.
#include "persist/Replay.h"
#include "persist/SaveLock.h"
#include "persist/SavedGame.h"
#include "present/ScoreBoard.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A scratch files/ folder holding a replay of a million recorded frames.
struct Scratch {
    std::string dir;
    std::ofstream sink{"/dev/null"};
    std::streambuf* savedCout = nullptr;

    Scratch() {
        char pattern[] = "/tmp/bramblehoof-persist-bench-XXXXXX";
        dir = mkdtemp(pattern);
        if (chdir(dir.c_str()) != 0 || mkdir("files", 0755) != 0) {
            std::cerr << "bench: cannot prepare " << dir << std::endl;
            std::exit(1);
        }
        std::ofstream replay("files/replay.txt");
        for (int frame = 0; frame < 1000000; ++frame) {
            replay << (frame % 2000) - 300 << ' ' << (frame * 7) % 1400 << '\n';
        }
    }
    // The load echoes every line twice and the save traces itself: only the figures are printed.
    void quiet() { savedCout = std::cout.rdbuf(sink.rdbuf()); }
    void loud() { std::cout.rdbuf(savedCout); }
    ~Scratch() {
        if (savedCout != nullptr) {
            loud();
        }
        const std::string command = "rm -rf '" + dir + "'";
        if (std::system(command.c_str()) != 0) {
            std::cerr << "bench: cannot remove " << dir << std::endl;
        }
    }
};

Scratch& scratch() {
    // Destroyed at exit, which removes the folder and its million-line replay.
    static Scratch instance;
    return instance;
}

void BM_LoadMillionLineReplay(benchmark::State& state) {
    scratch().quiet();
    for (auto _ : state) {
        std::vector<int> xs, ys;
        Replay::load("files/replay.txt", xs, ys);
        benchmark::DoNotOptimize(xs.data());
        if (xs.size() != 1000000) {
            state.SkipWithError("not every line was loaded");
        }
    }
    scratch().loud();
}

resPl savedHero() {
    resPl hero{};
    hero.x = 640;
    hero.y = 480;
    hero.health = 4321;
    hero.level = 3;
    hero.enemiesKilled = 2;
    hero.bullsCollected = 5;
    hero.enemyCount = 6;
    hero.bullCount = 6;
    hero.name = "Benchmark";
    return hero;
}

void BM_Save(benchmark::State& state) {
    scratch().quiet();
    const std::vector<resEn> enemies{{900, 700, 50}, {950, 750, 46}, {1700, 1100, 12}, {1750, 1150, 50}};
    for (auto _ : state) {
        SavedGame::save(savedHero(), enemies, 640);  // written, flushed to disk and renamed into place
    }
    scratch().loud();
}

// What the lock adds to a save or a resume: its file opened, locked, closed.
void BM_SaveLock(benchmark::State& state) {
    scratch();
    for (auto _ : state) {
        const SaveLock lock(SavedGame::kPlayerPath);
        if (!lock.held()) {
            state.SkipWithError(lock.problem().c_str());
        }
    }
}

void BM_Resume(benchmark::State& state) {
    scratch().quiet();
    SavedGame::save(savedHero(), {{900, 700, 50}, {950, 750, 46}, {1700, 1100, 12}, {1750, 1150, 50}}, 640);
    scratch().loud();
    for (auto _ : state) {
        resPl hero{};
        std::string reason;
        if (!SavedGame::readPlayer(hero, reason)) {
            state.SkipWithError(reason.c_str());
        }
        benchmark::DoNotOptimize(SavedGame::readEnemies(hero.enemyCount));
    }
}

long peakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// files/players.bin with ten million runs (560 MB), written a block at a time.
void writePlayersFile(int runs) {
    std::ofstream out("files/players.bin", std::ios::binary);
    std::string block;
    for (int i = 0; i < runs; ++i) {
        PlayerRecord record;
        record.name = "Runner " + std::to_string(i % 977);
        record.score = static_cast<int32_t>((i * 7919LL) % 100003) * 10;
        unsigned char bytes[PlayerRecord::kSize];
        record.encode(bytes);
        block.append(reinterpret_cast<const char*>(bytes), sizeof bytes);
        if (block.size() >= (1u << 20)) {
            out << block;
            block.clear();
        }
    }
    out << block;
}

void BM_OpenScoreBoardOverTenMillionRuns(benchmark::State& state) {
    constexpr int kRuns = 10000000;
    scratch();
    writePlayersFile(kRuns);
    const long before = peakKiB();
    for (auto _ : state) {
        const std::vector<ScoreBoard::Entry> best = ScoreBoard::bestInFile("files/players.bin");
        if (best.size() != ScoreBoard::kShown) {
            state.SkipWithError("the board is not full");
        }
        benchmark::DoNotOptimize(best.data());
    }
    state.counters["peak_growth_KiB"] = static_cast<double>(peakKiB() - before);
    std::remove("files/players.bin");
}

}  // namespace

BENCHMARK(BM_OpenScoreBoardOverTenMillionRuns)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LoadMillionLineReplay)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveLock)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Resume)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
