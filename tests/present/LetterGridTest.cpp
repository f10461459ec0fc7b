#include "present/LetterGrid.h"

#include "present/ChoicePanel.h"
#include "present/FontCache.h"
#include "present/Text.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using testsupport::keyDown;
using testsupport::ofType;
using testsupport::padDown;

SDL_Event text(const char* typed) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    std::strncpy(e.text.text, typed, sizeof e.text.text - 1);
    return e;
}

// The grid's cells as a player sees them: 52 pixels square, ten a row, the first at (280, 260).
constexpr int kLeft = 280;
constexpr int kTop = 260;
SDL_Point centreOf(int cell) {
    return {kLeft + cell % LetterGrid::kColumns * LetterGrid::kCell + LetterGrid::kCell / 2,
            kTop + cell / LetterGrid::kColumns * LetterGrid::kCell + LetterGrid::kCell / 2};
}

SDL_Event mouse(Uint32 type, SDL_Point at) {
    SDL_Event e{};
    e.type = type;
    if (type == SDL_MOUSEMOTION) {
        e.motion.x = at.x;
        e.motion.y = at.y;
    } else {
        e.button.button = SDL_BUTTON_LEFT;
        e.button.x = at.x;
        e.button.y = at.y;
    }
    return e;
}

class LetterGridTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(TTF_Init(), 0);
        font = FontCache::get(Text::kFontPath, Text::kPointSize);
        small = FontCache::get(Text::kFontPath, 18);
        ASSERT_NE(font, nullptr);
        grid.open(name, font, small);
    }
    void TearDown() override {
        FontCache::closeAll();
        TTF_Quit();
    }

    void take(const SDL_Event& event, int times = 1) {
        for (int i = 0; i < times; ++i) {
            grid.take(event);
        }
    }

    // Pixels of the lit cell's colour in a cell's box, in the picture drawn now.
    int litIn(int cell) const {
        const SDL_Point centre = centreOf(cell);
        const SDL_Rect box{centre.x - LetterGrid::kCell / 2, centre.y - LetterGrid::kCell / 2, LetterGrid::kCell,
                           LetterGrid::kCell};
        std::vector<Uint32> pixels(static_cast<std::size_t>(box.w * box.h));
        SDL_RenderReadPixels(sdl.renderer, &box, SDL_PIXELFORMAT_RGBA8888, pixels.data(), box.w * 4);
        const SDL_Color c = ChoicePanel::kChosenColour;
        const Uint32 lit = static_cast<Uint32>(c.r) << 24 | static_cast<Uint32>(c.g) << 16 | c.b << 8 | 0xFFu;
        int count = 0;
        for (const Uint32 pixel : pixels) {
            count += pixel == lit ? 1 : 0;
        }
        return count;
    }

    testsupport::ScratchDir scratch;  // the font from images/
    testsupport::SdlSession sdl;
    TTF_Font* font = nullptr;
    TTF_Font* small = nullptr;
    Button name;
    LetterGrid grid;
};

// The arrows and the D-pad go round the grid's edges, held arrows (the desktop's repeats) moving
// on; the lit cell in the picture follows the choice.
TEST_F(LetterGridTest, TheChoiceWrapsRoundTheEdgesAndTheLitCellFollowsIt) {
    take(keyDown(SDLK_LEFT));
    EXPECT_EQ(grid.chosen(), 9) << "left of A is the row's end";
    take(padDown(SDL_CONTROLLER_BUTTON_DPAD_UP));
    EXPECT_EQ(grid.chosen(), LetterGrid::kDoneCell) << "up from the top row is the bottom row";
    take(keyDown(SDLK_RIGHT, 1));
    EXPECT_EQ(grid.chosen(), 30) << "a held arrow moves on, round to the row's start";
    take(keyDown(SDLK_DOWN));
    EXPECT_EQ(grid.chosen(), 0) << "down from the bottom row is the top row";
    take(keyDown(SDLK_DOWN, 1), LetterGrid::kRows);
    EXPECT_EQ(grid.chosen(), 0) << "a whole round comes back";

    take(keyDown(SDLK_RIGHT), 3);
    take(keyDown(SDLK_DOWN));
    ASSERT_EQ(grid.chosen(), 13);
    SDL_SetRenderDrawColor(sdl.renderer, 0, 0, 0, 255);
    SDL_RenderClear(sdl.renderer);
    grid.draw(sdl.renderer);
    EXPECT_GT(litIn(13), LetterGrid::kCell * LetterGrid::kCell / 2) << "the chosen cell is lit";
    EXPECT_EQ(litIn(12), 0);
    EXPECT_EQ(litIn(0), 0) << "the cell chosen before is not";
}

// Confirm (Enter, pad A) types the chosen cell once a press, never on a held key; Space types a
// blank, Del takes one back, OK leaves. A click on a cell types it; one beside the grid does
// nothing; the pointer moving over a cell chooses it.
TEST_F(LetterGridTest, ConfirmAndClicksTypeTheCellsAndTheWordsDoWhatTheySay) {
    take(keyDown(SDLK_RETURN));
    take(keyDown(SDLK_RETURN, 1), 3);
    EXPECT_EQ(name.getInputText(), "A") << "held Enter types one letter";
    take(padDown(SDL_CONTROLLER_BUTTON_DPAD_RIGHT));
    take(padDown(SDL_CONTROLLER_BUTTON_A));
    EXPECT_EQ(name.getInputText(), "AB");

    take(mouse(SDL_MOUSEBUTTONDOWN, centreOf(LetterGrid::kSpaceCell)));
    take(mouse(SDL_MOUSEBUTTONDOWN, centreOf(35)));
    EXPECT_EQ(name.getInputText(), "AB 9");
    EXPECT_EQ(grid.chosen(), 35) << "the clicked cell is chosen";
    take(mouse(SDL_MOUSEBUTTONDOWN, {kLeft - 5, kTop + 5}));
    take(mouse(SDL_MOUSEBUTTONDOWN, {kLeft + 5, kTop - 5}));
    take(mouse(SDL_MOUSEBUTTONDOWN, {kLeft + 5, kTop + LetterGrid::kRows * LetterGrid::kCell}));
    EXPECT_EQ(name.getInputText(), "AB 9") << "clicks beside the grid type nothing";
    EXPECT_EQ(grid.chosen(), 35);
    take(mouse(SDL_MOUSEMOTION, centreOf(LetterGrid::kEraseCell)));
    EXPECT_EQ(grid.chosen(), LetterGrid::kEraseCell);
    take(mouse(SDL_MOUSEMOTION, {10, 10}));
    EXPECT_EQ(grid.chosen(), LetterGrid::kEraseCell) << "the pointer off the grid keeps the choice";
    take(keyDown(SDLK_KP_ENTER));
    EXPECT_EQ(name.getInputText(), "AB ");
    take(text("é"));
    EXPECT_EQ(name.getInputText(), "AB é") << "a keyboard at hand types as on the menu";
    EXPECT_FALSE(grid.done());
    take(mouse(SDL_MOUSEBUTTONDOWN, centreOf(LetterGrid::kDoneCell)));
    EXPECT_TRUE(grid.done());
    take(keyDown(SDLK_RETURN));
    take(text("x"));
    EXPECT_EQ(name.getInputText(), "AB é") << "a grid left takes nothing more";
}

// A cell's box is its own to its last pixel and no further: a click just inside the grid's right
// or bottom edge types that cell, one just past it nothing.
TEST_F(LetterGridTest, TheGridsEdgesEndAtItsLastPixel) {
    const int right = kLeft + LetterGrid::kColumns * LetterGrid::kCell;
    const int row = centreOf(0).y;
    take(mouse(SDL_MOUSEBUTTONDOWN, {right, row}));
    EXPECT_EQ(name.getInputText(), "") << "just right of the grid";
    take(mouse(SDL_MOUSEBUTTONDOWN, {right - 1, row}));
    EXPECT_EQ(name.getInputText(), "J") << "the last pixel of the top row's last cell";
    EXPECT_EQ(grid.chosen(), LetterGrid::kColumns - 1);
    take(mouse(SDL_MOUSEMOTION, {right, row}));
    EXPECT_EQ(grid.chosen(), LetterGrid::kColumns - 1) << "pointing past the edge keeps the choice";
    take(mouse(SDL_MOUSEBUTTONDOWN, {kLeft, kTop + LetterGrid::kRows * LetterGrid::kCell - 1}));
    EXPECT_EQ(name.getInputText(), "J4") << "the last pixel row of the bottom row's first cell";
    take(mouse(SDL_MOUSEBUTTONDOWN, {kLeft - 1, kTop}));
    EXPECT_EQ(name.getInputText(), "J4");
}

// B (or Backspace) takes back a letter a press, held ones too; B on an empty name goes back to the
// menu, Backspace there does nothing; Escape and Start leave at once, and so does a close.
TEST_F(LetterGridTest, ErasingAnEmptyNameWithThePadLeavesButWithTheKeyboardWaits) {
    take(text("AB"));
    take(padDown(SDL_CONTROLLER_BUTTON_B));
    EXPECT_EQ(name.getInputText(), "A");
    take(keyDown(SDLK_BACKSPACE, 1));
    EXPECT_EQ(name.getInputText(), "") << "a held Backspace erases on";
    take(keyDown(SDLK_BACKSPACE), 2);
    EXPECT_FALSE(grid.done()) << "Backspace on an empty name stays on the grid";
    take(padDown(SDL_CONTROLLER_BUTTON_B));
    EXPECT_TRUE(grid.done()) << "B on an empty name goes back";

    for (const SDL_Event& leave : {keyDown(SDLK_ESCAPE), padDown(SDL_CONTROLLER_BUTTON_START), SDL_Event{SDL_QUIT}}) {
        grid.open(name, font, small);
        take(text("Z"));
        ASSERT_FALSE(grid.done());
        take(leave);
        EXPECT_TRUE(grid.done()) << "event type " << leave.type;
        EXPECT_EQ(name.getInputText().back(), 'Z') << "leaving erases nothing";
    }
    grid.open(name, font, small);
    take(keyDown(SDLK_p));
    EXPECT_FALSE(grid.done()) << "P is a letter here, not a way out";
}

// The grid types into the menu's name and stops where the name must stop: the record's bytes, and
// the end of the sign it is shown on.
TEST_F(LetterGridTest, TheNameStopsWhereTheMenuStopsIt) {
    take(keyDown(SDLK_RETURN), 80);
    EXPECT_EQ(name.getInputText(), std::string(Button::kMaxNameBytes, 'A')) << "the players record's length";

    take(keyDown(SDLK_DOWN));  // on K when it goes; opened again it starts on A
    Button narrow;
    narrow.fits = [](const std::string& typed) { return typed.size() <= 5; };
    grid.open(narrow, font, small);
    take(keyDown(SDLK_RIGHT));
    take(keyDown(SDLK_RETURN), 9);
    EXPECT_EQ(narrow.getInputText(), "BBBBB") << "as much as the sign holds";
    take(padDown(SDL_CONTROLLER_BUTTON_B));
    take(padDown(SDL_CONTROLLER_BUTTON_A));
    EXPECT_EQ(narrow.getInputText(), "BBBBB") << "a letter taken back makes room for one";
}

}  // namespace
