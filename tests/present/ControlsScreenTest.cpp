#include "present/ControlsScreen.h"

#include "present/ChoicePanel.h"
#include "present/FontCache.h"
#include "present/HelpPanel.h"
#include "present/Text.h"

#include <gtest/gtest.h>

#include <vector>
#include "TestSupport.h"

namespace {

using testsupport::keyDown;
using testsupport::ofType;
using testsupport::padDown;

using Action = KeyBindings::Action;
using Keys = std::vector<SDL_Keycode>;
using Buttons = std::vector<SDL_GameControllerButton>;

}  // namespace

TEST(ControlsScreenTest, APressGivesTheChosenActionItsKeyOrButtonAndRefusesWhatIsTakenOrKept) {
    KeyBindings bindings;
    ControlsScreen screen;
    int changes = 0;
    screen.changed = [&] { ++changes; };
    screen.open(nullptr, nullptr, bindings);

    screen.take(keyDown(SDLK_RETURN));  // Up waits for its key
    ASSERT_TRUE(screen.waiting());
    screen.take(keyDown(SDLK_m));
    EXPECT_TRUE(screen.waiting()) << "a key the game keeps is refused; the row still waits";
    EXPECT_EQ(screen.message(), "M is kept by the game");
    screen.take(keyDown(SDLK_s));
    EXPECT_EQ(screen.message(), "S already serves Down");
    screen.take(keyDown(SDLK_i));
    EXPECT_FALSE(screen.waiting());
    EXPECT_EQ(bindings.keysOf(Action::Up), (Keys{SDLK_i, SDLK_UP})) << "the first key is replaced, the others stay";
    EXPECT_EQ(bindings.actionOf(SDLK_w), Action::None);
    EXPECT_EQ(changes, 1) << "only a binding made is a change";

    screen.take(keyDown(SDLK_RETURN));
    screen.take(keyDown(SDLK_ESCAPE));
    EXPECT_FALSE(screen.waiting()) << "Escape keeps the action as it was";
    EXPECT_FALSE(screen.done()) << "and stays on the screen";
    EXPECT_EQ(bindings.keysOf(Action::Up), (Keys{SDLK_i, SDLK_UP}));

    // With the pad alone: down to Stop, which has no button yet, and on to Attack.
    for (int row = 0; row < 4; ++row) {
        screen.take(padDown(SDL_CONTROLLER_BUTTON_DPAD_DOWN));
    }
    screen.take(padDown(SDL_CONTROLLER_BUTTON_A));
    screen.take(padDown(SDL_CONTROLLER_BUTTON_DPAD_UP));
    EXPECT_EQ(screen.message(), "D-pad up already serves Up");
    screen.take(padDown(SDL_CONTROLLER_BUTTON_START));
    EXPECT_FALSE(screen.waiting()) << "Start gives up waiting";
    screen.take(padDown(SDL_CONTROLLER_BUTTON_A));
    screen.take(padDown(SDL_CONTROLLER_BUTTON_Y));
    EXPECT_EQ(bindings.buttonsOf(Action::Stop), (Buttons{SDL_CONTROLLER_BUTTON_Y}));
    screen.take(padDown(SDL_CONTROLLER_BUTTON_DPAD_DOWN));
    screen.take(padDown(SDL_CONTROLLER_BUTTON_A));
    screen.take(padDown(SDL_CONTROLLER_BUTTON_X));  // already Attack's second: it becomes the first
    EXPECT_EQ(bindings.buttonsOf(Action::Attack), (Buttons{SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_A}));
    EXPECT_EQ(changes, 3);

    screen.take(padDown(SDL_CONTROLLER_BUTTON_DPAD_DOWN));  // Reset to defaults
    ASSERT_EQ(screen.chosen(), ControlsScreen::kResetRow);
    screen.take(keyDown(SDLK_RETURN));
    EXPECT_EQ(bindings.keysOf(Action::Up), (Keys{SDLK_w, SDLK_UP}));
    EXPECT_TRUE(bindings.buttonsOf(Action::Stop).empty());
    EXPECT_EQ(changes, 4);
    screen.take(padDown(SDL_CONTROLLER_BUTTON_B));
    EXPECT_TRUE(screen.done());
}

namespace {

// Where a player finds a row: its band under the title and the columns' names, 52 pixels high.
constexpr int kFirstRowTop = ControlsScreen::kPanel.y + 20 + ControlsScreen::kRowHeight + 14;
SDL_Event mouseAt(Uint32 type, int row, int intoRow, Uint8 button = SDL_BUTTON_LEFT) {
    SDL_Event e{};
    e.type = type;
    const int x = ControlsScreen::kPanel.x + ControlsScreen::kPanel.w / 2;
    const int y = kFirstRowTop + row * ControlsScreen::kRowHeight + intoRow;
    if (type == SDL_MOUSEMOTION) {
        e.motion.x = x;
        e.motion.y = y;
    } else {
        e.button.button = button;
        e.button.x = x;
        e.button.y = y;
    }
    return e;
}

}  // namespace

// The pointer chooses the row it is over, from its band's first pixel to its last; a left click
// acts on it (an action waits, Reset resets, Back leaves), any other button does nothing.
TEST(ControlsScreenTest, ThePointerChoosesTheRowUnderItAndALeftClickActsOnIt) {
    KeyBindings bindings;
    ControlsScreen screen;
    screen.open(nullptr, nullptr, bindings);
    for (std::size_t row = 0; row <= ControlsScreen::kBackRow; ++row) {
        for (const int into : {0, ControlsScreen::kRowHeight / 2, ControlsScreen::kRowHeight - 1}) {
            screen.take(mouseAt(SDL_MOUSEMOTION, static_cast<int>(row), into));
            EXPECT_EQ(screen.chosen(), row) << into << " pixels into row " << row;
        }
    }
    screen.take(mouseAt(SDL_MOUSEMOTION, 0, -1));  // the columns' names above the first row
    EXPECT_EQ(screen.chosen(), ControlsScreen::kBackRow) << "no row there: the choice stays";

    screen.take(mouseAt(SDL_MOUSEBUTTONDOWN, 1, 2, SDL_BUTTON_RIGHT));
    EXPECT_FALSE(screen.waiting()) << "a right click acts on nothing";
    EXPECT_EQ(screen.chosen(), ControlsScreen::kBackRow);
    screen.take(mouseAt(SDL_MOUSEBUTTONDOWN, 1, ControlsScreen::kRowHeight - 2));
    EXPECT_TRUE(screen.waiting()) << "a left click low in Left's band";
    EXPECT_EQ(screen.chosen(), 1u);
    screen.take(keyDown(SDLK_j));
    EXPECT_EQ(bindings.keysOf(Action::Left), (Keys{SDLK_j, SDLK_LEFT}));

    screen.take(mouseAt(SDL_MOUSEBUTTONDOWN, static_cast<int>(ControlsScreen::kResetRow), 2));
    EXPECT_EQ(bindings.keysOf(Action::Left), (Keys{SDLK_a, SDLK_LEFT})) << "Reset clicked";
    EXPECT_FALSE(screen.done());
    screen.take(mouseAt(SDL_MOUSEBUTTONDOWN, static_cast<int>(ControlsScreen::kBackRow), 2, SDL_BUTTON_RIGHT));
    EXPECT_FALSE(screen.done());
    screen.take(mouseAt(SDL_MOUSEBUTTONDOWN, static_cast<int>(ControlsScreen::kBackRow), 2));
    EXPECT_TRUE(screen.done()) << "Back clicked";
}

// The comma separates keys in settings.ini and Tab moves between rows: neither is ever given to an
// action, each refused with its line while the row goes on waiting.
TEST(ControlsScreenTest, ACommaOrTabIsRefusedAndTheRowWaitsOn) {
    KeyBindings bindings;
    ControlsScreen screen;
    int changes = 0;
    screen.changed = [&] { ++changes; };
    screen.open(nullptr, nullptr, bindings);
    screen.take(keyDown(SDLK_DOWN));
    screen.take(keyDown(SDLK_RETURN));  // Left waits
    ASSERT_TRUE(screen.waiting());
    screen.take(keyDown(SDLK_COMMA));
    EXPECT_TRUE(screen.waiting());
    EXPECT_EQ(screen.message(), "a comma cannot be kept: the settings file lists keys with it");
    screen.take(keyDown(SDLK_TAB));
    EXPECT_TRUE(screen.waiting());
    EXPECT_EQ(screen.message(), "Tab is kept by the game");
    EXPECT_EQ(bindings.keysOf(Action::Left), (Keys{SDLK_a, SDLK_LEFT}));
    EXPECT_EQ(bindings.actionOf(SDLK_COMMA), Action::None);
    EXPECT_EQ(bindings.actionOf(SDLK_TAB), Action::None);
    EXPECT_EQ(changes, 0);
    screen.take(keyDown(SDLK_j));
    EXPECT_EQ(bindings.keysOf(Action::Left), (Keys{SDLK_j, SDLK_LEFT})) << "the row waited for this one";
}

// A key whose name settings.ini could not keep (the second Return reads back as the game's own
// Return) is refused as that key would be; a ';' and "Keypad ," are given, the file quotes them.
TEST(ControlsScreenTest, AKeyTheSettingsFileCannotNameIsRefusedAndAQuotedOneIsGiven) {
    KeyBindings bindings;
    ControlsScreen screen;
    screen.open(nullptr, nullptr, bindings);
    screen.take(keyDown(SDLK_RETURN));
    screen.take(keyDown(SDLK_RETURN2));
    EXPECT_TRUE(screen.waiting());
    EXPECT_EQ(screen.message(), "Return is kept by the game");
    EXPECT_EQ(bindings.actionOf(SDLK_RETURN2), Action::None);
    screen.take(keyDown(SDLK_SEMICOLON));
    EXPECT_FALSE(screen.waiting());
    EXPECT_EQ(bindings.keysOf(Action::Up), (Keys{SDLK_SEMICOLON, SDLK_UP}));
    screen.take(keyDown(SDLK_DOWN));
    screen.take(keyDown(SDLK_RETURN));
    screen.take(keyDown(SDLK_KP_COMMA));
    EXPECT_EQ(bindings.keysOf(Action::Left), (Keys{SDLK_KP_COMMA, SDLK_LEFT}));
}

namespace {

// The controls drawn with the game's fonts, to see the line under the rows.
class ControlsPictureTest : public testing::Test {
protected:
    testsupport::ScratchDir scratch;  // the font from images/
    testsupport::SdlSession sdl;
    KeyBindings bindings;
    ControlsScreen screen;

    void SetUp() override {
        ASSERT_EQ(TTF_Init(), 0) << TTF_GetError();
        TTF_Font* font = FontCache::get(Text::kFontPath, Text::kPointSize);
        TTF_Font* small = FontCache::get(Text::kFontPath, HelpPanel::kPointSize);
        ASSERT_NE(font, nullptr);
        ASSERT_NE(small, nullptr);
        screen.open(font, small, bindings);
    }
    void TearDown() override {
        FontCache::closeAll();
        TTF_Quit();
    }

    // Pixels of exactly colour in the band of the picture between the last row and the hint,
    // where what the last press did is said.
    int saidIn(SDL_Color colour) {
        SDL_SetRenderDrawColor(sdl.renderer, 0, 0, 0, 255);
        SDL_RenderClear(sdl.renderer);
        screen.draw(sdl.renderer);
        const SDL_Rect panel = ControlsScreen::kPanel;
        const int top = panel.y + 20 + ControlsScreen::kRowHeight + 14;
        const SDL_Rect band{panel.x, top + static_cast<int>(ControlsScreen::kBackRow + 1) * ControlsScreen::kRowHeight,
                            panel.w, 0};
        const int bottom = panel.y + panel.h - 20 - 16;  // the hint's line
        std::vector<Uint8> rgba(static_cast<std::size_t>(band.w * (bottom - band.y)) * 4);
        const SDL_Rect area{band.x, band.y, band.w, bottom - band.y};
        SDL_RenderReadPixels(sdl.renderer, &area, SDL_PIXELFORMAT_RGBA32, rgba.data(), band.w * 4);
        int count = 0;
        for (std::size_t i = 0; i < rgba.size(); i += 4) {
            count += rgba[i] == colour.r && rgba[i + 1] == colour.g && rgba[i + 2] == colour.b ? 1 : 0;
        }
        return count;
    }
};

TEST_F(ControlsPictureTest, ARefusalIsSaidInItsWarmInkAndABindingInThePanelsInk) {
    constexpr SDL_Color kRefused{255, 140, 110, 255};
    EXPECT_EQ(saidIn(kRefused) + saidIn(ChoicePanel::kInk), 0) << "nothing said yet";
    screen.take(keyDown(SDLK_RETURN));  // Up waits
    screen.take(keyDown(SDLK_s));       // Down's
    ASSERT_TRUE(screen.waiting());
    EXPECT_GT(saidIn(kRefused), 100) << "refused: " << screen.message();
    EXPECT_EQ(saidIn(ChoicePanel::kInk), 0);
    screen.take(keyDown(SDLK_i));
    ASSERT_FALSE(screen.waiting());
    EXPECT_EQ(saidIn(kRefused), 0) << "bound: " << screen.message();
    EXPECT_GT(saidIn(ChoicePanel::kInk), 100);
}

// A refusal is told by a cross before its words as well as by its warm ink: two diagonal strokes
// where the line's first letter would otherwise be the leftmost ink. A binding has none.
TEST_F(ControlsPictureTest, ARefusalHasACrossBeforeItsWordsAndABindingHasNone) {
    constexpr SDL_Color kRefused{255, 140, 110, 255};
    // The leftmost refused-ink pixel of the band and whether an X of kCrossSize starts there.
    const auto crossShown = [&]() {
        SDL_SetRenderDrawColor(sdl.renderer, 0, 0, 0, 255);
        SDL_RenderClear(sdl.renderer);
        screen.draw(sdl.renderer);
        const SDL_Rect panel = ControlsScreen::kPanel;
        const int top = panel.y + 20 + ControlsScreen::kRowHeight + 14 +
                        static_cast<int>(ControlsScreen::kBackRow + 1) * ControlsScreen::kRowHeight;
        const SDL_Rect area{panel.x, top, panel.w, panel.y + panel.h - 36 - top};
        std::vector<Uint8> rgba(static_cast<std::size_t>(area.w * area.h) * 4);
        SDL_RenderReadPixels(sdl.renderer, &area, SDL_PIXELFORMAT_RGBA32, rgba.data(), area.w * 4);
        const auto inked = [&](int x, int y) {
            if (x < 0 || y < 0 || x >= area.w || y >= area.h) {
                return false;
            }
            const std::size_t i = (static_cast<std::size_t>(y) * area.w + x) * 4;
            return rgba[i] == kRefused.r && rgba[i + 1] == kRefused.g && rgba[i + 2] == kRefused.b;
        };
        int left = area.w;
        int topY = area.h;
        for (int x = 0; x < area.w && left == area.w; ++x) {
            for (int y = 0; y < area.h; ++y) {
                if (inked(x, y)) {
                    left = x;
                    topY = y;
                    break;
                }
            }
        }
        if (left == area.w) {
            return false;
        }
        const int size = ControlsScreen::kCrossSize;
        for (int i = 0; i < size; ++i) {
            if (!inked(left + i, topY + i) || !inked(left + size - 1 - i, topY + i)) {
                return false;
            }
        }
        return !inked(left + size / 2, topY);  // an X, not a filled block
    };
    EXPECT_FALSE(crossShown()) << "nothing said yet";
    screen.take(keyDown(SDLK_RETURN));  // Up waits
    screen.take(keyDown(SDLK_s));       // Down's: refused
    ASSERT_TRUE(screen.waiting());
    EXPECT_TRUE(crossShown()) << "refused: " << screen.message();
    screen.take(keyDown(SDLK_i));
    ASSERT_FALSE(screen.waiting());
    EXPECT_FALSE(crossShown()) << "bound: " << screen.message();
}

}  // namespace
