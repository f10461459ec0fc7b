#include "input/KeyBindings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Command = KeyBindings::Command;
using Place = KeyBindings::Place;
using Chord = KeyBindings::Chord;

SDL_Event key(SDL_Keycode sym, Uint16 mod = KMOD_NONE) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = mod;
    return e;
}

SDL_Event pad(SDL_GameControllerButton button) {
    SDL_Event e{};
    e.type = SDL_CONTROLLERBUTTONDOWN;
    e.cbutton.button = static_cast<Uint8>(button);
    return e;
}

struct Case {
    Place place;
    SDL_Event press;
    Command means;
    const char* why;
};

// The defaults mean on each screen what its keys always did there, the keys a screen does not
// read meaning nothing (or the fullscreen and mute the game hears everywhere).
TEST(KeyBindings, TheDefaultsMeanOnEachScreenWhatItsKeysAlwaysDid) {
    const KeyBindings keys;
    const Case cases[] = {
        {Place::Menu, key(SDLK_TAB), Command::Next, "Tab moves down the menu"},
        {Place::Menu, key(SDLK_TAB, KMOD_LSHIFT), Command::Previous, "Shift+Tab moves up"},
        {Place::Menu, key(SDLK_RETURN), Command::Confirm, "Enter chooses"},
        {Place::Menu, key(SDLK_RETURN, KMOD_RALT), Command::Fullscreen, "Alt+Enter is the window's, not a choice"},
        {Place::Menu, key(SDLK_RETURN, KMOD_LSHIFT), Command::Confirm, "Shift+Enter still chooses"},
        {Place::Menu, key(SDLK_SPACE), Command::None, "Space is a letter of the name"},
        {Place::Menu, key(SDLK_m), Command::None, "and so is m: no mute on the menu"},
        {Place::Menu, key(SDLK_BACKSPACE), Command::Erase, "Backspace erases"},
        {Place::Menu, key(SDLK_ESCAPE), Command::Back, "Escape quits"},
        {Place::Menu, pad(SDL_CONTROLLER_BUTTON_B), Command::Back, "pad B quits, it erases nothing"},
        {Place::Menu, pad(SDL_CONTROLLER_BUTTON_Y), Command::Letters, "pad Y opens the letter grid"},
        {Place::Options, key(SDLK_TAB, KMOD_LSHIFT), Command::Next, "the options take Tab alone: down"},
        {Place::Options, key(SDLK_SPACE), Command::Select, "Space switches a row"},
        {Place::Options, key(SDLK_m), Command::Mute, "M mutes over the options"},
        {Place::Controls, key(SDLK_SPACE), Command::Select, "Space chooses a row"},
        {Place::Controls, key(SDLK_KP_ENTER), Command::Confirm, ""},
        {Place::Waiting, pad(SDL_CONTROLLER_BUTTON_B), Command::None, "B waits to be given"},
        {Place::Waiting, pad(SDL_CONTROLLER_BUTTON_START), Command::Pause, "Start leaves the waiting row"},
        {Place::Waiting, key(SDLK_p), Command::None, "P is refused there, not a way out"},
        {Place::Letters, pad(SDL_CONTROLLER_BUTTON_B), Command::Erase, "B takes a letter back"},
        {Place::Letters, pad(SDL_CONTROLLER_BUTTON_START), Command::Pause, "Start leaves the grid"},
        {Place::Letters, key(SDLK_ESCAPE), Command::Back, "and so does Escape"},
        {Place::Letters, key(SDLK_p), Command::None, "P types, it does not leave"},
        {Place::Pause, key(SDLK_p), Command::Pause, "P continues"},
        {Place::Pause, key(SDLK_ESCAPE), Command::Pause, "Escape continues"},
        {Place::Pause, key(SDLK_KP_ENTER), Command::Confirm, "and so does Enter"},
        {Place::Pause, key(SDLK_q), Command::Quit, "Q quits to the menu"},
        {Place::Pause, pad(SDL_CONTROLLER_BUTTON_B), Command::Quit, "so does B"},
        {Place::Pause, key(SDLK_o), Command::Options, "O opens the options"},
        {Place::Pause, pad(SDL_CONTROLLER_BUTTON_Y), Command::Options, ""},
        {Place::Card, key(SDLK_SPACE), Command::None, "a blow still mashed does not skip the card"},
        {Place::Card, key(SDLK_ESCAPE), Command::Back, "Escape ends the game"},
        {Place::Card, pad(SDL_CONTROLLER_BUTTON_A), Command::Confirm, "A plays again"},
        {Place::Play, key(SDLK_ESCAPE), Command::Pause, ""},
        {Place::Play, pad(SDL_CONTROLLER_BUTTON_START), Command::Pause, ""},
        {Place::Play, key(SDLK_F1), Command::Help, ""},
        {Place::Play, key(SDLK_F11), Command::Fullscreen, ""},
        {Place::Play, key(SDLK_w), Command::None, "the hero's"},
        {Place::Play, pad(SDL_CONTROLLER_BUTTON_A), Command::None, "the hero's attack"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(keys.commandOf(c.press, c.place), c.means)
            << c.why << " (place " << static_cast<int>(c.place) << ", key "
            << (c.press.type == SDL_KEYDOWN ? SDL_GetKeyName(c.press.key.keysym.sym) : "a button") << ")";
    }
}

// Each command's defaults pass the rule a player's line is judged by: no key of theirs means two
// things where the command is read.
TEST(KeyBindings, NoDefaultMeansTwoThingsOnOneScreen) {
    KeyBindings keys;
    for (int i = 1; i <= KeyBindings::kCommands; ++i) {
        const auto command = static_cast<Command>(i);
        std::string why;
        EXPECT_TRUE(keys.bindCommand(command, keys.chordsOf(command), why)) << why;
        EXPECT_TRUE(keys.bindCommandButtons(command, keys.buttonsOf(command), why)) << why;
    }
}

TEST(KeyBindings, AKeyThatWouldMeanTwoThingsOnAScreenIsRefusedAndNamesWhere) {
    KeyBindings keys;
    std::string why;
    EXPECT_FALSE(keys.bindCommand(Command::Back, {{SDLK_BACKSPACE}}, why));
    EXPECT_EQ(why, "key 'Backspace' already serves 'erase' on the menu");
    EXPECT_EQ(keys.chordsOf(Command::Back), (std::vector<Chord>{{SDLK_ESCAPE}})) << "nothing changed";
    EXPECT_FALSE(keys.bindCommand(Command::Pause, {{SDLK_SPACE}}, why)) << "in play Space is the attack's";
    EXPECT_EQ(why, "key 'Space' already serves 'attack'");
    EXPECT_FALSE(keys.bindCommandButtons(Command::Back, {SDL_CONTROLLER_BUTTON_Y}, why));
    EXPECT_EQ(why, "button 'Y' already serves 'letters' on the menu");
    EXPECT_FALSE(keys.bindCommand(Command::Quit, {{SDLK_o}}, why));
    EXPECT_EQ(why, "key 'O' already serves 'options' on the pause panel");

    // Never read in play, confirm may have the attack's key; shared with the options' select, it
    // means the same there.
    EXPECT_TRUE(keys.bindCommand(Command::Confirm, {{SDLK_SPACE}}, why)) << why;
    EXPECT_EQ(keys.commandOf(key(SDLK_SPACE), Place::Card), Command::Confirm);
    EXPECT_EQ(keys.commandOf(key(SDLK_RETURN), Place::Card), Command::None) << "the old key no longer";
    EXPECT_TRUE(keys.bindCommandButtons(Command::Back, {SDL_CONTROLLER_BUTTON_X}, why)) << why;
    EXPECT_EQ(keys.commandOf(pad(SDL_CONTROLLER_BUTTON_X), Place::Options), Command::Back);
    EXPECT_EQ(keys.commandOf(pad(SDL_CONTROLLER_BUTTON_X), Place::Play), Command::None) << "X attacks in play";
    EXPECT_EQ(keys.commandOf(pad(SDL_CONTROLLER_BUTTON_B), Place::Options), Command::None);
}

// What the hero may not take: with the defaults exactly the keys refused before the commands
// were a table; then whatever the commands of play hold.
TEST(KeyBindings, TheKeysKeptFromTheHeroFollowTheCommandsOfPlay) {
    KeyBindings keys;
    std::vector<SDL_Keycode> kept;
    for (SDL_Keycode code = 0; code < 128; ++code) {
        if (keys.kept(code)) {
            kept.push_back(code);
        }
    }
    for (const SDL_Keycode code : {SDLK_F1, SDLK_F2, SDLK_F11, SDLK_KP_ENTER, SDLK_UP, SDLK_LSHIFT}) {
        if (keys.kept(code)) {
            kept.push_back(code);
        }
    }
    EXPECT_EQ(kept, (std::vector<SDL_Keycode>{SDLK_TAB, SDLK_RETURN, SDLK_ESCAPE, SDLK_m, SDLK_p, SDLK_F1, SDLK_F11,
                                              SDLK_KP_ENTER}));
    EXPECT_FALSE(keys.keptButton(SDL_CONTROLLER_BUTTON_Y));
    EXPECT_TRUE(keys.keptButton(SDL_CONTROLLER_BUTTON_GUIDE));

    std::string why;
    ASSERT_TRUE(keys.bindCommand(Command::Pause, {{SDLK_k}}, why)) << why;
    ASSERT_TRUE(keys.bindCommandButtons(Command::Help, {SDL_CONTROLLER_BUTTON_Y}, why)) << why;
    EXPECT_FALSE(keys.rebindKey(KeyBindings::Action::Attack, SDLK_k, why));
    EXPECT_EQ(why, "K is kept by the game");
    EXPECT_FALSE(keys.rebindButton(KeyBindings::Action::Stop, SDL_CONTROLLER_BUTTON_Y, why));
    EXPECT_EQ(why, "Y is kept by the game");
    EXPECT_TRUE(keys.kept(SDLK_p)) << "what the game always kept stays kept";
    EXPECT_FALSE(keys.kept(SDLK_o)) << "the pause panel's keys never reach play";

    // Controls' reset puts the hero back but for what the game now keeps.
    ASSERT_FALSE(keys.bindCommand(Command::Help, {{SDLK_F1}, {SDLK_b}}, why)) << "b is the stop's";
    ASSERT_TRUE(keys.bind(KeyBindings::Action::Stop, {SDLK_z}, why)) << why;
    ASSERT_TRUE(keys.bindCommand(Command::Help, {{SDLK_F1}, {SDLK_b}}, why)) << why;
    keys.resetActions();
    EXPECT_TRUE(keys.keysOf(KeyBindings::Action::Stop).empty()) << "b is help's now";
    EXPECT_EQ(keys.keysOf(KeyBindings::Action::Attack), (std::vector<SDL_Keycode>{SDLK_SPACE}));
    EXPECT_EQ(keys.chordsOf(Command::Pause), (std::vector<Chord>{{SDLK_k}})) << "the commands stay";
}

// In play a key one of the hero's actions has is the hero's, also a pause key.
TEST(KeyBindings, InPlayTheHerosKeyIsTheHeros) {
    KeyBindings keys;
    std::string why;
    ASSERT_TRUE(keys.bind(KeyBindings::Action::Attack, {SDLK_p}, why)) << why;
    EXPECT_EQ(keys.commandOf(key(SDLK_p), Place::Play), Command::None);
    EXPECT_EQ(keys.commandOf(key(SDLK_p), Place::Pause), Command::Pause) << "on the panel P still continues";
}

TEST(KeyBindings, ACommandsKeyIsNamedWithTheModifiersHeldWithIt) {
    const struct {
        const char* name;
        SDL_Keycode key;
        Uint16 mods;
        const char* written;
    } cases[] = {
        {"Shift+Tab", SDLK_TAB, KMOD_SHIFT, "Shift+Tab"},
        {"alt+return", SDLK_RETURN, KMOD_ALT, "Alt+Return"},
        {"Alt+Ctrl+x", SDLK_x, KMOD_ALT | KMOD_CTRL, "Ctrl+Alt+X"},
        {"Keypad +", SDLK_KP_PLUS, KMOD_NONE, "Keypad +"},
        {"Alt+", SDLK_UNKNOWN, KMOD_NONE, nullptr},
        {"Shift+Nothing", SDLK_UNKNOWN, KMOD_SHIFT, nullptr},
    };
    for (const auto& c : cases) {
        const Chord chord = KeyBindings::chordNamed(c.name);
        EXPECT_EQ(chord.key, c.key) << c.name;
        EXPECT_EQ(chord.mods, c.mods) << c.name;
        if (c.written != nullptr) {
            EXPECT_EQ(KeyBindings::chordName(chord), c.written);
            EXPECT_EQ(KeyBindings::chordNamed(KeyBindings::chordName(chord)), chord) << "reads back";
        }
    }
}

// A settings file names each command by one name of its own, and the game's defaults are what
// the example file and the controls say: each command's name leads back to it and its defaults.
TEST(KeyBindingsCommands, EachCommandHasANameOfItsOwnThatLeadsBackToIt) {
    std::vector<std::string> seen;
    for (int i = 1; i <= KeyBindings::kCommands; ++i) {
        const auto command = static_cast<Command>(i);
        const std::string name = KeyBindings::nameOf(command);
        EXPECT_EQ(KeyBindings::commandNamed(name), command) << name;
        EXPECT_EQ(std::count(seen.begin(), seen.end(), name), 0) << name << " names two commands";
        seen.push_back(name);
    }
    EXPECT_EQ(KeyBindings::commandNamed("confirm"), Command::Confirm);
    EXPECT_EQ(KeyBindings::defaults().chordsOf(Command::Confirm), (std::vector<Chord>{{SDLK_RETURN}, {SDLK_KP_ENTER}}));
    EXPECT_EQ(KeyBindings::defaults().buttonsOf(Command::Letters),
              std::vector<SDL_GameControllerButton>{SDL_CONTROLLER_BUTTON_Y});
    EXPECT_EQ(KeyBindings::commandNamed("nothing"), Command::None);
}

}  // namespace
