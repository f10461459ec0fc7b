#include "shell/Shell.h"

#include "present/Language.h"

#include "input/Gamepads.h"
#include "persist/FileIO.h"
#include "persist/RunShelf.h"
#include "present/FontCache.h"
#include "present/PictureFetch.h"
#include "shell/Levels.h"
#include "shell/MenuScreen.h"
#include "shell/PlayScreen.h"
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
    playing.reset();
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
        // Stepped without an end of run (tests): close SDL quietly. The picture drawn apart for a
        // large window goes first: a renderer destroyed while drawing into it leaves SDL's memory.
        if (Render::scene != nullptr) {
            Render::scene->release();
            Render::scene.reset();
        }
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
    RunShelf::sweep();  // what a game killed while it recorded left behind
    for (;;) {
        menuPhase();
        if (closedOnMenuShownAgain()) {
            return 0;
        }
        runSetUp();
        frameLoop();
        commitRun();
        const bool again = run().quitToMenu || showResultCard();
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
    // Every screen speaks the chosen language from the first picture on; the trace and the files never do.
    Language::choose(settings.languageCode());
    // Decoding the menu's picture takes as long as a tenth of making the window: both at once.
    const PictureFetch menuPicture(Menu::kPicture);

    // A click on the first menu that comes with the window's focus is the player's: on a busy
    // machine the focus and the click are read together, and SDL would drop the click.
    input.takeFocusClicks(true);
    gameObj = std::make_unique<Game>();
    game = gameObj.get();
    seed.reseed();
    buttonObj = std::make_unique<Button>();
    button = buttonObj.get();
    button->input = &input;
    button->bindings = &settings.keys;
    lastName.read(settings.folder);
    button->offered = lastName.kept;
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
        // SDL's error quotes what it was given (a driver's name), so it is shown as printable.
        FileIO::report(game->displayProblem());
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
    // The pads first, so a button pressed while the rest loads reaches the menu.
    Gamepads::loadMappings(settings.file(Settings::kPadMappingsName));
    Gamepads::openAll();
    mainMenu.reset();
    mainMenu.showFirst(*menu, *button, sound.isMuted());

    figureSheets.clear();
    for (const char* sheet : {Cowboy::kSpritePath, Enemy::kSpritePath, Bull::kSpritePath, Bull::kSpritePath2,
                              Farm::kSpritePath, Arrow::kPicturePath}) {
        // Here, not on threads: beside the window's first picture they slowed the display server.
        figureSheets.push_back(std::make_unique<PictureFetch>(sheet, false));
    }
    game->loadGround(Game::kGroundPath);
    arrowObj = std::make_unique<Arrow>();
    arrow = arrowObj.get();
    farmSite1 = Site{Levels::kSite1X, Levels::kSite1Y};
    seed.reseed();
    for (auto& text : hudTexts) {
        text->init();
        text->outlined = true;  // the HUD stands on sand and buildings alike
    }
    help.open(Render::renderer, Text::kFontPath, HelpPanel::linesFor(settings.keys));
    help.bindings = &settings.keys;
    mainMenu.smallFont = help.smallFont();
    playFrame.open(Render::renderer);
    services =
        Services{game, &sound, &settings, &keeper, &help, &device, hudTexts[kHudTexts - 1]->font, help.smallFont()};
    sound.open();
    sound.playTune(Sound::Tune::Menu);
    beginRun();
    keeper.start(*game);
    return true;
}

void Shell::startWorld() {
    Button::flagText = 0;
    Render::isRunning = false;
    runsBegun = 0;
    sound.setMuted(true);
    gameObj = std::make_unique<Game>();
    game = gameObj.get();
    buttonObj = std::make_unique<Button>();
    button = buttonObj.get();
    for (auto& text : hudTexts) {
        text = std::make_unique<Text>();
    }
    arrowObj = std::make_unique<Arrow>();
    arrow = arrowObj.get();
    farmSite1 = Site{Levels::kSite1X, Levels::kSite1Y};
    farmSite2 = Site{Levels::kSite2X, Levels::kSite2Y};
    farmSite3 = Site{Levels::kSite3X, Levels::kSite3Y};
}

void Shell::beginRun() {
    playing.reset();  // the run before goes first, as a fresh process has none
    playing = std::make_unique<PlayScreen>(*this);
    ++runsBegun;
    choosing = std::make_unique<MenuScreen>(*this, runsBegun == 1);
}

void Shell::showMenuAgain() {
    const bool lastNotSaved = run().notSaved;  // the menu says so: a quit to it shows no card
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
    keeper.keepToggles(*game, true);
    sound.close();
    releasePictures();
    game->clean();
}

void Shell::releasePictures() {
    mainMenu.scoreBoard.close();
    mainMenu.release();
    if (playing != nullptr) {
        playing->resultCard.release();
        playing->pausePanel().release();
    }
    help.close();
    playFrame.release();
}

bool Shell::menuPass() { return screens.pass(*choosing); }

void Shell::menuPhase() { screens.run(*choosing); }

void Shell::runSetUp() {
    input.takeFocusClicks(false);  // from now on a click that only focuses the window is no blow
    playing->setUp();
}

void Shell::frame() {
    playing->frame();
    pacer.endPass();
}

void Shell::frameLoop() { screens.run(*playing); }

void Shell::startPause() {
    screens.open();
    screens.push(playing->pause());
}

bool Shell::pausePass() { return screens.pass(*playing) && screens.top() != nullptr; }

bool Shell::showResultCard(Uint64 giveUpMillis) { return playing->showResultCard(giveUpMillis); }

void Shell::commitRun() { playing->commit(); }

void Shell::endOfRun(bool processGoesOn) {
    commitRun();
    if (!processGoesOn) {
        sound.finish();  // the win or the death is heard to its end before the window goes
        if (!Render::isRunning) {
            keeper.keepToggles(*game, true);
            releasePictures();
            game->clean();
        }
    }
}
