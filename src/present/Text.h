#pragma once

#include "present/Render.h"

#include <SDL_ttf.h>

#include <functional>
#include <string>

// One line of text: rendered to a texture, drawn, and released again, every pass.
class Text : public Render {
public:
    static constexpr const char* kFontPath = "images/slkscr.ttf";  // the game's one font
    static constexpr int kPointSize = 30;
    static constexpr SDL_Color kHudColor{26, 142, 0, 0};       // HUD lines
    static constexpr SDL_Color kMenuColor{24, 0, 0, 170};      // menu items and the name line
    static constexpr SDL_Color kOutlineColor{24, 14, 6, 255};  // dark edge that reads on sand and walls
    static constexpr int kOutline = 2;                         // pixels of edge around each letter of an outlined line
    static constexpr int kCursorGap = 3;                       // between the last letter and the cursor
    static constexpr int kCursorWidth = 3;                     // thick enough to see, thin enough to read as a cursor

    TTF_Font* font = nullptr;            // the cache's (FontCache), set by init or openAt
    SDL_Color color{0, 0, 0, 0};         // colour of every string this object renders
    SDL_Surface* textSurface = nullptr;  // surface of the last rendered string, or null
    SDL_Texture* textTexture = nullptr;  // texture of the last rendered string, or null
    // HUD lines: SetText draws a dark edge around the letters and keeps the texture while the
    // string stays the same, so the edge costs nothing in a frame whose numbers did not change.
    bool outlined = false;
    int pointSize = kPointSize;  // the size font (and the edge's font) is opened at

    // Told every string made into a texture for the screen, as it is made; unset, nothing is told.
    // Class-wide, as lineTexture is: tests check with it that every text shown is in Texts.
    static std::function<void(const std::string&)> onRender;

    Text();
    ~Text();

    void init();
    // Opens the game's font at size for a line of its own (a banner, an extra HUD line), outlined
    // and placed as init places it; unlike init it writes nothing, and it leaves the HUD's
    // colour. False without the font.
    bool openAt(int size);
    void Create(int dy);
    SDL_Rect getPos(int dy);
    SDL_Texture* SetText(std::string base, int a, int b, int withB);
    // The line s as SetText shows its string: outlined and kept while it stays the same, or plain.
    SDL_Texture* showLine(const std::string& s);
    SDL_Texture* PrintButton(std::string label);
    SDL_Texture* showInput(std::string line);
    void display(SDL_Texture* tex, SDL_Rect where);
    void freeALL();
    void delText();
    // Lists the players file on standard output as Player::GetAll does, moving pos down 50 pixels
    // per record from x = 20; it draws nothing.
    void showScore(const std::string& playersPath);
    // A texture of text (UTF-8) in font and colour, owned by the caller; null for empty text or
    // without a font or renderer. Its clear pixels carry the colour too, so a smoothed drawing
    // fades the letters' edges instead of darkening them.
    static SDL_Texture* lineTexture(SDL_Renderer* renderer, TTF_Font* font, const std::string& text, SDL_Color colour);
    // Draws one line at once at x, y (its left edge, or its centre when centred); its width, or 0
    // when nothing was drawn.
    static int drawLine(SDL_Renderer* renderer, TTF_Font* font, const std::string& text, int x, int y, bool centred,
                        SDL_Color colour);
    // Readies a text texture for a drawing `magnified` times its size in the picture: smoothed
    // when the window shows the picture smaller than that, so thin strokes fade instead of
    // dropping out; sharp otherwise, as a pixel font should be.
    static void fitToWindow(SDL_Renderer* renderer, SDL_Texture* texture, float magnified = 1.0f);
    // Width in pixels of s (UTF-8) in this object's font; 0 without a font.
    int widthOf(const std::string& s) const;
    // The text cursor just after s as drawn at where: an upright bar in this object's colour.
    void drawCursor(const std::string& s, SDL_Rect where);
    // The string the outlined texture now shows; empty when there is none.
    const std::string& keptText() const { return keptLine; }

private:
    // Renders s (UTF-8) in this object's font and colour into textSurface and textTexture.
    // A line measured but never shown (init's) is not told to onRender.
    void renderLine(const std::string& s, bool shown = true);
    void measure();
    // Makes kept show s with its edge; kept stays null when that fails.
    void renderOutlined(const std::string& s);
    void releaseKept();

    TTF_Font* edgeFont = nullptr;  // the font grown by kOutline, opened on the first outlined line
    SDL_Texture* kept = nullptr;   // the outlined line last made, drawn until its string changes
    std::string keptLine;          // the string kept shows
    // The last width asked for: the HUD asks the same one twice a frame, and shaping a line is
    // dearer than drawing it.
    mutable TTF_Font* measuredFont = nullptr;
    mutable std::string measuredLine;
    mutable int measuredW = 0;
};
