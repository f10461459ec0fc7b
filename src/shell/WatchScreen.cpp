#include "shell/WatchScreen.h"

#include "persist/FileIO.h"
#include "present/Texts.h"
#include "shell/Shell.h"
#include "world/Enemy.h"
#include "world/Farm.h"

#include <iostream>

namespace {

constexpr int kExitUnreadable = 2;
constexpr SDL_Color kFootColour{250, 238, 205, 255};
constexpr int kFootH = 26;  // the dark strip the line stands on, at the picture's foot

const std::string& endingWord(RunRecording::Ending ending) {
    switch (ending) {
        case RunRecording::Ending::Won:
            return Texts::text(Texts::Id::WatchWon);
        case RunRecording::Ending::Died:
            return Texts::text(Texts::Id::WatchDied);
        case RunRecording::Ending::Quit:
            return Texts::text(Texts::Id::WatchQuit);
        default:
            return Texts::text(Texts::Id::WatchClosed);
    }
}

}  // namespace

WatchScreen::WatchScreen(Shell& shell, const std::string& path, Sound::Tune after)
    : shell(shell), path(path), after(after) {
    std::string why;
    if (!Resimulation::load(path, recording, why)) {
        FileIO::report(why);
        setFoot(Texts::format(Texts::Id::WatchRefused, {why}));
        return;
    }
    keepAside();
    again = std::make_unique<Resimulation>(shell, recording);
    current = State::Running;
    if (again->start() != Resimulation::State::Running) {
        settle();
    }
    // The keys around play are the watch's own: nothing pauses the run watched or asks its help.
    shell.playKeys.active = false;
    shell.input.muteKeyOn = true;
    setFoot(std::string());
}

WatchScreen::~WatchScreen() {
    if (footText != nullptr && Render::renderer != nullptr) {
        SDL_DestroyTexture(footText);
    }
    picture.release();
    if (again != nullptr) {
        putBack();
    }
}

void WatchScreen::keepAside() {
    std::cout.flush();
    keptOut = std::cout.rdstate();
    std::cout.setstate(std::ios::badbit);  // the run watched traces nothing
    keptRun = std::move(shell.playing);
    keptPlayer = player;
    keptHero = hero;
    keptReplay = replay;
    keptCheckIs = Button::checkIs;
    keptFlag = Button::flag;
    keptRunning = Render::isRunning;
    keptFarmHere = Farm::isHere;
    keptAngry = Enemy::isAngry;
    keptPlayActive = shell.playKeys.active;
    keptPauseAsked = shell.playKeys.pauseAsked;
    keptHelpAsked = shell.playKeys.helpAsked;
    keptMuteKeyOn = shell.input.muteKeyOn;
    keptHelpShowing = shell.help.showing();
}

void WatchScreen::putBack() {
    again.reset();                       // feeds no more
    shell.playing = std::move(keptRun);  // the watched run goes; its play screen nulled the globals
    player = keptPlayer;
    hero = keptHero;
    replay = keptReplay;
    Button::checkIs = keptCheckIs;
    Button::flag = keptFlag;
    Render::isRunning = keptRunning;
    Farm::isHere = keptFarmHere;
    Enemy::isAngry = keptAngry;
    // What shows around play is as a run's start has it; the run kept aside had that or is over.
    game->resetCamera();
    arrow->restart();
    shell.playFrame.newRun();
    for (auto& text : shell.hudTexts) {
        text->freeALL();
    }
    shell.playKeys.active = keptPlayActive;
    shell.playKeys.pauseAsked = keptPauseAsked;
    shell.playKeys.helpAsked = keptHelpAsked;
    shell.input.muteKeyOn = keptMuteKeyOn;
    if (!keptHelpShowing) {
        shell.help.hide();
    }
    shell.sound.setPaused(false);
    shell.sound.playTune(after);
    shell.screens.flushInput();  // the key that left is not for the screen under
    std::cout.clear(keptOut);
}

bool WatchScreen::anyPress(const SDL_Event& event) const {
    return (event.type == SDL_KEYDOWN && event.key.repeat == 0) || event.type == SDL_MOUSEBUTTONDOWN ||
           event.type == SDL_CONTROLLERBUTTONDOWN;
}

void WatchScreen::take(const SDL_Event& event) {
    if (event.type == SDL_WINDOWEVENT) {
        stale = true;  // exposed or resized: drawn again even while nothing moves
    }
    if (event.type == SDL_QUIT) {
        left = true;
        shell.input.handOn(event);  // a close ends the game as on the screen under
        return;
    }
    if (current != State::Running) {
        // The end, or why it stopped, is on screen: any press goes back.
        left = left || anyPress(event);
        return;
    }
    const int before = rate;
    const bool wasHolding = holding;
    if (event.type == SDL_KEYDOWN && event.key.repeat == 0) {
        switch (event.key.keysym.sym) {
            case SDLK_ESCAPE:
                left = true;
                break;
            case SDLK_SPACE:
            case SDLK_p:
                holding = !holding;
                break;
            case SDLK_1:
                rate = 1;
                break;
            case SDLK_2:
                rate = 2;
                break;
            case SDLK_4:
                rate = 4;
                break;
            case SDLK_n:
                skipLevel();
                break;
            default:
                break;
        }
    } else if (event.type == SDL_CONTROLLERBUTTONDOWN) {
        switch (event.cbutton.button) {
            case SDL_CONTROLLER_BUTTON_B:
                left = true;
                break;
            case SDL_CONTROLLER_BUTTON_START:
                holding = !holding;
                break;
            case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
                rate = rate >= kFastest ? kFastest : rate * 2;
                break;
            case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
                rate = rate <= 1 ? 1 : rate / 2;
                break;
            case SDL_CONTROLLER_BUTTON_Y:
                skipLevel();
                break;
            default:
                break;
        }
    }
    if (holding != wasHolding) {
        shell.sound.setPaused(holding);
    }
    if (rate != before || holding != wasHolding) {
        setFoot(std::string());
    }
}

void WatchScreen::step() {
    if (left) {
        return;
    }
    // Standing alone (--watch) no loop hands it its keys: it reads them here, as play does.
    game->applyWindowKeys(shell.input);
    shell.screens.pumpInput();
    SDL_Event event;
    while (!left && shell.input.next(event)) {
        take(event);
    }
    if (left) {
        return;
    }
    if (current == State::Running && !holding) {
        advance(static_cast<uint32_t>(rate));
    }
    show();
}

void WatchScreen::advance(uint32_t count) {
    shell.playFrame.presents = false;  // one picture a pass, whatever the speed
    for (uint32_t i = 0; i < count && current == State::Running; ++i) {
        const uint32_t before = again->frames();
        if (again->step() != Resimulation::State::Running) {
            settle();
        }
        fresh = fresh || again->frames() != before;
    }
    shell.playFrame.presents = true;
}

void WatchScreen::skipLevel() {
    const int from = again->level();
    const bool muted = shell.sound.isMuted();
    shell.sound.setMuted(true);  // the frames skipped are not heard all at once
    for (uint32_t i = 0; i < kSkipLimit && current == State::Running && again->level() == from; ++i) {
        advance(1);
    }
    shell.sound.setMuted(muted);
}

void WatchScreen::settle() {
    if (again->state() == Resimulation::State::Ended) {
        current = State::Ended;
        setFoot(Texts::format(
            Texts::Id::WatchEnded,
            {recording.header.name.empty() ? std::string("-") : FileIO::printable(recording.header.name),
             endingWord(again->ending()), std::to_string(again->level()), std::to_string(again->score())}));
        shell.sound.setPaused(true);
    } else if (again->state() == Resimulation::State::Mismatch) {
        current = State::Mismatch;
        FileIO::report(path + ": this recording does not match this version of the game at frame " +
                       std::to_string(again->mismatchFrame()));
        setFoot(Texts::format(Texts::Id::WatchMismatch, {std::to_string(again->mismatchFrame())}));
        shell.sound.setPaused(true);
    }
}

void WatchScreen::setFoot(const std::string& line) {
    std::string text = line;
    if (text.empty()) {
        text = holding ? Texts::text(Texts::Id::WatchPaused)
                       : Texts::format(shell.device.padLast() ? Texts::Id::WatchPadControls : Texts::Id::WatchControls,
                                       {std::to_string(rate)});
    }
    if (text == foot && footText != nullptr) {
        return;
    }
    foot = text;
    stale = true;
    if (footText != nullptr && Render::renderer != nullptr) {
        SDL_DestroyTexture(footText);
    }
    footText = Text::lineTexture(Render::renderer, shell.help.smallFont(), foot, kFootColour);
}

void WatchScreen::show() {
    SDL_Renderer* const renderer = Render::renderer;
    if (renderer == nullptr || !(fresh || stale)) {
        return;  // paused or at the end: the picture on screen stands
    }
    stale = false;
    if (fresh) {
        picture.capture(renderer);  // the last frame played, drawn but not yet shown
        fresh = false;
    }
    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_GetRenderDrawColor(renderer, &r, &g, &b, &a);
    game->clear();
    picture.draw(renderer);
    const SDL_Rect strip{0, Render::kPicture.h - kFootH, Render::kPicture.w, kFootH};
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(renderer, 20, 12, 6, 200);
    SDL_RenderFillRect(renderer, &strip);
    if (footText != nullptr) {
        SDL_Rect where{0, 0, 0, 0};
        SDL_QueryTexture(footText, nullptr, nullptr, &where.w, &where.h);
        where.x = (Render::kPicture.w - where.w) / 2;
        where.y = strip.y + (kFootH - where.h) / 2;
        Text::fitToWindow(renderer, footText);
        SDL_RenderCopy(renderer, footText, nullptr, &where);
    }
    SDL_SetRenderDrawColor(renderer, r, g, b, a);
    Render::markDrawn();
    game->present();
}

int WatchScreen::watchFile(const std::string& path) {
    RunRecording probe;
    std::string why;
    if (!Resimulation::load(path, probe, why)) {
        FileIO::report(why);
        return kExitUnreadable;
    }
    std::cout.flush();
    std::cout.setstate(std::ios::badbit);  // the game's traces are not this command's
    // As the game's own process, the shell lives until the process ends.
    static Shell* const shell = new Shell();
    if (!shell->startUp()) {
        return 1;
    }
    shell->input.takeFocusClicks(false);
    {
        WatchScreen watch(*shell, path, Sound::Tune::Menu);
        shell->screens.run(watch);
    }
    shell->closeWindow();
    return 0;
}
