#include "ShellFixture.h"

#include "present/Language.h"
#include "present/OptionRows.h"

#include "input/KeyBindings.h"
#include "present/LetterGrid.h"
#include "present/Text.h"
#include "present/Texts.h"

#include <algorithm>
#include <sys/stat.h>
#include <iostream>
#include <cstring>
#include <set>
#include <string>

namespace {

Uint64 fakeMillis = 0;
Uint64 fakeClock() { return fakeMillis; }
Uint64 cardMillis = 0;
Uint64 cardClock() { return cardMillis += 50; }

using testsupport::pushPad;

bool isNumber(const std::string& s) {
    std::size_t start = !s.empty() && s[0] == '-' ? 1 : 0;
    return s.size() > start && s.find_first_not_of("0123456789", start) == std::string::npos;
}

// A time as the card and the board show it: M:SS.t or M:SS, made of numbers.
bool isTime(const std::string& s) {
    const std::size_t colon = s.find(':');
    if (colon == std::string::npos || !isNumber(s.substr(0, colon))) {
        return false;
    }
    const std::string rest = s.substr(colon + 1);
    return (rest.size() == 2 || (rest.size() == 4 && rest[2] == '.')) && isNumber(rest.substr(0, 2)) &&
           (rest.size() == 2 || isNumber(rest.substr(3)));
}

// What the options' rows show beside the table's lines: a value between its arrows.
bool isOptionsRowText(const std::string& s) {
    static const std::set<std::string> labels{
        "Music volume",           "Effects volume", "Mute", "Fullscreen", "Reduced motion",
        "Ghost of your best run", "Controls",       "on",   "off",        ">"};
    if (labels.count(s) != 0) {
        return true;
    }
    if (s.size() <= 4 || s.compare(0, 2, "< ") != 0 || s.compare(s.size() - 2, 2, " >") != 0) {
        return false;
    }
    // A number or a share ("< 75% >"), or a choice: the language row's System, or a language by
    // its own name.
    std::string value = s.substr(2, s.size() - 4);
    if (value.size() > 1 && value.back() == '%') {
        value.pop_back();
    }
    for (const Language::Shipped& one : Language::shipped()) {
        if (value == one.ownName) {
            return true;
        }
    }
    return isNumber(value) || value == Texts::text(Texts::Id::OptionsSystem);
}

// A game played through every screen that shows text, each string made into a texture recorded.
class TextsOnScreenTest : public ShellTest {
protected:
    static constexpr const char* kName = "Zo\xC3\xAB";  // typed on the menu, shown on it
    static constexpr const char* kGridName =
        "Zo\xC3\xAB"
        "B";  // with a letter from the grid, shown on the board
    std::set<std::string> drawn;

    void SetUp() override {
        Text::onRender = [this](const std::string& s) { drawn.insert(s); };
        shell->walkClock = &fakeClock;
        ShellTest::SetUp();
        shell->cardClock = &cardClock;
    }
    void TearDown() override {
        ShellTest::TearDown();
        Text::onRender = nullptr;
    }

    void frames(int n) {
        for (int i = 0; i < n && Render::isRunning && player != nullptr; ++i) {
            fakeMillis += 16;
            traced([&] { shell->frame(); });
        }
    }
    void menuPasses(int n) {
        traced([&] {
            for (int i = 0; i < n; ++i) {
                shell->menuPass();
            }
        });
    }
    // Each key pushed, then one pass of the screen.
    void keys(Screen& screen, std::initializer_list<SDL_Keycode> pressed) {
        for (const SDL_Keycode key : pressed) {
            testsupport::pushKeyDown(key);
            shell->screens.pass(screen);
        }
    }

    // A name a player gave, a key's or a button's as SDL or the bindings call it, a number, a
    // cell of the letter grid, a row of the options, or blank.
    bool isName(const std::string& s) const {
        if (s == kName || s == kGridName || isNumber(s) || isTime(s) || isOptionsRowText(s) ||
            s.find_first_not_of(' ') == std::string::npos) {
            return true;
        }
        if (s.size() == 1 && std::strchr(LetterGrid::kLetters, s[0]) != nullptr) {
            return true;
        }
        if (SDL_GetKeyFromName(s.c_str()) != SDLK_UNKNOWN) {
            return true;
        }
        for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) {
            if (s == KeyBindings::buttonName(static_cast<SDL_GameControllerButton>(b))) {
                return true;
            }
        }
        return false;
    }

    // Every recorded string not found in the table.
    std::vector<std::string> strangers() const {
        std::vector<std::string> found;
        for (const std::string& s : drawn) {
            if (!Texts::isShown(s, [this](const std::string& piece) { return isName(piece); })) {
                found.push_back(s);
            }
        }
        return found;
    }

    void playEveryScreen() {
        // The menu: a name typed, the board shown and hidden, the note of a run not saved.
        testsupport::pushText(kName);
        menuPasses(3);
        testsupport::pushClick(kItemX, kScoreBoardY);
        menuPasses(2);
        testsupport::pushClick(kItemX, kScoreBoardY);
        menuPasses(2);

        // The options over the menu, and the controls from them: a key refused for each reason,
        // one given, one kept, all put back.
        Screen& menuPicture = *shell->choosing;
        shell->screens.open();
        shell->screens.push(OptionRows::screen(shell->services));
        shell->screens.pass(menuPicture);
        // The assists' own panel: the game slowed, so the run below is assisted.
        keys(menuPicture,
             {SDLK_RIGHT, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_RETURN});
        keys(menuPicture, {SDLK_RIGHT, SDLK_ESCAPE});
        keys(menuPicture, {SDLK_DOWN, SDLK_RETURN});
        Screen& controls = menuPicture;  // the controls, opened over the options
        keys(controls, {SDLK_RETURN, SDLK_m, SDLK_s, SDLK_COMMA, SDLK_i, SDLK_RETURN, SDLK_ESCAPE});
        pushPad(SDL_CONTROLLER_BUTTON_A);
        shell->screens.pass(controls);
        pushPad(SDL_CONTROLLER_BUTTON_START);
        shell->screens.pass(controls);
        pushPad(SDL_CONTROLLER_BUTTON_A);
        shell->screens.pass(controls);
        pushPad(SDL_CONTROLLER_BUTTON_B);
        shell->screens.pass(controls);
        pushPad(SDL_CONTROLLER_BUTTON_X);
        shell->screens.pass(controls);
        keys(controls, {SDLK_UP, SDLK_UP, SDLK_RETURN, SDLK_ESCAPE});
        keys(menuPicture, {SDLK_ESCAPE});

        // The letter grid, and the menu's line for the pad.
        const std::unique_ptr<LetterGrid> letters = shell->makeLetterGrid();
        shell->screens.open();
        keys(*letters, {SDLK_RIGHT, SDLK_RETURN});
        pushPad(SDL_CONTROLLER_BUTTON_DPAD_UP);
        menuPasses(2);
        testsupport::pushKeyDown(SDLK_LEFT);
        shell->mainMenu.lastRunNotSaved = true;
        menuPasses(2);

        // A run: the HUD, the level's banner, the help; the pause panel with keys and with the pad.
        testsupport::pushClick(kItemX, kNewGameY);
        endMenu();
        traced([&] { shell->runSetUp(); });
        frames(5);
        shell->help.setLines(Render::renderer, HelpPanel::linesFor(shell->settings.keys, true));
        testsupport::pushKeyDown(SDLK_ESCAPE);
        frames(1);
        shell->startPause();
        shell->pausePass();
        testsupport::pushKeyDown(SDLK_RETURN);
        shell->pausePass();
        pushPad(SDL_CONTROLLER_BUTTON_START);
        frames(1);
        shell->startPause();
        shell->pausePass();
        pushPad(SDL_CONTROLLER_BUTTON_A);
        shell->pausePass();

        // The hero falls: the card, with a run not saved; then the menu again with the board.
        const SDL_Rect enemyAt = shell->run().enemies[0]->realRect;
        player->setAll(enemyAt.x - 35, enemyAt.y - 35, 4);
        frames(100);
        shell->run().notSaved = true;
        traced([&] { shell->showResultCard(2000); });
        traced([&] {
            shell->endOfRun(true);
            shell->showMenuAgain();
        });
        testsupport::pushClick(kItemX, kScoreBoardY);
        menuPasses(3);
    }
};

// Every string the game makes into a texture, on every screen, is one of the table's lines (its
// placeholders filled) or a name: a text written straight into the code fails here.
TEST_F(TextsOnScreenTest, EveryTextDrawnOnEveryScreenIsInTheTable) {
    playEveryScreen();
    // The screens were reached: a sample of what each shows.
    for (const std::string& expected : {std::string("NEW GAME"),
                                        std::string("Enter your name"),
                                        std::string("No scores yet"),
                                        std::string("OPTIONS"),
                                        std::string("CONTROLS"),
                                        std::string("M is kept by the game"),
                                        std::string("S already serves Down"),
                                        std::string("Up: I"),
                                        std::string("Every control is back as it was"),
                                        std::string("YOUR NAME"),
                                        std::string("Health: 5000"),
                                        std::string("LEVEL 1"),
                                        std::string("PAUSED"),
                                        std::string("A: continue   Y: options   B: quit to menu"),
                                        std::string("YOU DIED"),
                                        std::string("This run could not be saved (see the terminal)"),
                                        std::string("Y: type a name with the pad"),
                                        std::string("The last run could not be saved (see the terminal)"),
                                        std::string("ASSISTS"),
                                        std::string("< 75% >"),
                                        std::string("Assisted: speed 75%")}) {
        EXPECT_EQ(drawn.count(expected), 1u) << "never drawn: " << expected;
    }
    EXPECT_TRUE(std::any_of(drawn.begin(), drawn.end(), [](const std::string& s) {
        return s.rfind("1. " + std::string(kGridName) + " 0  lost L1 ", 0) == 0;
    })) << "the board lists the run, lost at level 1, with its time";
    if (std::getenv("TEXTS_LIST") != nullptr) {
        for (const std::string& s : drawn) {
            std::cerr << "[" << s << "]\n";
        }
    }
    for (const std::string& stranger : strangers()) {
        ADD_FAILURE() << "drawn but not in Texts: \"" << stranger << "\"";
    }
    EXPECT_GT(drawn.size(), 60u);
}

// The same game with German chosen in settings.ini: every screen draws the German of its lines,
// and no English line is left where German has its own.
class GermanTextsOnScreenTest : public TextsOnScreenTest {
protected:
    void SetUp() override {
        mkdir("config", 0755);
        mkdir("config/bramblehoof", 0755);
        testsupport::writeFile("config/bramblehoof/settings.ini", "[display]\nlanguage = de\n");
        TextsOnScreenTest::SetUp();
    }
    void TearDown() override {
        TextsOnScreenTest::TearDown();
        Language::choose("en");
    }
};

TEST_F(GermanTextsOnScreenTest, EveryScreenDrawsTheGermanOfItsLines) {
    playEveryScreen();
    for (const std::string& expected :
         {std::string("NEUES SPIEL"), std::string("Wie heißt du?"), std::string("Noch keine Punkte"),
          std::string("OPTIONEN"), std::string("STEUERUNG"), std::string("M gehört dem Spiel"),
          std::string("S gehört schon zu Runter"), std::string("Hoch: I"), std::string("DEIN NAME"),
          std::string("Gesundheit: 5000"), std::string("LEVEL 1"), std::string("PAUSE"),
          std::string("A: weiter   Y: Optionen   B: zum Menü"), std::string("DU BIST TOT"),
          std::string("Diese Runde wurde nicht gespeichert (siehe Terminal)")}) {
        EXPECT_EQ(drawn.count(expected), 1u) << "never drawn: " << expected;
    }
    for (const Texts::Row& row : Texts::table()) {
        const std::string english = row.english;
        if (english != Texts::text(row.id) && english.find('{') == std::string::npos) {
            EXPECT_EQ(drawn.count(english), 0u) << "drawn in English: " << english;
        }
    }
    for (const std::string& stranger : strangers()) {
        ADD_FAILURE() << "drawn but not in the German texts: \"" << stranger << "\"";
    }
    EXPECT_GT(drawn.size(), 60u);
}

}  // namespace
