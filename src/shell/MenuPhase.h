#pragma once

#include "present/Button.h"
#include "present/Menu.h"
#include "present/MenuRedraw.h"
#include "present/ScoreBoard.h"
#include "present/Sound.h"
#include "present/Text.h"
#include "present/Texts.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The menu: its texts and where they stand, the score board it toggles, and one pass of it, in
// which `Button::clickOn` takes one event. Its texts live as long as the process; what one menu
// shows (the board, the focus, the cursor's blink) starts afresh with every run.
class MenuPhase {
public:
    static constexpr int kMenuTexts = 5;
    static constexpr int kNameItem = 0;
    static constexpr int kReplayItem = 1;
    static constexpr int kResumeItem = 3;
    static constexpr Uint8 kDimmedAlpha = 80;            // an item with nothing to act on shows faintly
    static constexpr Uint8 kStrikeAlpha = kDimmedAlpha;  // and struck through, as faint as its letters
    static constexpr int kStrikeH = 3;
    static constexpr int kStrikeOver = 6;       // the bar reaches past the label on each side
    static constexpr int kNameLineOffset = 50;  // the name line stands 50 pixels below NEW GAME
    static constexpr int kSignRight = 760;      // the menu sign's writing ends here: a name stops before it

    // Texts: the name field and the four items.
    std::array<std::unique_ptr<Text>, kMenuTexts> menuTexts;
    std::vector<SDL_Rect> menuPositions;  // where each clickable menu item is
    std::vector<SDL_Rect> menuSizes;      // how large each clickable menu item is
    ScoreBoard scoreBoard;                // the best runs, shown on the menu on demand
    std::string watchAsked;               // a board row's recording, clicked to be watched
    MenuRedraw menuRedraw;                // whether a menu pass has anything new to show
    bool open = true;                     // the menu phase goes on
    bool lastRunNotSaved = false;         // the run before this menu could not be written: it says so
    static constexpr Texts::Ref kNotSaved{Texts::Id::MenuNotSaved};
    static constexpr int kNoteY = 680;   // the note's top, on the sand at the picture's foot
    static constexpr int kNoteGap = 40;  // between the notes' tops
    bool padHint = false;                // the pad was used last: the menu says how to type a name with it
    TTF_Font* smallFont = nullptr;       // the board's line on how to close it; none without it
    static constexpr Texts::Ref kBoardClose{Texts::Id::BoardClose};
    static constexpr Texts::Ref kBoardPadClose{Texts::Id::BoardPadClose};
    static constexpr int kBoardMargin = 14;  // the line's room from the board's edges
    static constexpr Texts::Ref kPadHint{Texts::Id::MenuPadHint};
    static constexpr Texts::Ref kOptionsLabel{Texts::Id::MenuOptions};
    static constexpr Texts::Ref kQuitLabel{Texts::Id::MenuQuit};
    static constexpr int kLowerRowY = 474;  // below the sign, between its posts
    static constexpr int kLowerGap = 70;    // between OPTIONS and QUIT
    // The room between the sign's posts in the background picture: a longer label (OPTIONEN,
    // OPCIONES) moves the pair, then narrows the gap, rather than run onto a post.
    static constexpr int kPostsInnerLeft = 400;
    static constexpr int kPostsInnerRight = 720;
    static constexpr int kLowerMinGap = 30;
    // Items drawn dimmed: REPLAY without a recorded run (a click on it still replays nothing, as
    // it always did), RESUME when the saved game cannot be resumed. Decided when the menu opens;
    // RESUME is judged again when chosen, and then starts nothing if it cannot be resumed.
    std::array<bool, kMenuTexts> dimmed{};
    // Why RESUME, chosen on this menu, started nothing; drawn above the notes at the foot.
    std::optional<Texts::Id> resumeNote;

    // Start-up in its three steps, each where start-up takes it: the text objects, their fonts,
    // then the items' pictures, places and the empty name line.
    void makeTexts();
    void initTexts();
    void layOut(Button& button);
    // A fresh menu for a new run: nothing shown yet, the board closed, the items with nothing
    // behind them dimmed.
    void reset();
    // RESUME chosen: true, with the note and a line on stderr saying why, when the saved game
    // cannot be resumed after all; RESUME is then drawn faint until the next menu.
    bool refuseResume();
    // Frees the labels made by layOut, before the renderer goes.
    void release();
    // One pass of an open menu, told whether an event waits: the picture when something is new,
    // and the one event the button takes. The caller pumps the input and paces.
    void pass(Menu& menu, Button& button, Sound& sound, bool eventWaiting);
    // The picture the first pass of a fresh menu shows, drawn and presented without taking an
    // event: start-up shows it before it loads what only play needs.
    void showFirst(Menu& menu, Button& button, bool muted);

    // Where an entry's label is drawn (SCORE BOARD to NEW GAME, OPTIONS, QUIT): what its highlight
    // surrounds.
    SDL_Rect labelBox(std::size_t entry) const;

private:
    // Everything over the menu's background, with `line` on the name line, then the present.
    void drawOver(Menu& menu, Button& button, const std::string& line, bool muted);
    // A bar across a faint item's label.
    static void strikeThrough(const SDL_Rect& label);

    // OPTIONS and QUIT, their pictures and places, in the language spoken now.
    void layOutLower();
    // RESUME shown faint, or lit, and the button told so.
    void shutResume(bool shut);

    Button* chooser = nullptr;                         // the menu's button, from layOut
    SDL_Texture* lowerLabels[2] = {nullptr, nullptr};  // OPTIONS and QUIT
    SDL_Rect lowerAt[2] = {};                          // where they are drawn
    int lowerLanguage = -1;                            // the language generation they were made in
};
