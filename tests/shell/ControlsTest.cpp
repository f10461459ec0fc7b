#include "ShellFixture.h"

#include "input/HeldWalk.h"
#include "present/OptionRows.h"

namespace {

// The whole game driven from the keyboard alone and from a game controller plugged in while it
// runs. Held walks follow a clock the test moves by one frame's time per frame.
class ControlsTest : public ShellTest {
protected:
    static Uint64 now;
    static Uint64 fakeClock() { return now; }

    void SetUp() override {
        now = 5000;
        shell->walkClock = &fakeClock;
        ShellTest::SetUp();
    }
    void frames(int n) {
        for (int i = 0; i < n && Render::isRunning && player != nullptr; ++i) {
            now += 1000 / 60;
            shell->frame();
        }
    }

    // A virtual pad plugged in: index is its device index, pad its open joystick.
    static void plugPad(int& index, SDL_Joystick*& pad) {
        // The dummy driver's window never has the focus, without which SDL holds pad events back.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Test pad";
        index = SDL_JoystickAttachVirtualEx(&desc);
        ASSERT_GE(index, 0) << SDL_GetError();
        pad = SDL_JoystickOpen(index);
        ASSERT_NE(pad, nullptr);
    }

    static void pushKeyWith(SDL_Keycode key, Uint16 mod) {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.state = SDL_PRESSED;
        event.key.keysym.sym = key;
        event.key.keysym.mod = mod;
        SDL_PushEvent(&event);
    }

    // Runs menu passes until the queue is empty; returns their trace.
    std::string menuPasses() {
        return traced([&] {
            for (int pass = 0; pass < kMaxMenuPasses && shell->input.pump(); ++pass) {
                shell->menuPass();
            }
        });
    }
};

Uint64 ControlsTest::now = 0;

TEST_F(ControlsTest, TheMenuIsPlayedFromTheKeyboardAlone) {
    pushKeyWith(SDLK_TAB, KMOD_NONE);     // from NEW GAME, the lowest on the sign, to OPTIONS and QUIT
    pushKeyWith(SDLK_TAB, KMOD_NONE);     // under it,
    pushKeyWith(SDLK_TAB, KMOD_NONE);     // and round to SCORE BOARD
    pushKeyWith(SDLK_RETURN, KMOD_NONE);  // shows the board and stays on the menu
    pushKeyWith(SDLK_TAB, KMOD_LSHIFT);   // back to NEW GAME: what the board covers is out of reach
    pushKeyWith(SDLK_UP, KMOD_NONE);      // REPLAY
    pushKeyWith(SDLK_RETURN, KMOD_LALT);  // Alt+Enter is the fullscreen key, not a choice
    const std::string before = menuPasses();
    EXPECT_EQ(before, "");
    EXPECT_TRUE(button->showScores);
    EXPECT_EQ(button->focus, Button::kReplayEntry);
    EXPECT_EQ(Button::checkIs, 1);

    pushKeyWith(SDLK_RETURN, KMOD_NONE);
    EXPECT_EQ(endMenu(), "replay12") << "Enter chooses as a click on the item would";
    EXPECT_EQ(Button::flag, Button::kReplayPending);
}

TEST_F(ControlsTest, APadPluggedInChoosesWalksWithTheStickAndStopsWhenPulledOut) {
    int index = -1;
    SDL_Joystick* pad = nullptr;
    ASSERT_NO_FATAL_FAILURE(plugPad(index, pad));
    const SDL_JoystickID id = SDL_JoystickInstanceID(pad);
    menuPasses();  // the menu hears of the new pad
    ASSERT_NE(SDL_GameControllerFromInstanceID(id), nullptr) << "a pad plugged in while the game runs is used";

    auto tap = [&](SDL_GameControllerButton which) {
        SDL_JoystickSetVirtualButton(pad, which, 1);
        SDL_JoystickUpdate();
        SDL_JoystickSetVirtualButton(pad, which, 0);
        SDL_JoystickUpdate();
    };
    for (int i = 0; i < 2; ++i) {
        tap(SDL_CONTROLLER_BUTTON_DPAD_UP);  // REPLAY, SCORE BOARD: RESUME, with no save, is passed by
    }
    tap(SDL_CONTROLLER_BUTTON_A);
    tap(SDL_CONTROLLER_BUTTON_DPAD_UP);  // round to NEW GAME
    EXPECT_EQ(menuPasses(), "");
    EXPECT_TRUE(button->showScores);
    tap(SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(endMenu(), "huy");
    traced([&] { shell->runSetUp(); });

    auto stick = [&](Sint16 x) {
        SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, x);
        SDL_JoystickUpdate();
    };
    const int startX = player->getPos().x;
    stick(6000);  // within the dead zone
    frames(30);
    EXPECT_EQ(player->getPos().x, startX) << "a stick barely off centre does not walk";
    stick(20000);
    frames(30);
    // One step at the push, then one every 1/30 s of the 29 frames (464 ms) after it.
    EXPECT_EQ(player->getPos().x, startX + 12 * 14);

    stick(0);
    frames(2);
    EXPECT_FALSE(player->walking) << "the stick let go stops him";

    // Each way of the D-pad, held down, walks that way.
    struct Way {
        SDL_GameControllerButton button;
        int dx;
        int dy;
    };
    for (const Way way : {Way{SDL_CONTROLLER_BUTTON_DPAD_LEFT, -1, 0}, Way{SDL_CONTROLLER_BUTTON_DPAD_UP, 0, -1},
                          Way{SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1, 0}, Way{SDL_CONTROLLER_BUTTON_DPAD_DOWN, 0, 1}}) {
        const SDL_Rect from = player->getPos();
        SDL_JoystickSetVirtualButton(pad, way.button, 1);
        SDL_JoystickUpdate();
        frames(15);
        SDL_JoystickSetVirtualButton(pad, way.button, 0);
        SDL_JoystickUpdate();
        frames(2);
        const SDL_Rect to = player->getPos();
        const std::string name = SDL_GameControllerGetStringForButton(way.button);
        // A step at the press, then one every 1/30 s of the 14 frames (224 ms) after it.
        EXPECT_EQ(to.x - from.x, way.dx * 12 * 7) << name;
        EXPECT_EQ(to.y - from.y, way.dy * 12 * 7) << name;
        EXPECT_FALSE(player->walking) << name << " let go stops him";
    }

    EXPECT_FALSE(shell->playKeys.pauseAsked);
    SDL_JoystickClose(pad);
    SDL_JoystickDetachVirtual(index);
    frames(2);
    EXPECT_TRUE(shell->playKeys.pauseAsked) << "a pad pulled out in play pauses the game";
    const int pulledAt = player->getPos().x;
    frames(30);
    EXPECT_EQ(player->getPos().x, pulledAt) << "the walk ends with the pad";
    EXPECT_FALSE(player->walking);
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, nullptr);
}

// A whole session with a pad and nothing else: a name typed on the letter grid, NEW GAME, a pause,
// the options, a button given to an action, a quit to the menu, and QUIT.
TEST_F(ControlsTest, ASessionIsPlayedWithThePadAlone) {
    int index = -1;
    SDL_Joystick* pad = nullptr;
    ASSERT_NO_FATAL_FAILURE(plugPad(index, pad));
    menuPasses();
    auto tap = [&](SDL_GameControllerButton which) {
        SDL_JoystickSetVirtualButton(pad, which, 1);
        SDL_JoystickUpdate();
        SDL_JoystickSetVirtualButton(pad, which, 0);
        SDL_JoystickUpdate();
    };

    tap(SDL_CONTROLLER_BUTTON_Y);
    ASSERT_TRUE(shell->menuPass());
    const Screen* grid = dynamic_cast<LetterGrid*>(shell->screens.top());
    ASSERT_NE(grid, nullptr) << "Y on the menu opens the letter grid over it";
    // Each pass of the menu phase takes what the pad sent since the last one.
    auto gridPass = [&](SDL_GameControllerButton which) {
        tap(which);
        return shell->menuPass();
    };
    gridPass(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);  // B
    gridPass(SDL_CONTROLLER_BUTTON_A);
    gridPass(SDL_CONTROLLER_BUTTON_DPAD_DOWN);  // L
    gridPass(SDL_CONTROLLER_BUTTON_A);
    gridPass(SDL_CONTROLLER_BUTTON_A);
    gridPass(SDL_CONTROLLER_BUTTON_B);  // takes the second L back
    gridPass(SDL_CONTROLLER_BUTTON_DPAD_UP);
    gridPass(SDL_CONTROLLER_BUTTON_DPAD_UP);  // round to the bottom row: 5
    gridPass(SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(shell->screens.top(), grid);
    EXPECT_TRUE(gridPass(SDL_CONTROLLER_BUTTON_START)) << "the menu goes on";
    EXPECT_EQ(shell->screens.top(), nullptr) << "Start is done with the name";
    EXPECT_EQ(button->getInputText(), "BL5");

    tap(SDL_CONTROLLER_BUTTON_A);  // NEW GAME, focused from the start
    EXPECT_EQ(endMenu(), "huy");
    traced([&] { shell->runSetUp(); });
    frames(2);
    tap(SDL_CONTROLLER_BUTTON_START);
    frames(1);
    ASSERT_TRUE(shell->playKeys.pauseAsked);
    shell->startPause();
    tap(SDL_CONTROLLER_BUTTON_Y);  // the options
    EXPECT_TRUE(shell->pausePass());
    for (std::size_t row = optionRow(OptionRows::kControls); row > 0; --row) {
        tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);  // to Controls
    }
    tap(SDL_CONTROLLER_BUTTON_A);
    EXPECT_TRUE(shell->pausePass());
    tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);  // Stop
    tap(SDL_CONTROLLER_BUTTON_A);
    tap(SDL_CONTROLLER_BUTTON_Y);
    EXPECT_TRUE(shell->pausePass());
    EXPECT_EQ(shell->settings.keys.buttonsOf(KeyBindings::Action::Stop),
              std::vector<SDL_GameControllerButton>{SDL_CONTROLLER_BUTTON_Y});
    tap(SDL_CONTROLLER_BUTTON_B);  // the controls
    EXPECT_TRUE(shell->pausePass());
    tap(SDL_CONTROLLER_BUTTON_B);  // the options
    EXPECT_TRUE(shell->pausePass());
    tap(SDL_CONTROLLER_BUTTON_B);  // the pause panel: quit to the menu
    EXPECT_FALSE(shell->pausePass());
    ASSERT_TRUE(shell->run().quitToMenu);
    traced([&] {
        shell->commitRun();
        shell->endOfRun(true);
        shell->showMenuAgain();
    });
    EXPECT_EQ(button->getInputText(), "BL5") << "the name stays for the next run";

    tap(SDL_CONTROLLER_BUTTON_B);  // QUIT
    endMenu();
    EXPECT_TRUE(shell->closedOnMenuShownAgain());
    SDL_JoystickClose(pad);
    SDL_JoystickDetachVirtual(index);
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, nullptr);
}

// P given to one of the hero's actions (the settings file refuses it, the bindings themselves
// take it): P is then the hero's, never a pause key, and the help says so.
class BoundPTest : public ControlsTest {
protected:
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(shell->settings.keys.bind(KeyBindings::Action::Attack, {SDLK_SPACE, SDLK_p}, why)) << why;
        ControlsTest::SetUp();
    }
};

TEST_F(BoundPTest, PGivenToAnActionDoesItAndNeverPauses) {
    ASSERT_GE(shell->help.text().size(), 2u);
    EXPECT_EQ(shell->help.text()[1], "Attack: click or Space or P   Pause: Esc   This help: F1");
    startNewGame();
    frames(1);
    ASSERT_FALSE(player->is_attack());
    testsupport::pushKeyDown(SDLK_p);
    frames(1);
    EXPECT_TRUE(player->is_attack()) << "P attacks";
    EXPECT_FALSE(shell->playKeys.pauseAsked) << "and does not pause";
    testsupport::pushKeyDown(SDLK_ESCAPE);
    frames(1);
    EXPECT_TRUE(shell->playKeys.pauseAsked) << "Escape still pauses";
}

}  // namespace
