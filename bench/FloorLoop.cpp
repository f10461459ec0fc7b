// The least a play frame can cost in a real window: the game's window and renderer, and each pass
// a clear, the HUD's four outlined lines (textures made once), a present, paced to 60 passes a
// second as the game paces its frames. For bench/level3_frame.sh, which reads this process's CPU
// time and divides by the passes made.
// Usage: floor_loop FRAMES_FILE
// Run in a folder with images/ linked; the pass count is kept in FRAMES_FILE (8 bytes, native
// order, mapped into memory, so counting costs no system call). Ends on SIGTERM (a window close).
#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// The game's rule (Game::openGLInSoftware), repeated so that this stays a program of its own.
bool openGLInSoftware() {
    const char* forced = std::getenv("LIBGL_ALWAYS_SOFTWARE");
    if (forced != nullptr && *forced != '\0' && std::strcmp(forced, "0") != 0) {
        return true;
    }
    std::error_code failed;
    if (std::filesystem::exists("/dev/nvidiactl", failed)) {
        return false;
    }
    for (std::filesystem::directory_iterator entry("/dev/dri", failed), end; !failed && entry != end;
         entry.increment(failed)) {
        const std::string name = entry->path().filename().string();
        if (name.rfind("card", 0) == 0 || name.rfind("renderD", 0) == 0) {
            return false;
        }
    }
    return true;
}

constexpr int kWindowW = 1080;
constexpr int kWindowH = 720;
constexpr const char* kFontPath = "images/slkscr.ttf";
constexpr int kPointSize = 30;
constexpr int kOutline = 2;
constexpr SDL_Color kHudColor{26, 142, 0, 0};
constexpr SDL_Color kOutlineColor{24, 14, 6, 255};
constexpr SDL_Color kSand{242, 196, 111, 255};
constexpr double kPassesPerSecond = 60.0;

// The HUD at level 3 before anything is counted, where the play frame puts it (the health is the
// bench's hero's, who must outlive six outlaws).
struct HudLine {
    const char* text;
    int y;
};
constexpr HudLine kLines[] = {
    {"Health: 1000000", 20}, {"Enemies killed: 0/6", 50}, {"Bulls collected: 0/6", 80}, {"Score: 0", 110}};
constexpr int kHudX = 20;

// One outlined line as the game makes it: the edge from the font grown by kOutline, the letters
// blitted on top, one texture.
SDL_Texture* outlinedLine(SDL_Renderer* renderer, TTF_Font* font, TTF_Font* edgeFont, const char* text) {
    SDL_Surface* edge = TTF_RenderUTF8_Solid(edgeFont, text, kOutlineColor);
    SDL_Surface* letters = TTF_RenderUTF8_Solid(font, text, kHudColor);
    SDL_Surface* line = edge != nullptr ? SDL_ConvertSurfaceFormat(edge, SDL_PIXELFORMAT_ARGB8888, 0) : nullptr;
    SDL_Texture* texture = nullptr;
    if (line != nullptr && letters != nullptr) {
        SDL_Rect at{kOutline, kOutline, letters->w, letters->h};
        SDL_BlitSurface(letters, nullptr, line, &at);
        texture = SDL_CreateTextureFromSurface(renderer, line);
    }
    SDL_FreeSurface(line);
    SDL_FreeSurface(letters);
    SDL_FreeSurface(edge);
    return texture;
}

// The game's pacing: wait out what is left of this pass's 1/60 s; after a stall count afresh.
void endPass(Uint64& deadline) {
    const Uint64 frequency = SDL_GetPerformanceFrequency();
    const Uint64 period = static_cast<Uint64>(static_cast<double>(frequency) / kPassesPerSecond);
    const Uint64 now = SDL_GetPerformanceCounter();
    if (deadline == 0 || now > deadline + period) {
        deadline = now + period;
        return;
    }
    if (now < deadline) {
        const Uint64 waitMs = (deadline - now) * 1000 / frequency;
        if (waitMs > 0) {
            SDL_Delay(static_cast<Uint32>(waitMs));
        }
    }
    deadline += period;
}

// The pass counter, shared with whoever reads FRAMES_FILE.
volatile std::uint64_t* mapCounter(const char* path) {
    const int fd = open(path, O_RDWR | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ftruncate(fd, sizeof(std::uint64_t)) != 0) {
        return nullptr;
    }
    void* mapped = mmap(nullptr, sizeof(std::uint64_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    close(fd);
    return mapped == MAP_FAILED ? nullptr : static_cast<volatile std::uint64_t*>(mapped);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: floor_loop FRAMES_FILE\n");
        return 2;
    }
    volatile std::uint64_t* frames = mapCounter(argv[1]);
    if (frames == nullptr) {
        std::fprintf(stderr, "floor_loop: cannot keep the pass count in %s\n", argv[1]);
        return 1;
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || TTF_Init() != 0) {
        std::fprintf(stderr, "floor_loop: SDL could not start: %s\n", SDL_GetError());
        return 1;
    }
    // Without a display SDL falls back to a driver that shows nothing: that is no floor.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || SDL_strcmp(driver, "x11") != 0) {
        std::fprintf(stderr, "floor_loop: SDL took the %s video driver, not a window on the X display\n",
                     driver != nullptr ? driver : "no");
        return 1;
    }
    // The game's window and renderer, chosen as the game chooses them: SDL's software renderer
    // straight to the window when OpenGL would be drawn by the processor, else a resizable
    // OpenGL window, accelerated with vsync; the picture's logical size, the sand clear colour.
    // SDL_RENDER_DRIVER=opengl gives the OpenGL floor anyway.
    const char* named = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
    const bool software = (named == nullptr || *named == '\0') && openGLInSoftware();
    if (software) {
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    }
    SDL_Window* window = SDL_CreateWindow("Bramblehoof floor", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWindowW,
                                          kWindowH, SDL_WINDOW_RESIZABLE | (software ? 0 : SDL_WINDOW_OPENGL));
    SDL_Renderer* renderer =
        window == nullptr
            ? nullptr
            : SDL_CreateRenderer(
                  window, -1, software ? SDL_RENDERER_SOFTWARE : SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    TTF_Font* font = TTF_OpenFont(kFontPath, kPointSize);
    TTF_Font* edgeFont = TTF_OpenFont(kFontPath, kPointSize);
    if (renderer == nullptr || font == nullptr || edgeFont == nullptr) {
        std::fprintf(stderr, "floor_loop: no window, renderer or font: %s\n", SDL_GetError());
        return 1;
    }
    TTF_SetFontOutline(edgeFont, kOutline);
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) == 0) {
        std::fprintf(stderr, "floor_loop: renderer %s%s, %s video\n", info.name,
                     (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0 ? " with vsync" : "", SDL_GetCurrentVideoDriver());
    }
    SDL_RenderSetLogicalSize(renderer, kWindowW, kWindowH);
    SDL_SetRenderDrawColor(renderer, kSand.r, kSand.g, kSand.b, kSand.a);

    constexpr int kCount = sizeof kLines / sizeof kLines[0];
    SDL_Texture* lines[kCount] = {};
    SDL_Rect places[kCount] = {};
    for (int i = 0; i < kCount; ++i) {
        lines[i] = outlinedLine(renderer, font, edgeFont, kLines[i].text);
        places[i] = SDL_Rect{kHudX - kOutline, kLines[i].y - kOutline, 0, 0};
        SDL_QueryTexture(lines[i], nullptr, nullptr, &places[i].w, &places[i].h);
    }

    Uint64 deadline = 0;
    bool running = true;
    while (running) {
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) {
            running = running && event.type != SDL_QUIT;
        }
        SDL_RenderClear(renderer);
        for (int i = 0; i < kCount; ++i) {
            SDL_RenderCopy(renderer, lines[i], nullptr, &places[i]);
        }
        SDL_RenderPresent(renderer);
        *frames = *frames + 1;
        endPass(deadline);
    }
    std::printf("%llu\n", static_cast<unsigned long long>(*frames));

    for (SDL_Texture* line : lines) {
        SDL_DestroyTexture(line);
    }
    TTF_CloseFont(edgeFont);
    TTF_CloseFont(font);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    TTF_Quit();
    SDL_Quit();
    return 0;
}
