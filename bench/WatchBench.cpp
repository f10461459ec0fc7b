// WATCH at 4x in level 3: one pass of the watch screen (four frames of the recorded win played by
// the game's own frame, one picture presented), headless on the software renderer unless
// BRAMBLEHOOF_BENCH_VIDEO names a display. A pass must stay within 1/60 s for the watch to keep
// 60 pictures a second. Run from anywhere: it works in a scratch folder.
#include "shell/Shell.h"
#include "shell/WatchScreen.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void pushKey(SDL_Keycode key) {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = key;
    SDL_PushEvent(&event);
}

class Bench {
public:
    Shell shell;
    std::unique_ptr<WatchScreen> watch;
    const std::string recording = std::string(BRAMBLEHOOF_SOURCE_DIR) + "/tests/golden/won.run";

    Bench() {
        char pattern[] = "/tmp/bramblehoof-bench-XXXXXX";
        const std::string dir = mkdtemp(pattern);
        const std::string images = std::string(BRAMBLEHOOF_SOURCE_DIR) + "/images";
        const std::string sounds = std::string(BRAMBLEHOOF_SOURCE_DIR) + "/sounds";
        if (symlink(images.c_str(), (dir + "/images").c_str()) != 0 ||
            symlink(sounds.c_str(), (dir + "/sounds").c_str()) != 0 || mkdir((dir + "/files").c_str(), 0755) != 0 ||
            chdir(dir.c_str()) != 0) {
            std::cerr << "bench: cannot prepare " << dir << std::endl;
            std::exit(1);
        }
        const char* video = std::getenv("BRAMBLEHOOF_BENCH_VIDEO");
        setenv("SDL_VIDEODRIVER", video != nullptr && *video != '\0' ? video : "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        shell.pacer.enabled = false;
        if (!shell.startUp()) {
            std::exit(1);
        }
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }

    // A fresh watch of the recorded win at 4x, skipped to its level 3.
    void toLevelThree() {
        watch.reset();
        watch = std::make_unique<WatchScreen>(shell, recording, Sound::Tune::Menu);
        shell.screens.open();
        pushKey(SDLK_4);
        while (watch->state() == WatchScreen::State::Running && watch->level() < 3) {
            pushKey(SDLK_n);
            shell.screens.pass(*watch);
        }
        if (watch->level() != 3) {
            std::cerr << "bench: the recording never reached level 3" << std::endl;
            std::exit(1);
        }
    }
};

void BM_Watch4xLevel3Pass(benchmark::State& state) {
    static Bench* bench = new Bench();
    bench->toLevelThree();
    long frames = 0;
    for (auto _ : state) {
        if (bench->watch->state() != WatchScreen::State::Running) {
            state.PauseTiming();
            bench->toLevelThree();
            state.ResumeTiming();
        }
        const uint32_t before = bench->watch->frames();
        bench->shell.screens.pass(*bench->watch);
        frames += bench->watch->frames() - before;
    }
    bench->watch.reset();  // a watch silences standard output, where the report goes
    state.counters["frames_per_pass"] = benchmark::Counter(static_cast<double>(frames) / state.iterations());
    state.counters["budget_ms"] = 1000.0 / 60.0;
}
BENCHMARK(BM_Watch4xLevel3Pass)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

BENCHMARK_MAIN();
