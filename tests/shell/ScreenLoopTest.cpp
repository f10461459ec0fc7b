#include "shell/ScreenLoop.h"

#include "ShellFixture.h"

#include <functional>
#include <memory>
#include <vector>

namespace {

// What a probe screen was given and how often it was drawn; kept by the test, as the loop owns the
// screens opened over the one it runs and lets them go when they are done.
struct ProbeLog {
    std::vector<SDL_Keycode> keys;
    int draws = 0;
};

// A screen that notes the keys it is given and how often it is drawn; o opens a child made by
// `makeChild` over it, its own key ends it.
class ProbeScreen : public Screen {
public:
    ProbeScreen(SDL_Keycode doneKey, ProbeLog& log, std::function<std::unique_ptr<Screen>()> makeChild = nullptr)
        : doneKey(doneKey), log(log), makeChild(std::move(makeChild)) {}

    void take(const SDL_Event& event) override {
        if (event.type != SDL_KEYDOWN) {
            return;
        }
        log.keys.push_back(event.key.keysym.sym);
        openAsked = openAsked || event.key.keysym.sym == SDLK_o;
        finished = finished || event.key.keysym.sym == doneKey;
    }
    std::unique_ptr<Screen> opens() override {
        const bool asked = openAsked;
        openAsked = false;
        return asked && makeChild ? makeChild() : nullptr;
    }
    void draw(SDL_Renderer* renderer) const override {
        ++log.draws;
        SDL_SetRenderDrawColor(renderer, 10, 20, 30, 255);  // a colour of its own, left set
        SDL_RenderFillRect(renderer, nullptr);
    }
    bool done() const override { return finished; }

private:
    SDL_Keycode doneKey;
    ProbeLog& log;
    std::function<std::unique_ptr<Screen>()> makeChild;
    bool openAsked = false;
    bool finished = false;
};

using ScreenLoopTest = ShellTest;

TEST_F(ScreenLoopTest, AScreenOpenedOverAnotherTakesTheKeysUntilDoneThenTheOneUnderItGoesOn) {
    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_GetRenderDrawColor(Render::renderer, &r, &g, &b, &a);
    ProbeLog childLog;
    ProbeLog parentLog;
    ProbeScreen parent(SDLK_RETURN, parentLog, [&] { return std::make_unique<ProbeScreen>(SDLK_q, childLog); });
    ScreenLoop& loop = shell->screens;
    loop.open();

    testsupport::pushKeyDown(SDLK_a);
    testsupport::pushKeyDown(SDLK_o);
    EXPECT_TRUE(loop.pass(parent));
    EXPECT_EQ(childLog.draws, 1) << "the screen opened is drawn at once";
    testsupport::pushKeyDown(SDLK_x);
    EXPECT_TRUE(loop.pass(parent));
    testsupport::pushKeyDown(SDLK_q);
    EXPECT_TRUE(loop.pass(parent)) << "the child ending does not end the loop";
    EXPECT_EQ(parentLog.draws, 1) << "the parent is drawn again when the child is gone";
    EXPECT_TRUE(loop.pass(parent));
    EXPECT_TRUE(loop.pass(parent));
    EXPECT_EQ(parentLog.draws, 1) << "nothing new, nothing drawn";
    testsupport::pushKeyDown(SDLK_b);
    testsupport::pushKeyDown(SDLK_RETURN);
    EXPECT_FALSE(loop.pass(parent));

    EXPECT_EQ(parentLog.keys, (std::vector<SDL_Keycode>{SDLK_a, SDLK_o, SDLK_b, SDLK_RETURN}));
    EXPECT_EQ(childLog.keys, (std::vector<SDL_Keycode>{SDLK_x, SDLK_q}));
    Uint8 r2 = 0, g2 = 0, b2 = 0, a2 = 0;
    SDL_GetRenderDrawColor(Render::renderer, &r2, &g2, &b2, &a2);
    EXPECT_EQ((std::vector<int>{r2, g2, b2, a2}), (std::vector<int>{r, g, b, a}))
        << "the game's clear colour survives a screen that draws in its own";
}

}  // namespace
