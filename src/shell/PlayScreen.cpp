#include "shell/PlayScreen.h"

#include "persist/FileIO.h"
#include "persist/RunPlace.h"
#include "present/Texts.h"
#include "shell/Levels.h"
#include "shell/SavedRun.h"
#include "shell/Shell.h"

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
    // The pace is no part of the world: it follows the options at once, and marks the run.
    shell.pacer.percent = shell.settings.assistSpeed;
    if (Button::flag == Button::kPlay && !shell.simInput.feeding()) {
        run.assists.speed = std::min(run.assists.speed, shell.settings.assistSpeed);
        run.assisted = run.assists.any();
    }
    shell.playFrame.run(shell);
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
        if (enemy != nullptr && enemy->getID() != 0 && !enemy->isDestroyedAni()) {
            consider(enemy->realRect.x + Enemy::kFrameSize / 2, enemy->realRect.y + Enemy::kFrameSize / 2, false);
        }
    }
    for (const auto& bull : run.bulls) {
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
        const int place = run.committed ? run.place : RunPlace::of(hero->score, hero->path, shown);
        lines.push_back(ResultCard::Line{
            Texts::format(Texts::Id::CardScore, {std::to_string(hero->score), std::to_string(run.level)}), false});
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
        run.place = RunPlace::of(hero->score, hero->path, static_cast<int>(ScoreBoard::kShown));
    }
    // Told by what the writes say, not by their lines on stderr: a repaired torn record or an
    // unflushed folder is a note, and the run is kept.
    run.recorder.end(shell);  // the world as the run left it, before the save reads it
    run.notSaved = !SavedRun::keep(shell);
    run.recorder.finish(shell);
    run.replayOut.close();
    replay->close();
    run.committed = true;
}
