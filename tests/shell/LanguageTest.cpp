#include "PlayFixture.h"
#include "ShownPicture.h"

#include "present/Language.h"
#include "present/OptionRows.h"

#include <cstdlib>
#include <sys/stat.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// The game in another language: every screen speaks it, while the trace on standard output and
// every file stay exactly as in English.
class LanguageTest : public PlayTest {
protected:
    void TearDown() override {
        PlayTest::TearDown();
        unsetenv("LANGUAGE");
        Language::choose("en");  // the process's next test starts in English, as a new game would
    }

    static void tap(SDL_Keycode key) {
        testsupport::pushKeyDown(key);
        testsupport::pushKeyUp(key);
    }

    // A whole run on the shell just started: a new game in which the hero walks right, then down,
    // striking now and then, paused and quit to the menu, its end and the menu again. Its trace,
    // start-up's included.
    std::string wholeRun() {
        std::string trace = startTrace;
        button->inputText = "Lena";
        trace += startNewGame();
        for (int frame = 0; frame < 400 && Render::isRunning && player != nullptr; ++frame) {
            if (frame % 2 == 0) {
                tap(frame < 200 ? SDLK_d : SDLK_s);
            } else if (frame % 25 == 1) {
                tap(SDLK_SPACE);
            }
            trace += traced([&] { shell->frame(); });
        }
        testsupport::pushKeyDown(SDLK_ESCAPE);
        trace += traced([&] { shell->frame(); });
        shell->startPause();
        testsupport::pushKeyDown(SDLK_q);
        const bool goesOn = shell->pausePass();
        trace += traced([&] { shell->endOfRun(true); });
        trace += traced([&] { shell->showMenuAgain(); });
        EXPECT_FALSE(goesOn) << "q quits to the menu";
        return trace;
    }

    // A new game process in a scratch folder of its own, as the fixture starts one, with the
    // settings file and LANGUAGE given (none when empty); the picture its first menu shows.
    std::vector<Uint32> restart(std::unique_ptr<testsupport::ScratchDir>& folder, const std::string& settings,
                                const std::string& language = "") {
        shell.reset();
        folder.reset();  // back in the fixture's folder first, so each leaves to where it came from
        folder = std::make_unique<testsupport::ScratchDir>();
        if (!settings.empty()) {
            mkdir(folder->file("config").c_str(), 0755);
            mkdir(folder->file("config/bramblehoof").c_str(), 0755);
            testsupport::writeFile(folder->file("config/bramblehoof/settings.ini"), settings);
        }
        if (!language.empty()) {
            setenv("LANGUAGE", language.c_str(), 1);
        }
        shell = std::make_unique<Shell>();
        shell->seed.clock = &fixedClock;
        shell->pacer.enabled = false;
        bool started = false;
        shownpicture::keep(true);
        startTrace = traced([&] { started = shell->startUp(); });
        std::vector<Uint32> menu = shownpicture::last();  // start-up shows the menu last
        shownpicture::keep(false);
        EXPECT_TRUE(started);
        EXPECT_EQ(menu.size(), 1080u * 720u) << "start-up showed the menu";
        testsupport::drainEvents();
        return menu;
    }

    static int differing(const std::vector<Uint32>& a, const std::vector<Uint32>& b,
                         SDL_Rect box = SDL_Rect{0, 0, 1080, 720}) {
        int count = 0;
        for (int y = box.y; y < box.y + box.h; ++y) {
            for (int x = box.x; x < box.x + box.w; ++x) {
                const std::size_t i = static_cast<std::size_t>(y) * 1080 + static_cast<std::size_t>(x);
                count += i < a.size() && i < b.size() && a[i] != b[i] ? 1 : 0;
            }
        }
        return count;
    }
    // The sign's four items, above the name line, and OPTIONS and QUIT under it.
    static constexpr SDL_Rect kItems{350, kScoreBoardY - 25, 380, kNewGameY - kScoreBoardY + 40};
    static constexpr SDL_Rect kLowerItems{300, 470, 480, 45};
};

}  // namespace

// German asked for by LANGUAGE (the System choice) or by settings.ini: the menu reads and is drawn
// in German, and a whole run writes the very trace and files an English one does.
TEST_F(LanguageTest, GermanMenusWithTheEnglishTraceAndFiles) {
    EXPECT_EQ(Texts::text(Texts::Id::MenuNewGame), "NEW GAME");
    std::unique_ptr<testsupport::ScratchDir> folder;
    const std::vector<Uint32> english = restart(folder, "");
    const std::string englishTrace = wholeRun();
    const std::string englishPlayers = testsupport::readFile("files/players.bin");
    const std::string englishReplay = testsupport::readFile("files/replay.txt");
    ASSERT_NE(englishTrace, "");

    // The same process made again in English draws the same menu: what differs below is the language.
    EXPECT_EQ(differing(restart(folder, ""), english), 0);
    EXPECT_EQ(wholeRun(), englishTrace);

    const std::string ways[2] = {"LANGUAGE=de:fr", "[display]\nlanguage = de\n"};
    for (const std::string& way : ways) {
        SCOPED_TRACE(way);
        const bool byEnvironment = way[0] == 'L';
        const std::vector<Uint32> german = restart(folder, byEnvironment ? "" : way, byEnvironment ? "de:fr" : "");
        unsetenv("LANGUAGE");
        EXPECT_EQ(Language::current(), "de");
        EXPECT_EQ(Texts::text(Texts::Id::MenuNewGame), "NEUES SPIEL");
        EXPECT_EQ(Texts::text(Texts::Id::MenuOptions), "OPTIONEN");
        EXPECT_EQ(Texts::format(Texts::Id::HudHealth, {"7"}), "Gesundheit: 7");
        EXPECT_GT(differing(german, english, kItems), 2000) << "the sign's items are drawn in German";
        EXPECT_GT(differing(german, english, kLowerItems), 500) << "OPTIONS and QUIT are drawn in German";
        EXPECT_EQ(wholeRun(), englishTrace) << "the trace is English, byte for byte";
        EXPECT_EQ(testsupport::readFile("files/players.bin"), englishPlayers);
        EXPECT_EQ(testsupport::readFile("files/replay.txt"), englishReplay);
    }
    shell.reset();  // before its folder goes
}

// The Language row of the options, played with the keys: each press shows the next language by
// its own name, every text of the panel follows at once, and leaving keeps it in settings.ini.
TEST_F(LanguageTest, TheLanguageRowSpeaksAtOnceAndIsKept) {
    optionsOverThePause();
    const std::size_t row = optionRow("Language");
    EXPECT_EQ(options().valueOf(row), "System");
    for (std::size_t at = 0; at < row; ++at) {
        testsupport::pushKeyDown(SDLK_DOWN);
    }
    ASSERT_TRUE(shell->pausePass());
    const std::vector<Uint32> before = picture();
    const std::vector<std::string> names = {"English", "Deutsch", "Français", "Español", "Português (Brasil)"};
    const std::vector<std::string> titles = {"OPTIONS", "OPTIONEN", "OPTIONS", "OPCIONES", "OPÇÕES"};
    std::vector<Uint32> german;
    for (std::size_t i = 0; i < names.size(); ++i) {
        testsupport::pushKeyDown(SDLK_RIGHT);
        ASSERT_TRUE(shell->pausePass());
        EXPECT_EQ(options().valueOf(row), names[i]);
        EXPECT_EQ(Texts::text(Texts::Id::OptionsTitle), titles[i]);
        if (i == 1) {
            german = picture();
            EXPECT_EQ(options().rowNamed("Sprache"), row) << "the rows read German";
            EXPECT_EQ(options().valueOf(options().rowNamed("Stumm")), "aus");
        }
    }
    EXPECT_GT(differing(german, before), 2000) << "the panel is drawn again in German";
    // Back to German, and away: the file keeps it.
    for (int i = 0; i < 3; ++i) {
        testsupport::pushKeyDown(SDLK_LEFT);
    }
    testsupport::pushKeyDown(SDLK_ESCAPE);
    shell->pausePass();
    EXPECT_EQ(Language::current(), "de");
    EXPECT_EQ(shell->help.text().back(), "der Pfeil zeigt zur nächsten Farm") << "the help in play speaks it too";
    const std::string file = testsupport::readFile(shell->settings.file(Settings::kFileName));
    EXPECT_NE(file.find("[display]\nlanguage = de\n"), std::string::npos) << file;
}

// German chosen in the options over the menu: the menu drawn when they close speaks it, OPTIONS
// and QUIT under the sign too, each where a click finds it.
TEST_F(LanguageTest, TheMenuSpeaksTheLanguageChosenOverIt) {
    const auto menuPicture = [&] {
        shownpicture::keep(true);
        SDL_Event moved{};  // the pointer moved over the sand: a pass with something new draws
        moved.type = SDL_MOUSEMOTION;
        moved.motion.x = 20;
        moved.motion.y = 700;
        SDL_PushEvent(&moved);
        traced([&] { shell->menuPass(); });
        const std::vector<Uint32> shown = shownpicture::last();
        shownpicture::keep(false);
        return shown;
    };
    const std::vector<Uint32> english = menuPicture();
    ASSERT_EQ(english.size(), 1080u * 720u);
    const SDL_Rect before = shell->mainMenu.labelBox(Button::kOptionsEntry);

    Screen& menu = *shell->choosing;
    shell->screens.open();
    shell->screens.push(OptionRows::screen(shell->services));
    shell->screens.pass(menu);
    for (std::size_t at = 0; at < optionRow("Language"); ++at) {
        testsupport::pushKeyDown(SDLK_DOWN);
    }
    testsupport::pushKeyDown(SDLK_RIGHT);
    testsupport::pushKeyDown(SDLK_RIGHT);
    testsupport::pushKeyDown(SDLK_ESCAPE);
    for (int pass = 0; pass < 5 && shell->screens.top() != nullptr; ++pass) {
        shell->screens.pass(menu);
    }
    ASSERT_EQ(Language::current(), "de");
    const std::vector<Uint32> german = menuPicture();
    ASSERT_EQ(german.size(), 1080u * 720u);
    EXPECT_GT(differing(german, english, kItems), 2000) << "the sign's items";
    EXPECT_GT(differing(german, english, kLowerItems), 500) << "OPTIONS and QUIT";
    const SDL_Rect after = shell->mainMenu.labelBox(Button::kOptionsEntry);
    int w = 0;
    TTF_SizeUTF8(shell->mainMenu.menuTexts[MenuPhase::kNameItem]->font, "OPTIONEN", &w, nullptr);
    EXPECT_EQ(after.w, w) << "OPTIONEN's own width, where the highlight and a click find it";
    EXPECT_NE(after.w, before.w);
}

// OPTIONS and QUIT under the sign in every shipped language: the longer words (OPTIONEN,
// OPCIONES) stay between the sign's posts, apart from each other, and leave the posts as the
// English menu shows them.
TEST_F(LanguageTest, TheLowerItemsStayBetweenThePostsInEveryLanguage) {
    // The posts' faces beside the labels, as the background picture has them (measured on it).
    constexpr SDL_Rect kLeftPost{366, 470, 33, 40};
    constexpr SDL_Rect kRightPost{722, 470, 33, 40};
    std::unique_ptr<testsupport::ScratchDir> folder;
    const std::vector<Uint32> english = restart(folder, "", "en");
    ASSERT_EQ(english.size(), 1080u * 720u);
    for (const char* code : {"de", "fr", "es", "pt_BR"}) {
        SCOPED_TRACE(code);
        const std::vector<Uint32> shown = restart(folder, "", code);
        ASSERT_EQ(Language::current(), code);
        ASSERT_EQ(shown.size(), 1080u * 720u);
        const SDL_Rect options = shell->mainMenu.labelBox(Button::kOptionsEntry);
        const SDL_Rect quit = shell->mainMenu.labelBox(Button::kQuitEntry);
        EXPECT_GE(options.x, kLeftPost.x + kLeftPost.w) << Texts::text(Texts::Id::MenuOptions);
        EXPECT_LE(quit.x + quit.w, kRightPost.x) << Texts::text(Texts::Id::MenuQuit);
        EXPECT_GE(quit.x - (options.x + options.w), 20) << "the two apart";
        EXPECT_EQ(differing(shown, english, kLeftPost), 0) << "no letter on the left post";
        EXPECT_EQ(differing(shown, english, kRightPost), 0) << "no letter on the right post";
    }
}
