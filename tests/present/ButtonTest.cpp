#include "present/Button.h"
#include "present/Render.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(ButtonIsOnLoc, AllFourEdgesBelongToTheBox) {
    const SDL_Rect at{100, 200, 999, 999};  // w and h of the position are ignored
    const SDL_Rect size{-5, -5, 80, 40};    // x and y of the size are ignored
    EXPECT_TRUE(Button::isOnLoc(at, size, 100, 200));
    EXPECT_TRUE(Button::isOnLoc(at, size, 180, 240));
    EXPECT_TRUE(Button::isOnLoc(at, size, 180, 200));
    EXPECT_TRUE(Button::isOnLoc(at, size, 100, 240));
    EXPECT_FALSE(Button::isOnLoc(at, size, 181, 220));
    EXPECT_FALSE(Button::isOnLoc(at, size, 140, 241));
    EXPECT_FALSE(Button::isOnLoc(at, size, 99, 220));
    EXPECT_FALSE(Button::isOnLoc(at, size, 140, 199));
}

// Boxes laid out like the menu's: REPLAY, NEW GAME, RESUME, SCORE BOARD, name line.
class ButtonClick : public testing::Test {
protected:
    testsupport::SdlSession sdl;
    Button button;
    std::vector<SDL_Rect> positions{
        {400, 300, 50, 50}, {400, 350, 50, 50}, {400, 250, 50, 50}, {400, 200, 50, 50}, {400, 400, 50, 50}};
    std::vector<SDL_Rect> sizes{std::vector<SDL_Rect>(5, SDL_Rect{0, 0, 200, 40})};

    void SetUp() override {
        Button::checkIs = 1;
        Button::flag = 1;
        Button::flagText = 0;
        Render::isRunning = true;
    }

    // One pass: the returned name line and the trace it wrote.
    std::pair<std::string, std::string> pass() {
        testing::internal::CaptureStdout();
        std::string line = button.clickOn(positions, sizes);
        return {line, testing::internal::GetCapturedStdout()};
    }
};

TEST_F(ButtonClick, NewGameEndsTheMenuAndKeepsTheMode) {
    testsupport::pushClick(410, 360);
    const auto [line, trace] = pass();
    EXPECT_EQ(trace, "huy");
    EXPECT_EQ(line, "Enter your name");
    EXPECT_EQ(Button::checkIs, 0);
    EXPECT_EQ(Button::flag, 1);
    EXPECT_TRUE(Render::isRunning);
}

TEST_F(ButtonClick, ResumeAndReplayChooseTheirModes) {
    testsupport::pushClick(600, 290, SDL_BUTTON_RIGHT);  // any button; bottom-right corner of RESUME
    EXPECT_EQ(pass().second, "5");
    EXPECT_EQ(Button::flag, 5);
    EXPECT_EQ(Button::checkIs, 0);

    SetUp();
    testsupport::pushClick(400, 300);
    EXPECT_EQ(pass().second, "replay12") << "replay, the previous mode, then 2";
    EXPECT_EQ(Button::flag, 2);
    EXPECT_EQ(Button::checkIs, 0);
}

TEST_F(ButtonClick, OverlappingBoxesFireInOrderNewGameResumeReplay) {
    sizes.assign(5, SDL_Rect{0, 0, 200, 60});
    testsupport::pushClick(410, 355);  // inside NEW GAME and REPLAY (300..360)
    EXPECT_EQ(pass().second, "huyreplay12");
    EXPECT_EQ(Button::flag, 2);
    testsupport::pushClick(410, 305);  // inside REPLAY and RESUME (250..310)
    EXPECT_EQ(pass().second, "5replay52");
    EXPECT_EQ(Button::flag, 2) << "the last test that sets the mode decides it";
}

TEST_F(ButtonClick, ScoreBoardNameLineAndMissesChangeNothing) {
    testsupport::pushClick(410, 210);  // SCORE BOARD
    testsupport::pushClick(410, 410);  // name line
    testsupport::pushClick(10, 10);
    testsupport::pushClick(601, 360);  // one pixel right of NEW GAME
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(pass(), std::make_pair(std::string("Enter your name"), std::string()));
    }
    EXPECT_EQ(Button::checkIs, 1);
    EXPECT_EQ(Button::flag, 1);
}

TEST_F(ButtonClick, QuitEndsTheMenuAndTheRun) {
    testsupport::pushQuit();
    const auto [line, trace] = pass();
    EXPECT_EQ(trace, "pcchemu");
    EXPECT_EQ(line, "Enter your name");
    EXPECT_EQ(Button::checkIs, 0);
    EXPECT_FALSE(Render::isRunning);
}

TEST_F(ButtonClick, TypingAndBackspaceEditTheName) {
    EXPECT_EQ(pass().first, "Enter your name");
    testsupport::pushKeyDown(SDLK_BACKSPACE);
    EXPECT_EQ(pass().first, "") << "backspace before typing shows the empty name once";
    EXPECT_EQ(pass().first, "Enter your name");

    testsupport::pushText("a");
    testsupport::pushKeyDown(SDLK_a);  // the key press of a printable key does nothing by itself
    testsupport::pushText("b");
    testsupport::pushKeyDown(SDLK_BACKSPACE);
    EXPECT_EQ(pass().first, "a");
    EXPECT_EQ(Button::flagText, 1);
    EXPECT_EQ(pass().first, "a");
    EXPECT_EQ(pass().first, "ab");
    EXPECT_EQ(pass().first, "a");
    EXPECT_EQ(pass().first, "a");
    EXPECT_EQ(button.getInputText(), "a");
    EXPECT_EQ(Button::checkIs, 1);
}

TEST_F(ButtonClick, BackspaceRemovesWholeUtf8Characters) {
    testsupport::pushText("\xC3\x89lise");  // Élise
    testsupport::pushText("\xE2\x82\xAC");  // a three-byte euro sign
    pass();
    EXPECT_EQ(pass().first, "\xC3\x89lise\xE2\x82\xAC");
    for (int i = 0; i < 5; ++i) {
        testsupport::pushKeyDown(SDLK_BACKSPACE);
    }
    std::vector<std::string> seen;
    for (int i = 0; i < 5; ++i) {
        seen.push_back(pass().first);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"\xC3\x89lise", "\xC3\x89lis", "\xC3\x89li", "\xC3\x89l", "\xC3\x89"}));
    testsupport::pushKeyDown(SDLK_BACKSPACE);
    EXPECT_EQ(pass().first, "") << "the two-byte letter goes with one backspace";
}

TEST_F(ButtonClick, NameStopsAt51BytesOnACharacterBoundary) {
    const std::string fifty(50, 'x');
    for (int i = 0; i < 5; ++i) {
        testsupport::pushText(fifty.substr(i * 10, 10));  // one event holds at most 31 bytes
    }
    testsupport::pushText("\xC3\x89");  // would need 52 bytes: refused whole
    testsupport::pushText("yz");        // only y fits
    testsupport::pushText("w");         // full: refused
    for (int i = 0; i < 7; ++i) {
        pass();
    }
    EXPECT_EQ(pass().first, fifty + "y");
    EXPECT_EQ(button.getInputText().size(), Button::kMaxNameBytes);

    testsupport::pushKeyDown(SDLK_BACKSPACE);
    testsupport::pushText("\xC3\x89");
    pass();
    EXPECT_EQ(pass().first, fifty) << "a character that does not fit is not half-stored";
}

}  // namespace
