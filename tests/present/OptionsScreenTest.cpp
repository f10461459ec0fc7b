#include "present/OptionsScreen.h"

#include "present/Language.h"
#include "present/OptionRows.h"
#include "present/Settings.h"

#include "present/ChoicePanel.h"
#include "present/FontCache.h"
#include "present/HelpPanel.h"
#include "present/Text.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testsupport::keyDown;
using testsupport::ofType;
using testsupport::padDown;

SDL_Event click(int x, int y) {
    SDL_Event event{};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.x = x;
    event.button.y = y;
    return event;
}

SDL_Event wheel(int y) {
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.y = y;
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
        rows.push_back(OptionsScreen::Row{
            "Volume", 0, 10, false, [this] { return volume; }, [this](int v) { volume = v; }, {}, {}});
        rows.push_back(
            OptionsScreen::Row{"Switch", 0, 1, true, [this] { return flag; }, [this](int v) { flag = v; }, {}, {}});
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
    screen.take(keyDown(SDLK_RIGHT));
    screen.take(keyDown(SDLK_RIGHT));  // already at 10: no change, no call
    EXPECT_EQ(volume, 10);
    screen.take(keyDown(SDLK_LEFT));
    screen.take(padDown(SDL_CONTROLLER_BUTTON_DPAD_LEFT));
    EXPECT_EQ(volume, 8);
    EXPECT_EQ(changes, (std::vector<std::size_t>{0, 0, 0}));

    screen.take(keyDown(SDLK_DOWN));
    screen.take(keyDown(SDLK_RETURN));
    EXPECT_EQ(flag, 1) << "Enter flips a switch";
    screen.take(padDown(SDL_CONTROLLER_BUTTON_A));
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

    screen.take(keyDown(SDLK_UP));  // round from the first row to Back
    EXPECT_EQ(screen.chosen(), 2u);
    screen.take(keyDown(SDLK_RETURN));
    EXPECT_TRUE(screen.done()) << "Enter on Back leaves";

    screen.open(nullptr, nullptr, {});
    EXPECT_FALSE(screen.done());
    screen.take(padDown(SDL_CONTROLLER_BUTTON_B));
    EXPECT_TRUE(screen.done()) << "pad B leaves";
}

// A row of set shares (the game's speed) steps through its own values only, down with Left and a
// click on its left half, up with Right, stopping at each end, and shows its value as a share.
TEST_F(OptionsScreenTest, ARowOfSetSharesStepsThroughItsValuesOnlyAndShowsThemAsShares) {
    int speed = 100;
    OptionsScreen::Row row{"Speed", 50, 100, false, [&] { return speed; }, [&](int v) { speed = v; }, {}, {}};
    row.steps = {100, 75, 50};
    row.percent = true;
    screen.open(nullptr, nullptr, {row});
    EXPECT_EQ(screen.valueOf(0), "100%");
    screen.take(keyDown(SDLK_RIGHT));
    EXPECT_EQ(speed, 75) << "Right takes the next value";
    screen.take(click(screen.panel().x + screen.panel().w - 40, rowY(0)));
    EXPECT_EQ(speed, 50);
    screen.take(keyDown(SDLK_RIGHT));
    EXPECT_EQ(speed, 50) << "the last value stays";
    EXPECT_EQ(screen.valueOf(0), "50%");
    screen.take(keyDown(SDLK_LEFT));
    EXPECT_EQ(speed, 75) << "Left goes back one value, not one unit";
    screen.take(click(screen.panel().x + 40, rowY(0)));
    screen.take(keyDown(SDLK_LEFT));
    EXPECT_EQ(speed, 100);
}

// The panel stands mid-picture, so its halves are split at its own middle, not the picture's
// left edge plus half a panel; the wheel turns up towards more.
TEST_F(OptionsScreenTest, ANumberGoesDownLeftOfThePanelsMiddleAndUpRightOfItAndTheWheelUpRaisesIt) {
    const SDL_Rect box = screen.panel();
    const int middle = box.x + box.w / 2;
    ASSERT_GT(box.x, 100) << "the panel is centred, well right of the picture's edge";
    screen.take(click(middle - 8, rowY(0)));
    EXPECT_EQ(volume, 8) << "just left of the middle lowers";
    screen.take(click(box.x + 2, rowY(0)));
    EXPECT_EQ(volume, 7) << "at the panel's left edge too";
    screen.take(click(middle + 8, rowY(0)));
    EXPECT_EQ(volume, 8) << "just right of the middle raises";
    screen.take(click(box.x + box.w - 2, rowY(0)));
    EXPECT_EQ(volume, 9);
    screen.take(click(box.x - 2, rowY(0)));
    EXPECT_EQ(volume, 9) << "left of the panel is no row";

    screen.take(wheel(1));
    EXPECT_EQ(volume, 10) << "the wheel turned up raises";
    screen.take(wheel(-1));
    screen.take(wheel(-1));
    screen.take(wheel(-3));  // one step a notch event, however far it turned
    EXPECT_EQ(volume, 7) << "turned down lowers";
    EXPECT_EQ(changes.size(), 8u);
    EXPECT_EQ(flag, 0) << "only the chosen row changes";
}

// The pointer chooses any line it is over, Back too, so a key then acts on what it points at;
// off the panel it leaves the choice alone.
TEST_F(OptionsScreenTest, ThePointerChoosesTheLineUnderItBackIncluded) {
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = screen.panel().x + screen.panel().w / 2;
    for (std::size_t line = 0; line < screen.lines(); ++line) {
        motion.motion.y = rowY(line);
        screen.take(motion);
        EXPECT_EQ(screen.chosen(), line);
    }
    motion.motion.y = screen.panel().y + 2;  // the title
    screen.take(motion);
    EXPECT_EQ(screen.chosen(), 2u) << "still Back";
    screen.take(keyDown(SDLK_RETURN));
    EXPECT_TRUE(screen.done()) << "Enter on the Back pointed at";
    EXPECT_TRUE(changes.empty());
}

// Screens of many switches drawn with the game's fonts over black, to see where lines land.
class OptionsPictureTest : public testing::Test {
protected:
    testsupport::ScratchDir scratch;  // the font from images/
    testsupport::SdlSession sdl;
    std::vector<int> flags = std::vector<int>(20, 0);
    OptionsScreen screen;

    void SetUp() override { ASSERT_EQ(TTF_Init(), 0) << TTF_GetError(); }
    void TearDown() override {
        FontCache::closeAll();
        TTF_Quit();
    }

    void openWith(std::size_t count) {
        std::vector<OptionsScreen::Row> rows;
        for (std::size_t i = 0; i < count; ++i) {
            rows.push_back(OptionsScreen::Row{"Setting " + std::to_string(i + 1),
                                              0,
                                              1,
                                              true,
                                              [this, i] { return flags[i]; },
                                              [this, i](int v) { flags[i] = v; },
                                              {},
                                              {}});
        }
        TTF_Font* font = FontCache::get(Text::kFontPath, Text::kPointSize);
        TTF_Font* small = FontCache::get(Text::kFontPath, HelpPanel::kPointSize);
        ASSERT_NE(font, nullptr);
        ASSERT_NE(small, nullptr);
        screen.open(font, small, rows);
    }

    // The bands of picture lines holding light ink across the panel's width, top to bottom.
    std::vector<std::pair<int, int>> inkBands() {
        SDL_SetRenderDrawColor(sdl.renderer, 0, 0, 0, 255);
        SDL_RenderClear(sdl.renderer);
        screen.draw(sdl.renderer);
        const int w = Render::kPicture.w;
        std::vector<Uint8> rgba(static_cast<std::size_t>(w * Render::kPicture.h) * 4);
        SDL_RenderReadPixels(sdl.renderer, nullptr, SDL_PIXELFORMAT_RGBA32, rgba.data(), w * 4);
        std::vector<std::pair<int, int>> bands;
        const SDL_Rect box = screen.panel();
        for (int y = 0; y < Render::kPicture.h; ++y) {
            bool inked = false;
            for (int x = box.x; x < box.x + box.w && !inked; ++x) {
                const Uint8* p = &rgba[(static_cast<std::size_t>(y) * w + x) * 4];
                inked = p[0] > 150 && p[1] > 130;  // the letters, not the panel nor the chosen bar
            }
            if (inked && !bands.empty() && bands.back().second == y - 1) {
                bands.back().second = y;
            } else if (inked) {
                bands.emplace_back(y, y);
            }
        }
        return bands;
    }

    // The panel's colour at a point of the last picture drawn (none outside the panel: black).
    bool panelAt(int x, int y) {
        Uint8 p[4] = {};
        const SDL_Rect one{x, y, 1, 1};
        SDL_RenderReadPixels(sdl.renderer, &one, SDL_PIXELFORMAT_RGBA32, p, 4);
        return p[0] + p[1] + p[2] > 0;
    }
};

TEST_F(OptionsPictureTest, ThePanelGrowsWithItsRowsWithinThePictureAndNoLineEverTouchesTheHint) {
    for (std::size_t count : {1u, 6u, 7u, 8u, 9u, 14u}) {
        SCOPED_TRACE("rows: " + std::to_string(count));
        openWith(count);
        const std::size_t shown = std::min(count + 1, static_cast<std::size_t>(OptionsScreen::kMaxLines));
        const std::vector<std::pair<int, int>> bands = inkBands();
        ASSERT_EQ(bands.size(), shown + 2) << "the title, every line shown and the hint, apart";
        const SDL_Rect box = screen.panel();
        EXPECT_TRUE(panelAt(box.x + 1, box.y)) << "the panel's top in the picture";
        EXPECT_TRUE(panelAt(box.x + 1, box.y + box.h - 1)) << "and its bottom";
        EXPECT_GE(box.y, ChoicePanel::kTop) << "under the menu's title";
        EXPECT_LE(box.y + box.h, ChoicePanel::kBottom);
        EXPECT_GT(bands.front().first, box.y);
        EXPECT_LT(bands.back().second, box.y + box.h) << "the hint within the panel";
        EXPECT_GE(bands.back().first, screen.hintY()) << "the lowest band is the hint";
        const SDL_Rect lastLine = screen.lineArea(shown - 1);
        EXPECT_GT(bands[bands.size() - 2].first, lastLine.y - 1) << "the one above it is the last line shown";
        if (count == 6) {
            EXPECT_EQ(box.h, 540) << "six rows and Back, all in view";
        }
    }
    openWith(6);
    const int six = screen.panel().h;
    openWith(5);
    EXPECT_EQ(six - screen.panel().h, OptionsScreen::kRowHeight) << "a row more, a row taller";
}

TEST_F(OptionsPictureTest, RowsBeyondThePictureScrollWithTheChoiceAndAClickTakesTheRowShownThere) {
    openWith(14);
    EXPECT_EQ(screen.lineArea(OptionsScreen::kMaxLines).h, 0) << "out of view at first";
    for (int i = 0; i < 13; ++i) {
        screen.take(keyDown(SDLK_DOWN));
    }
    EXPECT_EQ(screen.chosen(), 13u);
    const SDL_Rect last = screen.lineArea(13);
    ASSERT_GT(last.h, 0) << "the chosen row came into view";
    EXPECT_EQ(screen.lineArea(0).h, 0) << "the first went out of it";
    EXPECT_EQ(inkBands().size(), static_cast<std::size_t>(OptionsScreen::kMaxLines) + 2);

    const SDL_Rect ninth = screen.lineArea(screen.rowNamed("Setting 9"));
    ASSERT_GT(ninth.h, 0);
    screen.take(click(ninth.x + 40, ninth.y + ninth.h / 2));
    EXPECT_EQ(screen.chosen(), 8u) << "the row drawn where the click landed";
    EXPECT_EQ(flags[8], 1);
    screen.take(wheel(-1));
    EXPECT_EQ(flags[8], 0) << "the wheel flips the chosen switch";
    EXPECT_EQ(flags[13], 0);

    for (int i = 0; i < 6; ++i) {
        screen.take(keyDown(SDLK_DOWN));  // to Back
    }
    screen.take(keyDown(SDLK_DOWN));  // round to the first row
    EXPECT_EQ(screen.chosen(), 0u);
    EXPECT_GT(screen.lineArea(0).h, 0) << "back at the top";
    screen.take(keyDown(SDLK_UP));
    EXPECT_EQ(screen.chosen(), screen.rowNamed(OptionsScreen::kBack));
    const SDL_Rect back = screen.lineArea(screen.chosen());
    ASSERT_GT(back.h, 0);
    screen.take(click(back.x + back.w / 2, back.y + back.h / 2));
    EXPECT_TRUE(screen.done()) << "a click on Back leaves";
}

}  // namespace

// The game's own rows in every language, each drawn over black: no letter outside the panel, and
// in every row's band a clear gap between the label and its value (the widest: "Movimiento
// reducido", "< Português (Brasil) >").
TEST_F(OptionsPictureTest, EveryLanguagesRowsStayInsideThePanelWithTheirValuesApart) {
    Settings settings;
    for (const Language::Shipped& language : Language::shipped()) {
        SCOPED_TRACE(language.code);
        Language::choose(language.code);
        settings.language = static_cast<int>(&language - &Language::shipped()[0]) + 1;  // its own name shown
        TTF_Font* font = FontCache::get(Text::kFontPath, Text::kPointSize);
        TTF_Font* small = FontCache::get(Text::kFontPath, HelpPanel::kPointSize);
        ASSERT_NE(font, nullptr);
        OptionRows::Hooks hooks;
        hooks.controls = [] { return std::unique_ptr<Screen>(); };  // the Controls row shows its arrow
        screen.open(font, small, OptionRows::of(settings, hooks));
        SDL_SetRenderDrawColor(sdl.renderer, 0, 0, 0, 255);
        SDL_RenderClear(sdl.renderer);
        screen.draw(sdl.renderer);
        const int w = Render::kPicture.w;
        std::vector<Uint8> rgba(static_cast<std::size_t>(w * Render::kPicture.h) * 4);
        SDL_RenderReadPixels(sdl.renderer, nullptr, SDL_PIXELFORMAT_RGBA32, rgba.data(), w * 4);
        const auto lit = [&](int x, int y) {
            const Uint8* p = &rgba[(static_cast<std::size_t>(y) * w + x) * 4];
            return p[0] > 150 && p[1] > 130;  // the letters, not the panel nor the chosen bar
        };
        const SDL_Rect box = screen.panel();
        int outside = 0;
        for (int y = 0; y < Render::kPicture.h; ++y) {
            for (int x = 0; x < w; ++x) {
                const bool in = x >= box.x && x < box.x + box.w && y >= box.y && y < box.y + box.h;
                outside += !in && lit(x, y) ? 1 : 0;
            }
        }
        EXPECT_EQ(outside, 0) << "letters outside the panel";
        for (std::size_t row = 0; row + 1 < screen.lines() && screen.lineArea(row).h > 0; ++row) {
            const SDL_Rect band = screen.lineArea(row);
            int widest = 0;  // the longest run of columns without a letter between the first and the last lit one
            int run = 0;
            bool started = false;
            for (int x = band.x + OptionsScreen::kPadding; x < band.x + band.w - OptionsScreen::kPadding; ++x) {
                bool column = false;
                for (int y = band.y; y < band.y + band.h - 6 && !column; ++y) {
                    column = lit(x, y);
                }
                if (column) {
                    widest = started ? std::max(widest, run) : widest;
                    started = true;
                    run = 0;
                } else {
                    ++run;
                }
            }
            EXPECT_GE(widest, 24) << "row " << row << ": the label and the value meet";
        }
    }
    Language::choose("en");
}

// Every row's name, in every language, reads in the panel's own font: a name too long for the room
// its value leaves goes to the small font, hard to read in a small window, so a translation must
// stay short enough ("Fantôme de ton record").
TEST_F(OptionsPictureTest, EveryLanguagesRowNamesReadInTheRowsOwnFont) {
    Settings settings;
    TTF_Font* font = FontCache::get(Text::kFontPath, Text::kPointSize);
    TTF_Font* small = FontCache::get(Text::kFontPath, HelpPanel::kPointSize);
    ASSERT_NE(font, nullptr);
    ASSERT_NE(small, nullptr);
    // The ink of a capital in each font, as SDL_ttf draws it: a name's ink is at least the first.
    const int capital = TTF_FontAscent(font) * 3 / 5;
    ASSERT_GT(capital, TTF_FontAscent(small)) << "the small font's whole ascent is shorter";
    for (const Language::Shipped& language : Language::shipped()) {
        SCOPED_TRACE(language.code);
        Language::choose(language.code);
        OptionRows::Hooks hooks;
        hooks.controls = [] { return std::unique_ptr<Screen>(); };
        screen.open(font, small, OptionRows::of(settings, hooks));
        SDL_SetRenderDrawColor(sdl.renderer, 0, 0, 0, 255);
        SDL_RenderClear(sdl.renderer);
        screen.draw(sdl.renderer);
        const int w = Render::kPicture.w;
        std::vector<Uint8> rgba(static_cast<std::size_t>(w * Render::kPicture.h) * 4);
        SDL_RenderReadPixels(sdl.renderer, nullptr, SDL_PIXELFORMAT_RGBA32, rgba.data(), w * 4);
        const auto lit = [&](int x, int y) {
            const Uint8* p = &rgba[(static_cast<std::size_t>(y) * w + x) * 4];
            return p[0] > 150 && p[1] > 130;
        };
        for (std::size_t row = 0; row + 1 < screen.lines() && screen.lineArea(row).h > 0; ++row) {
            const SDL_Rect band = screen.lineArea(row);
            int top = band.y + band.h;
            int bottom = band.y - 1;
            // The name's part: from the panel's padding to the first gap wider than a space.
            int gap = 0;
            for (int x = band.x + OptionsScreen::kPadding; x < band.x + band.w && gap < 24; ++x) {
                bool column = false;
                for (int y = band.y; y < band.y + band.h; ++y) {
                    if (lit(x, y)) {
                        column = true;
                        top = std::min(top, y);
                        bottom = std::max(bottom, y);
                    }
                }
                gap = column || bottom < band.y ? 0 : gap + 1;
            }
            EXPECT_GE(bottom - top + 1, capital) << "row " << row << " drawn small";
        }
    }
    Language::choose("en");
}
