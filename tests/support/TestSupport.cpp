#include "TestSupport.h"

#include "present/Render.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace testsupport {

std::string sourceDir() { return BRAMBLEHOOF_SOURCE_DIR; }

ScratchDir::ScratchDir(bool withFilesFolder) {
    char buffer[PATH_MAX];
    if (getcwd(buffer, sizeof buffer) != nullptr) {
        previous = buffer;
    }
    char pattern[] = "/tmp/bramblehoof-test-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (made == nullptr) {
        ADD_FAILURE() << "cannot make a scratch folder";
        return;
    }
    dir = made;
    const std::string images = sourceDir() + "/images";
    if (symlink(images.c_str(), (dir + "/images").c_str()) != 0) {
        ADD_FAILURE() << "cannot link images/";
    }
    const std::string sounds = sourceDir() + "/sounds";
    if (symlink(sounds.c_str(), (dir + "/sounds").c_str()) != 0) {
        ADD_FAILURE() << "cannot link sounds/";
    }
    // The translations, as the game run from the source tree finds them.
    const std::string locale = sourceDir() + "/locale";
    if (symlink(locale.c_str(), (dir + "/locale").c_str()) != 0) {
        ADD_FAILURE() << "cannot link locale/";
    }
    // A game made here speaks English whatever the machine's language; a test of another sets it.
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) {
        unsetenv(name);
    }
    setenv("LANG", "C.UTF-8", 1);
    if (withFilesFolder) {
        mkdir((dir + "/files").c_str(), 0755);
    }
    // The player's settings are looked for here, never in the real home; left set afterwards, so
    // no later test can fall back to the home either.
    setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
    if (chdir(dir.c_str()) != 0) {
        ADD_FAILURE() << "cannot enter the scratch folder";
    }
}

ScratchDir::~ScratchDir() {
    if (!previous.empty() && chdir(previous.c_str()) != 0) {
        ADD_FAILURE() << "cannot leave the scratch folder";
    }
    if (!dir.empty()) {
        const std::string command = "rm -rf '" + dir + "'";
        if (std::system(command.c_str()) != 0) {
            ADD_FAILURE() << "cannot remove " << dir;
        }
    }
}

SdlSession::SdlSession() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        ADD_FAILURE() << "SDL_Init: " << SDL_GetError();
        return;
    }
    SDL_EventState(SDL_POLLSENTINEL, SDL_DISABLE);  // as the game does
    window = SDL_CreateWindow("test", 0, 0, 1080, 720, 0);
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (renderer == nullptr) {
        ADD_FAILURE() << "SDL_CreateRenderer: " << SDL_GetError();
    }
    SDL_SetRenderDrawColor(renderer, 242, 196, 111, 255);
    Render::renderer = renderer;
    drainEvents();
}

SdlSession::~SdlSession() {
    Render::renderer = nullptr;
    if (renderer != nullptr) {
        SDL_DestroyRenderer(renderer);
    }
    if (window != nullptr) {
        SDL_DestroyWindow(window);
    }
    SDL_Quit();
}

void drainEvents() {
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

// 0 means that the game's event filter took the event, as it would take the key from the player.
static void push(SDL_Event& event) {
    if (SDL_PushEvent(&event) < 0) {
        ADD_FAILURE() << "SDL_PushEvent: " << SDL_GetError();
    }
}

static void pushKey(Uint32 type, SDL_Keycode key, Uint8 repeat = 0) {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    push(event);
}

void pushKeyDown(SDL_Keycode key) { pushKey(SDL_KEYDOWN, key); }
void pushKeyUp(SDL_Keycode key) { pushKey(SDL_KEYUP, key); }
void pushKeyRepeat(SDL_Keycode key) { pushKey(SDL_KEYDOWN, key, 1); }

void pushText(const std::string& utf8) {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = SDL_TEXTINPUT;
    std::strncpy(event.text.text, utf8.c_str(), sizeof event.text.text - 1);
    push(event);
}

void pushClick(int x, int y, Uint8 button) {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = button;
    event.button.state = SDL_PRESSED;
    event.button.x = x;
    event.button.y = y;
    push(event);
}

void pushQuit() {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = SDL_QUIT;
    push(event);
}

SDL_Event keyDown(SDL_Keycode key, Uint8 repeat, Uint16 mod) {
    SDL_Event e = ofType(SDL_KEYDOWN);
    e.key.keysym.sym = key;
    e.key.keysym.mod = mod;
    e.key.repeat = repeat;
    return e;
}

SDL_Event padDown(SDL_GameControllerButton button) {
    SDL_Event e = ofType(SDL_CONTROLLERBUTTONDOWN);
    e.cbutton.button = static_cast<Uint8>(button);
    return e;
}

SDL_Event ofType(Uint32 type) {
    SDL_Event e{};
    e.type = type;
    return e;
}

void pushPad(SDL_GameControllerButton button) {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = SDL_CONTROLLERBUTTONDOWN;
    event.cbutton.button = static_cast<Uint8>(button);
    event.cbutton.state = SDL_PRESSED;
    push(event);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool fileExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

std::string playersRecord(const std::string& name, uint32_t score) {
    std::string bytes = name;
    bytes.resize(52, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes.push_back(static_cast<char>((score >> (8 * i)) & 0xFF));
    }
    return bytes;
}

}  // namespace testsupport
