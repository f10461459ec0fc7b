// Paints every picture the game loads and writes them as PNG files into the folder given as the
// first argument (normally the repository's images/ folder), the window's icon among them. With a
// second folder, also paints the desktop icon there as bramblehoof-SIZE.png at each size the
// install needs.

#include "pictures/ArrowPainter.h"
#include "pictures/BullPainter.h"
#include "pictures/Canvas.h"
#include "pictures/EnemyPainter.h"
#include "pictures/FarmPainter.h"
#include "pictures/GroundPainter.h"
#include "pictures/HeroPainter.h"
#include "pictures/IconPainter.h"
#include "pictures/MenuPainter.h"
#include "pictures/SpriteSheet.h"

#include <SDL_image.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>
#include <sys/stat.h>

namespace {
// Makes `path` as a folder unless it already is one.
bool makeFolder(const std::string& path, std::string& error) {
    if (mkdir(path.c_str(), 0755) == 0 || errno == EEXIST) {
        struct stat info;
        if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
            return true;
        }
        error = path + " exists and is not a folder";
        return false;
    }
    error = "cannot make " + path + ": " + std::strerror(errno);
    return false;
}

bool save(const Canvas& picture, const std::string& path) {
    std::string error;
    if (!picture.savePng(path, error)) {
        std::cerr << "make_pictures: " << error << "\n";
        return false;
    }
    return true;
}
}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2 || argc > 3 || argv[1][0] == '\0' || (argc == 3 && argv[2][0] == '\0')) {
        std::cerr << "usage: make_pictures OUTPUT_FOLDER [ICON_FOLDER]\n";
        return 2;
    }
    const std::string out = argv[1];
    std::string error;
    if (!makeFolder(out, error) || !makeFolder(out + "/sprites", error)) {
        std::cerr << "make_pictures: " << error << "\n";
        return 1;
    }
    // Writing PNG files needs no window or video driver, only SDL2_image's encoder.
    if ((IMG_Init(IMG_INIT_PNG) & IMG_INIT_PNG) == 0) {
        std::cerr << "make_pictures: IMG_Init: " << IMG_GetError() << "\n";
        return 1;
    }
    bool ok = save(SpriteSheet::paint(HeroPainter()), out + "/sprites/hero2.png") &&
              save(SpriteSheet::paint(EnemyPainter()), out + "/sprites/enemy2.png") &&
              save(BullPainter::paint(0), out + "/sprites/bull.png") &&
              save(BullPainter::paint(1), out + "/sprites/bull2.png") &&
              save(FarmPainter::paint(), out + "/farm.png") && save(ArrowPainter::paint(), out + "/arrow.png") &&
              save(MenuPainter::paint(), out + "/images.png") && save(GroundPainter::paint(), out + "/ground.png") &&
              save(IconPainter::paint(IconPainter::kWindowSize), out + "/icon.png");
    if (ok && argc == 3) {
        const std::string icons = argv[2];
        ok = makeFolder(icons, error);
        if (!ok) {
            std::cerr << "make_pictures: " << error << "\n";
        }
        for (int size : IconPainter::kSizes) {
            ok = ok && save(IconPainter::paint(size), icons + "/bramblehoof-" + std::to_string(size) + ".png");
        }
    }
    IMG_Quit();
    return ok ? 0 : 1;
}
