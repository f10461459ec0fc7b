#include "present/Menu.h"

Menu::Menu() {
    rect = SDL_Rect{0, 0, 1080, 720};
    // Used as the source rectangle: the picture's top-left 720 by 1080 pixels fill the window.
    pos = SDL_Rect{0, 0, 720, 1080};
}

void Menu::StartNewGame() {
    releaseTexture();
    texture = LoadPNG(kPicture, renderer);
}
