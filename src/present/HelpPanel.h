#pragma once

#include "input/KeyBindings.h"
#include "present/Screen.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <string>
#include <vector>

// How to play: the controls and the aim of the game in a small panel at the bottom of the play
// picture. Its lines are rendered once at start-up, so showing it costs a few copies per frame.
class HelpPanel : public Screen {
public:
    static constexpr int kPointSize = 15;      // half the game's text size: six lines fit low down
    static constexpr int kShownFrames = 360;   // 6 s at 60 frames a second
    static constexpr int kFadeFrames = 60;     // its last second fades out
    static constexpr int kPadding = 12;        // between the panel's edge and its lines
    static constexpr int kLineGap = 6;         // between two lines
    static constexpr int kBottomMargin = 12;   // between the panel and the picture's bottom edge
    static constexpr Uint8 kPanelAlpha = 200;  // as the cards' panels

    HelpPanel() = default;
    HelpPanel(const HelpPanel&) = delete;
    HelpPanel& operator=(const HelpPanel&) = delete;
    ~HelpPanel();

    // The controls (the player's keys, the mouse, the pad) and what to do, one entry a line.
    // With pad, the pad's buttons come first and the keyboard is the line aside.
    static std::vector<std::string> linesFor(const KeyBindings& keys, bool pad = false);
    // How opaque the panel is with `framesLeft` of its time to go: full, then fading to nothing.
    static Uint8 alphaFor(int framesLeft);

    // Opens the small font and renders the lines; without the font the panel stays empty.
    void open(SDL_Renderer* renderer, const char* fontPath, const std::vector<std::string>& lines);
    // New lines (the controls changed, or the device in use), the font kept.
    void setLines(SDL_Renderer* renderer, const std::vector<std::string>& lines);
    void close();
    // The small font, for other panels that show the same lines; null when not open.
    TTF_Font* smallFont() const { return font; }
    // The lines the panel shows.
    const std::vector<std::string>& text() const { return shown; }
    // Shown for its whole time from now (a new game, F1), or not at all.
    void show() { framesLeft = kShownFrames; }
    void hide() { framesLeft = 0; }
    bool showing() const { return framesLeft > 0; }

    // The help key (F1) shows it again.
    void take(const SDL_Event& event) override;
    const KeyBindings* bindings = nullptr;  // the player's keys; the defaults when unset
    // One frame of its time gone.
    void step() override;
    // Over the frame while it is due, fading out at its end.
    void draw(SDL_Renderer* renderer) const override;
    void draw(SDL_Renderer* renderer, Uint8 alpha) const;

private:
    TTF_Font* font = nullptr;            // the game's font at kPointSize, the cache's
    std::vector<std::string> shown;      // the lines, as given to open
    std::vector<SDL_Texture*> rendered;  // one texture a line
    int framesLeft = 0;                  // frames it still shows
};
