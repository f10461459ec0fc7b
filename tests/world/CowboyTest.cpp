#include "WorldFixture.h"

#include "input/HeldWalk.h"
#include "present/Game.h"
#include "world/Cowboy.h"

#include <algorithm>
#include <string>
#include <vector>

using testsupport::pushClick;
using testsupport::pushKeyDown;
using testsupport::pushKeyUp;
using testsupport::pushQuit;
using worldtest::endsWith;
using worldtest::WorldTest;

namespace {

const SDL_Rect kCam{0, 0, 0, 0};

// A hero spawned without a picture, on a sheet 576 pixels wide.
class CowboyTest : public WorldTest {
protected:
    // Held keys walk by the clock: the tests move it themselves, so a slow machine changes nothing.
    static Uint64 now;
    static Uint64 fakeClock() { return now; }

    void SetUp() override {
        now = 1000;
        WorldTest::SetUp();
        hero.walkClock = &fakeClock;
        testing::internal::CaptureStdout();
        hero.spawn();
        testing::internal::GetCapturedStdout();
        hero.texW = 576;
    }

    // Lets the hero take queued events and held steps for millis, one call every 1/60 s.
    void hold(Uint64 millis) {
        for (const Uint64 end = now + millis; now < end;) {
            now += std::min<Uint64>(1000 / 60, end - now);
            hero.handleEvents(kCam);
        }
    }

    int stepsRight() const { return (hero.destRect.x - 300) / 12; }

    // Pushes one key press and lets the hero take it.
    DrawPair* press(SDL_Keycode key, SDL_Rect cam = kCam) {
        pushKeyDown(key);
        return hero.handleEvents(cam);
    }

    Cowboy hero{300, 300};
};

Uint64 CowboyTest::now = 0;

}  // namespace

TEST_F(WorldTest, CowboySpawnWithAndWithoutPicture) {
    Cowboy missing(300, 300);
    testing::internal::CaptureStdout();
    missing.spawn();
    EXPECT_TRUE(endsWith(testing::internal::GetCapturedStdout(), "Render created2\n"));
    EXPECT_EQ(missing.texture, nullptr);
    EXPECT_EQ(missing.texW, 568);
    EXPECT_EQ(missing.texH, 576);
    EXPECT_EQ(missing.srcRect, (SDL_Rect{0, 0, 64, 64}));
    EXPECT_EQ(missing.getPos(), (SDL_Rect{300, 300, 70, 70}));

    pictures.add("sprites/hero2.png", 576, 640);
    Cowboy* hero = new Cowboy(10, 20);
    testing::internal::CaptureStdout();
    hero->spawn();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Render created2\n");
    EXPECT_NE(hero->texture, nullptr);
    EXPECT_EQ(hero->texW, 576);
    EXPECT_EQ(hero->texH, 640);
    testing::internal::CaptureStdout();
    delete hero;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "youre dead");
}

TEST(CowboyNoRenderer, SpawnReportsAndGoesOn) {
    testsupport::ScratchDir scratch;
    worldtest::PictureFolder pictures(scratch);
    Render::renderer = nullptr;
    Cowboy hero(300, 300);
    testing::internal::CaptureStdout();
    hero.spawn();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.rfind("Render fail\n", 0), 0u) << out;
    EXPECT_EQ(out.find("Render created2"), std::string::npos);
    EXPECT_EQ(hero.texture, nullptr);
    EXPECT_EQ(hero.getPos(), (SDL_Rect{300, 300, 70, 70}));
}

TEST_F(CowboyTest, NoEventOnlyFollowsTheCamera) {
    DrawPair* pair = hero.handleEvents({100, 50, 0, 0});
    ASSERT_EQ(pair, &hero.draw);
    EXPECT_EQ(pair->drawDest, (SDL_Rect{200, 250, 70, 70}));
    EXPECT_EQ(pair->drawSrc, (SDL_Rect{0, 0, 64, 64}));
    EXPECT_EQ(hero.getPos(), (SDL_Rect{300, 300, 70, 70}));
    EXPECT_EQ(hero.checkPosition({-10, 20, 0, 0}), (SDL_Rect{310, 280, 70, 70}));
}

TEST_F(CowboyTest, WalkingKeysStepTwelvePixelsAndTurn) {
    struct Case {
        SDL_Keycode key;
        int x, y, side;
        bool activeX, activeY;
    };
    const Case cases[] = {{SDLK_w, 300, 288, 0, false, true},
                          {SDLK_a, 288, 288, 1, true, false},
                          {SDLK_s, 288, 300, 2, false, true},
                          {SDLK_d, 300, 300, 3, true, false}};
    for (const Case& c : cases) {
        DrawPair* pair = press(c.key, {100, 100, 0, 0});
        SCOPED_TRACE(c.key);
        EXPECT_EQ(hero.getPos(), (SDL_Rect{c.x, c.y, 70, 70}));
        EXPECT_EQ(pair->drawDest, (SDL_Rect{c.x - 100, c.y - 100, 70, 70}));
        EXPECT_EQ(hero.getSide(), c.side);
        EXPECT_EQ(hero.getActiveX(), c.activeX);
        EXPECT_EQ(hero.getActiveY(), c.activeY);
        EXPECT_TRUE(hero.walking);
        EXPECT_EQ(pair->drawSrc.y, 64 * c.side);
    }
}

TEST_F(CowboyTest, AStepStopsAtTheWorldsEdgeButAPlaceSetFromOutsideIsKept) {
    hero.setPos(5, -40);
    EXPECT_EQ(hero.getPos(), (SDL_Rect{5, -40, 70, 70})) << "a replay's recorded place is played as it is";
    press(SDLK_a);
    EXPECT_EQ(hero.getPos().x, 0) << "12 pixels left of 5 is past the edge";
    EXPECT_EQ(hero.getPos().y, -40) << "only the axis walked along is kept in the world";
    press(SDLK_w);
    EXPECT_EQ(hero.getPos().y, 0);
}

TEST_F(CowboyTest, HeldAgainstEachEdgeHeStaysInTheWorldAndInView) {
    struct Leg {
        SDL_Keycode key;
        int x, y;  // where he ends, his corner in the world
    };
    // Round the world's edge: left, then up, right, down and left again along the bottom. Each leg
    // is held for 10 s, longer than the 7.5 s that once took him out of sight on the right.
    const Leg legs[] = {
        {SDLK_a, 0, 300}, {SDLK_w, 0, 0}, {SDLK_d, 2160 - 70, 0}, {SDLK_s, 2160 - 70, 1440 - 70}, {SDLK_a, 0, 1370}};
    Game view;
    for (const Leg& leg : legs) {
        SCOPED_TRACE(leg.key);
        press(leg.key);
        hold(10000);
        EXPECT_TRUE(hero.walking) << "he still tries to walk on";
        pushKeyUp(leg.key);
        hold(100);
        EXPECT_EQ(hero.getPos(), (SDL_Rect{leg.x, leg.y, 70, 70}));
        const SDL_Rect shown = hero.checkPosition(view.calculate(hero.getPos(), false, false));
        EXPECT_GE(shown.x, 0);
        EXPECT_GE(shown.y, 0);
        EXPECT_LE(shown.x + shown.w, 1080);
        EXPECT_LE(shown.y + shown.h, 720);
    }
}

TEST_F(CowboyTest, WalkingCycleRestartsAtColumnOne) {
    std::vector<int> columns;
    for (int i = 0; i < 9; ++i) {
        columns.push_back(press(SDLK_d)->drawSrc.x / 64);
    }
    // The last column before 576 - 64 is 7; column 0 only shows before the first step.
    EXPECT_EQ(columns, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 1, 2}));
}

TEST_F(CowboyTest, KeyBStopsTheAnimationOnly) {
    press(SDLK_d);
    const SDL_Rect frame = hero.srcRect;
    press(SDLK_b);
    EXPECT_FALSE(hero.walking);
    EXPECT_TRUE(hero.getActiveX());
    EXPECT_FALSE(hero.getActiveY());
    EXPECT_EQ(hero.getSide(), 3);
    EXPECT_EQ(hero.getPos(), (SDL_Rect{312, 300, 70, 70}));
    EXPECT_EQ(hero.srcRect, frame);
}

TEST_F(CowboyTest, OtherKeysFaceUpAndStop) {
    for (SDL_Keycode key : {SDLK_ESCAPE, SDLK_1, SDLK_RETURN}) {
        press(SDLK_s);
        const SDL_Rect frame = hero.srcRect;
        const SDL_Rect place = hero.getPos();
        press(key);
        SCOPED_TRACE(key);
        EXPECT_EQ(hero.getSide(), 0);
        EXPECT_FALSE(hero.walking);
        EXPECT_FALSE(hero.getActiveX());
        EXPECT_FALSE(hero.getActiveY());
        EXPECT_EQ(hero.getPos(), place);
        EXPECT_EQ(hero.srcRect, frame);
    }
}

TEST_F(CowboyTest, KeyReleaseStopsButKeepsFacingAndFrame) {
    press(SDLK_a);
    hero.moving = true;
    const SDL_Rect frame = hero.srcRect;
    pushKeyUp(SDLK_a);
    hero.handleEvents(kCam);
    EXPECT_FALSE(hero.walking);
    EXPECT_FALSE(hero.getActiveX());
    EXPECT_FALSE(hero.getActiveY());
    EXPECT_FALSE(hero.isMov());
    EXPECT_EQ(hero.getSide(), 1);
    EXPECT_EQ(hero.srcRect, frame);
}

TEST_F(CowboyTest, ClickStartsAnAttackAndAKeyCancelsIt) {
    press(SDLK_d);
    pushClick(10, 10, SDL_BUTTON_RIGHT);
    hero.handleEvents(kCam);
    EXPECT_TRUE(hero.is_attack());
    EXPECT_TRUE(hero.walking);  // a click during a walk leaves the walk alone
    press(SDLK_b);
    EXPECT_FALSE(hero.is_attack());
}

TEST_F(CowboyTest, OneEventPerCallAndQuitStopsTheLoop) {
    pushKeyDown(SDLK_d);
    pushKeyDown(SDLK_d);
    pushQuit();
    testing::internal::CaptureStdout();
    hero.handleEvents(kCam);
    EXPECT_EQ(hero.getPos().x, 312);
    EXPECT_TRUE(Render::isRunning);
    hero.handleEvents(kCam);
    EXPECT_EQ(hero.getPos().x, 324);
    hero.handleEvents(kCam);
    EXPECT_FALSE(Render::isRunning);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "fuck");
}

TEST_F(CowboyTest, BullPickupReachIsHalfWidthPlus22) {
    const SDL_Rect cam{100, 50, 0, 0};
    hero.setPos(135, 85);  // centre on screen at (70, 70)
    EXPECT_FALSE(hero.collisionB({70 - 63, 70, 80, 50}, cam));
    EXPECT_EQ(hero.getBul(), 0);
    EXPECT_TRUE(hero.collisionB({70 - 62, 70, 80, 50}, cam));
    EXPECT_EQ(hero.getBul(), 1);
    EXPECT_TRUE(hero.collisionB({70, 70 + 62, 80, 50}, cam));
    EXPECT_FALSE(hero.collisionB({70 + 44, 70 + 44, 80, 50}, cam));  // 62.2
    EXPECT_FALSE(hero.collisionB({70 + 40000, 70 + 40000, 80, 50}, cam));
    EXPECT_TRUE(hero.isBullCollected(2));
}

TEST_F(CowboyTest, SpawnRepRestartsTheWave) {
    hero.setBull(3);
    hero.setEnemy(2);
    hero.enemyKill();
    EXPECT_TRUE(hero.isEnemyKilled(3));
    hero.setAll(2000, 1500, 77);
    hero.side = 2;
    hero.spawnRep();
    EXPECT_TRUE(hero.isBullCollected(0));
    EXPECT_TRUE(hero.isEnemyKilled(0));
    EXPECT_GE(hero.getPos().x, 0);
    EXPECT_LT(hero.getPos().x, 300);
    EXPECT_GE(hero.getPos().y, 0);
    EXPECT_LT(hero.getPos().y, 300);
    EXPECT_EQ(hero.getHel(), 77);
    EXPECT_EQ(hero.getSide(), 2);
}

TEST_F(CowboyTest, AHeldKeyStepsThirtyTimesASecondCatchesUpAStallOnlyAFewAndTheDesktopsRepeatsDoNothing) {
    press(SDLK_d);
    EXPECT_EQ(stepsRight(), 1) << "the press steps at once";
    SDL_Event repeat{};
    repeat.type = SDL_KEYDOWN;
    repeat.key.state = SDL_PRESSED;
    repeat.key.repeat = 1;
    repeat.key.keysym.sym = SDLK_d;
    for (int i = 0; i < 25; ++i) {
        SDL_PushEvent(&repeat);  // a desktop repeating at 25 a second
    }
    hold(1000);
    EXPECT_EQ(stepsRight(), 31) << "one step at the press, then 30 in the second it is held";
    EXPECT_EQ(hero.getSide(), 3);
    EXPECT_TRUE(hero.walking);
    // The game stalls for two seconds (the window is dragged): he does not leap 60 steps.
    now += 2000;
    hero.handleEvents(kCam);
    const int afterStall = 31 + HeldWalk::kMaxCatchUp;
    EXPECT_EQ(stepsRight(), afterStall);
    hold(100);
    EXPECT_EQ(stepsRight(), afterStall + 3) << "and walks on at his pace";
    pushKeyUp(SDLK_d);
    hold(1000);
    EXPECT_EQ(stepsRight(), afterStall + 3) << "releasing stops at once";
    EXPECT_FALSE(hero.walking);

    press(SDLK_RIGHT);
    pushKeyUp(SDLK_RIGHT);
    hold(1000);
    EXPECT_EQ(stepsRight(), afterStall + 4) << "a tap of an arrow key is one step";
}

TEST_F(CowboyTest, TheLastHeldWayWalksAndTheOtherTakesOverWhenItIsReleased) {
    press(SDLK_d);
    hold(100);  // three steps right on top of the press
    press(SDLK_UP);
    hold(100);
    EXPECT_EQ(stepsRight(), 4);
    EXPECT_EQ(hero.destRect.y, 300 - 4 * 12) << "up, pressed last, walks";
    pushKeyUp(SDLK_UP);
    hold(100);
    EXPECT_EQ(stepsRight(), 6) << "right, still held, walks again from its release";
    EXPECT_EQ(hero.getSide(), 3);
    press(SDLK_b);
    hold(200);
    EXPECT_EQ(stepsRight(), 6) << "b held down holds the walk still";
    EXPECT_FALSE(hero.walking);
    pushKeyUp(SDLK_b);
    hold(100);
    EXPECT_EQ(stepsRight(), 8);
    pushKeyUp(SDLK_d);
    hold(100);
    EXPECT_EQ(stepsRight(), 8);

    press(SDLK_d);
    press(SDLK_SPACE);
    EXPECT_TRUE(hero.is_attack()) << "Space attacks as a click does";
    EXPECT_TRUE(hero.walking);
    hold(40);
    EXPECT_FALSE(hero.is_attack()) << "a held step is a press, and a press cancels the attack";
}

TEST(CowboyStick, TheLargerAxisDecidesOutsideAQuarterOfTheTravel) {
    using A = KeyBindings::Action;
    EXPECT_EQ(Cowboy::stickDirection(8191, -8191), A::None);
    EXPECT_EQ(Cowboy::stickDirection(8192, 0), A::Right);
    EXPECT_EQ(Cowboy::stickDirection(-9000, 8999), A::Left);
    EXPECT_EQ(Cowboy::stickDirection(-9000, 9001), A::Down);
    EXPECT_EQ(Cowboy::stickDirection(100, -32768), A::Up);
}
