#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

namespace testsupport {

// The repository root, where images/ and sounds/ live.
std::string sourceDir();

// A fresh scratch folder that becomes the working directory for the test's lifetime; it holds
// links to the repository's images/ and sounds/ and an empty files/, so the game never touches
// the real files. XDG_CONFIG_HOME points at its config/ (not made), so no settings are read from
// the real home.
class ScratchDir {
public:
    explicit ScratchDir(bool withFilesFolder = true);
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return dir; }
    std::string file(const std::string& relative) const { return dir + "/" + relative; }

private:
    std::string dir;
    std::string previous;
};

// SDL started on the dummy driver with a 1080 by 720 window and a software renderer installed as
// Render::renderer; the queue is drained so pushed events come back in order.
class SdlSession {
public:
    SdlSession();
    ~SdlSession();
    SdlSession(const SdlSession&) = delete;
    SdlSession& operator=(const SdlSession&) = delete;

    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
};

// Events as SDL hands them, for a screen's or a key table's own test: a key press (a desktop's
// repeat when repeat is set, with the modifiers held), a pad's button press, an event of a type.
SDL_Event keyDown(SDL_Keycode key, Uint8 repeat = 0, Uint16 mod = KMOD_NONE);
SDL_Event padDown(SDL_GameControllerButton button);
SDL_Event ofType(Uint32 type);

void drainEvents();
void pushKeyDown(SDL_Keycode key);
void pushKeyUp(SDL_Keycode key);
// A held key's repeat, as the desktop sends it while the key stays down.
void pushKeyRepeat(SDL_Keycode key);
void pushText(const std::string& utf8);
void pushClick(int x, int y, Uint8 button = SDL_BUTTON_LEFT);
void pushQuit();
// A press of a pad's button, as a plugged-in pad sends it.
void pushPad(SDL_GameControllerButton button);

// Reads a whole file as bytes; empty when it does not exist.
std::string readFile(const std::string& path);
// A players file's record built by hand: the name's bytes, zero padding to 52, the score little-endian.
std::string playersRecord(const std::string& name, uint32_t score);
void writeFile(const std::string& path, const std::string& bytes);
bool fileExists(const std::string& path);

}  // namespace testsupport
