#include "shell/RunRecorder.h"

#include "persist/FileIO.h"
#include "persist/RunShelf.h"
#include "present/PictureFetch.h"
#include "shell/CommandLine.h"
#include "shell/Shell.h"
#include "shell/WorldHash.h"

void RunRecorder::begin(Shell& shell) {
    on = false;
    ended = false;
    if (shell.simInput.feeding()) {
        return;  // a re-simulation is fed, not recorded
    }
    shell.simInput.stop();
    if (Button::flag == Button::kReplayPending) {
        return;  // a replay plays a path back
    }
    std::string missing;
    if (!FileIO::folderThere(Player::kDefaultPath, missing)) {
        return;  // the end of run says that nothing of it is kept
    }
    header = RunRecording::Header{};
    header.version = CommandLine::versionNumber();
    header.start = Button::flag == Button::kResumePending ? RunRecording::Start::Resume : RunRecording::Start::NewGame;
    header.name = button != nullptr ? button->getInputText() : std::string();
    header.keys = SimInput::encodeKeys(shell.settings.keys);
    header.speed = shell.settings.assistSpeed;
    if (player != nullptr) {
        header.damageShare = player->damageShare;
        header.refill = player->refillEachLevel;
        header.autoAttack = player->autoAttack;
    }
    shell.simInput.record();
    shell.simInput.keys(shell.settings.keys);
    on = true;
}

void RunRecorder::resumedFrom(const std::string& player, const std::string& enemies) {
    header.hasSave = true;
    header.savedPlayer = player;
    header.savedEnemies = enemies;
}

void RunRecorder::sheetSizes(Shell&, RunRecording::Header& into) {
    into.heroSheetW = player != nullptr ? player->texW : Cowboy::kDefaultTexW;
    into.heroSheetH = player != nullptr ? player->texH : Cowboy::kDefaultTexH;
    // Enemies are drawn at their sheet's size: the decoded sheet is the one they get.
    const PictureFetch* sheet = PictureFetch::find(Enemy::kSpritePath);
    const bool decoded = sheet != nullptr && sheet->picture() != nullptr && Render::renderer != nullptr;
    into.enemySheetW = decoded ? sheet->picture()->w : Enemy::kDefaultTexW;
    into.enemySheetH = decoded ? sheet->picture()->h : Enemy::kDefaultTexH;
}

void RunRecorder::started(Shell& shell) {
    if (!on) {
        return;
    }
    sheetSizes(shell, header);
    shell.simInput.endFrame(false, 0);  // the set-up's block
    std::string why;
    if (!file.open(RunShelf::kLastPath, why) || !file.append(RunRecording::encodeHeader(header), why)) {
        fail(why);
        return;
    }
    write(shell);
}

void RunRecorder::frameStarts(Shell& shell) {
    if (on) {
        shell.simInput.keys(shell.settings.keys);
    }
}

void RunRecorder::frameDone(Shell& shell) {
    if (!on) {
        return;
    }
    const bool due = shell.simInput.hashDue();
    shell.simInput.endFrame(due, due ? WorldHash::of(shell.run(), *game) : 0);
    if (due) {
        write(shell);  // once a second: no system call a frame
    }
}

void RunRecorder::write(Shell& shell) {
    const std::string bytes = shell.simInput.drain();
    std::string why;
    if (file.isOpen() && !bytes.empty() && !file.append(bytes, why)) {
        fail(why);
    }
}

void RunRecorder::end(Shell& shell) {
    if (!on || ended) {
        return;
    }
    ended = true;
    const Run& run = shell.run();
    RunRecording::Ending ending = RunRecording::Ending::Closed;
    if (run.outcome == Run::Outcome::Won) {
        ending = RunRecording::Ending::Won;
    } else if (run.outcome == Run::Outcome::Died) {
        ending = RunRecording::Ending::Died;
    } else if (run.quitToMenu) {
        ending = RunRecording::Ending::Quit;
    }
    score = hero != nullptr ? hero->score : 0;
    shell.simInput.end(ending, run.level, score, WorldHash::of(run, *game));
    write(shell);
    shell.simInput.stop();
}

void RunRecorder::finish(Shell& shell) {
    if (!on) {
        return;
    }
    end(shell);
    on = false;
    std::string why;
    if (pastLimit) {
        FileIO::reportSizeLimit(RunShelf::kLastPath);
    }
    if (!file.isOpen()) {
        return;
    }
    if (!file.finish(why)) {
        fail(why);
        return;
    }
    inPlace = true;
    std::size_t record = 0;
    if (hero != nullptr && hero->recorded && RunShelf::lastRecordOf(hero->path, header.name, score, record) &&
        !RunShelf::keep(RunShelf::kLastPath, record, hero->path, ScoreBoard::kShown, why)) {
        fail(why);
    }
}

void RunRecorder::fail(const std::string& why) {
    // The size limit is told once for every file it stops, after the end of run's own files, so
    // the line names the players file when the limit stops it too.
    pastLimit = pastLimit || file.passedLimit();
    file.abandon();
    if (!told && !pastLimit) {
        told = true;
        FileIO::report("this run's recording is not kept (" + why + ")");
    }
}
