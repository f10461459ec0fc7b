#include "shell/Shell.h"

#include "input/Gamepads.h"
#include "persist/FileIO.h"
#include "persist/RunPlace.h"
#include "present/FontCache.h"
#include "present/PictureFetch.h"
#include "present/Texts.h"
#include "shell/Levels.h"
#include "shell/SavedRun.h"
#include "world/Bull.h"
#include "world/Enemy.h"
#include "world/Farm.h"

#include <iostream>
#include <string>

Game* game = nullptr;
Cowboy* player = nullptr;
Player* hero = nullptr;
Arrow* arrow = nullptr;
Menu* menu = nullptr;
Button* button = nullptr;
Replay* replay = nullptr;

Shell::~Shell() {
    sound.close();  // while SDL's audio still runs
    releasePictures();
    // The run and the texts first, while their renderer (if any) still exists.
    run = Run();
    for (auto& text : hudTexts) {
        text.reset();
    }
    for (auto& text : mainMenu.menuTexts) {
        text.reset();
    }
    arrowObj.reset();
    menuObj.reset();
    FontCache::closeAll();  // nothing draws text any more; what still holds a font only lets it go
    if (Render::renderer != nullptr && gameObj != nullptr) {
        // Stepped without an end of run (tests): close SDL quietly.
        SDL_DestroyRenderer(Render::renderer);
        Render::renderer = nullptr;
        SDL_DestroyWindow(gameObj->window);
        SDL_Quit();
    }
    game = nullptr;
    player = nullptr;
    hero = nullptr;
    arrow = nullptr;
    menu = nullptr;
    button = nullptr;
    replay = nullptr;
}

int Shell::play() {
    if (!startUp()) {
        return 1;
    }
    for (;;) {
        menuPhase();
        if (closedOnMenuShownAgain()) {
            return 0;
        }
        runSetUp();
        frameLoop();
        commitRun();
        const bool again = run.quitToMenu || showResultCard();
        endOfRun(again);
        if (!again) {
            return 0;
        }
        showMenuAgain();
    }
}

bool Shell::startUp() {
    // The process starts from the class-wide values a fresh process has; beginRun sets the rest.
    Button::flagText = 0;
    Render::isRunning = false;
    runsBegun = 0;
    settings.load(std::cerr);
    // Decoding the menu's picture takes as long as a tenth of making the window: both at once.
    const PictureFetch menuPicture(Menu::kPicture);

    gameObj = std::make_unique<Game>();
    game = gameObj.get();
    seed.reseed();
    buttonObj = std::make_unique<Button>();
    button = buttonObj.get();
    button->input = &input;
    for (auto& text : hudTexts) {
        text = std::make_unique<Text>();
    }
    mainMenu.makeTexts();
    farmSite3 = Site{Levels::kSite3X, Levels::kSite3Y};
    farmSite2 = Site{Levels::kSite2X, Levels::kSite2Y};

    game->init(kTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, settings.windowWidth, settings.windowHeight,
               settings.fullscreen);
    if (!game->displayProblem().empty()) {
        // Nobody could click the menu, and the end of run would overwrite the saved game.
        std::cerr << "bramblehoof: " << game->displayProblem() << std::endl;
        return false;
    }

    // The menu first: its picture is on the screen while what only play needs (the ground, the
    // figures, the help, the tunes) is loaded below, before the first menu pass.
    mainMenu.initTexts();
    menuObj = std::make_unique<Menu>();
    menu = menuObj.get();
    menu->StartNewGame();
    mainMenu.layOut(*button);
    sound.setVolumes(settings.musicVolume, settings.effectsVolume);
    if (settings.muted) {
        sound.setMuted(true);  // a --mute on the command line stays, whatever the file says
    }
    mainMenu.reset();
    mainMenu.showFirst(*menu, *button, sound.isMuted());

    figureSheets.clear();
    for (const char* sheet : {Cowboy::kSpritePath, Enemy::kSpritePath, Bull::kSpritePath, Bull::kSpritePath2,
                              Farm::kSpritePath, Arrow::kPicturePath}) {
        // Here, not on threads: beside the window's first picture they slowed the display server.
        figureSheets.push_back(std::make_unique<PictureFetch>(sheet, false));
    }
    game->loadGround(Game::kGroundPath);
    Gamepads::loadMappings(settings.file(Settings::kPadMappingsName));
    Gamepads::openAll();
    arrowObj = std::make_unique<Arrow>();
    arrow = arrowObj.get();
    farmSite1 = Site{Levels::kSite1X, Levels::kSite1Y};
    seed.reseed();
    for (auto& text : hudTexts) {
        text->init();
        text->outlined = true;  // the HUD stands on sand and buildings alike
    }
    help.open(Render::renderer, Text::kFontPath, HelpPanel::linesFor(settings.keys));
    playFrame.open(Render::renderer);
    sound.open();
    sound.playTune(Sound::Tune::Menu);
    beginRun();
    seen = Toggles{sound.isMuted(), game->isFullscreen(), 0, 0};
    if (!seen.fullscreen && game->window != nullptr) {
        SDL_GetWindowSize(game->window, &seen.width, &seen.height);
    }
    return true;
}

void Shell::keepToggles(bool processEnds) {
    const bool muted = sound.isMuted();
    const bool fullscreen = game->isFullscreen();
    bool changed = muted != seen.muted || fullscreen != seen.fullscreen;
    seen.muted = muted;
    seen.fullscreen = fullscreen;
    if (changed) {
        settings.muted = muted;  // M, F11 and Alt+Enter are remembered as the options are
        settings.fullscreen = fullscreen;
    }
    int w = 0;
    int h = 0;
    if (!fullscreen && game->window != nullptr) {
        SDL_GetWindowSize(game->window, &w, &h);
    }
    if (w > 0 && h > 0 && (w != seen.width || h != seen.height)) {
        // Kept when the process ends, not at each step of a drag.
        seen.width = w;
        seen.height = h;
        settings.windowWidth = std::max(w, Settings::kMinWindowWidth);
        settings.windowHeight = std::max(h, Settings::kMinWindowHeight);
        sizeUnsaved = true;
    }
    if (changed || (processEnds && sizeUnsaved)) {
        sizeUnsaved = false;
        saveSettings();
    }
}

void Shell::beginRun() {
    // A hero still standing when his run ended leaves without dying.
    if (run.playerObj != nullptr) {
        run.playerObj->leavesQuietly = true;
    }
    run = Run();
    ++runsBegun;

    Run::resetClassWide();
    // The menu's own state, the camera, the arrow, the screens and the keys around play.
    button->showScores = false;
    button->focus = Button::kNewGameEntry;
    button->firstMenu = runsBegun == 1;
    game->camX = 0;
    game->camY = 0;
    arrow->angle = 0;
    arrow->flip = 0;
    arrow->pos = SDL_Rect{Arrow::kStartX, Arrow::kStartY, Arrow::kDrawW, Arrow::kDrawH};
    mainMenu.reset();
    playKeys.active = false;
    playKeys.pauseAsked = false;
    playKeys.helpAsked = false;
    help.hide();
    playFrame.newRun();
    resultCard.release();
    pausePanel.release();
    for (auto& text : hudTexts) {
        text->freeALL();
    }

    run.enemyCount = Levels::kEnemiesAtLevel1;
    run.farmCount = Levels::kFarmsAtLevel1;
    run.bullCount = Levels::kBullsAtLevel1;
    run.level = 1;
    run.playerObj = std::make_unique<Cowboy>(kHeroStartX, kHeroStartY);
    run.playerObj->bindings = settings.keys;
    run.playerObj->walkClock = walkClock;
    run.playerObj->seed = seed;
    run.playerObj->input = &input;
    player = run.playerObj.get();
    run.heroObj = std::make_unique<Player>();
    hero = run.heroObj.get();
    run.replayObj = std::make_unique<Replay>();
    replay = run.replayObj.get();
    Levels::refill(run.enemies, run.enemyCount);
    Levels::refill(run.farms, run.farmCount);
    Levels::refill(run.bulls, run.bullCount);
}

void Shell::showMenuAgain() {
    const bool lastNotSaved = run.notSaved;  // the menu says so: a quit to it shows no card
    beginRun();
    mainMenu.lastRunNotSaved = lastNotSaved;
    input.muteKeyOn = false;  // the m of a typed name must not mute the game
    sound.playTune(Sound::Tune::Menu);
    screens.flushInput();  // what was pressed to leave the run is not meant for the menu
}

bool Shell::closedOnMenuShownAgain() {
    if (!(menuShownAgain() || button->quitAsked) || Render::isRunning) {
        return false;
    }
    // The run before this menu has been saved already: nothing is left to record.
    tearDown();
    return true;
}

void Shell::tearDown() {
    keepToggles(true);
    sound.close();
    releasePictures();
    game->clean();
}

void Shell::releasePictures() {
    mainMenu.scoreBoard.close();
    mainMenu.release();
    resultCard.release();
    pausePanel.release();
    help.close();
    playFrame.release();
}

bool Shell::menuPass() {
    if (Button::checkIs == 0) {
        mainMenu.open = false;
    }
    if (!mainMenu.open) {
        return false;
    }
    game->applyWindowKeys(input);
    mainMenu.pass(*menu, *button, sound, screens.pumpInput());
    if (mainMenu.padHint != device.padLast()) {
        mainMenu.padHint = device.padLast();
        mainMenu.reset();  // drawn anew, with the hint or without it
    }
    keepToggles(false);
    if (button->nameAsked) {
        button->nameAsked = false;
        showLetterGrid();
    }
    if (button->optionsAsked) {
        button->optionsAsked = false;
        showOptions([this](SDL_Renderer*) { menu->copyTex(menu->getPos(), menu->getRect()); });
        mainMenu.reset();  // the menu's picture is made anew
    }
    pacer.endPass();
    return true;
}

void Shell::showLetterGrid() {
    readyLetterGrid();
    runOverMenu(letters);
    mainMenu.reset();  // the menu's picture is made anew, the name in it
}

void Shell::readyLetterGrid() {
    letters.type = [this](const std::string& typed) {
        Button::flagText = 1;  // as a typed letter does: the name line shows the name, not the prompt
        button->appendText(typed);
    };
    letters.erase = [this] { button->eraseLastCharacter(); };
    letters.name = [this] { return button->getInputText(); };
    letters.backdrop = [this](SDL_Renderer*) { menu->copyTex(menu->getPos(), menu->getRect()); };
    letters.open(hudTexts[kHudTexts - 1]->font, help.smallFont());
}

void Shell::runOverMenu(Screen& screen) {
    screens.flushInput();  // the click or key that opened it is not its own
    screens.run(screen);
    screens.flushInput();  // nor is the Escape that closed it the menu's
    if (screens.closed()) {
        // The menu ends on a close as it always does: the close is handed back to it.
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        input.handOn(quit);
    }
}

void Shell::readyOptions(std::function<void(SDL_Renderer*)> backdrop) {
    using Row = OptionsScreen::Row;
    std::vector<Row> rows;
    rows.push_back(Row{"Music volume",
                       0,
                       Sound::kVolumeSteps,
                       false,
                       [this] { return settings.musicVolume; },
                       [this](int v) { settings.musicVolume = v; },
                       {}});
    rows.push_back(Row{"Effects volume",
                       0,
                       Sound::kVolumeSteps,
                       false,
                       [this] { return settings.effectsVolume; },
                       [this](int v) { settings.effectsVolume = v; },
                       {}});
    rows.push_back(Row{"Mute",
                       0,
                       1,
                       true,
                       [this] { return sound.isMuted() ? 1 : 0; },
                       [this](int v) { settings.muted = v != 0; },
                       {}});
    rows.push_back(Row{"Fullscreen",
                       0,
                       1,
                       true,
                       [this] { return game->isFullscreen() ? 1 : 0; },
                       [this](int v) { settings.fullscreen = v != 0; },
                       {}});
    rows.push_back(Row{"Reduced motion",
                       0,
                       1,
                       true,
                       [this] { return settings.reducedMotion ? 1 : 0; },
                       [this](int v) { settings.reducedMotion = v != 0; },
                       {}});
    rows.push_back(Row{"Controls", 0, 0, false, nullptr, nullptr, [this]() -> Screen* {
                           controls.open(hudTexts[kHudTexts - 1]->font, help.smallFont(), settings.keys);
                           controls.backdrop = options.backdrop;
                           controls.changed = [this] { controlsChanged(); };
                           return &controls;
                       }});
    options.changed = [this](std::size_t row) { optionChanged(row); };
    options.backdrop = std::move(backdrop);
    options.open(hudTexts[kHudTexts - 1]->font, help.smallFont(), std::move(rows));
}

void Shell::showOptions(std::function<void(SDL_Renderer*)> backdrop) {
    readyOptions(std::move(backdrop));
    runOverMenu(options);
}

void Shell::optionChanged(std::size_t row) {
    // Heard and seen at once: the sound at its new level, the window as asked.
    sound.setVolumes(settings.musicVolume, settings.effectsVolume);
    sound.setMuted(settings.muted);
    game->setFullscreen(settings.fullscreen);
    seen.muted = sound.isMuted();
    seen.fullscreen = game->isFullscreen();
    if (row == 1) {
        sound.play(Sound::Effect::Click);
    }
    saveSettings();
}

void Shell::controlsChanged() {
    if (player != nullptr) {
        player->bindings = settings.keys;
    }
    help.setLines(Render::renderer, HelpPanel::linesFor(settings.keys, device.padLast()));
    if (pausePanel.captured()) {
        preparePausePanel();
    }
    saveSettings();
}

void Shell::preparePausePanel() {
    pausePanel.prepare(Render::renderer, hudTexts[kHudTexts - 1]->font, help.smallFont(),
                       HelpPanel::linesFor(settings.keys, device.padLast()), device.padLast());
}

void Shell::saveSettings() {
    std::string why;
    if (!settings.save(why) && !settingsUnsaved) {
        settingsUnsaved = true;  // once: the game plays on with the options in memory
        FileIO::report(Settings::kFileName + std::string(" not written: ") + why);
    }
}

void Shell::menuPhase() {
    while (menuPass()) {
    }
}

void Shell::runSetUp() {
    mainMenu.scoreBoard.close();  // the menu is over
    sound.playTune(Sound::Tune::Play);
    input.muteKeyOn = true;
    playKeys.active = true;
    player->spawn();
    if (Button::flag == Button::kResumePending) {
        SavedRun::resume(*this);
    } else if (Button::flag == Button::kReplayPending) {
        run.level = 3;
    } else {
        Levels::newGame(*this);
        // How to play, for the keyboard or for the pad in the player's hands.
        help.setLines(Render::renderer, HelpPanel::linesFor(settings.keys, device.padLast()));
        help.show();
    }
}

void Shell::frame() {
    game->applyWindowKeys(input);
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
    playFrame.run(*this);
    keepToggles(false);
    pacer.endPass();
}

void Shell::frameLoop() {
    while (Render::isRunning && player != nullptr) {
        frame();
        if (playKeys.pauseAsked && Render::isRunning && player != nullptr) {
            pause();
        }
    }
}

void Shell::pause() {
    startPause();
    while (pausePass()) {
    }
}

void Shell::startPause() {
    playKeys.pauseAsked = false;
    playKeys.active = false;
    sound.setPaused(true);
    // Keys let go while paused are never seen by the hero: he stops, and walks again on a new press.
    player->letGo();
    preparePausePanel();
    pausePanel.openOptions = [this]() -> Screen* {
        readyOptions([this](SDL_Renderer* renderer) { pausePanel.draw(renderer); });
        return &options;
    };
    screens.open();
}

bool Shell::pausePass() {
    // Everything pressed while paused is the panel's: nothing of it reaches play.
    if (screens.pass(pausePanel)) {
        keepToggles(false);
        return true;
    }
    pausePanel.release();
    sound.setPaused(false);
    if (pausePanel.choice() == PanelKeys::PauseChoice::QuitToMenu) {
        // The run ends as a closed window ends it, but the window stays.
        run.quitToMenu = true;
        Render::isRunning = false;
        return false;
    }
    if (pausePanel.choice() == PanelKeys::PauseChoice::Close) {
        // The next frame takes the close as any frame in play does.
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        input.handOn(quit);
    }
    playKeys.active = true;
    return false;
}

bool Shell::showResultCard(Uint64 giveUpMillis) {
    playKeys.active = false;
    if (run.outcome == Run::Outcome::None) {
        return false;
    }
    std::vector<ResultCard::Line> lines;
    std::string title = ResultCard::kReplayOver;
    if (run.outcome != Run::Outcome::ReplayOver) {
        title = run.outcome == Run::Outcome::Won ? ResultCard::kWon : ResultCard::kDied;
        const int place = run.committed ? run.place : RunPlace::of(hero->score, hero->path);
        lines.push_back(ResultCard::Line{
            Texts::format(Texts::Id::CardScore, {std::to_string(hero->score), std::to_string(run.level)}), false});
        lines.push_back(ResultCard::Line{ResultCard::placeLine(place, static_cast<int>(ScoreBoard::kShown)), false});
    }
    if (run.notSaved) {
        lines.push_back(ResultCard::Line{ResultCard::kNotSaved, true});
    }
    lines.push_back(ResultCard::Line{device.padLast() ? ResultCard::kPadChoices : ResultCard::kChoices, false});
    resultCard.prepare(Render::renderer, hudTexts[kHudTexts - 1]->font, help.smallFont(), title, lines, giveUpMillis);
    screens.flushInput();  // keys, clicks and pad buttons still queued were meant for play
    screens.run(resultCard);
    resultCard.release();
    return resultCard.choice() == PanelKeys::CardChoice::PlayAgain;
}

void Shell::commitRun() {
    playKeys.active = false;
    if (run.committed) {
        return;
    }
    if (run.outcome == Run::Outcome::Won || run.outcome == Run::Outcome::Died) {
        // Placed among the runs before it: the record goes in just below.
        run.place = RunPlace::of(hero->score, hero->path);
    }
    const long reportsBefore = FileIO::reportsMade();
    SavedRun::keep(*this);
    run.notSaved = FileIO::reportsMade() != reportsBefore;
    run.replayOut.close();
    replay->close();
    run.committed = true;
}

void Shell::endOfRun(bool processGoesOn) {
    commitRun();
    if (!processGoesOn) {
        sound.finish();  // the win or the death is heard to its end before the window goes
        if (!Render::isRunning) {
            keepToggles(true);
            releasePictures();
            game->clean();
        }
    }
}
