#pragma once

#include "input/KeyBindings.h"
#include "present/ChoicePanel.h"
#include "present/Screen.h"
#include "present/Services.h"
#include "present/Texts.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <functional>
#include <string>

// The controls: each of the hero's actions with its keys and pad buttons. Choosing an action
// (Enter, a click, pad A) waits for the key or button to give it; a key or button the game keeps,
// or one serving another action, is refused with a line saying why. A row puts every control
// back as a fresh game has them; Back (Escape, pad B) returns.
class ControlsScreen : public Screen {
public:
    // In the 1080 by 720 picture, under the menu's title.
    static constexpr SDL_Rect kPanel{140, ChoicePanel::kTop + 4, 800, 580};
    static constexpr int kRowHeight = 52;
    static constexpr std::size_t kResetRow = KeyBindings::kActions;
    static constexpr std::size_t kBackRow = kResetRow + 1;
    static constexpr Texts::Ref kTitle{Texts::Id::ControlsTitle};
    static constexpr Texts::Ref kReset{Texts::Id::ControlsReset};
    static constexpr Texts::Ref kBack{Texts::Id::ControlsBack};
    static constexpr Texts::Ref kHint{Texts::Id::ControlsHint};
    static constexpr Texts::Ref kWaiting{Texts::Id::ControlsWaiting};
    static constexpr int kCrossSize = 18;  // the cross before a refused press's line
    static constexpr int kCrossGap = 10;
    static constexpr int kFrameGap = 6;  // the cross stays this far inside the panel

    // Called after the bindings changed, so their owner uses and keeps them.
    std::function<void()> changed;

    // The game's controls screen, on the player's keys: a change is heard by how to play at once
    // and written when the screen closes.
    static std::unique_ptr<ControlsScreen> forGame(Services& services);
    // Opens on the first action; the fonts and the bindings are the caller's and outlive its use.
    void open(TTF_Font* font, TTF_Font* smallFont, KeyBindings& bindings);

    void take(const SDL_Event& event) override;
    void draw(SDL_Renderer* renderer) const override;
    bool isPanel() const override { return true; }
    bool done() const override { return leaving; }

    std::size_t chosen() const { return selected; }
    // Waiting for the press that gives the chosen action its key or button.
    bool waiting() const { return listening; }
    // What the last press did: "Up: I", or why it was refused.
    const std::string& message() const { return said; }

    // The cross that marks a refused press, its top left at (x, y).
    static void drawCross(SDL_Renderer* renderer, int x, int y);

private:
    // One event, as take() has it.
    void takeOne(const SDL_Event& event);
    // Gives the chosen action the key or button of a press, while waiting.
    void takeBinding(const SDL_Event& event);
    void activate();
    std::size_t rowAt(int x, int y) const;

    // After the bindings changed: told to the game's services and to changed.
    void heed();

    KeyBindings* bindings = nullptr;
    Services* services = nullptr;  // the game's, when made by forGame
    std::size_t selected = 0;      // an action, kResetRow or kBackRow
    bool listening = false;
    bool leaving = false;
    std::string said;
    TTF_Font* font = nullptr;
    TTF_Font* smallFont = nullptr;
};
