#include "shell/Resimulation.h"

#include "input/SimInput.h"
#include "persist/FileIO.h"
#include "shell/CommandLine.h"
#include "shell/Shell.h"
#include "shell/WorldHash.h"

#include <iostream>
#include <memory>

namespace {

constexpr int kExitMismatch = 1;
constexpr int kExitUnreadable = 2;
constexpr uint32_t kFramesPerSecond = 60;

}  // namespace

Resimulation::Resimulation(Shell& shell, RunRecording& recording) : shell(shell), recording(recording) {}

Resimulation::~Resimulation() { shell.simInput.stop(); }

Resimulation::State Resimulation::mismatch(uint32_t frame) {
    partedAt = frame;
    current = State::Mismatch;
    return current;
}

Resimulation::State Resimulation::start() {
    const RunRecording::Header& header = recording.header;
    shell.simInput.feed(recording);
    shell.playing.reset();
    shell.playing = std::make_unique<PlayScreen>(shell);  // hooks the hero and the seeds to simInput
    if (!SimInput::decodeKeys(header.keys, keys)) {
        return mismatch(0);
    }
    player->bindings = &keys;
    Button::flag = header.start == RunRecording::Start::Resume ? Button::kResumePending : Button::kPlay;
    shell.playing->setUp();
    if (player != nullptr) {
        player->damageShare = header.damageShare;
        player->refillEachLevel = header.refill;
        player->autoAttack = header.autoAttack;
    }
    shell.playing->run.assists = RunAssists{header.speed, header.damageShare, header.refill, header.autoAttack};
    shell.playing->run.assisted = header.assisted();
    applySheets();
    if (!shell.simInput.endFrame(false, 0)) {
        return mismatch(0);
    }
    return current;
}

void Resimulation::applySheets() {
    const RunRecording::Header& header = recording.header;
    if (player != nullptr) {
        player->texW = header.heroSheetW;
        player->texH = header.heroSheetH;
    }
    for (auto& enemy : shell.run().enemies) {
        if (enemy != nullptr && enemy->getID() != 0) {
            enemy->texW = header.enemySheetW;
            enemy->texH = header.enemySheetH;
        }
    }
}

Resimulation::State Resimulation::step() {
    if (current != State::Running) {
        return current;
    }
    RunRecording::Take take;
    while (shell.simInput.nextBetweenFrames(take)) {
        if (take.op == RunRecording::Op::End) {
            return endWith(take);
        }
        if (take.op == RunRecording::Op::LetGo && player != nullptr) {
            player->letGo();
        } else if (take.op == RunRecording::Op::Keys && !SimInput::decodeKeys(take.text, keys)) {
            return mismatch(played + 1);
        }
    }
    if (shell.playing->done()) {
        return mismatch(played + 1);  // the recording plays on where this run has ended
    }
    applySheets();
    shell.playFrame.run(shell);
    ++played;
    const bool due = shell.simInput.hashDue();
    if (!shell.simInput.endFrame(due, due ? WorldHash::of(shell.run(), *game) : 0)) {
        return mismatch(shell.simInput.mismatchFrame());
    }
    return current;
}

Resimulation::State Resimulation::endWith(const RunRecording::Take& end) {
    Run& run = shell.run();
    const auto recorded = static_cast<RunRecording::Ending>(end.kind);
    if (run.outcome == Run::Outcome::Won) {
        how = RunRecording::Ending::Won;
    } else if (run.outcome == Run::Outcome::Died) {
        how = RunRecording::Ending::Died;
    } else if (shell.playing->done()) {
        how = RunRecording::Ending::Closed;
    } else {
        // Nothing in the world ended it: the player quit to the menu from the pause panel.
        how = RunRecording::Ending::Quit;
        run.quitToMenu = true;
        Render::isRunning = false;
    }
    if (how != recorded || run.level != end.a || score() != end.b || WorldHash::of(run, *game) != end.value) {
        return mismatch(played);
    }
    current = State::Ended;
    return current;
}

int Resimulation::level() const { return shell.playing != nullptr ? shell.playing->run.level : 0; }

int Resimulation::score() const { return hero != nullptr ? hero->score : 0; }

std::string Resimulation::line() const {
    const std::string name = FileIO::printable(recording.header.name);
    if (current == State::Mismatch) {
        return name + ": this recording does not match this version of the game at frame " + std::to_string(partedAt);
    }
    const uint32_t seconds = played / kFramesPerSecond;
    const std::string clock =
        std::to_string(seconds / 60) + (seconds % 60 < 10 ? ":0" : ":") + std::to_string(seconds % 60);
    return name + ": " + RunRecording::nameOf(how) + " at level " + std::to_string(level()) + ", score " +
           std::to_string(score()) + ", " + std::to_string(played) + " frames (" + clock + ")";
}

bool Resimulation::load(const std::string& path, RunRecording& recording, std::string& why) {
    std::string bytes;
    if (!FileIO::readSmall(path, RunRecording::kMaxBytes, bytes, why)) {
        why = path + ": " + (why.empty() ? "no such file" : why);
        return false;
    }
    if (!RunRecording::read(bytes, recording, why)) {
        why = path + ": " + why;
        return false;
    }
    if (recording.header.version != CommandLine::versionNumber()) {
        why = path + ": recorded by bramblehoof " + recording.header.version + ", this is bramblehoof " +
              CommandLine::versionNumber();
        return false;
    }
    KeyBindings keys;
    if (!SimInput::decodeKeys(recording.header.keys, keys)) {
        why = path + ": damaged in its header (the hero's keys)";
        return false;
    }
    return true;
}

int Resimulation::verify(const std::string& path, std::ostream& out) {
    std::string why;
    RunRecording recording;
    if (!load(path, recording, why)) {
        FileIO::report(why);
        return kExitUnreadable;
    }
    // No window, no sound: the dummy driver, and nothing the frames print reaches standard output.
    const bool ours = SDL_WasInit(SDL_INIT_VIDEO) == 0;
    if (ours) {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
        SDL_InitSubSystem(SDL_INIT_VIDEO);
    }
    SDL_Renderer* const drawing = Render::renderer;  // nothing is drawn, even in a game with a window
    Render::renderer = nullptr;
    std::cout.flush();
    std::cout.setstate(std::ios::badbit);
    std::string said;
    int status = 0;
    {
        Shell shell;
        shell.startWorld();
        Resimulation again(shell, recording);
        for (State state = again.start(); state == State::Running; state = again.step()) {
        }
        said = again.line();
        status = again.state() == State::Ended ? 0 : kExitMismatch;
    }
    Render::renderer = drawing;
    if (ours) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        SDL_Quit();
    }
    std::cout.clear();
    out << said << std::endl;
    return status;
}
