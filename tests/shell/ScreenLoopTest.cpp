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

namespace {

// A panel: a small square of its own colour; o opens the next panel, its key ends it. Notes when
// it is uncovered and when it is gone.
class ProbePanel : public Screen {
public:
    ProbePanel(SDL_Color colour, int x, SDL_Keycode doneKey, int& uncovers, bool& gone,
               std::function<std::unique_ptr<Screen>()> next = nullptr)
        : colour(colour), x(x), doneKey(doneKey), uncovers(uncovers), gone(gone), next(std::move(next)) {}
    ~ProbePanel() override { gone = true; }

    void take(const SDL_Event& event) override {
        if (event.type == SDL_KEYDOWN) {
            openAsked = openAsked || event.key.keysym.sym == SDLK_o;
            finished = finished || event.key.keysym.sym == doneKey;
        }
    }
    std::unique_ptr<Screen> opens() override {
        const bool asked = openAsked;
        openAsked = false;
        return asked && next ? next() : nullptr;
    }
    void draw(SDL_Renderer* renderer) const override {
        SDL_SetRenderDrawColor(renderer, colour.r, colour.g, colour.b, 255);
        const SDL_Rect square{x, 0, 10, 10};
        SDL_RenderFillRect(renderer, &square);
    }
    bool isPanel() const override { return true; }
    bool done() const override { return finished; }
    void uncovered() override { ++uncovers; }

private:
    SDL_Color colour;
    int x;
    SDL_Keycode doneKey;
    int& uncovers;
    bool& gone;
    std::function<std::unique_ptr<Screen>()> next;
    bool openAsked = false;
    bool finished = false;
};

SDL_Color pixelAt(int x, int y) {
    Uint8 rgba[4] = {};
    const SDL_Rect one{x, y, 1, 1};
    EXPECT_EQ(SDL_RenderReadPixels(Render::renderer, &one, SDL_PIXELFORMAT_RGBA32, rgba, 4), 0) << SDL_GetError();
    return SDL_Color{rgba[0], rgba[1], rgba[2], rgba[3]};
}

bool same(SDL_Color a, SDL_Color b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

// A panel stands over the nearest screen under it that is not a panel: the one it was opened from
// is hidden while it shows. The loop owns what was opened, lets it go when done, and tells the
// screen under it.
TEST_F(ScreenLoopTest, APanelIsDrawnOverTheScreenUnderItsPanelsAndGoesWhenDone) {
    const SDL_Color base{10, 20, 30, 255};
    const SDL_Color red{200, 0, 0, 255};
    const SDL_Color green{0, 200, 0, 255};
    ProbeLog log;
    int firstUncovers = 0;
    int secondUncovers = 0;
    bool firstGone = false;
    bool secondGone = false;
    ProbeScreen screen(SDLK_RETURN, log, [&] {
        return std::make_unique<ProbePanel>(red, 0, SDLK_q, firstUncovers, firstGone, [&] {
            return std::make_unique<ProbePanel>(green, 20, SDLK_w, secondUncovers, secondGone);
        });
    });
    ScreenLoop& loop = shell->screens;
    loop.open();

    testsupport::pushKeyDown(SDLK_o);
    ASSERT_TRUE(loop.pass(screen));
    ASSERT_NE(loop.top(), nullptr);
    EXPECT_TRUE(same(pixelAt(5, 5), red)) << "the panel";
    EXPECT_TRUE(same(pixelAt(500, 300), base)) << "over the screen it was opened from";

    testsupport::pushKeyDown(SDLK_o);
    ASSERT_TRUE(loop.pass(screen));
    EXPECT_TRUE(same(pixelAt(25, 5), green)) << "the panel opened from the panel";
    EXPECT_TRUE(same(pixelAt(5, 5), base)) << "hides the one it came from";
    EXPECT_TRUE(same(pixelAt(500, 300), base));
    EXPECT_FALSE(firstGone);

    testsupport::pushKeyDown(SDLK_w);
    ASSERT_TRUE(loop.pass(screen));
    EXPECT_TRUE(secondGone) << "done, and let go";
    EXPECT_EQ(firstUncovers, 1) << "the panel under it was told";
    EXPECT_TRUE(same(pixelAt(5, 5), red));
    EXPECT_TRUE(same(pixelAt(25, 5), base));

    testsupport::pushKeyDown(SDLK_q);
    ASSERT_TRUE(loop.pass(screen));
    EXPECT_TRUE(firstGone);
    EXPECT_EQ(loop.top(), nullptr);
    EXPECT_TRUE(same(pixelAt(5, 5), base));
    testsupport::pushKeyDown(SDLK_RETURN);
    EXPECT_FALSE(loop.pass(screen));
}

}  // namespace
