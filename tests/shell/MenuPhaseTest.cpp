#include "ShellFixture.h"
#include "ShownPicture.h"

#include "present/MuteSign.h"
#include "shell/Levels.h"

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <cstring>

// Every picture the game shows passes through here: the shell tests link with
// --wrap=SDL_RenderPresent so that they can count them.
namespace {
int presents = 0;
bool keepShown = false;     // read each shown picture into `shown`
std::vector<Uint32> shown;  // the last picture shown, RGBA, when asked for
// Every picture shown while asked for, and whether play's objects (the arrow is made with the
// ground and the figures) existed when it was shown.
bool keepAll = false;
std::vector<std::pair<bool, std::vector<Uint32>>> allShown;
}  // namespace

void shownpicture::keep(bool on) {
    keepShown = on;
    shown.clear();
}

const std::vector<Uint32>& shownpicture::last() { return shown; }

extern "C" void __real_SDL_RenderPresent(SDL_Renderer* renderer);
extern "C" void __wrap_SDL_RenderPresent(SDL_Renderer* renderer) {
    ++presents;
    if (keepShown) {
        shown.assign(1080 * 720, 0);
        SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_RGBA8888, shown.data(), 1080 * 4);
    }
    if (keepAll) {
        allShown.emplace_back(arrow != nullptr, std::vector<Uint32>(1080 * 720, 0));
        SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_RGBA8888, allShown.back().second.data(), 1080 * 4);
    }
    __real_SDL_RenderPresent(renderer);
}

namespace {

Uint64 menuNow = 0;  // the menu's clock in the tests that stop it
Uint64 menuClock() { return menuNow; }

TEST_F(ShellTest, StartUpTracesTheWindowAndLaysOutTheMenu) {
    EXPECT_EQ(startTrace, "Inited\nWindow created\nis renderingRender created\n")
        << "with every picture and the font in place nothing else is written";

    EXPECT_EQ(shell->run().enemyCount, 2);
    EXPECT_EQ(shell->run().bullCount, 2);
    EXPECT_EQ(shell->run().farmCount, 1);
    EXPECT_EQ(shell->run().level, 1);
    EXPECT_EQ(player->getPos().x, 300);
    EXPECT_EQ(player->getPos().y, 300);
    EXPECT_EQ(shell->farmSite1.x, 1500);
    EXPECT_EQ(shell->farmSite2.y, 700);
    EXPECT_EQ(shell->farmSite3.x, 1700);
    ASSERT_EQ(shell->mainMenu.menuPositions.size(), 7u);
    ASSERT_EQ(shell->mainMenu.menuSizes.size(), 7u);
    // REPLAY, NEW GAME, RESUME, SCORE BOARD, name line: one left edge, one size, 50 pixels apart.
    const int newGameY = shell->mainMenu.menuPositions[1].y;
    EXPECT_EQ(shell->mainMenu.menuPositions[0].y, newGameY - 50);
    EXPECT_EQ(shell->mainMenu.menuPositions[2].y, newGameY - 100);
    EXPECT_EQ(shell->mainMenu.menuPositions[3].y, newGameY - 150);
    EXPECT_EQ(shell->mainMenu.menuPositions[4].y, newGameY + 50);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(shell->mainMenu.menuPositions[i].x, shell->mainMenu.menuPositions[0].x);
        EXPECT_EQ(shell->mainMenu.menuSizes[i].w, shell->mainMenu.menuSizes[0].w);
        EXPECT_EQ(shell->mainMenu.menuSizes[i].h, shell->mainMenu.menuSizes[0].h);
    }
    // The item centres used by players (and the end-to-end test) hit their items.
    EXPECT_TRUE(Button::isOnLoc(shell->mainMenu.menuPositions[1], shell->mainMenu.menuSizes[1], kItemX, kNewGameY));
    EXPECT_TRUE(Button::isOnLoc(shell->mainMenu.menuPositions[0], shell->mainMenu.menuSizes[0], kItemX, kReplayY));
    EXPECT_TRUE(Button::isOnLoc(shell->mainMenu.menuPositions[2], shell->mainMenu.menuSizes[2], kItemX, kResumeY));
    EXPECT_TRUE(Button::isOnLoc(shell->mainMenu.menuPositions[3], shell->mainMenu.menuSizes[3], kItemX, kScoreBoardY));
    EXPECT_FALSE(Button::isOnLoc(shell->mainMenu.menuPositions[0], shell->mainMenu.menuSizes[0], kItemX, kNewGameY));
    EXPECT_FALSE(Button::isOnLoc(shell->mainMenu.menuPositions[2], shell->mainMenu.menuSizes[2], kItemX, kReplayY));
    // OPTIONS and QUIT side by side under the name line, clear of every item above them.
    const std::vector<SDL_Rect>& at = shell->mainMenu.menuPositions;
    const std::vector<SDL_Rect>& size = shell->mainMenu.menuSizes;
    EXPECT_GT(at[Button::kOptionsEntry].y, at[4].y + size[4].h);
    EXPECT_EQ(at[Button::kQuitEntry].y, at[Button::kOptionsEntry].y);
    EXPECT_GT(at[Button::kQuitEntry].x, at[Button::kOptionsEntry].x + size[Button::kOptionsEntry].w);
    EXPECT_GT(size[Button::kOptionsEntry].w, 0);
}

TEST_F(ShellTest, StartUpShowsTheFirstMenuPassesPictureBeforeItLoadsWhatPlayNeeds) {
    shell.reset();
    shell = std::make_unique<Shell>();
    shell->seed.clock = &fixedClock;
    shell->pacer.enabled = false;
    // Stopped where the cursor is off: both pictures take its phase from the clock.
    shell->mainMenu.menuRedraw.clock = &menuClock;
    menuNow = MenuRedraw::kBlinkMs;
    keepAll = true;
    bool started = false;
    traced([&] { started = shell->startUp(); });
    keepAll = false;
    ASSERT_TRUE(started);
    const auto duringStartUp = std::move(allShown);
    allShown.clear();
    testsupport::drainEvents();
    keepShown = true;
    traced([&] { shell->menuPass(); });
    keepShown = false;
    ASSERT_EQ(shown.size(), 1080u * 720u) << "the first menu pass shows a picture";
    bool menuShownEarly = false;
    for (const auto& [playLoaded, picture] : duringStartUp) {
        menuShownEarly = menuShownEarly || (!playLoaded && picture == shown);
    }
    EXPECT_TRUE(menuShownEarly) << duringStartUp.size() << " pictures shown during start-up, none of them the menu's "
                                << "before play's objects were made";
}

// A player who hears nothing on the menu sees why, as in play: the struck speaker in its corner of
// each picture shown while the sound is off, and not once it is back.
TEST_F(ShellTest, TheMenuShowsTheMuteSignWhileTheSoundIsOff) {
    const SDL_Point strike{MuteSign::kBox.x + MuteSign::kBox.w / 2, MuteSign::kBox.y + MuteSign::kBox.h / 2};
    const Uint32 struck = static_cast<Uint32>(MuteSign::kStrike.r) << 24 |
                          static_cast<Uint32>(MuteSign::kStrike.g) << 16 |
                          static_cast<Uint32>(MuteSign::kStrike.b) << 8 | 0xFFu;
    const auto shownAtStrike = [&] {
        SDL_Event moved{};
        moved.type = SDL_MOUSEMOTION;
        moved.motion.x = 20;
        moved.motion.y = 700;
        SDL_PushEvent(&moved);  // something new: the menu shows its picture again
        shown.clear();
        keepShown = true;
        traced([&] { shell->menuPass(); });
        keepShown = false;
        EXPECT_EQ(shown.size(), 1080u * 720u) << "a picture was shown";
        return shown.empty() ? 0u : shown[static_cast<std::size_t>(strike.y) * 1080 + strike.x];
    };
    shell->sound.setMuted(false);
    EXPECT_NE(shownAtStrike(), struck);
    shell->sound.setMuted(true);
    EXPECT_EQ(shownAtStrike(), struck);
    shell->sound.setMuted(false);
    EXPECT_NE(shownAtStrike(), struck);
}

TEST_F(ShellTest, QuitEscapeAndPadBEndTheProcessFromTheMenuWithoutARunOrAFile) {
    // QUIT clicked on the first menu: no word of a close, no run, only the teardown.
    const SDL_Rect quit = shell->mainMenu.menuPositions[Button::kQuitEntry];
    const SDL_Rect quitSize = shell->mainMenu.menuSizes[Button::kQuitEntry];
    testsupport::pushClick(quit.x + quitSize.w / 2, quit.y + quitSize.h / 2);
    EXPECT_EQ(endMenu(), "");
    bool ended = false;
    EXPECT_EQ(traced([&] { ended = shell->closedOnMenuShownAgain(); }), "Game Cleaned\n");
    EXPECT_TRUE(ended);
    EXPECT_FALSE(testsupport::fileExists("files/players.bin"));
    EXPECT_FALSE(testsupport::fileExists("files/resP.bin"));
    EXPECT_FALSE(testsupport::fileExists("files/replay.txt"));

    // Escape on a fresh game's first menu, then a pad's B: each ends the menu the same way.
    for (const bool pad : {false, true}) {
        traced([&] { shell.reset(); });
        shell = std::make_unique<Shell>();
        SetUp();
        if (pad) {
            SDL_Event b{};
            b.type = SDL_CONTROLLERBUTTONDOWN;
            b.cbutton.button = SDL_CONTROLLER_BUTTON_B;
            SDL_PushEvent(&b);
        } else {
            testsupport::pushKeyDown(SDLK_ESCAPE);
        }
        EXPECT_EQ(endMenu(), "") << (pad ? "pad B" : "Escape");
        EXPECT_TRUE(button->quitAsked) << (pad ? "pad B" : "Escape");
        EXPECT_FALSE(Render::isRunning);
    }
}

TEST_F(ShellTest, MenuPassesTakeOneEventEachAndEndThePassAfterTheClick) {
    testsupport::pushText("A");
    testsupport::pushText("n");
    testsupport::pushText("n");
    testsupport::pushClick(kItemX, kNewGameY);
    testsupport::pushText("z");  // arrives after the menu has ended: never read by it
    int passes = 0;
    presents = 0;
    const std::string written = traced([&] {
        while (passes < kMaxMenuPasses && shell->menuPass()) {
            ++passes;
        }
    });
    EXPECT_EQ(passes, 4) << "the click's pass still draws; the phase ends at the next pass";
    EXPECT_EQ(presents, passes) << "Render::present must skip when nothing was drawn since the last "
                                   "present: one picture per menu pass, not one per item";
    EXPECT_EQ(button->getInputText(), "Ann");
    EXPECT_EQ(written, "huy");
    EXPECT_EQ(Button::flag, Button::kPlay);
    EXPECT_TRUE(Render::isRunning);
    EXPECT_FALSE(shell->menuPass()) << "the menu never opens again";
}

TEST_F(ShellTest, AMenuPassWithNothingNewShowsNothingAndTheNameCursorBlinks) {
    shell->mainMenu.menuRedraw.clock = &menuClock;
    menuNow = 0;
    // Pixels of the menu's ink in the cursor's column after the typed name, in the shown picture.
    keepShown = true;
    auto cursorPixels = [&] {
        Text& name = *shell->mainMenu.menuTexts[0];
        const SDL_Rect line = name.getPos(50);
        const int x = line.x + name.widthOf(button->getInputText()) + Text::kCursorGap;
        int ink = 0;
        for (int y = line.y; y < line.y + 44; ++y) {
            for (int dx = 0; dx < Text::kCursorWidth; ++dx) {
                ink += shown.at(y * 1080 + x + dx) == 0x180000FFu ? 1 : 0;
            }
        }
        return ink;
    };
    presents = 0;
    traced([&] { shell->menuPass(); });
    EXPECT_EQ(presents, 1) << "the menu's first picture";
    for (int i = 0; i < 5; ++i) {
        traced([&] { shell->menuPass(); });
    }
    EXPECT_EQ(presents, 1) << "nothing new: nothing drawn, nothing shown";
    testsupport::pushText("Ann");
    traced([&] { shell->menuPass(); });
    EXPECT_EQ(presents, 2) << "typing shows";
    EXPECT_GT(cursorPixels(), 20) << "the cursor stands after the name";
    menuNow = MenuRedraw::kBlinkMs;
    traced([&] { shell->menuPass(); });
    EXPECT_EQ(presents, 3) << "the cursor's blink shows";
    EXPECT_EQ(cursorPixels(), 0) << "blinked off";
    traced([&] { shell->menuPass(); });
    EXPECT_EQ(presents, 3);
    // A window's event (exposed, resized, focus) is news too.
    SDL_Event exposed{};
    exposed.type = SDL_WINDOWEVENT;
    exposed.window.event = SDL_WINDOWEVENT_EXPOSED;
    SDL_PushEvent(&exposed);
    traced([&] { shell->menuPass(); });
    EXPECT_EQ(presents, 4);
    EXPECT_EQ(button->getInputText(), "Ann");
    keepShown = false;
}

// A figure's spawn draws its sheet but shows nothing of its own: a picture shown per figure made
// a new game, and each new level, wait a display refresh for every one of them.
TEST_F(ShellTest, ANewGameAndANewLevelShowTheirFiguresWithTheirFirstFrameOnly) {
    testsupport::pushText("Ann");
    testsupport::pushClick(kItemX, kNewGameY);
    endMenu();
    presents = 0;
    const std::string setUp = traced([&] { shell->runSetUp(); });
    EXPECT_EQ(presents, 0) << "the hero, the farm and both enemies made";
    EXPECT_NE(setUp.find("Render created2\n"), std::string::npos) << "the hero's spawn still says so";
    traced([&] { shell->frame(); });
    EXPECT_EQ(presents, 1);
    traced([&] { Levels::levelUp(*shell); });
    EXPECT_EQ(presents, 1) << "the next level's figures made";
    traced([&] { shell->frame(); });
    EXPECT_EQ(presents, 2);
}

TEST_F(ShellTest, ANameStopsWhereTheSignEnds) {
    for (int i = 0; i < 40; ++i) {
        testsupport::pushText("W");
    }
    for (int i = 0; i < 40; ++i) {
        traced([&] { shell->menuPass(); });
    }
    const std::string name = button->getInputText();
    Text& line = *shell->mainMenu.menuTexts[0];
    const int right = line.getPos(50).x + line.widthOf(name) + Text::kCursorGap + Text::kCursorWidth;
    EXPECT_LE(right, MenuPhase::kSignRight) << "the name and its cursor stay on the sign";
    EXPECT_GT(right + line.widthOf("W"), MenuPhase::kSignRight) << "the name is as long as fits: " << name;
    EXPECT_LT(name.size(), Button::kMaxNameBytes);
    // Erasing a letter makes room for one again.
    testsupport::pushKeyDown(SDLK_BACKSPACE);
    testsupport::pushText("Ö");
    testsupport::pushText("W");
    for (int i = 0; i < 3; ++i) {
        traced([&] { shell->menuPass(); });
    }
    EXPECT_EQ(button->getInputText(), name.substr(0, name.size() - 1) + "Ö");
}

TEST_F(ShellTest, MenuDrawsItsLabelsAndTheNameInMenuColour) {
    testsupport::pushText("Zed");
    // Draw one pass by hand up to its present, reading the picture before it is shown.
    traced([&] { shell->menuPass(); });
    menu->copyTex(menu->getPos(), menu->getRect());
    Text& name = *shell->mainMenu.menuTexts[0];
    traced([&] { name.display(name.showInput(button->getInputText()), name.getPos(50)); });
    std::vector<Uint32> pixels(1080 * 720);
    ASSERT_EQ(SDL_RenderReadPixels(Render::renderer, nullptr, SDL_PIXELFORMAT_RGBA8888, pixels.data(), 1080 * 4), 0);
    const SDL_Rect line = shell->mainMenu.menuTexts[0]->getPos(50);
    int dark = 0;
    for (int y = line.y; y < line.y + 44 && y < 720; ++y) {
        for (int x = line.x; x < line.x + 60; ++x) {
            const Uint32 p = pixels[y * 1080 + x];
            // The dark red menu colour, blended over the picture by its alpha of 170.
            const Uint32 r = p >> 24, g = (p >> 16) & 0xFF, b = (p >> 8) & 0xFF;
            if (r + g + b < 300 && r > b) {
                ++dark;
            }
        }
    }
    EXPECT_GT(dark, 20) << "the typed name is drawn in the dark menu colour on the name line";
}

TEST_F(ShellTest, ScoreBoardAndMissesKeepTheMenuOpen) {
    testsupport::pushClick(kItemX, kScoreBoardY);
    testsupport::pushClick(5, 5);
    testsupport::pushClick(kItemX, shell->mainMenu.menuPositions[4].y + 10);  // the name line
    int open = 0;
    const std::string written = traced([&] {
        for (int i = 0; i < 5; ++i) {
            open += shell->menuPass() ? 1 : 0;
        }
    });
    EXPECT_EQ(open, 5);
    EXPECT_EQ(Button::checkIs, 1);
    EXPECT_EQ(Button::flag, Button::kPlay);
    EXPECT_EQ(written, "");
}

TEST_F(ShellTest, ResumeAndReplayClicksChooseTheRunMode) {
    saveHero({640, 480, 5000, 1, 0, 0, 2, 2});
    shell->mainMenu.reset();
    testsupport::pushClick(kItemX, kResumeY);
    EXPECT_EQ(endMenu(), "5");
    EXPECT_EQ(Button::flag, Button::kResumePending);
}

TEST_F(ShellTest, ReplayClickTracesThePreviousMode) {
    testsupport::pushClick(kItemX, kReplayY);
    EXPECT_EQ(endMenu(), "replay12");
    EXPECT_EQ(Button::flag, Button::kReplayPending);
    traced([&] { shell->runSetUp(); });
    EXPECT_EQ(shell->run().level, 3) << "a replay runs at level 3 with nothing placed";
    for (const auto& enemy : shell->run().enemies) {
        EXPECT_EQ(enemy->getID(), 0);
    }
    EXPECT_FALSE(shell->run().replayOut.is_open()) << "a replay never records";
}

TEST_F(ShellTest, ClosingTheWindowOnTheMenuStillSetsUpAndEndsTheRun) {
    testsupport::pushQuit();
    std::string all = endMenu();
    const bool runningAfterMenu = Render::isRunning;
    all += traced([&] { shell->runSetUp(); });
    all += endFrames(1);  // runs no frame
    all += traced([&] { shell->endOfRun(); });
    EXPECT_FALSE(runningAfterMenu);
    // The close, a new game's set-up, no frame, and the save of the unmoved hero and both enemies
    // before any frame gave them a screen position; the hero is not torn down.
    EXPECT_EQ(all,
              "pcchemuRender created2\nRender Building created\n"
              " 300 300\n\n 0 50\n 0 50\n 50 -1000\n 50 -1000\n\n ***** \n\n ***** \nGame Cleaned\n");
    EXPECT_EQ(Render::renderer, nullptr);
}

}  // namespace

namespace {

TEST_F(ShellTest, ScoreBoardClickTogglesTheBoardAndKeepsTheMenu) {
    std::string bytes(56, '\0');
    bytes.replace(0, 3, "Ann");
    bytes[52] = 90;
    testsupport::writeFile("files/players.bin", bytes);
    testsupport::pushClick(kItemX, kScoreBoardY);
    testsupport::pushText("Z");  // the rest of the menu keeps working under the board
    EXPECT_EQ(traced([&] { shell->menuPass(); }), "");
    EXPECT_TRUE(shell->mainMenu.scoreBoard.isOpen());
    traced([&] { shell->menuPass(); });
    EXPECT_EQ(button->getInputText(), "Z");
    testsupport::pushClick(kItemX, kScoreBoardY);
    traced([&] { shell->menuPass(); });
    EXPECT_FALSE(shell->mainMenu.scoreBoard.isOpen());
    EXPECT_EQ(Button::checkIs, 1);
    EXPECT_EQ(Button::flag, Button::kPlay);

    testsupport::pushClick(kItemX, kScoreBoardY);
    testsupport::pushClick(kItemX, kNewGameY);
    EXPECT_EQ(endMenu(), "huy");
    traced([&] { shell->runSetUp(); });
    EXPECT_FALSE(shell->mainMenu.scoreBoard.isOpen()) << "the board goes with the menu";
}

}  // namespace

namespace {

// Pixels of dark ink inside menu item entry's box, in the last shown picture.
int inkOf(Shell& shell, std::size_t entry) {
    const SDL_Rect at = shell.mainMenu.menuPositions[entry];
    const SDL_Rect size = shell.mainMenu.menuSizes[entry];
    int ink = 0;
    for (int y = at.y; y < at.y + size.h && y < 720; ++y) {
        for (int x = at.x; x < at.x + size.w && x < 1080; ++x) {
            const Uint32 p = shown.at(static_cast<std::size_t>(y) * 1080 + x);
            // The letters, dark red at their alpha of 170, stand well darker than the light sign.
            ink += (p >> 24) < 150 ? 1 : 0;
        }
    }
    return ink;
}

// Each item looks at its own file: a recorded run without a save lights REPLAY alone, a save
// without a recorded run RESUME alone.
TEST_F(ShellTest, ReplayAndResumeEachLightForTheirOwnFileAlone) {
    keepShown = true;
    testsupport::writeFile("files/replay.txt", "300 300\n");
    shell->mainMenu.reset();
    traced([&] { shell->menuPass(); });
    int newGame = inkOf(*shell, Button::kNewGameEntry);
    EXPECT_GT(inkOf(*shell, Button::kReplayEntry), newGame / 2) << "a run to replay";
    EXPECT_LT(inkOf(*shell, Button::kResumeEntry), newGame / 10) << "no save to resume";

    std::remove("files/replay.txt");
    saveHero({640, 480, 5000, 1, 0, 0, 2, 2});  // a save that can be resumed
    shell->mainMenu.reset();
    traced([&] { shell->menuPass(); });
    newGame = inkOf(*shell, Button::kNewGameEntry);
    EXPECT_LT(inkOf(*shell, Button::kReplayEntry), newGame / 10) << "nothing to replay";
    EXPECT_GT(inkOf(*shell, Button::kResumeEntry), newGame / 2) << "a save to resume";
    keepShown = false;
}

// Brightness of a pixel of the last shown picture (the sum of its colours).
int lightAt(int x, int y) {
    const Uint32 p = shown.at(static_cast<std::size_t>(y) * 1080 + x);
    return static_cast<int>((p >> 24) + ((p >> 16) & 0xff) + ((p >> 8) & 0xff));
}

// A faint item is also struck through: a bar across its label that reaches past its first
// letter, where a lit item leaves the sign bare; so it reads as faint in shape, not in ink alone.
TEST_F(ShellTest, AFaintItemIsStruckThroughAndALitOneIsNot) {
    keepShown = true;
    saveHero({640, 480, 5000, 1, 0, 0, 2, 2});  // RESUME lit, REPLAY faint
    shell->mainMenu.reset();
    SDL_SetRenderDrawColor(Render::renderer, 1, 2, 3, 255);
    traced([&] { shell->menuPass(); });
    // The bar leaves the renderer's colour as it found it: what draws next expects its own.
    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_GetRenderDrawColor(Render::renderer, &r, &g, &b, &a);
    EXPECT_EQ((std::vector<int>{r, g, b, a}), (std::vector<int>{1, 2, 3, 255}));
    const auto struck = [&](std::size_t entry) {
        const SDL_Rect label = shell->mainMenu.labelBox(entry);
        const int y = label.y + label.h / 2;
        // Just left of the first letter, within the bar, against the bare sign further left.
        return lightAt(label.x - 3, y) < lightAt(label.x - 12, y) - 30;
    };
    EXPECT_TRUE(struck(Button::kReplayEntry)) << "nothing to replay: struck through";
    EXPECT_FALSE(struck(Button::kResumeEntry)) << "a save to resume: lit, not struck";
    EXPECT_FALSE(struck(Button::kNewGameEntry));
    keepShown = false;
}

TEST_F(ShellTest, ReplayAndResumeAreDimmedWhileThereIsNothingToReplayOrResume) {
    keepShown = true;
    // No files at all, then files that are there but empty: both items dimmed.
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        if (round == 1) {
            testsupport::writeFile("files/replay.txt", "");
            testsupport::writeFile("files/resP.bin", "");
        }
        shell->mainMenu.reset();
        traced([&] { shell->menuPass(); });
        const int newGame = inkOf(*shell, Button::kNewGameEntry);
        EXPECT_GT(newGame, 100);
        EXPECT_LT(inkOf(*shell, Button::kReplayEntry), newGame / 10);
        EXPECT_LT(inkOf(*shell, Button::kResumeEntry), newGame / 10);
        EXPECT_GT(inkOf(*shell, Button::kScoreBoardEntry), 100) << "only those two";
    }

    // A recorded run and a saved game: drawn as the others, once the menu opens again.
    testsupport::writeFile("files/replay.txt", "300 300\n");
    saveHero({640, 480, 5000, 1, 0, 0, 2, 2});
    testsupport::pushText("A");  // news for the open menu, whose items were decided when it opened
    traced([&] { shell->menuPass(); });
    EXPECT_LT(inkOf(*shell, Button::kResumeEntry), inkOf(*shell, Button::kNewGameEntry) / 10)
        << "decided once per menu, not every pass";
    shell->mainMenu.reset();
    traced([&] { shell->menuPass(); });
    const int newGame = inkOf(*shell, Button::kNewGameEntry);
    EXPECT_GT(inkOf(*shell, Button::kReplayEntry), newGame / 2);
    EXPECT_GT(inkOf(*shell, Button::kResumeEntry), newGame / 2);
    keepShown = false;
}

}  // namespace

namespace {

// The menu's picture after `events` passes, each taking one of the events pushed before.
std::vector<Uint32> menuPicture(Shell& shell, int events) {
    keepShown = true;
    shown.clear();
    for (int i = 0; i < events; ++i) {
        testing::internal::CaptureStdout();
        shell.menuPass();
        testing::internal::GetCapturedStdout();
    }
    keepShown = false;
    return shown;
}

// How far apart two pixels are: the sum of their red, green and blue differences.
int distance(Uint32 a, Uint32 b) {
    int sum = 0;
    for (int shift : {24, 16, 8}) {
        sum += std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    }
    return sum;
}

// Where two pictures differ within rows top to bottom (excluded): the highlight moved there.
SDL_Rect changedIn(const std::vector<Uint32>& a, const std::vector<Uint32>& b, int top, int bottom) {
    int left = 1080, right = -1, high = 720, low = -1;
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < 1080; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * 1080 + static_cast<std::size_t>(x);
            if (a[at] != b[at]) {
                left = std::min(left, x);
                right = std::max(right, x);
                high = std::min(high, y);
                low = std::max(low, y);
            }
        }
    }
    return right < 0 ? SDL_Rect{0, 0, 0, 0} : SDL_Rect{left, high, right - left + 1, low - high + 1};
}

// Pixels of the focus mark's dark bar at the left of menu item entry's box, in the last shown picture.
int focusBarOf(Shell& shell, std::size_t entry) {
    const SDL_Rect at = shell.mainMenu.menuPositions[entry];
    const SDL_Rect size = shell.mainMenu.menuSizes[entry];
    const Uint32 bar = (Uint32{Menu::kFocusBar.r} << 24) | (Uint32{Menu::kFocusBar.g} << 16) |
                       (Uint32{Menu::kFocusBar.b} << 8) | 0xFFu;
    int pixels = 0;
    for (int y = at.y; y < at.y + size.h; ++y) {
        for (int x = at.x - Menu::kFocusMargin; x < at.x; ++x) {
            pixels += shown.at(static_cast<std::size_t>(y) * 1080 + x) == bar ? 1 : 0;
        }
    }
    return pixels;
}

// Pixels of the menu's dark ink in the band of rows where the notes at the foot stand.
int noteInk() {
    int ink = 0;
    for (int y = MenuPhase::kNoteY - 2 * MenuPhase::kNoteGap; y < 720; ++y) {
        for (int x = 0; x < 1080; ++x) {
            ink += (shown.at(static_cast<std::size_t>(y) * 1080 + x) >> 24) < 150 ? 1 : 0;  // dark red on sand
        }
    }
    return ink;
}

void pushPointerAt(int x, int y) {
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = x;
    motion.motion.y = y;
    SDL_PushEvent(&motion);
}

// A run lost to the outlaws leaves a saved hero with no health: RESUME is faint on the menu after
// it and at the next start, the pointer resting on it does not highlight it, and choosing it
// starts nothing, traces nothing and says on the menu why; NEW GAME still starts.
TEST_F(ShellTest, AfterADeathResumeIsFaintNeverHighlightedAndChoosingItSaysWhy) {
    startNewGame();
    traced([&] { shell->frame(); });
    const SDL_Rect enemyAt = shell->run().enemies[0]->realRect;
    player->setAll(enemyAt.x - 35, enemyAt.y - 35, 4);
    ASSERT_EQ(endFrames(200), "youre dead");
    traced([&] {
        shell->commitRun();
        shell->endOfRun(true);
        shell->showMenuAgain();
    });
    int32_t savedHealth = 1;
    std::memcpy(&savedHealth, testsupport::readFile("files/resP.bin").data() + 8, 4);
    ASSERT_LE(savedHealth, 0) << "the save holds the fallen hero";

    keepShown = true;
    traced([&] { shell->menuPass(); });
    EXPECT_LT(inkOf(*shell, Button::kResumeEntry), inkOf(*shell, Button::kNewGameEntry) / 10)
        << "faint on the menu after the run";

    // The next start, with the pointer where the last RESUME click left it.
    traced([&] { shell.reset(); });
    shell = std::make_unique<Shell>();
    SetUp();
    keepShown = true;
    pushPointerAt(kItemX, kResumeY);
    traced([&] { shell->menuPass(); });
    EXPECT_NE(button->focus, Button::kResumeEntry);
    EXPECT_EQ(focusBarOf(*shell, Button::kResumeEntry), 0) << "the pointer on a faint RESUME marks nothing";
    EXPECT_GT(focusBarOf(*shell, Button::kNewGameEntry), 0) << "NEW GAME keeps the mark";
    EXPECT_LT(inkOf(*shell, Button::kResumeEntry), inkOf(*shell, Button::kNewGameEntry) / 10);
    testsupport::pushKeyDown(SDLK_UP);  // from NEW GAME: REPLAY
    testsupport::pushKeyDown(SDLK_UP);  // RESUME is passed by: SCORE BOARD
    traced([&] {
        shell->menuPass();
        shell->menuPass();
    });
    EXPECT_EQ(button->focus, Button::kScoreBoardEntry);
    EXPECT_EQ(focusBarOf(*shell, Button::kResumeEntry), 0);

    const int inkBefore = noteInk();
    const std::string saveBefore = testsupport::readFile("files/resP.bin");
    std::vector<std::string> drawn;
    Text::onRender = [&drawn](const std::string& s) { drawn.push_back(s); };
    testing::internal::CaptureStderr();
    testsupport::pushClick(kItemX, kResumeY);
    const std::string trace = traced([&] {
        for (int pass = 0; pass < 5; ++pass) {
            shell->menuPass();
        }
    });
    const std::string said = testing::internal::GetCapturedStderr();
    Text::onRender = nullptr;
    keepShown = false;
    EXPECT_EQ(trace, "") << "no run mode chosen, nothing traced";
    EXPECT_EQ(Button::checkIs, 1) << "the menu stays";
    EXPECT_EQ(Button::flag, Button::kPlay);
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), Texts::text(Texts::Id::MenuResumeOver)), drawn.end());
    EXPECT_GT(noteInk(), inkBefore + 200) << "the note is on the picture";
    EXPECT_EQ(said, "bramblehoof: cannot resume (the saved hero has no health left, " + std::to_string(savedHealth) +
                        ": that run is over)\n");
    EXPECT_EQ(testsupport::readFile("files/resP.bin"), saveBefore) << "the save is left as it was";

    EXPECT_EQ(startNewGame().rfind("huy", 0), 0u) << "NEW GAME still starts";
    EXPECT_EQ(shell->run().level, 1);
}

}  // namespace

// The highlight surrounds its whole label, the longest (SCORE BOARD) too, with room on both
// sides, and its edge stands out clearly on the sign and on the sand under it (OPTIONS).
TEST_F(ShellTest, TheHighlightHoldsItsWholeLabelAndStandsOutOnTheSignAndOnTheSand) {
    for (int i = 0; i < 2; ++i) {
        testsupport::pushKeyDown(SDLK_UP);  // NEW GAME, REPLAY, SCORE BOARD (RESUME, faint, is passed by)
    }
    const std::vector<Uint32> onScoreBoard = menuPicture(*shell, 2);
    ASSERT_EQ(button->focus, Button::kScoreBoardEntry);
    for (int i = 0; i < 3; ++i) {
        testsupport::pushKeyDown(SDLK_DOWN);  // to OPTIONS, under the sign (RESUME passed by)
    }
    const std::vector<Uint32> onOptions = menuPicture(*shell, 3);
    ASSERT_EQ(button->focus, Button::kOptionsEntry);
    ASSERT_FALSE(onScoreBoard.empty());
    ASSERT_FALSE(onOptions.empty());

    TTF_Font* font = shell->mainMenu.menuTexts[1]->font;
    ASSERT_NE(font, nullptr);
    const std::pair<std::size_t, std::string> items[] = {{Button::kScoreBoardEntry, "SCORE BOARD"},
                                                         {Button::kOptionsEntry, "OPTIONS"}};
    for (const auto& [entry, label] : items) {
        SCOPED_TRACE(label);
        int w = 0;
        int h = 0;
        ASSERT_EQ(TTF_SizeUTF8(font, label.c_str(), &w, &h), 0);
        const SDL_Rect at = shell->mainMenu.menuPositions[entry];
        const SDL_Rect lit = changedIn(onScoreBoard, onOptions, at.y - 20, at.y + h + 20);
        EXPECT_LE(lit.x, at.x - 6) << "room left of the label";
        EXPECT_GE(lit.x + lit.w, at.x + w + 6) << "room right of the label, whose text is " << w << " wide";
        EXPECT_LE(lit.y, at.y);
        EXPECT_GE(lit.y + lit.h, at.y + h);
        // Its top edge, all along, unlike what is there without it.
        const std::vector<Uint32>& with = entry == Button::kOptionsEntry ? onOptions : onScoreBoard;
        const std::vector<Uint32>& without = entry == Button::kOptionsEntry ? onScoreBoard : onOptions;
        int clear = 0;
        for (int x = lit.x; x < lit.x + lit.w; ++x) {
            const std::size_t p = static_cast<std::size_t>(lit.y) * 1080 + static_cast<std::size_t>(x);
            clear += distance(with[p], without[p]) >= 150 ? 1 : 0;
        }
        EXPECT_GE(clear, lit.w * 9 / 10) << "of " << lit.w << " pixels along its top edge, so many stand out";
    }
}

// A window that changes size under a pointer resting on the menu moves no highlight: SDL tells
// where the pointer now stands over the picture by a motion that moved by nothing. A motion of
// the mouse still moves it.
TEST_F(ShellTest, AResizeUnderARestingPointerLeavesTheHighlightWhereItWas) {
    testsupport::pushKeyDown(SDLK_UP);  // REPLAY, by the keys
    const std::vector<Uint32> before = menuPicture(*shell, 1);
    ASSERT_EQ(button->focus, Button::kReplayEntry);

    const SDL_Rect options = shell->mainMenu.menuPositions[Button::kOptionsEntry];
    SDL_Event rest{};
    rest.type = SDL_MOUSEMOTION;
    rest.motion.x = options.x + 10;  // over OPTIONS now, the pointer unmoved on the screen
    rest.motion.y = options.y + 10;
    for (const SDL_Point size : {SDL_Point{640, 480}, SDL_Point{1080, 720}}) {
        SDL_SetWindowSize(game->window, size.x, size.y);
        SDL_PushEvent(&rest);
        menuPicture(*shell, 1);  // a pass between: SDL keeps only the last size change still queued
    }
    testsupport::pushKeyUp(SDLK_UP);  // something for the menu to take and draw after
    const std::vector<Uint32> after = menuPicture(*shell, 3);
    EXPECT_EQ(button->focus, Button::kReplayEntry) << "the highlight stayed on REPLAY";
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(changedIn(before, after, 0, 720).w, 0) << "the menu looks as before the resizes";

    SDL_Event moved = rest;
    moved.motion.xrel = 3;  // the player moves the mouse
    SDL_PushEvent(&moved);
    menuPicture(*shell, 1);
    EXPECT_EQ(button->focus, Button::kOptionsEntry);
}

namespace {

// The name last played, offered at the next start as a player meets it: faint on the empty name
// line, taken with Right, passed over when a name is typed; kept beside the settings.
class LastNameTest : public ShellTest {
protected:
    // Ends this process and starts the next game in the same folder.
    void nextProcess() {
        traced([&] { shell.reset(); });
        shell = std::make_unique<Shell>();
        SetUp();
    }

    // A run with the name as it stands, closed in play, with its end of run.
    void playARun() {
        startNewGame();
        traced([&] { shell->frame(); });
        testsupport::pushQuit();
        traced([&] {
            shell->frame();
            shell->endOfRun();
        });
    }

    // The strings made into pictures by one menu pass.
    std::vector<std::string> menuPassDrawing() {
        std::vector<std::string> drawn;
        Text::onRender = [&drawn](const std::string& s) { drawn.push_back(s); };
        traced([&] { shell->menuPass(); });
        Text::onRender = nullptr;
        return drawn;
    }

    // Dark ink on the name line, in the last shown picture.
    int nameLineInk() const {
        const SDL_Rect at = shell->mainMenu.menuPositions[Button::kItems];
        int ink = 0;
        for (int y = at.y; y < at.y + 44; ++y) {
            for (int x = at.x; x < at.x + 200; ++x) {
                ink += (shown.at(static_cast<std::size_t>(y) * 1080 + x) >> 24) < 150 ? 1 : 0;
            }
        }
        return ink;
    }

    static bool has(const std::vector<std::string>& drawn, const std::string& s) {
        return std::find(drawn.begin(), drawn.end(), s) != drawn.end();
    }

    std::string keptName() const { return testsupport::readFile(scratch.file("config/bramblehoof/last-name")); }

    static std::vector<std::string> filesFolder() {
        std::vector<std::string> names;
        if (DIR* dir = opendir("files")) {
            while (dirent* entry = readdir(dir)) {
                names.push_back(entry->d_name);
            }
            closedir(dir);
        }
        return names;
    }

    // The name of the players file's last record.
    static std::string lastRecordName() {
        const std::string players = testsupport::readFile("files/players.bin");
        return players.size() < 56 ? "" : std::string(players.c_str() + players.size() - 56);
    }
};

TEST_F(LastNameTest, TheLastNameIsOfferedFaintlyTakenWithRightAndIgnoredWhenANameIsTyped) {
    // A first start offers nothing: the prompt as always.
    EXPECT_TRUE(has(menuPassDrawing(), Texts::text(Texts::Id::NamePrompt)));
    testsupport::pushText("Ann");
    playARun();
    EXPECT_EQ(keptName(), "Ann\n") << "kept beside the settings";
    for (const std::string& name : filesFolder()) {
        EXPECT_EQ(testsupport::readFile("files/" + name).find("Ann\n"), std::string::npos) << name;
        EXPECT_EQ(name.find("name"), std::string::npos) << name;
    }

    // The next start: Ann shows, with how to take her, but is nobody's name yet.
    nextProcess();
    keepShown = true;
    std::vector<std::string> drawn = menuPassDrawing();
    const int faint = nameLineInk();
    EXPECT_TRUE(has(drawn, "Ann"));
    EXPECT_FALSE(has(drawn, Texts::text(Texts::Id::NamePrompt)));
    EXPECT_TRUE(has(drawn, Texts::format(Texts::Id::MenuLastName, {"Ann"})));
    EXPECT_EQ(button->getInputText(), "");
    testsupport::pushKeyDown(SDLK_RIGHT);
    drawn = menuPassDrawing();
    EXPECT_EQ(button->getInputText(), "Ann") << "Right takes it";
    keepShown = false;
    EXPECT_GT(faint, 20) << "shown";
    EXPECT_LT(faint * 3, nameLineInk()) << "faint until taken";
    EXPECT_FALSE(has(drawn, Texts::format(Texts::Id::MenuLastName, {"Ann"}))) << "nothing offered any more";
    testsupport::pushKeyDown(SDLK_RIGHT);
    menuPassDrawing();
    EXPECT_EQ(button->getInputText(), "Ann") << "taken once";
    playARun();
    EXPECT_EQ(lastRecordName(), "Ann");

    // Typing starts another name: the offer is gone, and the run is as one with a typed name.
    nextProcess();
    testsupport::pushText("B");
    testsupport::pushKeyDown(SDLK_RIGHT);
    testsupport::pushText("o");
    traced([&] {
        for (int pass = 0; pass < 3; ++pass) {
            shell->menuPass();
        }
    });
    EXPECT_EQ(button->getInputText(), "Bo");
    playARun();
    EXPECT_EQ(lastRecordName(), "Bo");
    EXPECT_EQ(keptName(), "Bo\n");

    // A run with no name leaves the one kept; it is offered again, and left untaken the run has
    // no name, as before.
    nextProcess();
    playARun();
    EXPECT_EQ(lastRecordName(), "");
    EXPECT_EQ(keptName(), "Bo\n");
}

}  // namespace
