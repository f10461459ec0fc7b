#include "shell/Shell.h"

#include "shell/Levels.h"
#include "shell/PanelKeys.h"
#include "shell/PlayFrame.h"
#include "shell/SavedRun.h"
#include "persist/RunPlace.h"
#include "present/Gamepads.h"

#include <iostream>
#include <string>

Game* game = nullptr;
Cowboy* player = nullptr;
Player* hero = nullptr;
Arrow* arrow = nullptr;
Menu* menu = nullptr;
Button* button = nullptr;
Replay* replay = nullptr;

namespace {

// Labels of menu items 1 to 4; item 0 is the name line.
const char* const kMenuLabels[Shell::kMenuTexts] = {"", "REPLAY", "NEW GAME", "RESUME", "SCORE BOARD"};
// Vertical offsets of the menu items from the window centre: SCORE BOARD on top, NEW GAME lowest.
const int kMenuOffsets[Shell::kMenuTexts] = {0, -50, 0, -100, -150};

}  // namespace

Shell::~Shell() {
    sound.close();  // while SDL's audio still runs
    releasePictures();
    // Entities and texts first, while their renderer (if any) still exists.
    enemies.clear();
    farms.clear();
    bulls.clear();
    heroObj.reset();
    replayObj.reset();
    for (auto& text : hudTexts) {
        text.reset();
    }
    for (auto& text : menuTexts) {
        text.reset();
    }
    arrowObj.reset();
    menuObj.reset();
    playerObj.reset();
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

int Shell::run() {
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
        const bool again = quitToMenu || showResultCard();
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
    Cowboy::bindings = settings.keys;

    gameObj = std::make_unique<Game>();
    game = gameObj.get();
    Levels::reseed();
    buttonObj = std::make_unique<Button>();
    button = buttonObj.get();
    for (auto& text : hudTexts) {
        text = std::make_unique<Text>();
    }
    for (auto& text : menuTexts) {
        text = std::make_unique<Text>();
    }
    farmSite3 = Site{Levels::kSite3X, Levels::kSite3Y};
    farmSite2 = Site{Levels::kSite2X, Levels::kSite2Y};

    game->init(kTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWindowW, kWindowH, false);
    if (!game->displayProblem().empty()) {
        // Nobody could click the menu, and the end of run would overwrite the saved game.
        std::cerr << "bramblehoof: " << game->displayProblem() << std::endl;
        return false;
    }

    game->loadGround(Game::kGroundPath);
    Gamepads::loadMappings(settings.file(Settings::kPadMappingsName));
    Gamepads::openAll();
    arrowObj = std::make_unique<Arrow>();
    arrow = arrowObj.get();
    farmSite1 = Site{Levels::kSite1X, Levels::kSite1Y};
    Levels::reseed();
    for (auto& text : hudTexts) {
        text->init();
        text->outlined = true;  // the HUD stands on sand and buildings alike
    }
    for (auto& text : menuTexts) {
        text->init();
    }
    game->present();

    menuObj = std::make_unique<Menu>();
    menu = menuObj.get();
    menu->StartNewGame();
    for (int i = 0; i < kMenuTexts; ++i) {
        menuTexts[i]->Create(kMenuOffsets[i]);
    }
    menuSizes.clear();
    menuPositions.clear();
    for (int i = 1; i < kMenuTexts; ++i) {
        menuSizes.push_back(menuTexts[i]->getRect());
        menuPositions.push_back(menuTexts[i]->getPos(0));
    }
    menuSizes.push_back(menuTexts[kNameItem]->getRect());
    menuPositions.push_back(menuTexts[kNameItem]->getPos(kNameLineOffset));

    Text& name = *menuTexts[kNameItem];
    name.display(name.showInput(" "), name.getPos(kNameLineOffset));
    // A longer name would run off the sign and past the window's edge; the cursor goes after it.
    button->fits = [&name](const std::string& typed) {
        return name.getPos(kNameLineOffset).x + name.widthOf(typed) + Text::kCursorGap + Text::kCursorWidth <=
               kSignRight;
    };
    help.open(Render::renderer, Text::kFontPath, HelpPanel::linesFor(Cowboy::bindings));
    sound.open();
    sound.playTune(Sound::Tune::Menu);
    SDL_SetEventFilter(&Shell::playKeyFilter, this);
    beginRun();
    return true;
}

void Shell::beginRun() {
    // A hero still standing when his run ended leaves without dying.
    if (playerObj != nullptr) {
        playerObj->leavesQuietly = true;
    }
    static_cast<Run&>(*this) = Run();
    ++runsBegun;

    // The class-wide values a run reads: the menu's, the frame loop's flag, the farms' countdown,
    // the enemies' mood, the draw queue's count; and the camera, the arrow, the menu's own state.
    Button::checkIs = 1;
    Button::flag = Button::kPlay;
    Render::isRunning = true;
    Farm::isHere = 0;
    Enemy::isAngry = false;
    DrawQueue::skipped = 0;
    button->showScores = false;
    button->focus = Button::kNewGameEntry;
    button->firstMenu = runsBegun == 1;
    game->camX = 0;
    game->camY = 0;
    arrow->angle = 0;
    arrow->flip = 0;
    arrow->pos = SDL_Rect{Arrow::kStartX, Arrow::kStartY, Arrow::kDrawW, Arrow::kDrawH};
    menuOpen = true;
    const auto menuClock = menuRedraw.clock;  // a test's own clock stays
    menuRedraw = MenuRedraw();
    menuRedraw.clock = menuClock;
    filteringPlayKeys = false;
    card.release();
    pauseCard.release();
    for (auto& text : hudTexts) {
        text->freeALL();
    }
    for (auto& text : menuTexts) {
        text->freeALL();
    }

    enemyCount = Levels::kEnemiesAtLevel1;
    farmCount = Levels::kFarmsAtLevel1;
    bullCount = Levels::kBullsAtLevel1;
    level = 1;
    playerObj = std::make_unique<Cowboy>(kHeroStartX, kHeroStartY);
    player = playerObj.get();
    heroObj = std::make_unique<Player>();
    hero = heroObj.get();
    replayObj = std::make_unique<Replay>();
    replay = replayObj.get();
    Levels::refill(enemies, enemyCount);
    Levels::refill(farms, farmCount);
    Levels::refill(bulls, bullCount);
}

void Shell::showMenuAgain() {
    beginRun();
    sound.listenForMuteKey(false);  // the m of a typed name must not mute the game
    sound.playTune(Sound::Tune::Menu);
    // What was pressed to leave the run is not meant for the menu.
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_KEYDOWN, SDL_MOUSEWHEEL);
    SDL_FlushEvents(SDL_CONTROLLERAXISMOTION, SDL_CONTROLLERBUTTONUP);
}

bool Shell::closedOnMenuShownAgain() {
    if (!menuShownAgain() || Render::isRunning) {
        return false;
    }
    // The run before this menu has been saved already: nothing is left to record.
    tearDown();
    return true;
}

void Shell::tearDown() {
    sound.close();
    releasePictures();
    game->clean();
}

void Shell::releasePictures() {
    SDL_SetEventFilter(nullptr, nullptr);
    scoreBoard.close();
    card.release();
    pauseCard.release();
    help.close();
}

bool Shell::menuPass() {
    if (Button::checkIs == 0) {
        menuOpen = false;
    }
    if (!menuOpen) {
        return false;
    }
    game->applyWindowKeys();
    // Nothing new since the last picture: it stays on screen, and the pass costs next to nothing.
    if (!menuRedraw.needed()) {
        pacer.endPass();
        return true;
    }
    menu->copyTex(menu->getPos(), menu->getRect());

    Text& name = *menuTexts[kNameItem];
    const bool scoresShown = button->showScores;
    const std::string line = button->clickOn(menuPositions, menuSizes);
    // A click on an item either ends the menu (the window still open) or toggles the score board.
    if ((Button::checkIs == 0 && Render::isRunning) || button->showScores != scoresShown) {
        sound.play(Sound::Effect::Click);
    }
    name.display(name.showInput(line), name.getPos(kNameLineOffset));
    if (menuRedraw.cursorShown()) {
        name.drawCursor(line, name.getPos(kNameLineOffset));
    }

    if (button->focus < menuPositions.size()) {
        const SDL_Rect at = menuPositions[button->focus];
        const SDL_Rect size = menuSizes[button->focus];
        menu->drawFocus(SDL_Rect{at.x, at.y, size.w, size.h});
    }
    for (int i = 1; i < kMenuTexts; ++i) {
        Text& item = *menuTexts[i];
        item.display(item.PrintButton(kMenuLabels[i]), item.getPos(0));
    }
    if (button->showScores != scoreBoard.isOpen()) {
        if (button->showScores) {
            scoreBoard.open(Player::kDefaultPath, name.font, Text::kMenuColor);
        } else {
            scoreBoard.close();
        }
    }
    scoreBoard.draw(Render::renderer);
    for (auto& item : menuTexts) {
        item->present();
        item->freeALL();
    }
    menu->present();
    menu->clear();
    pacer.endPass();
    return true;
}

void Shell::menuPhase() {
    while (menuPass()) {
    }
}

void Shell::runSetUp() {
    scoreBoard.close();  // the menu is over
    sound.playTune(Sound::Tune::Play);
    sound.listenForMuteKey(true);
    filteringPlayKeys = true;
    player->spawn();
    if (Button::flag == Button::kResumePending) {
        SavedRun::resume(*this);
    } else if (Button::flag == Button::kReplayPending) {
        level = 3;
    } else {
        Levels::newGame(*this);
        helpFramesLeft = HelpPanel::kShownFrames;
    }
}

void Shell::frame() {
    game->applyWindowKeys();
    if (levelUpTrace == Levels::kLevelUpTrace) {
        std::cout << "kul";
        levelUpTrace = 0;
    }
    if (Button::flag == Button::kPlay) {
        recordFrame();
    } else if (Button::flag == Button::kReplayPending) {
        loadReplay();
    } else {
        playBackFrame();
    }
    PlayFrame::run(*this);
    pacer.endPass();
}

void Shell::frameLoop() {
    while (Render::isRunning && player != nullptr) {
        frame();
        if (pauseAsked && Render::isRunning && player != nullptr) {
            pause();
        }
    }
}

int Shell::playKeyFilter(void* self, SDL_Event* event) {
    Shell& shell = *static_cast<Shell*>(self);
    if (!shell.filteringPlayKeys) {
        return 1;
    }
    if (PanelKeys::asksPause(*event) || PanelKeys::losesFocus(*event)) {
        shell.pauseAsked = true;
    }
    if (PanelKeys::asksHelp(*event)) {
        shell.helpFramesLeft = HelpPanel::kShownFrames;
    }
    return PanelKeys::isPanelKey(*event) ? 0 : 1;  // the hero never sees them
}

void Shell::pause() {
    startPause();
    while (pausePass()) {
    }
}

void Shell::startPause() {
    pauseAsked = false;
    pausePanelShown = false;
    filteringPlayKeys = false;
    sound.setPaused(true);
    // Keys let go while paused are never seen by the hero: he stops, and walks again on a new press.
    player->letGo();
    std::vector<ResultCard::Line> lines;
    for (const std::string& line : help.text()) {
        lines.push_back(ResultCard::Line{line, true});
    }
    lines.push_back(ResultCard::Line{ResultCard::kPauseChoices, false});
    pauseCard.panel = kPausePanel;
    pauseCard.dim = kPauseDim;
    pauseCard.prepare(Render::renderer, hudTexts[kHudTexts - 1]->font, help.smallFont(), ResultCard::kPaused, lines);
}

bool Shell::pausePass() {
    game->applyWindowKeys();
    PanelKeys::PauseChoice choice = PanelKeys::PauseChoice::None;
    bool news = !pausePanelShown;
    SDL_Event event;
    // Everything pressed while paused is the panel's: nothing of it reaches play.
    while (SDL_PollEvent(&event) != 0) {
        news = true;
        Gamepads::deviceEvent(event);  // a pad plugged in or pulled out meanwhile
        const PanelKeys::PauseChoice now = PanelKeys::pauseChoice(event);
        if (choice == PanelKeys::PauseChoice::None) {
            choice = now;
        }
    }
    if (choice == PanelKeys::PauseChoice::None) {
        // The panel does not change by itself: it is drawn again only after an event (an expose,
        // a resize, a key), so a game left paused costs next to no CPU, as the menu does.
        if (news) {
            game->clear();
            pauseCard.draw(Render::renderer);
            Render::markDrawn();
            game->present();
            pausePanelShown = true;
        }
        pacer.endPass();
        return true;
    }
    pauseCard.release();
    sound.setPaused(false);
    if (choice == PanelKeys::PauseChoice::QuitToMenu) {
        // The run ends as a closed window ends it, but the window stays.
        quitToMenu = true;
        Render::isRunning = false;
        return false;
    }
    if (choice == PanelKeys::PauseChoice::Close) {
        // The next frame takes the close as any frame in play does.
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    }
    filteringPlayKeys = true;
    return false;
}

void Shell::drawHelp() {
    if (helpFramesLeft <= 0) {
        return;
    }
    help.draw(Render::renderer, HelpPanel::alphaFor(helpFramesLeft));
    Render::markDrawn();
    --helpFramesLeft;
}

bool Shell::showResultCard(Uint64 millis) {
    filteringPlayKeys = false;
    if (outcome == Outcome::None) {
        return false;
    }
    std::vector<ResultCard::Line> lines;
    std::string title = ResultCard::kReplayOver;
    if (outcome != Outcome::ReplayOver) {
        title = outcome == Outcome::Won ? ResultCard::kWon : ResultCard::kDied;
        // The run's record is not in the players file yet: the end of run appends it.
        const int place = RunPlace::of(hero->score, hero->path);
        lines.push_back(ResultCard::Line{"Score: " + std::to_string(hero->score), false});
        lines.push_back(ResultCard::Line{ResultCard::placeLine(place, static_cast<int>(ScoreBoard::kShown)), false});
    }
    lines.push_back(ResultCard::Line{ResultCard::kChoices, false});
    card.prepare(Render::renderer, hudTexts[kHudTexts - 1]->font, help.smallFont(), title, lines);
    // Keys, clicks and pad buttons still queued were meant for play, not for the card.
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_KEYDOWN, SDL_MOUSEWHEEL);
    SDL_FlushEvents(SDL_CONTROLLERAXISMOTION, SDL_CONTROLLERBUTTONUP);
    Uint64 end = SDL_GetTicks64() + millis;
    PanelKeys::CardChoice choice = PanelKeys::CardChoice::None;
    while (choice == PanelKeys::CardChoice::None && SDL_GetTicks64() < end) {
        game->applyWindowKeys();
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) {
            Gamepads::deviceEvent(event);  // a pad plugged in or pulled out meanwhile
            const PanelKeys::CardChoice now = PanelKeys::cardChoice(event);
            if (choice == PanelKeys::CardChoice::None) {
                choice = now;
            }
            if (now == PanelKeys::CardChoice::None && PanelKeys::isPress(event)) {
                end = SDL_GetTicks64() + millis;  // the player is there: the card waits for a choice
            }
        }
        game->clear();
        card.draw(Render::renderer);
        Render::markDrawn();
        game->present();
        pacer.endPass();
    }
    card.release();
    return choice == PanelKeys::CardChoice::PlayAgain;
}

void Shell::endOfRun(bool processGoesOn) {
    filteringPlayKeys = false;
    SavedRun::keep(*this);
    if (!processGoesOn) {
        sound.finish();  // the win or the death is heard to its end before the window goes
        if (!Render::isRunning) {
            releasePictures();
            game->clean();
        }
    }
    replayOut.close();
    replay->close();
}

HeroSnapshot Shell::heroState() const {
    if (player == nullptr) {
        return heroLast;
    }
    HeroSnapshot now;
    now.pos = player->getPos();
    now.health = player->getHel();
    now.killed = player->getEnemy();
    now.collected = player->getBul();
    return now;
}

void Shell::removeHero() {
    heroLast = heroState();
    playerObj.reset();
    player = nullptr;
}

void Shell::recordFrame() {
    const SDL_Rect at = player->getPos();
    Replay::record(replayOut, at.x, at.y);
}

void Shell::loadReplay() {
    if (replayOut.is_open()) {
        replayOut.close();
    }
    Replay::load(Replay::kDefaultPath, replayXs, replayYs);
    Button::flag = Button::kPlayback;
}

void Shell::playBackFrame() {
    if (replayIndex < static_cast<int>(replayXs.size())) {
        player->setPos(replayXs[replayIndex], replayYs[replayIndex]);
        ++replayIndex;
    } else {
        std::cout << "STOOOP";
        Render::isRunning = false;
        outcome = Outcome::ReplayOver;
    }
}
