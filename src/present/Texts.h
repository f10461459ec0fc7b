#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Every text the game shows on screen, one row each: its id, whether it is a whole line or a part
// filled into another row's placeholder, the English as shown, and a note for translators. A line
// built from numbers or names is one sentence with placeholders ({0}, {1}, ...) that format fills,
// so a translation may reorder them. Adding a text is one row here (then `make pot` and its
// translations in po/); Texts::text is the one place a translation is looked up. Not here: the console trace, messages on standard error, file
// contents, the settings file's names and the names SDL gives keys and buttons.
//
// The rows: X(id, kind, English, note).
#define BRAMBLEHOOF_TEXTS(X)                                                                                          \
    X(MenuReplay, Line, "REPLAY", "menu item: watch the last recorded run again")                                     \
    X(MenuNewGame, Line, "NEW GAME", "menu item: start a run")                                                        \
    X(MenuResume, Line, "RESUME", "menu item: go on with the saved run")                                              \
    X(MenuScoreBoard, Line, "SCORE BOARD", "menu item: show or hide the best runs")                                   \
    X(MenuOptions, Line, "OPTIONS", "menu item under the sign: the options screen")                                   \
    X(MenuQuit, Line, "QUIT", "menu item under the sign: end the game")                                               \
    X(NamePrompt, Line, "Enter your name", "menu name line before anything is typed; must fit the sign")              \
    X(MenuNotSaved, Line, "The last run could not be saved (see the terminal)",                                       \
      "menu note after a run whose files could not be written")                                                       \
    X(MenuResumeNone, Line, "No saved game to resume", "menu note after a click on RESUME with no saved game")        \
    X(MenuResumeOver, Line, "Nothing to resume: the saved run is over",                                               \
      "menu note after a click on RESUME when the saved hero had fallen")                                             \
    X(MenuResumeBroken, Line, "The saved game cannot be resumed (see the terminal)",                                  \
      "menu note after a click on RESUME when the saved game is damaged; the terminal says why")                      \
    X(MenuLastName, Line, "Right: play as {0}, or type a name",                                                       \
      "menu note while the name last played shows faintly on the empty name line; Right is a key; {0}: that name")    \
    X(MenuPadLastName, Line, "D-pad right: play as {0}",                                                              \
      "menu note with the pad in use while the name last played is offered; {0}: that name")                          \
    X(MenuPadHint, Line, "Y: type a name with the pad", "menu note while the pad is in use; Y is the pad's button")   \
    X(HudHealth, Line, "Health: {0}", "play, top left; {0}: the hero's health")                                       \
    X(HudEnemies, Line, "Enemies killed: {0}/{1}", "play; {0}: outlaws defeated, {1}: outlaws of the run")            \
    X(HudBulls, Line, "Bulls collected: {0}/{1}", "play; {0}: bulls collected, {1}: bulls of the run")                \
    X(HudScore, Line, "Score: {0}", "play; {0}: points")                                                              \
    X(HudLevel, Line, "Level: {0}", "play, top right; {0}: the level number")                                         \
    X(LevelBanner, Line, "LEVEL {0}", "large, across the field when a level starts; {0}: its number")                 \
    X(GhostAhead, Line, "{0} s ahead of your best", "under the level banner; {0}: seconds with one decimal, as 2.4")  \
    X(GhostBehind, Line, "{0} s behind your best", "under the level banner; {0}: seconds with one decimal, as 1.1")   \
    X(CardWon, Line, "YOU WIN", "result card title, drawn twice as large")                                            \
    X(CardDied, Line, "YOU DIED", "result card title, drawn twice as large")                                          \
    X(CardReplayOver, Line, "REPLAY OVER", "result card title after a replay, drawn twice as large")                  \
    X(CardPaused, Line, "PAUSED", "pause panel title, drawn twice as large")                                          \
    X(CardScore, Line, "Score: {0}   Level reached: {1}", "result card; {0}: points, {1}: the last level played")     \
    X(CardBestRun, Line, "The best run so far", "result card: the run tops the score board")                          \
    X(CardPlace, Line, "Place {0} among the best runs", "result card; {0}: the run's place on the board, 2 or more")  \
    X(CardNotPlaced, Line, "Not among the best {0} runs", "result card; {0}: how many runs the board lists")          \
    X(CardNotSaved, Line, "This run could not be saved (see the terminal)", "result card, small")                     \
    X(CardTimes, Line, "Time: {0}   Levels: {1}",                                                                     \
      "result card; {0}: the run's time as 3:05.2, {1}: each level's time joined by TimesJoin")                       \
    X(TimesJoin, Part, "{0} + {1}", "joins the levels' times on the result card; repeated for more")                  \
    X(CardChoices, Line, "Enter: play again   Esc: menu",                                                             \
      "result card; Enter and Esc are keys; both lead to the menu")                                                   \
    X(CardPadChoices, Line, "A: play again   B: menu", "result card with the pad in use; A and B are pad buttons")    \
    X(PauseChoices, Line, "Esc: continue   o: options   q: quit to menu",                                             \
      "pause panel; Esc, o and q are keys, o and q in lower case so that o never reads as a zero")                    \
    X(PadPauseChoices, Line, "A: continue   Y: options   B: quit to menu",                                            \
      "pause panel with the pad in use; A, Y and B are pad buttons")                                                  \
    X(HelpWalk, Line, "Walk: {0}   Stop walking: {1}", "help; {0}: the walking keys, {1}: the stop keys")             \
    X(HelpAttack, Line, "Attack: click   Pause: {0}   This help: F1", "help, no attack key; {0}: the pause keys")     \
    X(HelpAttackOr, Line, "Attack: click or {0}   Pause: {1}   This help: F1",                                        \
      "help; {0}: the attack keys, {1}: the pause keys")                                                              \
    X(HelpGamepad, Line, "Gamepad: stick or D-pad walks, Start pauses", "help, no attack button on the pad")          \
    X(HelpGamepadAttack, Line, "Gamepad: stick or D-pad walks, {0} attacks, Start pauses",                            \
      "help; {0}: the pad's attack buttons")                                                                          \
    X(HelpToggles, Line, "Mute: M   Fullscreen: F11", "help; M and F11 are keys")                                     \
    X(HelpStick, Line, "Walk: stick", "help with the pad in use, no walking buttons or stop button")                  \
    X(HelpStickOr, Line, "Walk: stick or {0}", "help with the pad in use; {0}: the walking buttons")                  \
    X(HelpStickStop, Line, "Walk: stick   Stop walking: {0}", "help with the pad in use; {0}: the stop buttons")      \
    X(HelpStickOrStop, Line, "Walk: stick or {0}   Stop walking: {1}",                                                \
      "help with the pad in use; {0}: the walking buttons, {1}: the stop buttons")                                    \
    X(HelpPadPause, Line, "Pause: Start", "help with the pad in use, no attack button; Start is a pad button")        \
    X(HelpPadAttack, Line, "Attack: {0}   Pause: Start", "help with the pad in use; {0}: the attack buttons")         \
    X(HelpKeyboard, Line, "Keyboard: {0} walks, {1} attacks, {2} pauses",                                             \
      "help with the pad in use; {0}: walking keys, {1}: attack keys (or the word for a click), {2}: pause keys")     \
    X(HelpClick, Part, "click",                                                                                       \
      "a mouse click: filled into the keyboard help line when no key attacks, and after the attack keys on the "      \
      "controls screen")                                                                                              \
    X(HelpPadToggles, Line, "Mute: M   Fullscreen: F11   This help: F1", "help with the pad in use; keys")            \
    X(HelpAim, Line, "Defeat the outlaws and collect the bulls at every farm;", "help: the aim, first half")          \
    X(HelpArrow, Line, "the arrow points to the nearest farm", "help: the aim, second half")                          \
    X(PauseKeys, Part, "Esc", "the pause key in the help lines")                                                      \
    X(PauseKeysOrP, Part, "Esc or P", "the pause keys in the help lines while P is free")                             \
    X(EitherOf, Part, "{0} or {1}", "joins two keys or buttons that do the same; repeated for more")                  \
    X(ListOf, Part, "{0}, {1}", "joins the items of a list; repeated for more")                                       \
    X(KeysInRow, Part, "{0} {1}", "joins the four walking keys of one row (up, left, down, right)")                   \
    X(ControlsTitle, Line, "CONTROLS", "controls screen title")                                                       \
    X(ControlsKeys, Line, "Keys", "controls screen: heading of the keys column")                                      \
    X(ControlsPad, Line, "Pad", "controls screen: heading of the pad buttons column")                                 \
    X(ActionUp, Line, "Up", "controls screen row: walk up")                                                           \
    X(ActionLeft, Line, "Left", "controls screen row: walk left")                                                     \
    X(ActionDown, Line, "Down", "controls screen row: walk down")                                                     \
    X(ActionRight, Line, "Right", "controls screen row: walk right")                                                  \
    X(ActionStop, Line, "Stop", "controls screen row: stop walking")                                                  \
    X(ActionAttack, Line, "Attack", "controls screen row: attack")                                                    \
    X(ControlsWaitingRow, Line, "...", "controls screen: the row waiting for a key or button")                        \
    X(ControlsNone, Line, "-", "controls screen: nothing bound")                                                      \
    X(ControlsReset, Line, "Reset to defaults", "controls screen row")                                                \
    X(ControlsBack, Line, "Back", "controls screen row: leave the screen")                                            \
    X(ControlsHint, Line, "Enter or A: change   Esc or B: back", "controls screen foot; keys and pad buttons")        \
    X(ControlsWaiting, Line, "Press a key or a pad button   (Esc or Start: keep)",                                    \
      "controls screen foot while a row waits for its press")                                                         \
    X(ControlsAllReset, Line, "Every control is back as it was", "controls screen, after Reset to defaults")          \
    X(ControlsKept, Line, "{0} kept as it was", "controls screen; {0}: the action's row name")                        \
    X(ControlsBound, Line, "{0}: {1}", "controls screen; {0}: the action's row name, {1}: the key or button given")   \
    X(ControlsReserved, Line, "{0} is kept by the game", "controls screen, a refused press; {0}: the key or button")  \
    X(ControlsComma, Line, "a comma cannot be kept: the settings file lists keys with it",                            \
      "controls screen, the comma key refused")                                                                       \
    X(ControlsTaken, Line, "{0} already serves {1}",                                                                  \
      "controls screen, a refused press; {0}: the key or button, {1}: the action as its row names it")                \
    X(GridTitle, Line, "YOUR NAME", "letter grid (a name typed with the pad) title, small")                           \
    X(GridName, Line, "{0}_", "letter grid; {0}: the name typed so far, _ stands for the next letter")                \
    X(GridSpace, Line, "Space", "letter grid cell, small: a blank")                                                   \
    X(GridErase, Line, "Del", "letter grid cell, small: take the last letter back; one short word")                   \
    X(GridDone, Line, "OK", "letter grid cell, small: the name is done; one short word")                              \
    X(GridHint, Line, "A: type   B: take back   Start: done", "letter grid foot; A, B and Start are pad buttons")     \
    X(BoardHeading, Line, "BEST RUNS", "score board heading")                                                         \
    X(BoardClose, Line, "Esc or SCORE BOARD: close", "score board, small, top right; Esc is a key")                   \
    X(BoardPadClose, Line, "B: close", "score board with the pad in use, small, top right; B is a pad button")        \
    X(BoardEmpty, Line, "No scores yet", "score board without a run")                                                 \
    X(BoardLine, Line, "{0}. {1} {2}", "score board line; {0}: place, {1}: player's name, {2}: points")               \
    X(BoardLineTimed, Line, "{0}. {1} {2}  {3} L{4} {5}",                                                             \
      "score board line; {0}: place, {1}: name, {2}: points, {3}: BoardWon/BoardLost/BoardLeft, {4}: level, {5}: "    \
      "time")                                                                                                         \
    X(BoardLineAssisted, Line, "{0}. {1} {2}  {3} L{4} {5}  assisted",                                                \
      "score board line of a run played with assists, listed after the others; as BoardLineTimed")                    \
    X(BoardWon, Part, "won", "score board: the run won the last level; short")                                        \
    X(BoardLost, Part, "lost", "score board: the hero fell; short")                                                   \
    X(BoardLeft, Part, "left", "score board: the player left the run (window closed or quit); short")                 \
    X(OptionsTitle, Line, "OPTIONS", "options screen title")                                                          \
    X(OptionsBack, Line, "Back", "options screen row: leave the screen")                                              \
    X(OptionsHint, Line, "Up/Down: choose   Left/Right: change   Esc: back", "options screen foot; keys")             \
    X(OptionsMusic, Line, "Music volume", "options screen row; its value, 0 to 10, stands at the row's right")        \
    X(OptionsEffects, Line, "Effects volume", "options screen row; its value, 0 to 10, stands at the row's right")    \
    X(OptionsMute, Line, "Mute", "options screen row: no sound at all")                                               \
    X(OptionsFullscreen, Line, "Fullscreen", "options screen row: the window covers the screen")                      \
    X(OptionsReducedMotion, Line, "Reduced motion", "options screen row: no screen shake and no flashes")             \
    X(OptionsGhost, Line, "Ghost of your best run",                                                                   \
      "options screen row: the faint hero of the player's fastest win drawn beside him")                              \
    X(OptionsLanguage, Line, "Language", "options screen row: the language of every screen")                          \
    X(OptionsControls, Line, "Controls", "options screen row: opens the controls screen")                             \
    X(OptionsOn, Line, "on", "options screen: a switch's value; short")                                               \
    X(OptionsOff, Line, "off", "options screen: a switch's value; short")                                             \
    X(OptionsSystem, Line, "System", "options screen: the Language row's value when the desktop's language is used")  \
    X(OptionsAssists, Line, "Assists", "options screen row: opens the panel of assists (what makes the game easier)") \
    X(OptionsGameSpeed, Line, "Game speed", "assists panel row; its value, 100%, 75% or 50%, is the game's pace")     \
    X(OptionsDamageTaken, Line, "Damage taken",                                                                       \
      "assists panel row; its value, 100% or 50%, is the share of a blow the hero pays")                              \
    X(OptionsRefill, Line, "Full health each level",                                                                  \
      "assists panel row: the hero's health is full again as each level begins")                                      \
    X(OptionsHoldToAttack, Line, "Hold to attack",                                                                    \
      "assists panel row: a held attack key or button attacks again and again")                                       \
    X(CardWatch, Line, "W: watch this run", "result card, small; W is a key")                                         \
    X(CardPadWatch, Line, "X: watch this run", "result card with the pad in use, small; X is a pad button")           \
    X(WatchControls, Line, "WATCH {0}x   Space: pause   1 2 4: speed   N: next level   Esc: leave",                   \
      "watching a recorded run, small, at the foot; {0}: the speed (1, 2 or 4); keys")                                \
    X(WatchPadControls, Line, "WATCH {0}x   Start: pause   LB RB: speed   Y: next level   B: leave",                  \
      "watching with the pad in use, small; {0}: the speed; Start, LB, RB, Y and B are pad buttons")                  \
    X(WatchPaused, Line, "WATCH paused   Space: go on   Esc: leave",                                                  \
      "watching a recorded run, paused, small, at the foot; keys")                                                    \
    X(WatchEnded, Line, "{0}: {1} at level {2}, score {3}   (any key)",                                               \
      "watching, the recording's end; {0}: the player's name, {1}: how it ended (a word below), {2}: level, "         \
      "{3}: points")                                                                                                  \
    X(WatchWon, Part, "won", "how a watched run ended: the last level won")                                           \
    X(WatchDied, Part, "died", "how a watched run ended: the hero died")                                              \
    X(WatchClosed, Part, "closed", "how a watched run ended: the window was closed")                                  \
    X(WatchQuit, Part, "quit", "how a watched run ended: the player quit to the menu")                                \
    X(WatchMismatch, Line, "This recording does not match this version of the game at frame {0}",                     \
      "watching stopped; {0}: the frame number")                                                                      \
    X(WatchRefused, Line, "This recording cannot be watched: {0}",                                                    \
      "watching refused before it starts; {0}: why, as the file reader says it (not translated)")                     \
    X(AssistsTitle, Line, "ASSISTS", "title of the options' panel of assists (what makes the game easier)")           \
    X(CardAssisted, Line, "Assisted: {0}", "result card: the run had assists; {0}: their list (the Assist rows)")     \
    X(AssistSlower, Part, "speed {0}%", "an assist on the card's list; {0}: the game's pace in percent, 75 or 50")    \
    X(AssistHalfDamage, Part, "half damage", "an assist on the card's list: the hero loses half what blows cost")     \
    X(AssistDamage, Part, "damage {0}%", "an assist on the card's list; {0}: the share of a blow's cost paid")        \
    X(AssistRefill, Part, "refill", "an assist on the card's list: full health again at each level")                  \
    X(AssistAutoAttack, Part, "auto attack", "an assist on the card's list: a held attack key attacks again")         \
    X(PauseLeft, Line, "Outlaws left: {0}   Bulls left: {1}", "pause panel; {0}, {1}: what the level still needs")    \
    X(PauseNearestOutlaw, Line, "Nearest outlaw: {0}", "pause panel; {0}: a Way row, where he is from the hero")      \
    X(PauseNearestBull, Line, "Nearest bull: {0}", "pause panel; {0}: a Way row, where it is from the hero")          \
    X(WayNorth, Part, "north", "a way on the screen: up")                                                             \
    X(WayNorthEast, Part, "north-east", "a way on the screen: up and right")                                          \
    X(WayEast, Part, "east", "a way on the screen: right")                                                            \
    X(WaySouthEast, Part, "south-east", "a way on the screen: down and right")                                        \
    X(WaySouth, Part, "south", "a way on the screen: down")                                                           \
    X(WaySouthWest, Part, "south-west", "a way on the screen: down and left")                                         \
    X(WayWest, Part, "west", "a way on the screen: left")                                                             \
    X(WayNorthWest, Part, "north-west", "a way on the screen: up and left")                                           \
    X(WayCloseBy, Part, "close by", "the nearest one stands beside the hero")

class Texts {
public:
    // How a row is used: drawn as a whole line, or only filled into another row's placeholder.
    enum class Kind { Line, Part };

#define BRAMBLEHOOF_TEXT_ID(id, kind, english, note) id,
    enum class Id { BRAMBLEHOOF_TEXTS(BRAMBLEHOOF_TEXT_ID) };
#undef BRAMBLEHOOF_TEXT_ID

    struct Row {
        Id id;
        Kind kind;
        const char* english;  // UTF-8, exactly as the game shows it
        const char* note;     // for whoever translates it
        const char* name;     // the id as written: the translators' context (msgctxt), one per row
    };

    // A row named where a text constant stood: it reads the row's text when used, so a screen's
    // constant follows a translation without a change where it is used.
    struct Ref {
        Id id;
        operator std::string() const { return text(id); }
        friend bool operator==(const std::string& s, const Ref& r) { return s == text(r.id); }
        friend bool operator==(const Ref& r, const std::string& s) { return s == text(r.id); }
        friend bool operator!=(const std::string& s, const Ref& r) { return !(s == r); }
        friend bool operator!=(const Ref& r, const std::string& s) { return !(s == r); }
    };

    // Every row, in the order of Id.
    static const std::vector<Row>& table();
    static const Row& row(Id id);
    // The text as shown, in the language spoken now (Language).
    static const std::string& text(Id id);
    // The text shown for a line's English, as a table row has it (an option's label); english
    // itself when no row has it.
    static std::string shownAs(const char* english);
    // The text with {0}, {1}, ... replaced by args; a placeholder without an argument stays as it is.
    static std::string format(Id id, const std::vector<std::string>& args);
    // Items joined pairwise by the row joining (EitherOf, ListOf, KeysInRow); empty for none.
    static std::string join(Id joining, const std::vector<std::string>& items);

    // Whether line is shown by the table: a Line row's text with each placeholder holding a name
    // (isName: a key's, a player's, a number), a part, another row's whole text or nothing; or a
    // name; or a part (a Part row whose placeholders hold names or parts).
    static bool isShown(const std::string& line, const std::function<bool(const std::string&)>& isName);
};
