#pragma once

#include "persist/RunRecording.h"
#include "present/FramePicture.h"
#include "present/Screen.h"
#include "present/Sound.h"
#include "shell/Resimulation.h"

#include <SDL.h>

#include <ios>
#include <memory>
#include <string>

class Shell;
class PlayScreen;
class Cowboy;
class Player;
class Replay;

// A recorded run watched: re-simulated by the game's own frame on the game's own shell and drawn
// as in play, one, two or four frames a pass, with pause, a skip to the next level and a way out.
// What the re-simulation replaces (the run on the shell, the globals and class-wide values of
// the world, the keys around play, the traces on standard output) is kept aside when the watch
// starts and put back when it goes, so the card or the menu it was opened from goes on as if
// nothing had happened. Nothing is written to files/, nothing printed and nothing recorded.
class WatchScreen : public Screen {
public:
    enum class State { Refused, Running, Ended, Mismatch };
    static constexpr int kFastest = 4;
    // A skip to the next level plays at most this many frames (a quarter of an hour) unseen.
    static constexpr uint32_t kSkipLimit = 60 * 60 * 15;

    // The recording at path watched; `after`: the tune heard again once the watch goes.
    WatchScreen(Shell& shell, const std::string& path, Sound::Tune after);
    ~WatchScreen() override;
    WatchScreen(const WatchScreen&) = delete;
    WatchScreen& operator=(const WatchScreen&) = delete;

    // Its pass reads its own keys (given them by the loop when it stands over another screen) and
    // draws and presents its own picture.
    bool drivesItself() const override { return true; }
    void take(const SDL_Event& event) override;
    void step() override;
    void draw(SDL_Renderer*) const override {}
    bool done() const override { return left; }

    State state() const { return current; }
    uint32_t frames() const { return again != nullptr ? again->frames() : 0; }
    int speed() const { return rate; }
    bool paused() const { return holding; }
    int level() const { return again != nullptr ? again->level() : 0; }
    int score() const { return again != nullptr ? again->score() : 0; }
    const std::string& name() const { return recording.header.name; }
    // The line at the foot: the speed and the controls, or how the run ended, or why it stopped.
    const std::string& footLine() const { return foot; }

    // bramblehoof --watch FILE: a window showing the recording until the player leaves. 0 then;
    // 2, with one line on standard error and no window, for a file this game cannot play again.
    static int watchFile(const std::string& path);

private:
    void keepAside();
    void putBack();
    void advance(uint32_t count);
    void skipLevel();
    void settle();
    void show();
    void setFoot(const std::string& line);
    bool anyPress(const SDL_Event& event) const;

    Shell& shell;
    std::string path;
    Sound::Tune after;
    RunRecording recording;
    std::unique_ptr<Resimulation> again;
    State current = State::Refused;
    int rate = 1;
    bool holding = false;
    bool left = false;
    bool fresh = false;  // a frame was drawn since the picture was last kept
    bool stale = true;   // what is on screen is not the picture and foot as they stand
    FramePicture picture;
    std::string foot;
    SDL_Texture* footText = nullptr;

    // What the watch replaces, as it was.
    std::unique_ptr<PlayScreen> keptRun;
    Cowboy* keptPlayer = nullptr;
    Player* keptHero = nullptr;
    Replay* keptReplay = nullptr;
    int keptCheckIs = 0;
    int keptFlag = 0;
    bool keptRunning = false;
    int32_t keptFarmHere = 0;
    bool keptAngry = false;
    bool keptPlayActive = false;
    bool keptPauseAsked = false;
    bool keptHelpAsked = false;
    bool keptMuteKeyOn = false;
    bool keptHelpShowing = false;
    std::ios::iostate keptOut = std::ios::goodbit;
};
