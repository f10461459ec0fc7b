// The real play frame, headless on the software renderer, against a floor loop that only clears,
// draws the HUD lines and presents. Run from anywhere: it works in a scratch folder.
#include "present/DrawQueue.h"
#include "shell/PlayFrame.h"
#include "shell/Shell.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <fstream>
#include <ctime>

namespace {

constexpr int kHugeHealth = 1000000000;  // keeps everyone alive for any number of frames

void push(Uint32 type, SDL_Keycode key) {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = type;
    event.key.keysym.sym = key;
    if (type == SDL_MOUSEBUTTONDOWN) {
        event.button.x = 600;
        event.button.y = 400;
    }
    SDL_PushEvent(&event);
}

// The hero walks right and left in turn and attacks every few frames.
void feedInput(long frame) {
    push(SDL_KEYDOWN, (frame / 30) % 2 == 0 ? SDLK_d : SDLK_a);
    if (frame % 4 == 0) {
        push(SDL_MOUSEBUTTONDOWN, 0);
    }
}

double residentMiB() {
    long pages = 0, resident = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm != nullptr) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// One game for the whole process, set up like a player would and then pushed to a level.
class Bench {
public:
    Shell shell;
    std::string dir;  // the scratch folder the game runs in, removed by main at the end
    std::streambuf* savedCout = nullptr;
    std::ofstream sink{"/dev/null"};

    Bench() {
        char pattern[] = "/tmp/bramblehoof-bench-XXXXXX";
        dir = mkdtemp(pattern);
        const std::string images = std::string(BRAMBLEHOOF_SOURCE_DIR) + "/images";
        const std::string sounds = std::string(BRAMBLEHOOF_SOURCE_DIR) + "/sounds";
        if (symlink(images.c_str(), (dir + "/images").c_str()) != 0 ||
            symlink(sounds.c_str(), (dir + "/sounds").c_str()) != 0 || mkdir((dir + "/files").c_str(), 0755) != 0 ||
            chdir(dir.c_str()) != 0) {
            std::cerr << "bench: cannot prepare " << dir << std::endl;
            std::exit(1);
        }
        // Headless on the software renderer unless a real display is asked for (make bench-window:
        // x11 on Xvfb, the renderer the game picks there, with vsync off; SDL_RENDER_DRIVER=opengl
        // makes it OpenGL's on a machine where the game would draw in software).
        const char* video = std::getenv("BRAMBLEHOOF_BENCH_VIDEO");
        setenv("SDL_VIDEODRIVER", video != nullptr && *video != '\0' ? video : "dummy", 1);
        // Sound on, so the frame pays for starting its effects and the mixer competes for the cores.
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        quiet();  // the trace would only measure the terminal
        shell.pacer.enabled = false;
        // For comparison: every figure drawing made, covered or not.
        if (std::getenv("BRAMBLEHOOF_BENCH_UNCUT") != nullptr) {
            DrawQueue::skipCovered = false;
        }
        if (!shell.startUp()) {
            std::exit(1);
        }
        SDL_RendererInfo info;
        if (SDL_GetRendererInfo(Render::renderer, &info) == 0) {
            std::cerr << "bench: renderer " << info.name << ", " << SDL_GetCurrentVideoDriver() << " video"
                      << std::endl;
        }
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        push(SDL_QUIT, 0);  // end the menu at once; the run itself goes on below
        shell.menuPhase();
        Render::isRunning = true;
        shell.runSetUp();
        loud();
    }

    // The game's trace goes nowhere while it runs; the benchmark's own report goes to the console.
    void quiet() { savedCout = std::cout.rdbuf(sink.rdbuf()); }
    void loud() { std::cout.rdbuf(savedCout); }

    void toLevel(int level) {
        while (shell.run().level < level) {
            player->setEnemy(shell.run().enemyCount);
            player->setBull(shell.run().bullCount);
            shell.frame();
        }
        // Every enemy of the level chases and swings at the hero, none of them ever dies.
        const SDL_Rect at = player->getPos();
        shell.frame();
        for (int k = 0; k < shell.run().enemyCount && k < 6; ++k) {
            if (shell.run().enemies[k] != nullptr) {
                shell.run().enemies[k]->spawn(at.x + 40 * k, at.y + 150);
                shell.run().enemies[k]->setHealth(kHugeHealth);
            }
        }
        player->setAll(at.x, at.y, kHugeHealth);
    }

    void frame(long n) {
        feedInput(n);
        shell.frame();
        player->setAll(player->getPos().x, player->getPos().y, kHugeHealth);
    }
};

Bench* made = nullptr;  // made by the first benchmark that needs it

Bench& bench() {
    if (made == nullptr) {
        made = new Bench();
    }
    return *made;
}

void BM_PlayFrame(benchmark::State& state) {
    Bench& b = bench();
    b.quiet();
    b.toLevel(static_cast<int>(state.range(0)));
    long n = 0;
    for (auto _ : state) {
        b.frame(n++);
    }
    b.loud();
}

// What any frame must do: clear, draw the HUD as the play frame does, present.
void BM_FloorFrame(benchmark::State& state) {
    Bench& b = bench();
    for (auto _ : state) {
        game->clear();
        PlayFrame::drawHud(b.shell);
        game->present();
    }
}

double processCpuUs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

// The floor and the level-3 frame in turns, 200 frames of each, their process CPU time summed
// apart. In a real window the CPU a frame takes drifts by a third from one minute to the next
// (the software OpenGL driver's threads, the X server on the same cores), far more than what the
// scene adds; loops run one after the other met different conditions. Shorter turns let one loop
// leave the driver's memory in a state that moves the other's figure by a tenth.
void BM_Level3AgainstFloor(benchmark::State& state) {
    constexpr int kTurn = 200;  // frames of each loop in one turn
    Bench& b = bench();
    b.quiet();
    b.toLevel(3);
    b.shell.help.hide();  // the scene alone, as the floor shows no panel either
    long n = 0;
    double floorUs = 0;
    double levelUs = 0;
    for (auto _ : state) {
        const double start = processCpuUs();
        for (int k = 0; k < kTurn; ++k) {
            game->clear();
            PlayFrame::drawHud(b.shell);
            game->present();
        }
        const double middle = processCpuUs();
        for (int k = 0; k < kTurn; ++k) {
            b.frame(n++);
        }
        floorUs += middle - start;
        levelUs += processCpuUs() - middle;
    }
    b.loud();
    const double frames = static_cast<double>(state.iterations()) * kTurn;
    state.counters["floor_us"] = floorUs / frames;
    state.counters["level3_us"] = levelUs / frames;
    state.counters["ratio"] = floorUs > 0 ? levelUs / floorUs : 0.0;
}

void BM_ResidentMemory(benchmark::State& state) {
    Bench& b = bench();
    b.quiet();
    b.toLevel(3);
    double after1k = 0, after100k = 0;
    for (auto _ : state) {
        for (long n = 0; n < 100000; ++n) {
            b.frame(n);
            if (n + 1 == 1000) {
                after1k = residentMiB();
            }
        }
        after100k = residentMiB();
    }
    b.loud();
    state.counters["rss_1k_MiB"] = after1k;
    state.counters["rss_100k_MiB"] = after100k;
    state.counters["growth_MiB"] = after100k - after1k;
}

}  // namespace

// CPU time is the whole process's, every thread (the mixer's, a software OpenGL driver's) included:
// in a real window most of a frame's work is done outside the thread that asks for it.
BENCHMARK(BM_FloorFrame)->Unit(benchmark::kMicrosecond)->MinTime(2.0)->MeasureProcessCPUTime();
BENCHMARK(BM_PlayFrame)->Arg(1)->Unit(benchmark::kMicrosecond)->MinTime(2.0)->MeasureProcessCPUTime();
BENCHMARK(BM_PlayFrame)->Arg(3)->Unit(benchmark::kMicrosecond)->MinTime(2.0)->MeasureProcessCPUTime();
BENCHMARK(BM_Level3AgainstFloor)->Unit(benchmark::kMillisecond)->MinTime(4.0)->MeasureProcessCPUTime();
BENCHMARK(BM_ResidentMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// Console output as usual, and the figures kept for the summary lines at the end.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> wall;  // microseconds per frame by the clock
    std::map<std::string, double> cpu;   // microseconds of the whole process's CPU per frame
    std::vector<std::string> turns;      // one summary line per run of the loops taken in turns
    std::vector<double> turnRatios;      // the level-3 frame against the floor, per run in turns

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            wall[run.benchmark_name()] = run.GetAdjustedRealTime();
            cpu[run.benchmark_name()] = run.GetAdjustedCPUTime();
            const auto ratio = run.counters.find("ratio");
            if (ratio != run.counters.end() && run.run_type == Run::RT_Iteration) {
                char line[200];
                std::snprintf(line, sizeof line,
                              "in turns: floor %.1f us, level 3 %.1f us of process CPU per frame: %.2f x the floor",
                              static_cast<double>(run.counters.at("floor_us")),
                              static_cast<double>(run.counters.at("level3_us")), static_cast<double>(ratio->second));
                turns.push_back(line);
                turnRatios.push_back(static_cast<double>(ratio->second));
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const std::string floorName = "BM_FloorFrame/min_time:2.000/process_time";
    for (const char* name :
         {"BM_PlayFrame/1/min_time:2.000/process_time", "BM_PlayFrame/3/min_time:2.000/process_time"}) {
        for (auto* figures : {&reporter.cpu, &reporter.wall}) {
            const double floor = (*figures)[floorName];
            const double us = (*figures)[name];
            if (floor <= 0 || us <= 0) {
                continue;  // not run this time
            }
            std::printf("%s: %.1f us %s per frame, %.2f x the floor (%.1f us)\n", name, us,
                        figures == &reporter.cpu ? "process CPU" : "wall", floor > 0 ? us / floor : 0.0, floor);
        }
    }
    for (const std::string& line : reporter.turns) {
        std::printf("%s\n", line.c_str());
    }
    if (reporter.turnRatios.size() > 1) {
        std::vector<double> sorted = reporter.turnRatios;
        std::sort(sorted.begin(), sorted.end());
        std::printf("in turns, %zu runs: level 3 at %.2f x the floor (median), %.2f to %.2f\n", sorted.size(),
                    sorted[(sorted.size() - 1) / 2], sorted.front(), sorted.back());
    }
    // The game itself is never torn down (SDL goes with the process); only its folder is removed.
    if (made != nullptr) {
        std::error_code ignored;
        std::filesystem::remove_all(made->dir, ignored);
    }
    return 0;
}
