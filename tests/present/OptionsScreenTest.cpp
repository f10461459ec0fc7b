#include "present/OptionsScreen.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

SDL_Event key(SDL_Keycode sym) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = sym;
    return event;
}

SDL_Event click(int x, int y) {
    SDL_Event event{};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.x = x;
    event.button.y = y;
    return event;
}

SDL_Event pad(SDL_GameControllerButton button) {
    SDL_Event event{};
    event.type = SDL_CONTROLLERBUTTONDOWN;
    event.cbutton.button = button;
    return event;
}

// A volume from 0 to 10 and a switch, with every change noted.
class OptionsScreenTest : public testing::Test {
protected:
    int volume = 9;
    int flag = 0;
    std::vector<std::size_t> changes;
    OptionsScreen screen;

    void SetUp() override {
        std::vector<OptionsScreen::Row> rows;
        rows.push_back(
            OptionsScreen::Row{"Volume", 0, 10, false, [this] { return volume; }, [this](int v) { volume = v; }, {}});
        rows.push_back(
            OptionsScreen::Row{"Switch", 0, 1, true, [this] { return flag; }, [this](int v) { flag = v; }, {}});
        screen.changed = [this](std::size_t row) { changes.push_back(row); };
        screen.open(nullptr, nullptr, rows);
    }

    // The picture's y of a row's middle.
    int rowY(std::size_t row) const {
        const SDL_Rect area = screen.lineArea(row);
        return area.y + area.h / 2;
    }
};

TEST_F(OptionsScreenTest, KeysMouseAndPadChangeTheChosenRowWithinItsRangeAndBackLeaves) {
    screen.take(key(SDLK_RIGHT));
    screen.take(key(SDLK_RIGHT));  // already at 10: no change, no call
    EXPECT_EQ(volume, 10);
    screen.take(key(SDLK_LEFT));
    screen.take(pad(SDL_CONTROLLER_BUTTON_DPAD_LEFT));
    EXPECT_EQ(volume, 8);
    EXPECT_EQ(changes, (std::vector<std::size_t>{0, 0, 0}));

    screen.take(key(SDLK_DOWN));
    screen.take(key(SDLK_RETURN));
    EXPECT_EQ(flag, 1) << "Enter flips a switch";
    screen.take(pad(SDL_CONTROLLER_BUTTON_A));
    EXPECT_EQ(flag, 0) << "so does pad A";
    EXPECT_EQ(screen.valueOf(1), "off");

    const int left = screen.panel().x + 40;
    const int right = screen.panel().x + screen.panel().w - 40;
    screen.take(click(left, rowY(0)));
    EXPECT_EQ(volume, 7) << "a click on a number's left half lowers it";
    screen.take(click(right, rowY(0)));
    screen.take(click(right, rowY(0)));
    EXPECT_EQ(volume, 9);
    EXPECT_EQ(screen.chosen(), 0u) << "a click chooses its row";
    EXPECT_FALSE(screen.done());

    screen.take(key(SDLK_UP));  // round from the first row to Back
    EXPECT_EQ(screen.chosen(), 2u);
    screen.take(key(SDLK_RETURN));
    EXPECT_TRUE(screen.done()) << "Enter on Back leaves";

    screen.open(nullptr, nullptr, {});
    EXPECT_FALSE(screen.done());
    screen.take(pad(SDL_CONTROLLER_BUTTON_B));
    EXPECT_TRUE(screen.done()) << "pad B leaves";
}

}  // namespace
