// Starts a command and says how long after its start one pixel of the X screen first shows a
// given colour (the menu's picture, for bench/startup.sh); then ends the command with SIGTERM.
// Usage: menu_on_screen [-k] X Y RRGGBB TIMEOUT_SECONDS COMMAND [ARGS...]
// Prints the seconds on standard output (the command's own goes to /dev/null); exits 1 when the colour never came.
// With -k the command may end first (a click sent by xdotool, for bench/new_game.sh) and is not killed.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double secondsSince(const timespec& start) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec - start.tv_sec) + static_cast<double>(now.tv_nsec - start.tv_nsec) / 1e9;
}

// The colour of one root pixel as 0xRRGGBB (a 24-bit TrueColor screen, as Xvfb's here).
unsigned long pixelAt(Display* display, Window root, int x, int y) {
    XImage* image = XGetImage(display, root, x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) {
        return ~0UL;
    }
    const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFFUL;
    XDestroyImage(image);
    return pixel;
}

}  // namespace

int main(int argc, char** argv) {
    const bool mayEnd = argc > 1 && std::string(argv[1]) == "-k";
    if (mayEnd) {
        --argc;
        ++argv;
    }
    if (argc < 6) {
        std::fprintf(stderr, "usage: menu_on_screen [-k] X Y RRGGBB TIMEOUT_SECONDS COMMAND [ARGS...]\n");
        return 2;
    }
    const int x = std::atoi(argv[1]);
    const int y = std::atoi(argv[2]);
    const unsigned long wanted = std::strtoul(argv[3], nullptr, 16);
    const double timeout = std::atof(argv[4]);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "menu_on_screen: no X display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);

    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    const pid_t child = fork();
    if (child == 0) {
        // The game's trace is not ours to print.
        const int quiet = open("/dev/null", O_WRONLY);
        if (quiet >= 0) {
            dup2(quiet, STDOUT_FILENO);
        }
        execvp(argv[5], argv + 5);
        std::perror("menu_on_screen: exec");
        _exit(127);
    }
    double seen = -1.0;
    bool ended = false;
    while (seen < 0.0 && secondsSince(start) < timeout) {
        if (pixelAt(display, root, x, y) == wanted) {
            seen = secondsSince(start);
            break;
        }
        if (!ended && waitpid(child, nullptr, WNOHANG) == child) {
            ended = true;
            if (mayEnd) {
                continue;
            }
            std::fprintf(stderr, "menu_on_screen: the command ended first\n");
            XCloseDisplay(display);
            return 1;
        }
        usleep(2000);
    }
    if (!ended) {
        kill(child, SIGTERM);
        waitpid(child, nullptr, 0);
    }
    XCloseDisplay(display);
    if (seen < 0.0) {
        std::fprintf(stderr, "menu_on_screen: pixel %d,%d never showed %06lx\n", x, y, wanted);
        return 1;
    }
    std::printf("%.3f\n", seen);
    return 0;
}
