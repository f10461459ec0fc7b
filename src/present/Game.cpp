#include "present/Game.h"

#include "persist/FileIO.h"

#include <SDL_image.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>

namespace {

// SDL picks these by itself when there is no display; they accept input from nobody.
bool showsNothing(const char* driver) {
    return driver != nullptr && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

bool driverRequested(const char* driver) {
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    return asked != nullptr && driver != nullptr && std::strstr(asked, driver) != nullptr;
}

}  // namespace

Game::Game() {
    camX = 0;
    camY = 0;
    texture = nullptr;
}

Game::~Game() = default;

void Game::init(const char* title, int x, int y, int w, int h, bool fullscreen) {
    problem.clear();
    // SDL reads the class from its environment only (not from a hint) when video starts; a class
    // the user set stays.
    SDL_setenv("SDL_VIDEO_X11_WMCLASS", kWindowClass, 0);
    SDL_setenv("SDL_VIDEO_WAYLAND_WMCLASS", kWindowClass, 0);
    // Sound is not worth missing the game for: without it, the game plays silently.
    if (SDL_Init(SDL_INIT_EVERYTHING) != 0 && SDL_Init(SDL_INIT_EVERYTHING & ~SDL_INIT_AUDIO) != 0) {
        problem = std::string("SDL could not start: ") + SDL_GetError();
        isRunning = false;
        return;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (showsNothing(driver) && !driverRequested(driver)) {
        problem = std::string("no display to show the window on (SDL fell back to the ") + driver +
                  " video driver); set DISPLAY or run under xvfb-run";
        SDL_Quit();
        isRunning = false;
        return;
    }
    std::cout << "Inited" << std::endl;
    // Every input step takes exactly one pending event; SDL's end-of-poll marker would make a
    // step now and then see none although one is queued.
    SDL_EventState(SDL_POLLSENTINEL, SDL_DISABLE);

    // A renderer the player names (SDL_RENDER_DRIVER) is SDL's to pick.
    const char* named = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
    const bool software = (named == nullptr || *named == '\0') && openGLInSoftware();
    if (software) {
        // The window's picture goes to the display as it is (shared memory on X11), not through
        // an OpenGL texture, which would load OpenGL after all.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    }
    // Resizable: the picture keeps its 1080 by 720 layout and is scaled to fit (see below).
    const Uint32 flags = SDL_WINDOW_RESIZABLE | (fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    // The accelerated renderer is OpenGL's: a window made without OpenGL would be destroyed and
    // made again when the renderer starts, and whoever found the first one (a desktop, a test)
    // would lose it. Without OpenGL (no display driver for it) a plain window serves.
    window = software ? nullptr : SDL_CreateWindow(title, x, y, w, h, flags | SDL_WINDOW_OPENGL);
    if (window == nullptr) {
        window = SDL_CreateWindow(title, x, y, w, h, flags);
    }
    if (window != nullptr) {
        std::cout << "Window created" << std::endl;
        // Without it the task bar shows a generic icon; the game plays on without one.
        if (SDL_Surface* icon = IMG_Load(kIconPath)) {
            SDL_SetWindowIcon(window, icon);
            SDL_FreeSurface(icon);
        }
    }
    renderer = createRender(window, software);
    if (renderer != nullptr) {
        atlas = std::make_unique<Atlas>(renderer);
        SDL_RendererInfo info;
        vsync = SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0 &&
                (info.flags & SDL_RENDERER_SOFTWARE) == 0;
        // Every position stays in 1080 by 720 pixels at any window size: SDL scales the picture to
        // fit, keeps its 3:2 shape with bars, and maps mouse positions back.
        SDL_RenderSetLogicalSize(renderer, kWindowW, kWindowH);
        SDL_SetRenderDrawColor(renderer, kSand.r, kSand.g, kSand.b, kSand.a);
        SDL_RenderPresent(renderer);
        // The software renderer scales each drawing on the processor: in a window larger than
        // the picture it draws the picture at its size and scales it once (SceneTarget).
        scene.reset();
        if (scalesOnProcessor(renderer)) {
            scene = std::make_unique<SceneTarget>(renderer);
            scene->follow();
        }
        std::cout << "Render created" << std::endl;
    }
    isRunning = true;
}

bool Game::openGLInSoftware(const std::string& deviceFolder, const std::string& nvidiaDevice) {
    const char* forced = std::getenv("LIBGL_ALWAYS_SOFTWARE");
    if (forced != nullptr && *forced != '\0' && std::strcmp(forced, "0") != 0) {
        return true;
    }
    std::error_code failed;
    if (std::filesystem::exists(nvidiaDevice, failed)) {
        return false;
    }
    for (std::filesystem::directory_iterator entry(deviceFolder, failed), end; !failed && entry != end;
         entry.increment(failed)) {
        const std::string name = entry->path().filename().string();
        if (name.rfind("card", 0) == 0 || name.rfind("renderD", 0) == 0) {
            return false;
        }
    }
    return true;
}

void Game::applyWindowKeys(Input& input) {
    if (input.take(Input::Command::Fullscreen) && window != nullptr) {
        setFullscreen(!isFullscreen());
    }
}

void Game::setFullscreen(bool on) {
    if (window == nullptr || on == isFullscreen()) {
        return;
    }
    if (on) {
        SDL_GetWindowSize(window, &windowedW, &windowedH);
    }
    if (SDL_SetWindowFullscreen(window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        FileIO::report(std::string("fullscreen could not be switched: ") + SDL_GetError());
    } else if (!on && windowedW > 0 && windowedH > 0) {
        // Without a window manager nobody reports the window's old size back, and the picture
        // would stay laid out for the whole screen: say it ourselves.
        SDL_SetWindowSize(window, windowedW, windowedH);
    }
    FileIO::report(std::string("fullscreen ") + (isFullscreen() ? "on" : "off"));
}

bool Game::isFullscreen() const {
    return window != nullptr && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0;
}

SDL_Rect Game::calculate(SDL_Rect hero, bool, bool) {
    camX = hero.x + hero.w / 2 - kHalfW;
    camY = hero.y + hero.h / 2 - kHalfH;
    if (camX < 0) {
        camX = 0;
    } else if (camX > kMaxCamX) {
        camX = kMaxCamX;
    }
    if (camY < 0) {
        camY = 0;
    } else if (camY > kMaxCamY) {
        camY = kMaxCamY;
    }
    SDL_Rect cam{};
    cam.x = camX;
    cam.y = camY;
    return cam;
}

SDL_Rect Game::getPos() {
    SDL_Rect cam{};
    cam.x = camX;
    cam.y = camY;
    return cam;
}

void Game::update() {}

void Game::loadGround(const std::string& path) {
    releaseTexture();
    groundDetails.clear();
    SDL_Surface* loaded = IMG_Load(path.c_str());
    if (loaded == nullptr) {
        FileIO::report(std::string("no ground picture (") + SDL_GetError() + ")");
        return;
    }
    SDL_Surface* picture = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    if (picture == nullptr || renderer == nullptr) {
        SDL_FreeSurface(picture);
        return;
    }
    // Against the sand a clear leaves, not the colour the renderer was last set to: a menu drawn
    // before this would otherwise make every cell a detail.
    const Uint32 plain = SDL_MapRGBA(picture->format, kSand.r, kSand.g, kSand.b, kSand.a);
    const int columns = (picture->w + kGroundCell - 1) / kGroundCell;
    const int rows = (picture->h + kGroundCell - 1) / kGroundCell;
    std::vector<SDL_Rect> cells(static_cast<std::size_t>(columns) * rows, SDL_Rect{0, 0, 0, 0});
    // Every small cell's box around the pixels that differ from the clear colour...
    for (int y = 0; y < picture->h; ++y) {
        const Uint32* row =
            reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(picture->pixels) + y * picture->pitch);
        for (int x = 0; x < picture->w; ++x) {
            if (row[x] == plain) {
                continue;
            }
            SDL_Rect& box = cells[static_cast<std::size_t>(y / kGroundCell) * columns + x / kGroundCell];
            const SDL_Rect dot{x, y, 1, 1};
            if (box.w == 0) {
                box = dot;
            } else {
                SDL_UnionRect(&box, &dot, &box);
            }
        }
    }
    for (const SDL_Rect& box : cells) {
        if (box.w > 0) {
            groundDetails.push_back(box);
        }
    }
    // ...then neighbouring boxes joined wherever one drawing costs less than two: a drawing
    // costs about as much as copying kGroundMergeSlack pixels (once they come from the small
    // packed picture).
    for (bool joined = true; joined;) {
        joined = false;
        for (std::size_t i = 0; i < groundDetails.size(); ++i) {
            for (std::size_t j = i + 1; j < groundDetails.size(); ++j) {
                SDL_Rect both{};
                SDL_UnionRect(&groundDetails[i], &groundDetails[j], &both);
                const long apart = static_cast<long>(groundDetails[i].w) * groundDetails[i].h +
                                   static_cast<long>(groundDetails[j].w) * groundDetails[j].h;
                if (static_cast<long>(both.w) * both.h <= apart + kGroundMergeSlack) {
                    groundDetails[i] = both;
                    groundDetails.erase(groundDetails.begin() + static_cast<std::ptrdiff_t>(j));
                    joined = true;
                    --j;
                }
            }
        }
    }
    packGround(picture);
    SDL_FreeSurface(picture);
}

void Game::packGround(SDL_Surface* picture) {
    // The details are copied out of the world-sized picture into a small one, shelf by shelf,
    // tallest first. Drawn from the world-sized picture (12 MB), every row of a box was another
    // cache line from memory: a software driver took 16 ns a pixel, four times a HUD pixel.
    std::vector<std::size_t> order(groundDetails.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::stable_sort(order.begin(), order.end(),
                     [this](std::size_t a, std::size_t b) { return groundDetails[a].h > groundDetails[b].h; });
    int packedW = kGroundPackWidth;
    for (const SDL_Rect& box : groundDetails) {
        packedW = std::max(packedW, box.w);
    }
    groundSpots.assign(groundDetails.size(), SDL_Point{0, 0});
    int shelfX = 0;
    int shelfY = 0;
    int shelfH = 0;
    for (const std::size_t i : order) {
        const SDL_Rect& box = groundDetails[i];
        if (shelfX + box.w > packedW) {
            shelfY += shelfH;
            shelfX = 0;
            shelfH = 0;
        }
        groundSpots[i] = SDL_Point{shelfX, shelfY};
        shelfX += box.w;
        shelfH = std::max(shelfH, box.h);
    }
    const int packedH = shelfY + shelfH;
    if (packedH == 0) {
        return;  // no details: the clear colour is the whole ground
    }
    SDL_Surface* packed = SDL_CreateRGBSurfaceWithFormat(0, packedW, packedH, 32, SDL_PIXELFORMAT_ARGB8888);
    if (packed == nullptr) {
        groundDetails.clear();
        return;
    }
    SDL_SetSurfaceBlendMode(picture, SDL_BLENDMODE_NONE);  // the very pixels, alpha and all
    for (std::size_t i = 0; i < groundDetails.size(); ++i) {
        SDL_Rect from = groundDetails[i];
        SDL_Rect to{groundSpots[i].x, groundSpots[i].y, from.w, from.h};
        SDL_BlitSurface(picture, &from, packed, &to);
    }
    texture = SDL_CreateTextureFromSurface(renderer, packed);
    SDL_FreeSurface(packed);
    // Copied, not blended: the picture is opaque, and a plain copy is the cheapest draw there is.
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
}

void Game::drawGround(SDL_Rect cam) {
    if (texture == nullptr) {
        return;
    }
    const SDL_Rect view{cam.x, cam.y, kWindowW, kWindowH};
    for (std::size_t i = 0; i < groundDetails.size(); ++i) {
        const SDL_Rect& box = groundDetails[i];
        SDL_Rect shown{};
        if (SDL_IntersectRect(&box, &view, &shown) == SDL_TRUE) {
            const SDL_Rect from{groundSpots[i].x + shown.x - box.x, groundSpots[i].y + shown.y - box.y, shown.w,
                                shown.h};
            const SDL_Rect at{shown.x - cam.x, shown.y - cam.y, shown.w, shown.h};
            SDL_RenderCopy(renderer, texture, &from, &at);
        }
    }
    markDrawn();
}

void Game::clean() {
    atlas.reset();  // its texture goes before the renderer
    if (scene != nullptr) {
        scene->release();
        scene.reset();
    }
    SDL_DestroyWindow(window);
    window = nullptr;
    SDL_DestroyRenderer(renderer);
    renderer = nullptr;
    SDL_Quit();
    IMG_Quit();
    std::cout << "Game Cleaned" << std::endl;
}
