#include "shell/Shell.h"

#include "shell/Levels.h"
#include "shell/PlayFrame.h"
#include "shell/SavedRun.h"
#include "persist/RunPlace.h"
#include "present/Gamepads.h"

#include <iostream>

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
    scoreBoard.close();
    sound.close();  // while SDL's audio still runs
    card.release();
    // Entities and texts first, while their renderer (if any) still exists.
    enemies.clear();
    farms.clear();
    bulls.clear();
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
    menuPhase();
    runSetUp();
    frameLoop();
    showResultCard();
    endOfRun();
    return 0;
}

bool Shell::startUp() {
    // A run starts from the class-wide values a fresh process has.
    Button::checkIs = 1;
    Button::flag = Button::kPlay;
    Button::flagText = 0;
    Render::isRunning = false;
    Farm::isHere = 0;
    Enemy::isAngry = false;
    menuOpen = true;
    heroSwinging = false;
    settings.load(std::cerr);
    Cowboy::bindings = settings.keys;

    enemyCount = Levels::kEnemiesAtLevel1;
    farmCount = Levels::kFarmsAtLevel1;
    bullCount = Levels::kBullsAtLevel1;
    gameObj = std::make_unique<Game>();
    game = gameObj.get();
    Levels::reseed();
    playerObj = std::make_unique<Cowboy>(kHeroStartX, kHeroStartY);
    player = playerObj.get();
    buttonObj = std::make_unique<Button>();
    button = buttonObj.get();
    replayObj = std::make_unique<Replay>();
    replay = replayObj.get();
    Levels::refill(enemies, enemyCount);
    Levels::refill(farms, farmCount);
    for (auto& text : hudTexts) {
        text = std::make_unique<Text>();
    }
    for (auto& text : menuTexts) {
        text = std::make_unique<Text>();
    }
    Levels::refill(bulls, bullCount);
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
    heroObj = std::make_unique<Player>();
    hero = heroObj.get();
    farmSite1 = Site{Levels::kSite1X, Levels::kSite1Y};
    Levels::reseed();
    for (auto& text : hudTexts) {
        text->init();
        text->outlined = true;  // the HUD stands on sand and buildings alike
    }
    for (auto& text : menuTexts) {
        text->init();
    }
    Button::flag = Button::kPlay;
    game->present();
    level = 1;
    replayXs.clear();
    replayYs.clear();
    replayIndex = 0;

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
    sound.open();
    sound.playTune(Sound::Tune::Menu);
    return true;
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
    player->spawn();
    if (Button::flag == Button::kResumePending) {
        SavedRun::resume(*this);
    } else if (Button::flag == Button::kReplayPending) {
        level = 3;
    } else {
        Levels::newGame(*this);
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
    }
}

void Shell::showResultCard(Uint64 millis) {
    if (outcome == Outcome::None) {
        return;
    }
    // The run's record is not in the players file yet: the end of run appends it.
    const int place = RunPlace::of(hero->score, hero->path);
    card.prepare(Render::renderer, hudTexts[kHudTexts - 1]->font, outcome == Outcome::Won, hero->score,
                 ResultCard::placeLine(place, static_cast<int>(ScoreBoard::kShown)));
    // Keys and clicks still queued were meant for play, not for putting the card away.
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_KEYDOWN, SDL_MOUSEWHEEL);
    const Uint64 end = SDL_GetTicks64() + millis;
    bool shown = true;
    while (shown && SDL_GetTicks64() < end) {
        game->applyWindowKeys();
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) {
            if (event.type == SDL_QUIT || event.type == SDL_MOUSEBUTTONDOWN ||
                (event.type == SDL_KEYDOWN && event.key.repeat == 0)) {
                shown = false;
            }
        }
        game->clear();
        card.draw(Render::renderer);
        Render::markDrawn();
        game->present();
        pacer.endPass();
    }
    card.release();
}

void Shell::endOfRun() {
    SavedRun::keep(*this);
    sound.finish();  // the win or the death is heard to its end before the window goes
    if (!Render::isRunning) {
        game->clean();
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
    }
}
