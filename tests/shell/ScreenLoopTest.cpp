#include "shell/ScreenLoop.h"

#include "ShellFixture.h"

#include <vector>

namespace {

// A screen that notes the keys it is given and how often it is drawn; o opens its child over it,
// its own key ends it.
class ProbeScreen : public Screen {
public:
    explicit ProbeScreen(SDL_Keycode doneKey, Screen* child = nullptr) : doneKey(doneKey), child(child) {}

    std::vector<SDL_Keycode> keys;
    mutable int draws = 0;

    void take(const SDL_Event& event) override {
        if (event.type != SDL_KEYDOWN) {
            return;
        }
        keys.push_back(event.key.keysym.sym);
        openAsked = openAsked || event.key.keysym.sym == SDLK_o;
        finished = finished || event.key.keysym.sym == doneKey;
    }
    Screen* opens() override {
        Screen* next = openAsked ? child : nullptr;
        openAsked = false;
        return next;
    }
    void draw(SDL_Renderer* renderer) const override {
        ++draws;
        SDL_SetRenderDrawColor(renderer, 10, 20, 30, 255);  // a colour of its own, left set
        SDL_RenderFillRect(renderer, nullptr);
    }
    bool done() const override { return finished; }

private:
    SDL_Keycode doneKey;
    Screen* child;
    bool openAsked = false;
    bool finished = false;
};

using ScreenLoopTest = ShellTest;

TEST_F(ScreenLoopTest, AScreenOpenedOverAnotherTakesTheKeysUntilDoneThenTheOneUnderItGoesOn) {
    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_GetRenderDrawColor(Render::renderer, &r, &g, &b, &a);
    ProbeScreen child(SDLK_q);
    ProbeScreen parent(SDLK_RETURN, &child);
    ScreenLoop& loop = shell->screens;
    loop.open();

    testsupport::pushKeyDown(SDLK_a);
    testsupport::pushKeyDown(SDLK_o);
    EXPECT_TRUE(loop.pass(parent));
    EXPECT_EQ(child.draws, 1) << "the screen opened is drawn at once";
    testsupport::pushKeyDown(SDLK_x);
    EXPECT_TRUE(loop.pass(parent));
    testsupport::pushKeyDown(SDLK_q);
    EXPECT_TRUE(loop.pass(parent)) << "the child ending does not end the loop";
    EXPECT_EQ(parent.draws, 1) << "the parent is drawn again when the child is gone";
    EXPECT_TRUE(loop.pass(parent));
    EXPECT_TRUE(loop.pass(parent));
    EXPECT_EQ(parent.draws, 1) << "nothing new, nothing drawn";
    testsupport::pushKeyDown(SDLK_b);
    testsupport::pushKeyDown(SDLK_RETURN);
    EXPECT_FALSE(loop.pass(parent));

    EXPECT_EQ(parent.keys, (std::vector<SDL_Keycode>{SDLK_a, SDLK_o, SDLK_b, SDLK_RETURN}));
    EXPECT_EQ(child.keys, (std::vector<SDL_Keycode>{SDLK_x, SDLK_q}));
    Uint8 r2 = 0, g2 = 0, b2 = 0, a2 = 0;
    SDL_GetRenderDrawColor(Render::renderer, &r2, &g2, &b2, &a2);
    EXPECT_EQ((std::vector<int>{r2, g2, b2, a2}), (std::vector<int>{r, g, b, a}))
        << "the game's clear colour survives a screen that draws in its own";
}

}  // namespace
