#pragma once

#include "input/Input.h"
#include "input/KeyBindings.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <string>
#include <vector>

// SDL's event queue alone, and the one input reader over it with a fresh game's keys.
class InputFixture : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0) << SDL_GetError();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override { SDL_Quit(); }

    static void push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError(); }

    // Every waiting event's type (and key, for keys), in the order the input hands them out.
    std::vector<std::string> drain() {
        std::vector<std::string> out;
        SDL_Event e;
        while (input.next(e)) {
            out.push_back(e.type == SDL_KEYDOWN ? std::string("key ") + SDL_GetKeyName(e.key.keysym.sym)
                                                : "type " + std::to_string(e.type));
        }
        return out;
    }

    KeyBindings keys;
    Input input{keys};
};
