#include "present/Settings.h"

#include "ShellFixture.h"
#include "persist/FileIO.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Action = KeyBindings::Action;
using Keys = std::vector<SDL_Keycode>;

TEST(Settings, EveryBadLineIsNamedOnceAndKeepsItsEntrysDefault) {
    const std::string text =
        "; the player's keys\n"                         // 1
        "# from the manual\n"                           // 2
        "[keys]\n"                                      // 3
        "right = l\n"                                   // 4
        "up = Foo\n"                                    // 5
        "jump = x\n"                                    // 6
        "this is not an entry\n"                        // 7
        "left = l\n"                                    // 8
        "down =\n"                                      // 9: no key, the pad or nothing
        "attack = Left Ctrl , Keypad 0 ; or a click\n"  // 10
        "[video\n"                                      // 11
        "[video]\n"                                     // 12
        "size = 2\n"                                    // 13
        "stop = " +
        std::string(300, 'x') +
        "\n"            // 14
        "[keys]\n"      // 15
        "stop = z\n"    // 16
        "up = w, F1\n"  // 17
        "left = p\n";   // 18
    Settings settings;
    std::ostringstream problems;
    settings.apply(text, problems);
    EXPECT_EQ(problems.str(),
              "bramblehoof: settings.ini line 5: unknown key name 'Foo'\n"
              "bramblehoof: settings.ini line 6: unknown entry 'jump'\n"
              "bramblehoof: settings.ini line 7: not a [section], a name = value line or a comment\n"
              "bramblehoof: settings.ini line 8: key 'L' already serves 'right'\n"
              "bramblehoof: settings.ini line 11: not a [section], a name = value line or a comment\n"
              "bramblehoof: settings.ini line 13: unknown entry 'size' in section [video]\n"
              "bramblehoof: settings.ini line 14: line too long or not text\n"
              "bramblehoof: settings.ini line 17: key 'F1' is the game's own (pause, help, fullscreen, mute, menus)\n"
              "bramblehoof: settings.ini line 18: key 'P' is the game's own (pause, help, fullscreen, mute, menus)\n");
    const KeyBindings& keys = settings.keys;
    EXPECT_EQ(keys.keysOf(Action::Right), (Keys{SDLK_l})) << "a given entry replaces the default";
    EXPECT_EQ(keys.actionOf(SDLK_d), Action::None);
    EXPECT_EQ(keys.keysOf(Action::Up), (Keys{SDLK_w, SDLK_UP}));
    EXPECT_EQ(keys.keysOf(Action::Left), (Keys{SDLK_a, SDLK_LEFT}));
    EXPECT_TRUE(keys.keysOf(Action::Down).empty()) << "as the game writes an action left without a key";
    EXPECT_EQ(keys.keysOf(Action::Attack), (Keys{SDLK_LCTRL, SDLK_KP_0}));
    EXPECT_EQ(keys.keysOf(Action::Stop), (Keys{SDLK_z})) << "the lines after the bad ones still count";
}

TEST(Settings, TheInstalledExampleHoldsExactlyTheDefaults) {
    Settings settings;
    std::ostringstream problems;
    settings.apply(testsupport::readFile(testsupport::sourceDir() + "/dist/settings.ini"), problems);
    EXPECT_EQ(problems.str(), "");
    const KeyBindings defaults;
    for (Action action : {Action::Up, Action::Left, Action::Down, Action::Right, Action::Stop, Action::Attack}) {
        EXPECT_EQ(settings.keys.keysOf(action), defaults.keysOf(action)) << KeyBindings::nameOf(action);
        EXPECT_EQ(settings.keys.buttonsOf(action), defaults.buttonsOf(action)) << KeyBindings::nameOf(action);
    }
    EXPECT_EQ(settings.text(), Settings().text()) << "every setting of the table, at its default";
}

// The commands' lines of the example are commented out (the game never writes them); read as a
// player who uncomments them all would, they are the defaults, without a word.
TEST(Settings, TheExamplesCommentedCommandsAreTheirDefaults) {
    std::istringstream example(testsupport::readFile(testsupport::sourceDir() + "/dist/settings.ini"));
    std::string text;
    int uncommented = 0;
    bool inSections = false;
    for (std::string line; std::getline(example, line);) {
        inSections = inSections || (!line.empty() && line[0] == '[');
        if (inSections && line.rfind("; ", 0) == 0 && line.find(" =") != std::string::npos) {
            line = line.substr(2);
            ++uncommented;
        }
        text += line + "\n";
    }
    EXPECT_EQ(uncommented, 2 * KeyBindings::kCommands - 6) << "every command's keys, and its buttons where it has some";
    Settings settings;
    std::ostringstream problems;
    settings.apply(text, problems);
    EXPECT_EQ(problems.str(), "");
    const KeyBindings defaults;
    for (int i = 1; i <= KeyBindings::kCommands; ++i) {
        const auto command = static_cast<KeyBindings::Command>(i);
        EXPECT_EQ(settings.keys.chordsOf(command), defaults.chordsOf(command)) << KeyBindings::nameOf(command);
        EXPECT_EQ(settings.keys.buttonsOf(command), defaults.buttonsOf(command)) << KeyBindings::nameOf(command);
    }
    EXPECT_EQ(settings.text(), Settings().text());
}

TEST(Settings, WhatTheTableWritesReadsBackAndValuesOutOfRangeAreRefused) {
    Settings changed;
    changed.musicVolume = 3;
    changed.effectsVolume = 0;
    changed.muted = true;
    changed.fullscreen = true;
    changed.windowWidth = 800;
    changed.windowHeight = 600;
    changed.reducedMotion = true;
    std::string why;
    ASSERT_TRUE(changed.keys.bind(Action::Up, Keys{SDLK_z, SDLK_UP}, why)) << why;
    ASSERT_TRUE(changed.keys.bind(Action::Stop, Keys{SDLK_KP_0}, why)) << why;
    // Stop and Attack swap keys: Stop's line comes first, naming a key that Attack has by default.
    ASSERT_TRUE(changed.keys.bind(Action::Attack, Keys{SDLK_b}, why)) << why;
    ASSERT_TRUE(changed.keys.bind(Action::Stop, Keys{SDLK_SPACE}, why)) << why;
    ASSERT_TRUE(changed.keys.bindButtons(Action::Attack, {SDL_CONTROLLER_BUTTON_B}, why)) << why;
    ASSERT_TRUE(
        changed.keys.bindButtons(Action::Stop, {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_LEFTSHOULDER}, why))
        << why;
    ASSERT_TRUE(changed.keys.bindButtons(Action::Up, {}, why)) << why;

    Settings back;
    std::ostringstream problems;
    back.apply(changed.text(), problems);
    EXPECT_EQ(problems.str(), "");
    EXPECT_EQ(back.text(), changed.text());
    EXPECT_EQ(back.musicVolume, 3);
    EXPECT_EQ(back.effectsVolume, 0);
    EXPECT_TRUE(back.muted && back.fullscreen && back.reducedMotion);
    EXPECT_EQ(back.windowWidth, 800);
    EXPECT_EQ(back.windowHeight, 600);
    EXPECT_EQ(back.keys.keysOf(Action::Up), (Keys{SDLK_z, SDLK_UP}));
    EXPECT_EQ(back.keys.keysOf(Action::Stop), Keys{SDLK_SPACE});
    EXPECT_EQ(back.keys.actionOfButton(SDL_CONTROLLER_BUTTON_B), Action::Attack);
    EXPECT_EQ(back.keys.actionOfButton(SDL_CONTROLLER_BUTTON_LEFTSHOULDER), Action::Stop);
    EXPECT_EQ(back.keys.actionOfButton(SDL_CONTROLLER_BUTTON_DPAD_UP), Action::None) << "an empty entry is no button";

    Settings refused;
    std::ostringstream lines;
    refused.apply(
        "[sound]\nmusic = 11\neffects = -1\nmute = maybe\n[window]\nwidth = 900px\nheight = 239\n"
        "[play]\nshake = on\n[pad]\nattack = start\nup = dpdown\nstop = trigger\n[keys]\nattack = Escape\n",
        lines);
    EXPECT_EQ(lines.str(),
              "bramblehoof: settings.ini line 2: '11' is not a whole number from 0 to 10\n"
              "bramblehoof: settings.ini line 3: '-1' is not a whole number from 0 to 10\n"
              "bramblehoof: settings.ini line 4: 'maybe' is neither on nor off\n"
              "bramblehoof: settings.ini line 6: '900px' is not a whole number from 320 to 16384\n"
              "bramblehoof: settings.ini line 7: '239' is not a whole number from 240 to 16384\n"
              "bramblehoof: settings.ini line 9: unknown entry 'shake'\n"
              "bramblehoof: settings.ini line 11: button 'start' is the game's own (pause, the system's)\n"
              "bramblehoof: settings.ini line 12: button 'D-pad down' already serves 'down'\n"
              "bramblehoof: settings.ini line 13: unknown pad button 'trigger'\n"
              "bramblehoof: settings.ini line 15: key 'Escape' is the game's own (pause, help, fullscreen, mute, "
              "menus)\n");
    EXPECT_EQ(refused.text(), Settings().text()) << "a refused line keeps its setting's default";
}

TEST(Settings, TheFileIsFoundThroughAnAbsoluteXdgConfigHomeOrElseHome) {
    testsupport::ScratchDir scratch;
    const std::string home = scratch.path() + "/home";
    const std::string xdg = scratch.path() + "/xdg";
    for (const std::string& folder : {home + "/.config/bramblehoof", xdg + "/bramblehoof"}) {
        ASSERT_EQ(std::system(("mkdir -p " + folder).c_str()), 0);
    }
    testsupport::writeFile(home + "/.config/bramblehoof/settings.ini", "[keys]\nattack = h\n");
    testsupport::writeFile(xdg + "/bramblehoof/settings.ini", "[keys]\nattack = x\n");
    ASSERT_EQ(mkdir((scratch.path() + "/bramblehoof").c_str(), 0755), 0);
    testsupport::writeFile(scratch.path() + "/bramblehoof/settings.ini", "[keys]\nattack = r\n");
    const char* realHome = std::getenv("HOME");
    const std::string oldHome = realHome == nullptr ? "" : realHome;
    setenv("HOME", home.c_str(), 1);

    struct Case {
        std::string xdgConfigHome;
        SDL_Keycode attack;
    };
    // A relative XDG_CONFIG_HOME names no folder (the working folder holds one that must be ignored).
    for (const Case& c : {Case{xdg, SDLK_x}, Case{"", SDLK_h}, Case{".", SDLK_h}}) {
        setenv("XDG_CONFIG_HOME", c.xdgConfigHome.c_str(), 1);
        Settings settings;
        std::ostringstream problems;
        settings.load(problems);
        EXPECT_EQ(settings.keys.keysOf(Action::Attack), Keys{c.attack}) << "XDG_CONFIG_HOME=" << c.xdgConfigHome;
        EXPECT_EQ(problems.str(), "");
    }
    setenv("XDG_CONFIG_HOME", (scratch.path() + "/nothing").c_str(), 1);
    Settings missing;
    std::ostringstream problems;
    missing.load(problems);
    EXPECT_EQ(problems.str(), "") << "no file, no complaint";
    EXPECT_EQ(missing.keys.keysOf(Action::Attack), Keys{SDLK_SPACE});
    setenv("HOME", oldHome.c_str(), 1);
}

TEST(Settings, QuotedLinesReachTheTerminalEscapedAndAFloodIsCutToTenLines) {
    testsupport::ScratchDir scratch;  // XDG_CONFIG_HOME is its config/
    ASSERT_EQ(std::system("mkdir -p config/bramblehoof"), 0);
    std::string text =
        "[keys]\n"
        "\x1b]0;owned\x07 = x\n"  // 2: would set the terminal's title
        "up = \x1b[2J\x07\n"      // 3: would clear the screen and ring
        "caf\xe9 = y\n"           // 4: Latin-1, not UTF-8
        "\x1b[31mred\n";          // 5: no entry: the line itself is not quoted
    for (int i = 6; i <= 15; ++i) {
        text += "stop = F" + std::to_string(i) + ", \x9b?1049h\n";  // a C1 byte alone, not UTF-8
    }
    text += "attack = h\n";  // 16: after the flood, still read
    testsupport::writeFile("config/bramblehoof/settings.ini", text);
    Settings settings;
    testing::internal::CaptureStderr();
    settings.load(std::cerr);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err,
              "bramblehoof: settings.ini line 2: unknown entry '\\x1b]0;owned\\x07'\n"
              "bramblehoof: settings.ini line 3: unknown key name '\\x1b[2J\\x07'\n"
              "bramblehoof: settings.ini line 4: unknown entry 'caf\\xe9'\n"
              "bramblehoof: settings.ini line 5: not a [section], a name = value line or a comment\n"
              "bramblehoof: settings.ini line 6: unknown key name '\\x9b?1049h'\n"
              "bramblehoof: settings.ini line 7: unknown key name '\\x9b?1049h'\n"
              "bramblehoof: settings.ini line 8: unknown key name '\\x9b?1049h'\n"
              "bramblehoof: settings.ini line 9: unknown key name '\\x9b?1049h'\n"
              "bramblehoof: settings.ini line 10: unknown key name '\\x9b?1049h'\n"
              "bramblehoof: settings.ini line 11: unknown key name '\\x9b?1049h'\n"
              "bramblehoof: settings.ini: ... and 4 more lines refused\n");
    for (const char c : err) {
        const unsigned char byte = static_cast<unsigned char>(c);
        EXPECT_TRUE(c == '\n' || (byte >= 0x20 && byte < 0x7f)) << "byte " << int(byte) << " reached stderr";
    }
    EXPECT_EQ(settings.keys.keysOf(Action::Attack), Keys{SDLK_h});
}

}  // namespace

// The names in a folder, but . and ..: what a write left behind.
std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    for (dirent* entry = dir != nullptr ? readdir(dir) : nullptr; entry != nullptr; entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    if (dir != nullptr) {
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(Settings, AWriteKeepsTheFilesOwnLinesAndAnInterruptedOneLeavesTheOldFileWhole) {
    testsupport::ScratchDir scratch;
    Settings settings;
    settings.folder = scratch.path() + "/config/bramblehoof";
    const std::string path = settings.file(Settings::kFileName);
    const std::string old = "; my keys\n[keys]\nup = z, Up\njump = x\n\n[sound]\n# quiet evenings\nmusic = 2\n";
    mkdir((scratch.path() + "/config").c_str(), 0755);
    mkdir(settings.folder.c_str(), 0755);
    testsupport::writeFile(path, old);
    std::ostringstream problems;
    settings.apply(old, problems);
    settings.musicVolume = 6;
    settings.fullscreen = true;

    // Every step of the write failed in turn: the old file stands, no temporary is left.
    for (FileIO::Step failing : {FileIO::Step::Create, FileIO::Step::Write, FileIO::Step::Sync, FileIO::Step::Rename}) {
        FileIO::beforeStep = [failing](FileIO::Step step, const std::string&) { return step == failing ? EIO : 0; };
        std::string why;
        EXPECT_FALSE(settings.save(why)) << static_cast<int>(failing);
        EXPECT_EQ(testsupport::readFile(path), old) << static_cast<int>(failing);
        EXPECT_EQ(namesIn(settings.folder), (std::vector<std::string>{"settings.ini", "settings.ini.lock"}))
            << "no temporary left, " << static_cast<int>(failing);
    }
    FileIO::beforeStep = nullptr;

    std::string why;
    ASSERT_TRUE(settings.save(why)) << why;
    EXPECT_EQ(why, "");
    // Only what the game changed: the keys it read stay as the player wrote them.
    const std::string written = testsupport::readFile(path);
    EXPECT_EQ(written,
              "; my keys\n[keys]\nup = z, Up\njump = x\n\n[sound]\n# quiet evenings\nmusic = 6\n\n[window]\n"
              "fullscreen = on\n");
    Settings back;
    std::ostringstream lines;
    back.apply(written, lines);
    EXPECT_EQ(lines.str(), "bramblehoof: settings.ini line 4: unknown entry 'jump'\n") << "the player's line stays";
    EXPECT_EQ(back.text(), settings.text()) << "read back, the same settings";
}

// The game's lines merged into a player's file read back as the game holds them, whatever the
// reader makes of the file's other lines: an indented line continues the entry above it, a ';'
// after a blank ends a line, a section name ends at its ']', a byte-order mark is skipped, a
// name loses every blank isspace() knows.
TEST(Settings, AMergedFileReadsBackAsTheGameHoldsItWhateverTheReaderMakesOfTheOtherLines) {
    const std::vector<std::string> files = {
        "[keys]\nleft = j\n  k\nup = i\n",            // "k" would be one more value of left
        "[keys] ; mine\nstop = z\n[sound]\n junk\n",  // the header's comment; an indented stray
        "\xEF\xBB\xBF[keys]\nattack = x\n",           // the mark before the first section
        "[keys]\n  q\n[pad]\nstop = y\n",             // the keys the file lacks would take in "q"
        "[keys]\n[pad ;]\nright = l\n",               // no section: a ';' after a blank ends the line
        "[keys]\nright: l\n",                         // the other separator
        "[keys]\nright\r= F6\n",                      // a carriage return is a blank too
        "[keys]\n=\n right = F6\n",                   // a nameless entry continues on no line
    };
    for (const std::string& file : files) {
        Settings settings;
        std::ostringstream problems;
        settings.apply(file, problems);
        // The player changes the controls in the game before it writes the file.
        std::string why;
        settings.keys.unbindKeys(Action::Right);
        ASSERT_TRUE(settings.keys.bind(Action::Right, {SDLK_F5}, why)) << why;
        ASSERT_TRUE(settings.keys.rebindKey(Action::Left, SDLK_F6, why)) << why;
        const std::string merged = settings.merged(file);
        Settings back;
        std::ostringstream again;
        back.apply(merged, again);
        EXPECT_EQ(back.text(), settings.text()) << "from:\n" << file << "merged:\n" << merged;
    }
}

namespace {

// Every key SDL names, given to an action in the game, is read back from the file written: first
// in its list or after another, merged into a player's file with a comment.
TEST(Settings, EveryKeySdlNamesIsReadBackAsWritten) {
    testsupport::SdlSession sdl;
    int tried = 0;
    for (int code = 0; code < SDL_NUM_SCANCODES; ++code) {
        const SDL_Keycode key = SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(code));
        if (key == SDLK_UNKNOWN || !Settings::namesKey(key) || KeyBindings::separates(key)) {
            continue;  // none SDL names, and the comma: the controls refuse them
        }
        Settings settings;
        if (settings.keys.kept(key)) {
            continue;
        }
        for (int i = 1; i <= KeyBindings::kActions; ++i) {
            settings.keys.unbindKeys(static_cast<Action>(i));
        }
        // First in its list, then after another.
        const SDL_Keycode other = key == SDLK_UP ? SDLK_DOWN : SDLK_UP;
        for (const Keys& keys : {Keys{key, other}, Keys{other, key}}) {
            std::string why;
            ASSERT_TRUE(settings.keys.bind(Action::Up, keys, why)) << why;
            const std::string merged = settings.merged("[keys] ; mine\nup = w ; my keys\n");
            Settings back;
            std::ostringstream problems;
            back.apply(merged, problems);
            EXPECT_EQ(problems.str(), "") << SDL_GetKeyName(key) << " in:\n" << merged;
            EXPECT_EQ(back.keys.keysOf(Action::Up), keys) << SDL_GetKeyName(key) << " in:\n" << merged;
        }
        ++tried;
    }
    EXPECT_GT(tried, 200) << "SDL names far more keys than this";
}

// A settings folder of a scratch folder, and what the file there says.
class SettingsOnDisk : public testing::Test {
protected:
    void SetUp() override {
        mkdir("config", 0755);
        mkdir("config/bramblehoof", 0755);
    }
    static std::string file() { return testsupport::readFile("config/bramblehoof/settings.ini"); }
    static std::string load(Settings& settings) {
        std::ostringstream problems;
        settings.load(problems);
        return problems.str();
    }
    static void save(Settings& settings) {
        std::string why;
        ASSERT_TRUE(settings.save(why)) << why;
    }

    testsupport::ScratchDir scratch;
};

// What the player writes by hand while the game runs, and what another game writes, stay: a
// save sets only what this game changed, in the file as it is now.
TEST_F(SettingsOnDisk, ASaveKeepsAHandEditAndAnotherGamesChangeMadeSinceTheFileWasRead) {
    testsupport::writeFile("config/bramblehoof/settings.ini", "[sound]\nmusic = 4\n");
    Settings one;
    Settings two;
    load(one);
    load(two);
    one.musicVolume = 6;
    save(one);
    EXPECT_EQ(file(), "[sound]\nmusic = 6\n");
    testsupport::writeFile("config/bramblehoof/settings.ini", "[sound]\nmusic = 6\neffects = 2 ; by hand\n");
    two.muted = true;  // the other game, which read music = 4
    save(two);
    EXPECT_EQ(file(), "[sound]\nmusic = 6\neffects = 2 ; by hand\nmute = on\n");
    one.fullscreen = true;
    save(one);
    EXPECT_EQ(file(), "[sound]\nmusic = 6\neffects = 2 ; by hand\nmute = on\n\n[window]\nfullscreen = on\n");
    std::string why;
    const std::string before = file();
    testsupport::writeFile("config/bramblehoof/settings.ini", "");
    EXPECT_TRUE(one.save(why)) << "nothing new: nothing written";
    EXPECT_EQ(file(), "");
    testsupport::writeFile("config/bramblehoof/settings.ini", before);

    // The file that was read is the last word until this game changes the setting again.
    one.musicVolume = 2;
    save(one);
    EXPECT_EQ(file(), "[sound]\nmusic = 2\neffects = 2 ; by hand\nmute = on\n\n[window]\nfullscreen = on\n");
}

// A line the game refused when it started stays as the player wrote it until he gives that setting
// in the game; an inline comment stays beside the value the game sets.
TEST_F(SettingsOnDisk, ARefusedLineStaysAndAnInlineCommentStaysBesideItsNewValue) {
    testsupport::writeFile("config/bramblehoof/settings.ini",
                           "[keys]\nup = Foo, Up\n[sound]\nmusic = 4 ; evenings\nmute = maybe\n");
    Settings settings;
    load(settings);
    ASSERT_EQ(settings.keys.keysOf(Action::Up), (Keys{SDLK_w, SDLK_UP}));
    settings.musicVolume = 5;
    save(settings);
    EXPECT_EQ(file(), "[keys]\nup = Foo, Up\n[sound]\nmusic = 5 ; evenings\nmute = maybe\n");
    std::string why;
    ASSERT_TRUE(settings.keys.rebindKey(Action::Up, SDLK_SEMICOLON, why)) << why;
    save(settings);
    EXPECT_EQ(file(), "[keys]\nup = \"\\;\", \"Up\"\n[sound]\nmusic = 5 ; evenings\nmute = maybe\n");
    Settings next;  // the next start
    EXPECT_EQ(load(next), "bramblehoof: settings.ini line 5: 'maybe' is neither on nor off\n");
    EXPECT_EQ(next.keys.keysOf(Action::Up), (Keys{SDLK_SEMICOLON, SDLK_UP}));
}

}  // namespace

namespace {

// A game started with a settings file that changes the window and the sound.
class SettingsAtStartUp : public ShellTest {
protected:
    void SetUp() override {
        mkdir("config", 0755);
        mkdir("config/bramblehoof", 0755);
        testsupport::writeFile("config/bramblehoof/settings.ini",
                               "[window]\nwidth = 800\nheight = 600\n[sound]\nmute = on\nmusic = 4\n");
        setenv("SDL_AUDIODRIVER", "dummy", 1);  // a mixer that opens and plays nowhere
        ShellTest::SetUp();
    }
};

TEST_F(SettingsAtStartUp, TheWindowAndTheSoundStartAsTheFileSays) {
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(game->window, &w, &h);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    int logicalW = 0;
    int logicalH = 0;
    SDL_RenderGetLogicalSize(Render::renderer, &logicalW, &logicalH);
    EXPECT_EQ(logicalW, Render::kPicture.w) << "the picture keeps its layout at any window size";
    EXPECT_EQ(logicalH, Render::kPicture.h);
    EXPECT_TRUE(shell->sound.isMuted());
    EXPECT_EQ(Mix_Volume(0, -1), Sound::kTuneVolume * 4 / 10) << "the tunes' channel at four tenths";
    EXPECT_EQ(Mix_Volume(Sound::kChannels - 1, -1), Sound::kEffectVolume) << "the effects as made";
}

}  // namespace

namespace {

// A game started with a FIFO where the player's pad mappings would be: SDL would wait on it for
// ever; the game refuses it and starts.
class PadMappingsAtStartUp : public ShellTest {
protected:
    std::string said;  // what start-up wrote on standard error

    void SetUp() override {
        mkdir("config", 0755);
        mkdir("config/bramblehoof", 0755);
        ASSERT_EQ(mkfifo("config/bramblehoof/gamecontrollerdb.txt", 0644), 0);
        setenv("SDL_AUDIODRIVER", "dummy", 1);  // a mixer that opens, and says nothing
        testing::internal::CaptureStderr();
        alarm(60);  // a start-up that waits on the FIFO ends the test instead of hanging it
        ShellTest::SetUp();
        alarm(0);
        said = testing::internal::GetCapturedStderr();
    }
};

TEST_F(PadMappingsAtStartUp, AFifoIsRefusedInOneLineAndTheGameStarts) {
    const std::string path = std::string(std::getenv("XDG_CONFIG_HOME")) + "/bramblehoof/gamecontrollerdb.txt";
    EXPECT_EQ(said, "bramblehoof: " + path + ": not a regular file; no controller mappings read\n");
    EXPECT_NE(Render::renderer, nullptr);
    EXPECT_TRUE(shell->mainMenu.open) << "the menu shows";
}

}  // namespace

// The language is a setting as the others are: read by its code, refused with the codes it takes,
// written only once changed, and a hand edit made meanwhile stays.
TEST_F(SettingsOnDisk, TheLanguageIsReadWrittenAndKeepsAHandEdit) {
    Settings fresh;
    EXPECT_EQ(fresh.languageCode(), "") << "the desktop's language by default";
    testsupport::writeFile("config/bramblehoof/settings.ini", "[display]\nlanguage = de ; mine\n");
    Settings settings;
    EXPECT_EQ(load(settings), "");
    EXPECT_EQ(settings.languageCode(), "de");

    testsupport::writeFile("config/bramblehoof/settings.ini", "[display]\nlanguage = klingon\nlanguage = pt_BR\n");
    Settings refused;
    EXPECT_EQ(load(refused), "bramblehoof: settings.ini line 2: 'klingon' is none of system, en, de, fr, es, pt_BR\n");
    EXPECT_EQ(refused.languageCode(), "pt_BR") << "the line after it is read";

    // Another setting changed in the game leaves the language line as the player wrote it.
    testsupport::writeFile("config/bramblehoof/settings.ini", "[display]\nlanguage = de ; mine\n");
    load(settings);
    settings.musicVolume = 3;
    save(settings);
    EXPECT_EQ(file(), "[display]\nlanguage = de ; mine\n\n[sound]\nmusic = 3\n");
    // Changed in the game, it is written beside the player's comment; a hand edit to French made
    // since is the file's word on the next start, and French is read back.
    settings.language = 4;  // es
    save(settings);
    EXPECT_EQ(file(), "[display]\nlanguage = es ; mine\n\n[sound]\nmusic = 3\n");
    testsupport::writeFile("config/bramblehoof/settings.ini", "[display]\nlanguage = fr\n\n[sound]\nmusic = 3\n");
    Settings next;
    load(next);
    EXPECT_EQ(next.languageCode(), "fr");
    next.language = 0;
    save(next);
    EXPECT_EQ(file(), "[display]\nlanguage = system\n\n[sound]\nmusic = 3\n");
    Settings last;
    load(last);
    EXPECT_EQ(last.languageCode(), "");
}
