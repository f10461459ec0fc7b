#include "world/Cowboy.h"

#include "input/Gamepads.h"
#include "present/Game.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>

Cowboy::Cowboy(int x, int y) {
    texW = kDefaultTexW;
    texH = kDefaultTexH;
    dam = kDamage;
    health = kHealth;
    destRect.x = x;
    destRect.y = y;
    dir = kInitialDir;
    bul = 0;
    enemy = 0;
    hurt = false;
    name = "cowboy";
    speed = kSpeed;
    side = 0;
}

Cowboy::~Cowboy() {
    if (!leavesQuietly) {
        std::cout << "youre dead";
    }
}

void Cowboy::spawn() {
    reportMissingRenderer();
    loadPicture(kSpritePath, texW, texH, SDL_Point{kFrameSize, kFrameSize}, SDL_Point{kDrawSize, kDrawSize});
    frameH = kFrameSize;
    frameW = kFrameSize;
    srcRect = SDL_Rect{0, 0, frameW, frameH};
    destroyed = false;
    destroyedAni = false;
    destRect.w = kDrawSize;
    destRect.h = kDrawSize;
    id = 1;
    if (renderer != nullptr) {
        // Drawn, and shown with the next frame: a picture shown per spawn flashed the sheet in a
        // corner of the old picture and held a new game and each new level back by a refresh each.
        SDL_RenderCopy(renderer, texture, &srcRect, &destRect);
        std::cout << "Render created2" << std::endl;
    }
}

void Cowboy::handleKeyDown(KeyBindings::Action action) {
    // A step stops at the world's edge: past it the view no longer follows and he is lost.
    walking = true;
    attacking = false;  // any key press cancels an attack in progress
    switch (action) {
        case KeyBindings::Action::Up:
            activeY = true;
            activeX = false;
            destRect.y = withinWorld(moved(destRect.y, -speed), destRect.h, Game::kWorldH);
            side = 0;
            break;
        case KeyBindings::Action::Left:
            activeX = true;
            activeY = false;
            destRect.x = withinWorld(moved(destRect.x, -speed), destRect.w, Game::kWorldW);
            side = 1;
            break;
        case KeyBindings::Action::Down:
            activeY = true;
            activeX = false;
            destRect.y = withinWorld(moved(destRect.y, speed), destRect.h, Game::kWorldH);
            side = 2;
            break;
        case KeyBindings::Action::Right:
            activeX = true;
            activeY = false;
            destRect.x = withinWorld(moved(destRect.x, speed), destRect.w, Game::kWorldW);
            side = 3;
            break;
        case KeyBindings::Action::Stop:
            walking = false;
            break;
        default:
            side = 0;
            walking = false;
            activeX = false;
            activeY = false;
            break;
    }
    if (walking) {
        srcRect.y = frameH * side;
        srcRect.x += frameW;
        if (srcRect.x >= texW - frameW) {
            srcRect.x = frameW;  // the cycle skips the standing column
        }
    }
}

void Cowboy::letGo() {
    held = HeldWalk();
    attacksHeld = 0;
    stopWalking();
}

void Cowboy::stopWalking() {
    walking = false;
    activeX = false;
    activeY = false;
    moving = false;
}

void Cowboy::handleKey(const SDL_KeyboardEvent& key) {
    const KeyBindings::Action action = keys().actionOf(key.keysym.sym);
    const Uint64 now = this->now();
    if (key.type == SDL_KEYUP) {
        if (action == KeyBindings::Action::Attack) {
            holdAttack(false);
        }
        held.release(key.keysym.sym, now);
        stopWalking();
        return;
    }
    if (key.repeat != 0) {
        return;  // a held key walks at the game's own pace, not at the desktop's repeat
    }
    if (action == KeyBindings::Action::Attack) {
        attacking = true;  // as a click does
        holdAttack(true);
        return;
    }
    // Any other key held down holds the walk still (b stops it, as its name says) until it is
    // released, as a desktop's repeat would have passed to that key.
    held.press(key.keysym.sym, KeyBindings::walks(action) ? action : KeyBindings::Action::None, now);
    handleKeyDown(action);
}

Uint64 Cowboy::now() { return sim != nullptr ? sim->clock(walkClock) : walkClock(); }

void Cowboy::handlePad(const SDL_Event& event) {
    const Uint64 now = this->now();
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED:
            // A pad pulled out mid-walk first lets go of its buttons and centres its stick (SDL
            // sends those events), which ends its walk below.
            if (sim == nullptr || !sim->feeding()) {
                Gamepads::deviceEvent(event);  // a re-simulation opens no pad
            }
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: {
            const auto button = static_cast<SDL_GameControllerButton>(event.cbutton.button);
            const long long source = kPadSources + event.cbutton.which * kPadStride + button;
            const KeyBindings::Action action = keys().actionOfButton(button);
            if (event.type == SDL_CONTROLLERBUTTONUP) {
                if (action == KeyBindings::Action::Attack) {
                    holdAttack(false);
                }
                if (held.release(source, now)) {
                    stopWalking();
                }
            } else if (action == KeyBindings::Action::Attack) {
                attacking = true;
                holdAttack(true);
            } else if (action != KeyBindings::Action::None) {
                // A stop button holds the walk still while held, as the stop key does.
                held.press(source, KeyBindings::walks(action) ? action : KeyBindings::Action::None, now);
                handleKeyDown(action);
            }
            break;
        }
        case SDL_CONTROLLERAXISMOTION: {
            if (event.caxis.axis != SDL_CONTROLLER_AXIS_LEFTX && event.caxis.axis != SDL_CONTROLLER_AXIS_LEFTY) {
                break;
            }
            int x = 0;
            int y = 0;
            if (sim != nullptr) {
                sim->stick(event.caxis.which, x, y);
            } else {
                Gamepads::leftStick(event.caxis.which, x, y);
            }
            const KeyBindings::Action way = stickDirection(x, y);
            const long long source = kPadSources + event.caxis.which * kPadStride + kStickSource;
            if (way == held.actionOf(source)) {
                break;
            }
            if (held.release(source, now)) {
                stopWalking();
            }
            if (way != KeyBindings::Action::None) {
                held.press(source, way, now);
                handleKeyDown(way);
            }
            break;
        }
        default:
            break;
    }
}

DrawPair* Cowboy::handleEvents(SDL_Rect cam) {
    SDL_Event event;
    // Takes what the frame's one pump gathered: a frame reads events a dozen times, and each pump
    // asks the display server again.
    const bool taken = sim != nullptr     ? sim->takeEvent(input, event)
                       : input != nullptr ? input->next(event)
                                          : SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1;
    if (taken) {
        switch (event.type) {
            case SDL_QUIT:
                isRunning = false;
                std::cout << "fuck";
                break;
            case SDL_KEYDOWN:
            case SDL_KEYUP:
                handleKey(event.key);
                break;
            case SDL_MOUSEBUTTONDOWN:
                attacking = true;  // a click strikes once: recordings keep no release of it
                break;
            default:
                handlePad(event);
                break;
        }
    }
    // A held attack strikes again as soon as the last one is over, as a fresh press would.
    if (autoAttack && attacksHeld > 0 && !attacking) {
        attacking = true;
    }
    // A walk held down steps on its own, each step handled as a press would be.
    // (Called several times a frame: the clock is read only while something walks.)
    const KeyBindings::Action walk = held.current();
    for (int steps = walk == KeyBindings::Action::None ? 0 : held.dueSteps(now()); steps > 0; --steps) {
        handleKeyDown(walk);
    }
    draw.drawDest = checkPosition(cam);
    draw.drawSrc = srcRect;
    return &draw;
}

SDL_Rect Cowboy::checkPosition(SDL_Rect cam) {
    return SDL_Rect{destRect.x - cam.x, destRect.y - cam.y, destRect.w, destRect.h};
}

bool Cowboy::collisionB(SDL_Rect bull, SDL_Rect cam) {
    // The hero's centre is measured against the bull's corner, not its centre.
    const long long cx = static_cast<long long>(destRect.x) - cam.x + destRect.w / 2;
    const long long cy = static_cast<long long>(destRect.y) - cam.y + destRect.h / 2;
    const double reach = static_cast<double>(bull.w / 2 + kPickupExtra);
    if (withinReach(cx - bull.x, cy - bull.y, reach)) {
        bul += 1;
        return true;
    }
    return false;
}

void Cowboy::setPos(int x, int y) {
    destRect.x = x;
    destRect.y = y;
}

void Cowboy::setAll(int x, int y, int h) {
    destRect.x = x;
    destRect.y = y;
    health = h;
}

void Cowboy::setBull(int n) { bul = n; }

void Cowboy::setEnemy(int n) { enemy = n; }

int Cowboy::getBul() { return bul; }

int Cowboy::getEnemy() { return enemy; }

int Cowboy::getHel() { return health; }

int Cowboy::getDir() { return dir; }

bool Cowboy::isMov() { return moving; }

bool Cowboy::getActiveX() { return activeX; }

bool Cowboy::getActiveY() { return activeY; }

void Cowboy::enemyKill() { enemy += 1; }

bool Cowboy::isBullCollected(int n) { return bul >= n; }

bool Cowboy::isEnemyKilled(int n) { return enemy >= n; }

void Cowboy::setHurt() { hurt = true; }

void Cowboy::takeBlow(int damage) {
    if (damageShare == 100) {
        getRed(damage);
        return;
    }
    const long long owed = static_cast<long long>(owedHundredths) +
                           static_cast<long long>(damage / kDamageDivisor) * std::clamp(damageShare, 0, 100);
    owedHundredths = static_cast<int32_t>(owed % 100);
    loseHealth(static_cast<int>(owed / 100));
}

void Cowboy::holdAttack(bool down) {
    // A release never seen (a key let go while paused) was forgotten by letGo.
    attacksHeld = down ? attacksHeld + 1 : std::max(0, attacksHeld - 1);
}

KeyBindings::Action Cowboy::stickDirection(int x, int y) {
    const int ax = x < 0 ? -x : x;
    const int ay = y < 0 ? -y : y;
    if (ax < kStickDeadZone && ay < kStickDeadZone) {
        return KeyBindings::Action::None;
    }
    if (ax >= ay) {
        return x < 0 ? KeyBindings::Action::Left : KeyBindings::Action::Right;
    }
    return y < 0 ? KeyBindings::Action::Up : KeyBindings::Action::Down;
}

int32_t Cowboy::withinWorld(int32_t coord, int32_t drawn, int32_t extent) {
    return std::clamp(coord, 0, std::max(0, extent - drawn));
}

SDL_Point Cowboy::nearestInWorld(SDL_Rect at) {
    return SDL_Point{withinWorld(at.x, at.w, Game::kWorldW), withinWorld(at.y, at.h, Game::kWorldH)};
}

void Cowboy::spawnRep() {
    bul = 0;
    enemy = 0;
    if (refillEachLevel) {
        health = kHealth;
    }
    seed.reseed();
    destRect.x = rand() % kRestartRange;
    destRect.y = rand() % kRestartRange;
}
