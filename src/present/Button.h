#pragma once

#include "input/Input.h"
#include "present/Texts.h"

#include <SDL.h>

#include <functional>
#include <string>
#include <vector>

// The menu's input handler: one SDL event per call, name editing, and the clicks that choose
// the run mode.
class Button {
public:
    // Run modes kept in flag.
    static constexpr int kPlayback = 0;
    static constexpr int kPlay = 1;
    static constexpr int kReplayPending = 2;
    static constexpr int kResumePending = 5;
    // A players record holds 51 name bytes and a zero byte.
    static constexpr std::size_t kMaxNameBytes = 51;
    static constexpr Texts::Ref kPrompt{Texts::Id::NamePrompt};

    static int checkIs;   // 1 while the menu phase goes on
    static int flag;      // the run mode
    static int flagText;  // 1 once a name is being typed

    std::string inputText;    // the name typed so far, always whole UTF-8 characters
    bool showScores = false;  // SCORE BOARD toggled on: the menu shows the best runs
    // Whether a name still fits where the menu shows it; unset, any name within kMaxNameBytes does.
    std::function<bool(const std::string&)> fits;
    std::size_t focus = kNewGameEntry;  // the entry Enter or pad A chooses, shown highlighted
    bool firstMenu = true;              // the process's first menu; closing a later one says nothing
    bool optionsAsked = false;          // OPTIONS chosen: the menu shows the options, then goes on
    bool quitAsked = false;             // QUIT (or Escape, pad B) chosen: the process ends, no run
    bool nameAsked = false;             // pad Y: the letter grid, for a name typed with the pad alone
    // The name last played, offered on the empty name line until something is typed; taken only
    // when accepted (menu_right, the letter grid's OK).
    std::string offered;
    // RESUME cannot be resumed: it is drawn faint, and neither the keys nor the pointer move the
    // highlight onto it.
    bool resumeShut = false;
    // Asked when RESUME is chosen: true when the saved game cannot be resumed; nothing then starts
    // and the menu says why. Unset, RESUME always starts.
    std::function<bool()> refusesResume;
    // The pointer over the score board while it shows (a click when `click`): true when the board
    // took it (a click on a row that starts a watch). Unset, the board takes nothing.
    std::function<bool(int x, int y, bool click)> onBoard;
    // Up/Down (steps) or Enter (choose) while the score board shows: true when the board took it
    // (a row with a recording lit or watched). Unset, or with no such row, the items take them.
    std::function<bool(int steps, bool choose)> onBoardKey;
    Input* input = nullptr;                 // where its events come from; unset, straight from SDL's queue
    const KeyBindings* bindings = nullptr;  // the player's keys, as they change; the defaults when unset

    Button();

    // A menu opens for a new run: NEW GAME focused, the board hidden; `first` for the process's
    // first menu. The name typed stays.
    void startMenu(bool first);

    static bool isOnLoc(SDL_Rect at, SDL_Rect size, int x, int y);
    std::string clickOn(std::vector<SDL_Rect> positions, std::vector<SDL_Rect> sizes);
    std::string getInputText();

    // Appends typed text, cut at a character boundary so the name stays within kMaxNameBytes and,
    // character by character, within what fits.
    void appendText(const std::string& typed);
    // Typed text, as a keyboard types it: from now on the name line shows the name, not the prompt.
    void type(const std::string& typed);
    // Takes the offered name as if typed, while nothing has been; true when it did.
    bool takeOffered();
    // Whether the name line offers a name now.
    bool offering() const { return flagText == 0 && !offered.empty(); }
    // Removes the last whole UTF-8 character.
    void eraseLastCharacter();
    // Does what a click on one entry does: the same run mode, the same trace.
    void choose(std::size_t entry);
    // Back (Escape, pad B): closes the score board when it shows, else does what QUIT does.
    void back();
    // Moves the focus by steps items down the screen (negative: up), round the ends, passing a
    // shut RESUME by.
    void moveFocus(int steps);
    // The score board's rows take Up, Down and Enter while it shows a run to watch.
    bool boardTakes(KeyBindings::Command command, bool fresh);

    const KeyBindings& keys() const { return bindings != nullptr ? *bindings : KeyBindings::defaults(); }

    // Entries of the hit lists the menu phase passes to clickOn.
    static constexpr std::size_t kReplayEntry = 0;
    static constexpr std::size_t kNewGameEntry = 1;
    static constexpr std::size_t kResumeEntry = 2;
    static constexpr std::size_t kScoreBoardEntry = 3;
    static constexpr std::size_t kItems = 4;  // entries 0 to 3 are items; 4 is the name line
    // Below the sign, after the name line: hidden and out of reach while the score board shows.
    static constexpr std::size_t kOptionsEntry = 5;
    static constexpr std::size_t kQuitEntry = 6;
};
