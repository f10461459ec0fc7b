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
    void uncovered(const Screen& /*gone*/) override { ++uncovers; }

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

namespace {

// A screen that drives itself, as the menu and play do: it counts its own passes, leaves the
// events to be read by its own steps, and notes what is handed to it.
class SelfDrivenProbe : public Screen {
public:
    int passes = 0;
    mutable int draws = 0;
    std::vector<Uint32> taken;                      // events the loop handed it
    std::vector<const Screen*> uncovers;            // what went from over it, as told
    std::function<std::unique_ptr<Screen>()> next;  // opened after its next pass, once
    bool finished = false;

    bool drivesItself() const override { return true; }
    void step() override { ++passes; }
    void take(const SDL_Event& event) override { taken.push_back(event.type); }
    std::unique_ptr<Screen> opens() override {
        auto make = std::move(next);
        next = nullptr;
        return make ? make() : nullptr;
    }
    void draw(SDL_Renderer* renderer) const override {
        ++draws;
        SDL_SetRenderDrawColor(renderer, 10, 20, 30, 255);
        SDL_RenderFillRect(renderer, nullptr);
    }
    bool done() const override { return finished; }
    void uncovered(const Screen& gone) override { uncovers.push_back(&gone); }
};

}  // namespace

// The menu and play: a pass is their own, the events wait for their steps; what they open stands
// over them and is run as any screen, drawn over their picture; when it goes they are told which
// it was, and a close over it is handed to them.
TEST_F(ScreenLoopTest, AScreenThatDrivesItselfKeepsItsInputAndPicturesAndIsToldWhatWentFromOverIt) {
    const SDL_Color base{10, 20, 30, 255};
    const SDL_Color red{200, 0, 0, 255};
    ScreenLoop& loop = shell->screens;
    SelfDrivenProbe self;
    int uncovers = 0;
    bool gone = false;
    Screen* panel = nullptr;
    auto openPanel = [&] {
        auto made = std::make_unique<ProbePanel>(red, 0, SDLK_q, uncovers, gone);
        panel = made.get();
        return made;
    };
    loop.open();

    testsupport::pushKeyDown(SDLK_a);
    ASSERT_TRUE(loop.pass(self));
    EXPECT_EQ(self.passes, 1);
    EXPECT_EQ(self.draws, 0) << "its pass draws its own picture";
    EXPECT_TRUE(self.taken.empty());
    SDL_Event waiting{};
    ASSERT_TRUE(shell->input.next(waiting)) << "the key waits for its own step";
    EXPECT_EQ(waiting.key.keysym.sym, SDLK_a);

    self.next = openPanel;
    ASSERT_TRUE(loop.pass(self));
    ASSERT_EQ(loop.top(), panel) << "what it asked for stands over it";
    testsupport::pushKeyDown(SDLK_x);
    ASSERT_TRUE(loop.pass(self));
    EXPECT_EQ(self.passes, 2) << "no pass of its own while something stands over it";
    EXPECT_TRUE(self.taken.empty()) << "the key was the panel's";
    EXPECT_TRUE(same(pixelAt(5, 5), red));
    EXPECT_TRUE(same(pixelAt(500, 300), base)) << "the panel stands on its picture";

    testsupport::pushKeyDown(SDLK_q);
    ASSERT_TRUE(loop.pass(self));
    EXPECT_TRUE(gone);
    ASSERT_EQ(self.uncovers.size(), 1u);
    EXPECT_EQ(self.uncovers[0], panel) << "told which went, while it was still whole";
    EXPECT_EQ(loop.top(), nullptr);
    ASSERT_TRUE(loop.pass(self));
    EXPECT_EQ(self.passes, 3) << "its own passes go on";

    gone = false;
    self.next = openPanel;
    ASSERT_TRUE(loop.pass(self));
    testsupport::pushQuit();
    ASSERT_TRUE(loop.pass(self));
    EXPECT_TRUE(gone) << "a close takes away what stands over it";
    EXPECT_EQ(self.taken, std::vector<Uint32>{SDL_QUIT}) << "and is handed to it";
    EXPECT_TRUE(loop.closed());

    self.finished = true;
    EXPECT_FALSE(loop.pass(self));
    EXPECT_EQ(self.passes, 4) << "once done, no pass of its own: play ended on the menu plays no frame";
}
