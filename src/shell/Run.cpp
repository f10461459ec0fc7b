#include "shell/Run.h"

#include "present/Button.h"
#include "present/Render.h"
#include "shell/Shell.h"

#include <iostream>

void Run::resetClassWide() {
    Button::checkIs = 1;
    Button::flag = Button::kPlay;
    Render::isRunning = true;
    Farm::isHere = 0;
    Enemy::isAngry = false;
}

HeroSnapshot Run::heroState() const {
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

void Run::removeHero() {
    heroLast = heroState();
    playerObj.reset();
    player = nullptr;
}

void Run::recordFrame() {
    const SDL_Rect at = player->getPos();
    Replay::record(replayOut, at.x, at.y);
}

void Run::loadReplay() {
    if (replayOut.is_open()) {
        replayOut.close();
    }
    Replay::load(Replay::kDefaultPath, replayXs, replayYs);
    Button::flag = Button::kPlayback;
}

void Run::playBackFrame() {
    if (replayIndex < static_cast<int>(replayXs.size())) {
        player->setPos(replayXs[replayIndex], replayYs[replayIndex]);
        ++replayIndex;
    } else {
        std::cout << "STOOOP";
        Render::isRunning = false;
        outcome = Outcome::ReplayOver;
    }
}
