#include "shell/PlayScreen.h"

#include "persist/FileIO.h"
#include "persist/RunPlace.h"
#include "persist/RunShelf.h"
#include "persist/RunTimes.h"
#include "persist/SavedGame.h"
#include "present/Texts.h"
#include "shell/Levels.h"
#include "shell/SavedRun.h"
#include "shell/Shell.h"
#include "shell/WatchScreen.h"

#include <algorithm>
#include <iostream>
#include <string>

PlayScreen::PlayScreen(Shell& shell) : shell(shell) {
    Run::resetClassWide();
    // The camera and the arrow start where a fresh process has them.
    game->resetCamera();
    arrow->restart();
    // What shows around play starts afresh with the run: no keys asked, no help, no feedback.
    shell.playKeys.startRun();
    shell.help.hide();
    shell.playFrame.newRun();
    for (auto& text : shell.hudTexts) {
        text->freeALL();
    }

    run.enemyCount = Levels::kEnemiesAtLevel1;
    run.farmCount = Levels::kFarmsAtLevel1;
    run.bullCount = Levels::kBullsAtLevel1;
    run.level = 1;
    run.playerObj = std::make_unique<Cowboy>(kHeroStartX, kHeroStartY);
    run.playerObj->bindings = &shell.settings.keys;
    run.playerObj->walkClock = shell.walkClock;
    shell.seed.sim = &shell.simInput;
    run.playerObj->seed = shell.seed;
    run.playerObj->input = &shell.input;
    run.playerObj->sim = &shell.simInput;
    player = run.playerObj.get();
    run.heroObj = std::make_unique<Player>();
    hero = run.heroObj.get();
    run.replayObj = std::make_unique<Replay>();
    replay = run.replayObj.get();
    Levels::refill(run.enemies, run.enemyCount);
    Levels::refill(run.farms, run.farmCount);
    Levels::refill(run.bulls, run.bullCount);
}

PlayScreen::~PlayScreen() {
    // A hero still standing when his run ended leaves without dying.
    if (run.playerObj != nullptr) {
        run.playerObj->leavesQuietly = true;
    }
    player = nullptr;
    hero = nullptr;
    replay = nullptr;
}

void PlayScreen::setUp() {
    shell.mainMenu.scoreBoard.close();  // the menu is over
    shell.sound.playTune(Sound::Tune::Play);
    shell.input.muteKeyOn = true;
    shell.playKeys.active = true;
    player->spawn();
    if (!shell.simInput.feeding()) {
        // The assists that change the world hold for the whole run; a change in the options
        // meanwhile is for the next one. (A recording played again takes its own.)
        const Settings& settings = shell.settings;
        player->damageShare = settings.assistDamage;
        player->refillEachLevel = settings.assistRefill;
        player->autoAttack = settings.assistAutoAttack;
        if (Button::flag != Button::kReplayPending) {
            run.assists = RunAssists{settings.assistSpeed, settings.assistDamage, settings.assistRefill,
                                     settings.assistAutoAttack};
            run.assisted = run.assists.any();
        }
    }
    run.recorder.begin(shell);
    std::string why;
    // A recording played again is not a start of the player's own.
    if (!shell.simInput.feeding() && !shell.lastName.keep(button->getInputText(), why)) {
        FileIO::report(shell.lastName.path + ": the name played is not kept for the next start: " + why);
    }
    run.timed = Button::flag != Button::kReplayPending;
    run.newGame = run.timed && Button::flag != Button::kResumePending;
    if (run.newGame && shell.settings.ghost && !shell.simInput.feeding()) {
        loadBest();
    }
    if (Button::flag == Button::kResumePending) {
        SavedRun::resume(shell);
    } else if (Button::flag == Button::kReplayPending) {
        run.level = 3;
    } else {
        Levels::newGame(shell);
        // How to play, for the keyboard or for the pad in the player's hands.
        shell.help.setLines(Render::renderer, HelpPanel::linesFor(shell.settings.keys, shell.device.padLast()));
        shell.help.show();
    }
    run.firstLevel = std::clamp(run.level, 1, RunTimes::kLevels);
    run.recorder.started(shell);
}

void PlayScreen::frame() {
    game->applyWindowKeys(shell.input);
    if (run.levelUpTrace == Levels::kLevelUpTrace) {
        std::cout << "kul";
        run.levelUpTrace = 0;
    }
    if (Button::flag == Button::kPlay) {
        run.recordFrame();
    } else if (Button::flag == Button::kReplayPending) {
        run.loadReplay();
    } else {
        run.playBackFrame();
    }
    run.recorder.frameStarts(shell);
    const int level = run.level;
    const bool counted = run.timed && Button::flag == Button::kPlay && level >= 1 && level <= RunTimes::kLevels;
    if (counted) {
        ++run.levelFrames[level - 1];  // before the frame: the ghost reads which frame of the level this is
    }
    // The pace is no part of the world: it follows the options at once, and marks the run.
    shell.pacer.percent = shell.settings.assistSpeed;
    if (Button::flag == Button::kPlay && !shell.simInput.feeding()) {
        run.assists.speed = std::min(run.assists.speed, shell.settings.assistSpeed);
        run.assisted = run.assists.any();
    }
    shell.playFrame.run(shell);
    if (counted && run.newGame && run.track.steps.size() < GhostTrack::kMaxSteps) {
        GhostTrack::Step step = shell.playFrame.heroStep();
        step.level = step.level != 0 ? level : 0;
        run.track.steps.push_back(step);
    }
    run.recorder.frameDone(shell);
    shell.keeper.keepToggles(*game, false);
}

bool PlayScreen::done() const { return !(Render::isRunning && player != nullptr); }

std::unique_ptr<Screen> PlayScreen::opens() {
    if (shell.playKeys.pauseAsked && !done()) {
        return pause();
    }
    return nullptr;
}

std::unique_ptr<PauseScreen> PlayScreen::pause() {
    shell.playKeys.pauseAsked = false;
    shell.playKeys.active = false;
    shell.sound.setPaused(true);
    // Keys let go while paused are never seen by the hero: he stops, and walks again on a new press.
    player->letGo();
    shell.simInput.letGo();
    std::unique_ptr<PauseScreen> panel = std::move(nextPause);
    nextPause = std::make_unique<PauseScreen>();
    panel->reminder = reminder();
    panel->prepare(shell.services);
    paused = panel.get();
    return panel;
}

PauseScreen::Reminder PlayScreen::reminder() const {
    PauseScreen::Reminder what;
    if (player == nullptr || Button::flag != Button::kPlay) {
        return what;  // a replay walks a path: nothing is asked of the player
    }
    what.shown = true;
    what.outlaws = std::max(0, run.enemyCount - player->getEnemy());
    what.bulls = std::max(0, run.bullCount - player->getBul());
    const SDL_Rect me = player->getPos();
    const long long cx = me.x + me.w / 2;
    const long long cy = me.y + me.h / 2;
    long long best = -1;
    const auto consider = [&](long long x, long long y, bool bull) {
        const long long d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        if (best < 0 || d < best) {
            best = d;
            what.nearest = true;
            what.nearestBull = bull;
            what.dx = static_cast<int>(x - cx);
            what.dy = static_cast<int>(y - cy);
        }
    };
    for (const auto& enemy : run.enemies) {
        if (enemy != nullptr && enemy->texture != nullptr && what.outlawPicture == nullptr) {
            what.outlawPicture = enemy->texture;
            what.outlawFrame = enemy->srcRect;  // the frame the field shows now
        }
        if (enemy != nullptr && enemy->getID() != 0 && !enemy->isDestroyedAni()) {
            consider(enemy->realRect.x + Enemy::kFrameSize / 2, enemy->realRect.y + Enemy::kFrameSize / 2, false);
        }
    }
    for (const auto& bull : run.bulls) {
        if (bull != nullptr && bull->texture != nullptr && what.bullPicture == nullptr) {
            what.bullPicture = bull->texture;
            what.bullFrame = bull->rect;
        }
        if (bull != nullptr && bull->getID() != 0) {
            consider(bull->worldX + Bull::kDrawW / 2, bull->worldY + Bull::kDrawH / 2, true);
        }
    }
    return what;
}

void PlayScreen::take(const SDL_Event& event) {
    if (event.type == SDL_QUIT && paused != nullptr) {
        endPause(PanelKeys::PauseChoice::Close);
    }
}

void PlayScreen::uncovered(const Screen& gone) {
    if (&gone == paused) {
        endPause(paused->choice());
    }
}

void PlayScreen::endPause(PanelKeys::PauseChoice choice) {
    paused = nullptr;
    shell.sound.setPaused(false);
    if (choice == PanelKeys::PauseChoice::QuitToMenu) {
        // The run ends as a closed window ends it, but the window stays.
        run.quitToMenu = true;
        Render::isRunning = false;
        return;
    }
    if (choice == PanelKeys::PauseChoice::Close) {
        // The next frame takes the close as any frame in play does.
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        shell.input.handOn(quit);
    }
    shell.playKeys.active = true;
}

std::string PlayScreen::assistedLine(const RunAssists& assists) {
    std::vector<std::string> used;
    if (assists.speed != 100) {
        used.push_back(Texts::format(Texts::Id::AssistSlower, {std::to_string(assists.speed)}));
    }
    if (assists.damageShare != 100) {
        used.push_back(assists.damageShare == 50
                           ? Texts::text(Texts::Id::AssistHalfDamage)
                           : Texts::format(Texts::Id::AssistDamage, {std::to_string(assists.damageShare)}));
    }
    if (assists.refill) {
        used.push_back(Texts::text(Texts::Id::AssistRefill));
    }
    if (assists.autoAttack) {
        used.push_back(Texts::text(Texts::Id::AssistAutoAttack));
    }
    return Texts::format(Texts::Id::CardAssisted, {Texts::join(Texts::Id::ListOf, used)});
}

bool PlayScreen::showResultCard(Uint64 giveUpMillis) {
    shell.playKeys.active = false;
    if (run.outcome == Run::Outcome::None) {
        return false;
    }
    std::vector<ResultCard::Line> lines;
    std::string title = ResultCard::kReplayOver;
    if (run.outcome != Run::Outcome::ReplayOver) {
        title = run.outcome == Run::Outcome::Won ? ResultCard::kWon : ResultCard::kDied;
        const int shown = static_cast<int>(ScoreBoard::kShown);
        const RunTimes::Entry times = timesEntry();
        const int place =
            run.committed ? run.place : RunPlace::of(hero->score, hero->path, shown, run.timed ? &times : nullptr);
        lines.push_back(ResultCard::Line{
            Texts::format(Texts::Id::CardScore, {std::to_string(hero->score), std::to_string(run.level)}), false});
        if (run.timed) {
            lines.push_back(ResultCard::Line{timesLine(), false});
        }
        // A place not told in time is better left out than guessed, and a run without points
        // has no place to tell: the board does not list it among the best.
        if (place > 0 && hero->score > 0) {
            lines.push_back(ResultCard::Line{ResultCard::placeLine(place, shown), false});
        }
    }
    if (run.assisted && run.outcome != Run::Outcome::ReplayOver) {
        lines.push_back(ResultCard::Line{assistedLine(run.assists), false});
    }
    if (run.notSaved) {
        lines.push_back(ResultCard::Line{ResultCard::kNotSaved, true});
    }
    resultCard.watch = nullptr;
    if (run.recorder.placed()) {
        // The run just played, watched over the card: files/runs/last.run is its recording.
        lines.push_back(ResultCard::Line{shell.device.padLast() ? ResultCard::kPadWatch : ResultCard::kWatch, true});
        resultCard.watch = [this] {
            return std::make_unique<WatchScreen>(shell, RunShelf::kLastPath, Sound::Tune::Play);
        };
    }
    lines.push_back(ResultCard::Line{shell.device.padLast() ? ResultCard::kPadChoices : ResultCard::kChoices, false});
    resultCard.clock = shell.cardClock;
    resultCard.bindings = &shell.settings.keys;
    resultCard.prepare(Render::renderer, shell.hudTexts[Shell::kHudTexts - 1]->font, shell.help.smallFont(), title,
                       lines, giveUpMillis);
    shell.screens.flushInput();  // keys, clicks and pad buttons still queued were meant for play
    shell.screens.run(resultCard);
    resultCard.release();
    // Only a closed window ends the game here: back leads to the menu, where QUIT is.
    return resultCard.choice() == PanelKeys::CardChoice::PlayAgain ||
           resultCard.choice() == PanelKeys::CardChoice::Menu;
}

void PlayScreen::commit() {
    shell.playKeys.active = false;
    shell.pacer.percent = 100;  // the menus and the card at their own pace
    if (run.committed) {
        return;
    }
    if (run.outcome == Run::Outcome::Won || run.outcome == Run::Outcome::Died) {
        // Placed among the runs before it: the record goes in just below.
        const RunTimes::Entry times = timesEntry();
        run.place =
            RunPlace::of(hero->score, hero->path, static_cast<int>(ScoreBoard::kShown), run.timed ? &times : nullptr);
    }
    // Told by what the writes say, not by their lines on stderr: a repaired torn record or an
    // unflushed folder is a note, and the run is kept.
    run.recorder.end(shell);  // the world as the run left it, before the save reads it
    run.notSaved = !SavedRun::keep(shell);
    keepTimes();  // before the recording is kept for the board, whose order the times settle
    run.recorder.finish(shell);
    run.replayOut.close();
    replay->close();
    run.committed = true;
}

std::string PlayScreen::timesLine() const {
    // Each level the run reached, cut where the run's clock showed it begin, so they add up.
    const std::array<int64_t, RunTimes::kLevels> splits = RunTimes::shownSplits(run.levelFrames);
    std::string levels;
    for (int l = 0; l < RunTimes::kLevels && l < run.level; ++l) {
        // A resumed run's levels before its save were played in another run: not timed here.
        const std::string shown = l + 1 < run.firstLevel ? std::string("-") : RunTimes::clock(splits[l]);
        levels = levels.empty() ? shown : Texts::format(Texts::Id::TimesJoin, {levels, shown});
    }
    int64_t total = 0;
    for (const int64_t frames : run.levelFrames) {
        total += frames;
    }
    return Texts::format(Texts::Id::CardTimes, {RunTimes::clock(total), levels});
}

std::string PlayScreen::storedName() const {
    const std::string name = button != nullptr ? button->getInputText() : std::string();
    return name.substr(0, FileIO::prefixOnBoundary(name, PlayerRecord::kNameBytes - 1));
}

void PlayScreen::loadBest() {
    auto best = std::make_unique<GhostTrack>();
    std::string why;
    if (best->read(GhostTrack::pathFor(storedName()), why)) {
        run.best = std::move(best);
    } else if (!why.empty()) {
        FileIO::report(GhostTrack::pathFor(storedName()) + ": no ghost of the best run: " + why);
    }
}

RunTimes::Entry PlayScreen::timesEntry() const {
    RunTimes::Entry entry;
    entry.ending = run.outcome == Run::Outcome::Won    ? RunTimes::Ending::Won
                   : run.outcome == Run::Outcome::Died ? RunTimes::Ending::Lost
                                                       : RunTimes::Ending::Left;
    entry.level = std::clamp(run.level, 1, RunTimes::kLevels);
    entry.assisted = run.assisted;
    entry.from = std::min(run.firstLevel, entry.level);
    for (int l = 0; l < RunTimes::kLevels; ++l) {
        entry.frames[l] = run.levelFrames[l];
    }
    return entry;
}

void PlayScreen::keepTimes() {
    std::string missing;
    if (!run.timed || shell.simInput.feeding() || hero == nullptr || !hero->recorded ||
        !FileIO::folderThere(RunTimes::kPath, missing)) {
        return;  // a replay, a recording played again, or a run whose record or folder is not there
    }
    const RunTimes::Entry entry = timesEntry();
    std::size_t record = 0;
    std::string error;
    if (RunShelf::lastRecordOf(hero->path, storedName(), hero->score, record) &&
        !RunTimes::add(RunTimes::kPath, record, entry, SavedGame::kPlayerPath, error)) {
        FileIO::report("this run's times are not kept (" + error + ")");
    }
    const int64_t played = run.levelFrames[0] + run.levelFrames[1] + run.levelFrames[2];
    if (run.newGame && run.outcome == Run::Outcome::Won && run.track.steps.size() < GhostTrack::kMaxSteps &&
        static_cast<int64_t>(run.track.steps.size()) == played) {
        // A win from a new game, whole: the one to beat next time, if no faster one is kept.
        run.track.levelFrames = {static_cast<uint32_t>(run.levelFrames[0]), static_cast<uint32_t>(run.levelFrames[1]),
                                 static_cast<uint32_t>(run.levelFrames[2])};
        bool written = false;
        if (!run.track.keepIfFaster(GhostTrack::pathFor(storedName()), SavedGame::kPlayerPath, written, error)) {
            FileIO::report("this run's ghost is not kept (" + error + ")");
        }
    }
}
