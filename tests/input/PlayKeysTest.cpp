#include "input/Input.h"
#include "input/PlayKeys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "InputFixture.h"
#include "TestSupport.h"

namespace {

using testsupport::keyDown;
using testsupport::ofType;
using testsupport::padDown;

SDL_Event focusLost() {
    SDL_Event e = ofType(SDL_WINDOWEVENT);
    e.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    return e;
}

// The keys around play as the one input reader meets them, on their way from SDL's queue.
using PlayKeysTest = InputFixture;

// In play the pause and help keys are play's own and never reach the hero; other keys do.
TEST_F(PlayKeysTest, InPlayThePauseAndHelpKeysAreTakenOutAndAskForThePanelAndTheHelp) {
    push(keyDown(SDLK_ESCAPE));
    input.pump();
    EXPECT_FALSE(input.play.pauseAsked) << "not in play: Escape is the menu's";
    EXPECT_EQ(drain(), (std::vector<std::string>{"key Escape"}));

    input.play.active = true;
    push(keyDown(SDLK_ESCAPE, 1));
    push(keyDown(SDLK_F1, 1));
    push(keyDown(SDLK_d));
    input.pump();
    EXPECT_FALSE(input.play.pauseAsked) << "a key held from before pauses nothing";
    EXPECT_FALSE(input.play.helpAsked);
    EXPECT_EQ(drain(), (std::vector<std::string>{"key D"})) << "but its repeats are kept from the hero too";

    push(keyDown(SDLK_F1));
    input.pump();
    EXPECT_TRUE(input.play.helpAsked);
    EXPECT_FALSE(input.play.pauseAsked);
    for (const SDL_Event& pauses : {keyDown(SDLK_ESCAPE), keyDown(SDLK_p), padDown(SDL_CONTROLLER_BUTTON_START),
                                    ofType(SDL_CONTROLLERDEVICEREMOVED)}) {
        input.play.pauseAsked = false;
        push(pauses);
        input.pump();
        EXPECT_TRUE(input.play.pauseAsked) << "type " << pauses.type;
    }
    EXPECT_EQ(drain(), (std::vector<std::string>{"type " + std::to_string(SDL_CONTROLLERDEVICEREMOVED)}))
        << "a pad pulled out is still told to whoever opens pads";

    // P given to an action is the hero's.
    std::string why;
    ASSERT_TRUE(keys.bind(KeyBindings::Action::Attack, {SDLK_p}, why)) << why;
    input.play.pauseAsked = false;
    push(keyDown(SDLK_p));
    input.pump();
    EXPECT_FALSE(input.play.pauseAsked);
    EXPECT_EQ(drain(), (std::vector<std::string>{"key P"}));
}

// Another window taking the focus pauses a run in play, and the window's news still goes on to
// whoever reads it; out of play (the menu, the pause itself) it asks for nothing.
TEST_F(PlayKeysTest, AFocusLostInPlayAsksForThePauseAndStillPassesOn) {
    PlayKeys play(keys);
    EXPECT_TRUE(play.passes(focusLost()));
    EXPECT_FALSE(play.pauseAsked) << "not in play";
    play.active = true;
    EXPECT_TRUE(play.passes(focusLost())) << "the window's news is not the panel's key";
    EXPECT_TRUE(play.pauseAsked);
    EXPECT_FALSE(play.helpAsked);
}

// A new run starts out of play with nothing asked, whatever the run before left behind: a pause
// and the help asked as it ended are that run's.
TEST_F(PlayKeysTest, ARunStartsOutOfPlayWithNothingAsked) {
    PlayKeys play(keys);
    play.active = true;
    EXPECT_FALSE(play.passes(keyDown(SDLK_ESCAPE)));
    EXPECT_FALSE(play.passes(keyDown(SDLK_F1)));
    ASSERT_TRUE(play.pauseAsked);
    ASSERT_TRUE(play.helpAsked);
    play.startRun();
    EXPECT_FALSE(play.active);
    EXPECT_FALSE(play.pauseAsked);
    EXPECT_FALSE(play.helpAsked);
    EXPECT_TRUE(play.passes(keyDown(SDLK_ESCAPE))) << "before its set-up, Escape is the menu's";
    EXPECT_FALSE(play.pauseAsked);
    play.active = true;
    EXPECT_TRUE(play.passes(ofType(SDL_CONTROLLERDEVICEREMOVED))) << "told to whoever opens pads";
    EXPECT_TRUE(play.pauseAsked) << "a pad pulled out pauses";
}

}  // namespace
