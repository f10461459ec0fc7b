#include "input/PanelKeys.h"

#include <gtest/gtest.h>

#include <string>
#include "TestSupport.h"

namespace {

using testsupport::keyDown;
using testsupport::ofType;
using testsupport::padDown;

using PauseChoice = PanelKeys::PauseChoice;
using CardChoice = PanelKeys::CardChoice;

SDL_Event keyUp(SDL_Keycode sym) {
    SDL_Event e = keyDown(sym);
    e.type = SDL_KEYUP;
    return e;
}

SDL_Event padUp(SDL_GameControllerButton button) {
    SDL_Event e = padDown(button);
    e.type = SDL_CONTROLLERBUTTONUP;
    return e;
}

SDL_Event click(Uint8 button = SDL_BUTTON_LEFT) {
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = button;
    e.button.x = 540;
    e.button.y = 360;
    return e;
}

SDL_Event windowEvent(Uint8 what) {
    SDL_Event e = ofType(SDL_WINDOWEVENT);
    e.window.event = what;
    return e;
}

std::string named(const SDL_Event& e) {
    if (e.type == SDL_KEYDOWN || e.type == SDL_KEYUP) {
        return std::string(SDL_GetKeyName(e.key.keysym.sym)) + (e.type == SDL_KEYUP ? " up" : "") +
               (e.key.repeat != 0 ? " (repeat)" : "");
    }
    return "event type " + std::to_string(e.type);
}

// On the pause panel: the pause keys and confirm go on, quit leaves for the menu, a close is a
// close whenever it comes; a key held from play (the desktop's repeat), a release, a click or the
// options' key choose nothing.
TEST(PanelKeysTest, ThePausePanelContinuesQuitsOrClosesOnFreshPressesOnly) {
    const KeyBindings& keys = KeyBindings::defaults();
    const struct {
        SDL_Event event;
        PauseChoice choice;
    } cases[] = {
        {keyDown(SDLK_ESCAPE), PauseChoice::Continue},
        {keyDown(SDLK_p), PauseChoice::Continue},
        {keyDown(SDLK_RETURN), PauseChoice::Continue},
        {keyDown(SDLK_KP_ENTER), PauseChoice::Continue},
        {padDown(SDL_CONTROLLER_BUTTON_START), PauseChoice::Continue},
        {padDown(SDL_CONTROLLER_BUTTON_A), PauseChoice::Continue},
        {keyDown(SDLK_q), PauseChoice::QuitToMenu},
        {padDown(SDL_CONTROLLER_BUTTON_B), PauseChoice::QuitToMenu},
        {ofType(SDL_QUIT), PauseChoice::Close},
        {keyDown(SDLK_ESCAPE, 1), PauseChoice::None},
        {keyDown(SDLK_RETURN, 1), PauseChoice::None},
        {keyDown(SDLK_q, 1), PauseChoice::None},
        {keyUp(SDLK_ESCAPE), PauseChoice::None},
        {padUp(SDL_CONTROLLER_BUTTON_B), PauseChoice::None},
        {click(), PauseChoice::None},
        {keyDown(SDLK_o), PauseChoice::None},
        {padDown(SDL_CONTROLLER_BUTTON_Y), PauseChoice::None},
        {keyDown(SDLK_d), PauseChoice::None},
        {windowEvent(SDL_WINDOWEVENT_FOCUS_LOST), PauseChoice::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PanelKeys::pauseChoice(c.event, keys), c.choice) << named(c.event);
    }
}

// The result card: confirm or any click plays again, back goes to the menu, only a close quits
// (at any time); the attack's Space (mashed on the last blow) and a held key's repeats choose nothing.
TEST(PanelKeysTest, TheCardPlaysAgainGoesBackOrQuitsButNeverOnTheAttackOrAHeldKey) {
    const KeyBindings& keys = KeyBindings::defaults();
    const struct {
        SDL_Event event;
        CardChoice choice;
    } cases[] = {
        {keyDown(SDLK_RETURN), CardChoice::PlayAgain},
        {keyDown(SDLK_KP_ENTER), CardChoice::PlayAgain},
        {padDown(SDL_CONTROLLER_BUTTON_A), CardChoice::PlayAgain},
        {click(), CardChoice::PlayAgain},
        {click(SDL_BUTTON_RIGHT), CardChoice::PlayAgain},
        {keyDown(SDLK_ESCAPE), CardChoice::Menu},
        {padDown(SDL_CONTROLLER_BUTTON_B), CardChoice::Menu},
        {ofType(SDL_QUIT), CardChoice::Quit},
        {keyDown(SDLK_SPACE), CardChoice::None},
        {padDown(SDL_CONTROLLER_BUTTON_X), CardChoice::None},
        {keyDown(SDLK_RETURN, 1), CardChoice::None},
        {keyDown(SDLK_ESCAPE, 1), CardChoice::None},
        {keyUp(SDLK_RETURN), CardChoice::None},
        {ofType(SDL_MOUSEBUTTONUP), CardChoice::None},
        {ofType(SDL_MOUSEMOTION), CardChoice::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PanelKeys::cardChoice(c.event, keys), c.choice) << named(c.event);
    }

    // The player's own confirm: Space plays again once it is given, Enter no longer does.
    KeyBindings mine;
    std::string why;
    ASSERT_TRUE(mine.bindCommand(KeyBindings::Command::Confirm, {{SDLK_SPACE}}, why)) << why;
    EXPECT_EQ(PanelKeys::cardChoice(keyDown(SDLK_SPACE), mine), CardChoice::PlayAgain);
    EXPECT_EQ(PanelKeys::cardChoice(keyDown(SDLK_RETURN), mine), CardChoice::None);
}

// In play: a fresh pause or help key asks for its panel; a held one's repeats are still play's own
// (kept from the hero) but ask for nothing; a pause key one of the hero's actions has is his.
TEST(PanelKeysTest, InPlayOnlyAFreshPressAsksAndTheHerosOwnKeyIsNeverAPanelKey) {
    KeyBindings keys;
    EXPECT_TRUE(PanelKeys::asksPause(keyDown(SDLK_ESCAPE), keys));
    EXPECT_TRUE(PanelKeys::asksPause(keyDown(SDLK_p), keys));
    EXPECT_TRUE(PanelKeys::asksPause(padDown(SDL_CONTROLLER_BUTTON_START), keys));
    EXPECT_FALSE(PanelKeys::asksPause(keyDown(SDLK_ESCAPE, 1), keys));
    EXPECT_FALSE(PanelKeys::asksPause(keyUp(SDLK_ESCAPE), keys));
    EXPECT_FALSE(PanelKeys::asksPause(keyDown(SDLK_F1), keys));
    EXPECT_TRUE(PanelKeys::asksHelp(keyDown(SDLK_F1), keys));
    EXPECT_FALSE(PanelKeys::asksHelp(keyDown(SDLK_F1, 1), keys));
    EXPECT_FALSE(PanelKeys::asksHelp(keyDown(SDLK_ESCAPE), keys));

    for (const SDL_Event& kept :
         {keyDown(SDLK_ESCAPE), keyDown(SDLK_ESCAPE, 1), keyDown(SDLK_F1, 1), padDown(SDL_CONTROLLER_BUTTON_START)}) {
        EXPECT_TRUE(PanelKeys::isPanelKey(kept, keys)) << named(kept);
    }
    for (const SDL_Event& heros : {keyDown(SDLK_d), keyDown(SDLK_SPACE), padDown(SDL_CONTROLLER_BUTTON_A),
                                   keyDown(SDLK_q), keyUp(SDLK_ESCAPE)}) {
        EXPECT_FALSE(PanelKeys::isPanelKey(heros, keys)) << named(heros);
    }

    std::string why;
    ASSERT_TRUE(keys.bind(KeyBindings::Action::Attack, {SDLK_p}, why)) << why;
    EXPECT_FALSE(PanelKeys::asksPause(keyDown(SDLK_p), keys)) << "P attacks now";
    EXPECT_FALSE(PanelKeys::isPanelKey(keyDown(SDLK_p), keys)) << "and reaches the hero";
    EXPECT_TRUE(PanelKeys::asksPause(keyDown(SDLK_ESCAPE), keys));

    // Only the focus going elsewhere pauses; the window's other news does not.
    EXPECT_TRUE(PanelKeys::losesFocus(windowEvent(SDL_WINDOWEVENT_FOCUS_LOST)));
    for (const Uint8 other :
         {SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_EXPOSED, SDL_WINDOWEVENT_LEAVE, SDL_WINDOWEVENT_SIZE_CHANGED}) {
        EXPECT_FALSE(PanelKeys::losesFocus(windowEvent(other))) << "window event " << int{other};
    }
    EXPECT_TRUE(PanelKeys::losesPad(ofType(SDL_CONTROLLERDEVICEREMOVED)));
    EXPECT_FALSE(PanelKeys::losesPad(ofType(SDL_CONTROLLERDEVICEADDED)));
}

}  // namespace
