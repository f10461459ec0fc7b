#pragma once

#include "present/Render.h"

#include <SDL_ttf.h>

#include <string>

// One line of text: rendered to a texture, drawn, and released again, every pass.
class Text : public Render {
public:
    static constexpr const char* kFontPath = "images/slkscr.ttf";  // the game's one font
    static constexpr int kPointSize = 30;
    static constexpr SDL_Color kHudColor{26, 142, 0, 0};   // HUD lines
    static constexpr SDL_Color kMenuColor{24, 0, 0, 170};  // menu items and the name line

    TTF_Font* font = nullptr;             // opened by init, kept for the whole run
    SDL_Color color{0, 0, 0, 0};          // colour of every string this object renders
    SDL_Surface* textSurface = nullptr;   // surface of the last rendered string, or null
    SDL_Texture* textTexture = nullptr;   // texture of the last rendered string, or null

    Text();
    ~Text();

    void init();
    void Create(int dy);
    SDL_Rect getPos(int dy);
    SDL_Texture* SetText(std::string base, int a, int b, int withB);
    SDL_Texture* PrintButton(std::string label);
    SDL_Texture* showInput(std::string line);
    void display(SDL_Texture* tex, SDL_Rect where);
    void freeALL();
    void delText();
    // Lists the players file on standard output as Player::GetAll does, moving pos down 50 pixels
    // per record from x = 20; it draws nothing.
    void showScore(const std::string& playersPath);

private:
    // Renders s (UTF-8) in this object's font and colour into textSurface and textTexture.
    void renderLine(const std::string& s);
    void measure();
};
