#include "present/FieldEffects.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr Uint32 kPipFull = 0xE23E28FFu;   // a pip of health left, RGBA8888
constexpr Uint32 kCrackInk = 0x2E1810FFu;  // a farm's cracks

// The effects of play on SDL's dummy window, without the figures' sheets (their white copies and
// ghosts are left out), the clock at frame 0.
class FieldEffectsTest : public testing::Test {
protected:
    void SetUp() override { effects.open(sdl.renderer, "no-outlaw.png", "no-hero.png"); }
    void TearDown() override { effects.close(); }

    void ticks(int n) {
        for (int i = 0; i < n; ++i) {
            effects.tick();
        }
    }

    // Pixels of exactly `colour` the renderer holds in box.
    int count(Uint32 colour, SDL_Rect box = {0, 0, 1080, 720}) const {
        std::vector<Uint32> pixels(static_cast<std::size_t>(box.w) * box.h);
        SDL_RenderReadPixels(sdl.renderer, &box, SDL_PIXELFORMAT_RGBA8888, pixels.data(), box.w * 4);
        int found = 0;
        for (const Uint32 p : pixels) {
            found += p == colour ? 1 : 0;
        }
        return found;
    }
    void clearPicture() const {
        SDL_SetRenderDrawColor(sdl.renderer, 0, 0, 0, 255);
        SDL_RenderClear(sdl.renderer);
    }

    testsupport::SdlSession sdl;
    FieldEffects effects;
};

// A struck outlaw is pushed away from the hero on the next frame and eases back to his place;
// his place is fixed for the whole frame, whenever in it the blow lands. Slots the effects do not
// follow are passed over.
TEST_F(FieldEffectsTest, AStruckOutlawRecoilsAwayAndEasesBack) {
    effects.struck(2, 1, -1);
    EXPECT_EQ(effects.recoil(2).x, 0) << "he was drawn already in the frame of the blow";
    effects.tick();
    EXPECT_EQ(effects.recoil(2).x, FieldEffects::kRecoil);
    EXPECT_EQ(effects.recoil(2).y, -FieldEffects::kRecoil);
    EXPECT_EQ(effects.recoil(1).x, 0) << "the others stand still";
    int last = FieldEffects::kRecoil;
    for (int frame = 2; frame <= FieldEffects::kRecoilFrames; ++frame) {
        effects.tick();
        EXPECT_LE(effects.recoil(2).x, last) << "frame " << frame;
        last = effects.recoil(2).x;
    }
    EXPECT_EQ(last, 0) << "back in his place";

    effects.struck(-1, 1, 1);
    effects.struck(FieldEffects::kSlots, 1, 1);
    effects.tick();
    EXPECT_EQ(effects.recoil(FieldEffects::kSlots).x, 0);
    EXPECT_FALSE(effects.flashing(-1));
    EXPECT_FALSE(effects.pipsShown(FieldEffects::kSlots));
}

// Blows in a row blink from the first of them: white at once, then on and off, as long as they
// go on; a blow after a pause starts white again. With reduced motion nothing blinks.
TEST_F(FieldEffectsTest, AStruckOutlawBlinksWhiteFromTheFirstBlowOfARow) {
    std::vector<bool> seen;
    effects.struck(0, 1, 0);
    for (int frame = 0; frame < 12; ++frame) {
        seen.push_back(effects.flashing(0));
        effects.tick();
    }
    EXPECT_EQ(seen, (std::vector<bool>{true, true, true, false, false, false, true, true, true, false, false, false}));

    // Struck every frame: the blinking goes on from the first blow, not white at each one.
    const long first = effects.now;
    for (int frame = 0; frame < 4; ++frame) {
        effects.struck(1, 1, 0);
        if (frame == 3) {
            EXPECT_FALSE(effects.flashing(1)) << "three frames after the first blow of the row";
        }
        effects.tick();
    }
    ASSERT_EQ(effects.now, first + 4);
    ticks(1);
    effects.struck(1, 1, 0);  // two frames after the last: a new row
    EXPECT_TRUE(effects.flashing(1));

    effects.reducedMotion = true;
    EXPECT_FALSE(effects.flashing(1));
}

// The field shakes for a moment when the hero is hurt, never the same way twice in a row, and
// rests before it may shake again however often he is hurt meanwhile.
TEST_F(FieldEffectsTest, TheFieldShakesOnceThenRests) {
    effects.heroHurt();
    SDL_Point before{0, 0};
    for (int frame = 1; frame <= FieldEffects::kShakeFrames; ++frame) {
        effects.tick();
        const SDL_Point offset = effects.viewOffset();
        EXPECT_TRUE(offset.x != 0 || offset.y != 0) << "frame " << frame;
        EXPECT_FALSE(offset.x == before.x && offset.y == before.y) << "frame " << frame;
        before = offset;
    }
    effects.tick();
    EXPECT_EQ(effects.viewOffset().x, 0);
    EXPECT_EQ(effects.viewOffset().y, 0);

    ticks(FieldEffects::kShakeRest - 3);
    effects.heroHurt();  // within the rest
    effects.tick();
    EXPECT_EQ(effects.viewOffset().x, 0);
    EXPECT_EQ(effects.viewOffset().y, 0);
    ticks(1);
    effects.heroHurt();  // the rest is over
    effects.tick();
    EXPECT_NE(effects.viewOffset().x, 0);

    effects.heroHurt();
    ticks(FieldEffects::kShakeFrames + FieldEffects::kShakeRest);
    effects.reducedMotion = true;
    effects.heroHurt();
    for (int frame = 0; frame < FieldEffects::kShakeFrames; ++frame) {
        effects.tick();
        EXPECT_EQ(effects.viewOffset().x, 0) << "reduced motion";
        EXPECT_EQ(effects.viewOffset().y, 0);
    }
}

// Over a struck outlaw, a pip for every fifth of his health begun, while he is on the screen and
// for a second after the blow.
TEST_F(FieldEffectsTest, PipsShowEveryFifthOfHealthBegunForASecond) {
    const SDL_Rect dst{400, 300, 64, 64};
    DrawQueue field;
    const auto pipsFor = [&](int health) {
        effects.struck(3, 1, 0);
        effects.tick();
        effects.outlawShown(field, 3, SDL_Rect{0, 0, 64, 64}, dst, health, 100);
        clearPicture();
        effects.drawOverField(sdl.renderer, SDL_Point{0, 0});
        return count(kPipFull) / (7 * 5);
    };
    EXPECT_EQ(pipsFor(100), 5);
    EXPECT_EQ(pipsFor(81), 5);
    EXPECT_EQ(pipsFor(80), 4);
    EXPECT_EQ(pipsFor(21), 2);
    EXPECT_EQ(pipsFor(1), 1) << "a sliver of health is still a pip";
    EXPECT_EQ(pipsFor(0), 0);
    EXPECT_EQ(pipsFor(-40), 0);

    effects.tick();
    EXPECT_FALSE(effects.pipsShown(3)) << "not placed on the screen this frame";
    effects.outlawShown(field, 3, SDL_Rect{0, 0, 64, 64}, dst, 50, 100);
    EXPECT_TRUE(effects.pipsShown(3));
    ticks(FieldEffects::kPipFrames - 3);
    effects.outlawShown(field, 3, SDL_Rect{0, 0, 64, 64}, dst, 50, 100);
    EXPECT_TRUE(effects.pipsShown(3)) << "just under a second after the blow";
    effects.tick();
    effects.outlawShown(field, 3, SDL_Rect{0, 0, 64, 64}, dst, 50, 100);
    EXPECT_FALSE(effects.pipsShown(3));
    field.flush();
}

// A farm cracks at three quarters of its health, more at half, most at a quarter.
TEST_F(FieldEffectsTest, AFarmCracksDeeperAtEachQuarterOfItsHealth) {
    const SDL_Rect dst{300, 200, 200, 100};
    const auto cracks = [&](int health) {
        DrawQueue field;
        effects.farmShown(field, dst, health, 200);
        clearPicture();
        field.flush();
        return count(kCrackInk, dst);
    };
    EXPECT_EQ(cracks(200), 0);
    EXPECT_EQ(cracks(151), 0);
    const int quarter = cracks(150);
    EXPECT_GT(quarter, 0);
    EXPECT_EQ(cracks(101), quarter);
    const int half = cracks(100);
    EXPECT_GT(half, quarter);
    EXPECT_EQ(cracks(51), half);
    const int most = cracks(50);
    EXPECT_GT(most, half);
    EXPECT_EQ(cracks(0), most);
}

// The arrow pulses once when it turns to another farm, and not again for the same one until a
// new wave.
TEST_F(FieldEffectsTest, TheArrowPulsesWhenItTurnsToAnotherFarm) {
    EXPECT_FLOAT_EQ(effects.arrowScale(), 1.0f);
    effects.nearestFarm(0);
    ticks(FieldEffects::kPulseFrames / 2);
    EXPECT_NEAR(effects.arrowScale(), 1.0f + FieldEffects::kPulseGrowth, 0.01f) << "at its largest halfway";
    effects.nearestFarm(0);
    ticks(FieldEffects::kPulseFrames / 2);
    EXPECT_FLOAT_EQ(effects.arrowScale(), 1.0f) << "the same farm again does not start it anew";
    effects.nearestFarm(1);
    ticks(5);
    EXPECT_GT(effects.arrowScale(), 1.1f);
    ticks(FieldEffects::kPulseFrames);
    effects.newWave();
    effects.nearestFarm(1);
    ticks(5);
    EXPECT_GT(effects.arrowScale(), 1.1f) << "a new wave's farms are new to the arrow";
}

// A fallen outlaw's ghost and a fallen farm's dust last their time; a new run forgets them, and
// a new wave forgets what it knew of the outlaws by slot.
TEST_F(FieldEffectsTest, FallsAndDustLastTheirTimeAndANewRunForgetsThem) {
    effects.outlawGone(4, SDL_Rect{0, 0, 64, 64}, SDL_Rect{10, 10, 64, 64}, SDL_Point{0, 0});
    effects.farmFell(SDL_Rect{0, 0, 200, 100});
    ticks(FieldEffects::kGhostFrames - 1);
    EXPECT_EQ(effects.ghostsShown(), 1u);
    effects.tick();
    EXPECT_EQ(effects.ghostsShown(), 0u);
    EXPECT_EQ(effects.dustShown(), 1u);
    ticks(FieldEffects::kDustFrames - FieldEffects::kGhostFrames);
    EXPECT_EQ(effects.dustShown(), 0u);

    effects.struck(5, 1, 0);
    effects.outlawGone(6, SDL_Rect{0, 0, 64, 64}, SDL_Rect{10, 10, 64, 64}, SDL_Point{0, 0});
    effects.newWave();
    EXPECT_FALSE(effects.flashing(5)) << "slot 5 holds another outlaw in the new wave";
    EXPECT_EQ(effects.ghostsShown(), 1u) << "a fall goes on through a level change";
    effects.farmFell(SDL_Rect{0, 0, 200, 100});
    effects.heroHurt();
    effects.reset();
    effects.tick();
    EXPECT_EQ(effects.ghostsShown(), 0u);
    EXPECT_EQ(effects.dustShown(), 0u);
    EXPECT_EQ(effects.viewOffset().x, 0) << "a new run starts still";
}

// The box of every pixel drawn over black in the picture now; empty when none is.
SDL_Rect drawnBox(SDL_Renderer* renderer) {
    std::vector<Uint32> pixels(1080u * 720u);
    SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_RGBA8888, pixels.data(), 1080 * 4);
    int left = 1080, top = 720, right = -1, bottom = -1;
    for (int y = 0; y < 720; ++y) {
        for (int x = 0; x < 1080; ++x) {
            if ((pixels[static_cast<std::size_t>(y) * 1080 + x] & 0xFFFFFF00u) != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? SDL_Rect{0, 0, 0, 0} : SDL_Rect{left, top, right - left + 1, bottom - top + 1};
}

// A collected bull's stars fly out from where he stood, in the world (the camera moves them) and
// with the field's shake, as the figures move; they go after their time, and a new run starts
// without the last run's.
TEST_F(FieldEffectsTest, ASparkleShowsWhereTheBullWasMovesWithTheShakeAndANewRunForgetsIt) {
    const SDL_Rect bull{600, 400, 64, 64};
    const SDL_Point cam{100, 50};
    const auto drawn = [&](FieldEffects& shown) {
        clearPicture();
        shown.drawOverField(sdl.renderer, cam);
        return drawnBox(sdl.renderer);
    };
    effects.bullCollected(bull);
    ticks(4);
    const SDL_Rect still = drawn(effects);
    ASSERT_GT(still.w, 0) << "stars are drawn";
    EXPECT_NEAR(still.x + still.w / 2, bull.x - cam.x + bull.w / 2, 2) << "around the bull's middle on the screen";
    EXPECT_NEAR(still.y + still.h / 2, bull.y - cam.y + bull.h / 2, 4);

    FieldEffects shaken;
    shaken.open(sdl.renderer, "no-outlaw.png", "no-hero.png");
    shaken.bullCollected(bull);
    shaken.heroHurt();
    for (int i = 0; i < 4; ++i) {
        shaken.tick();
    }
    const SDL_Point shake = shaken.viewOffset();
    ASSERT_TRUE(shake.x != 0 && shake.y != 0) << "the field shakes on both axes this frame";
    const SDL_Rect moved = drawn(shaken);
    EXPECT_EQ(moved.x - still.x, shake.x) << "the stars move with the field";
    EXPECT_EQ(moved.y - still.y, shake.y);
    EXPECT_EQ(moved.w, still.w);
    shaken.close();

    ticks(FieldEffects::kSparkleFrames);
    EXPECT_EQ(drawn(effects).w, 0) << "gone after its time";
    effects.bullCollected(bull);
    effects.tick();
    ASSERT_GT(drawn(effects).w, 0);
    effects.reset();
    effects.tick();
    EXPECT_EQ(drawn(effects).w, 0) << "a new run shows no star of the last";
}

// The effects drawn from the game's own figure sheets: ghosts and white flashes.
class FieldEffectsSheetsTest : public testing::Test {
protected:
    void SetUp() override { effects.open(sdl.renderer, "images/sprites/enemy2.png", "images/sprites/hero2.png"); }
    void TearDown() override { effects.close(); }

    // The ghost as the field draws it now, over black: its box and the sum of its pixels' light.
    std::pair<SDL_Rect, long> ghostNow(SDL_Point cam) {
        SDL_SetRenderDrawColor(sdl.renderer, 0, 0, 0, 255);
        SDL_RenderClear(sdl.renderer);
        DrawQueue field;
        effects.addToField(field, cam);
        field.flush();
        std::vector<Uint32> pixels(1080u * 720u);
        SDL_RenderReadPixels(sdl.renderer, nullptr, SDL_PIXELFORMAT_RGBA8888, pixels.data(), 1080 * 4);
        long light = 0;
        for (const Uint32 p : pixels) {
            light += (p >> 24) + (p >> 16 & 0xFF) + (p >> 8 & 0xFF);
        }
        return {drawnBox(sdl.renderer), light};
    }

    testsupport::ScratchDir scratch;  // the sheets from images/
    testsupport::SdlSession sdl;
    FieldEffects effects;
};

TEST_F(FieldEffectsSheetsTest, AGhostSinksAndFadesWhereTheOutlawFell) {
    const SDL_Rect lying{0, 8 * 64, 64, 64};  // a frame of the dying row
    const SDL_Point cam{200, 100};
    effects.outlawGone(4, lying, SDL_Rect{500, 300, 64, 64}, cam);  // on the screen where he fell
    effects.tick();
    const auto [first, firstLight] = ghostNow(cam);
    ASSERT_GT(first.w, 0) << "the ghost is drawn";
    EXPECT_EQ(ghostNow(SDL_Point{cam.x + 50, cam.y}).first.x, first.x - 50)
        << "it stays where he fell as the camera moves";
    EXPECT_GE(first.x, 500);
    EXPECT_LT(first.x + first.w, 500 + 64 + 1);
    EXPECT_GE(first.y, 300);
    long lastLight = firstLight;
    int lastY = first.y;
    for (int frame = 2; frame < FieldEffects::kGhostFrames; frame += 9) {
        for (int i = 0; i < 9; ++i) {
            effects.tick();
        }
        const auto [box, light] = ghostNow(cam);
        if (light == 0) {
            break;
        }
        EXPECT_GT(box.y, lastY) << "sunk lower by frame " << frame + 8;
        EXPECT_LT(light, lastLight) << "fainter by frame " << frame + 8;
        lastY = box.y;
        lastLight = light;
    }
    EXPECT_LE(lastY - first.y, FieldEffects::kGhostSink) << "never deeper than it sinks in all";
    EXPECT_GT(lastY, first.y);
}

// A hurt hero blinks white over his figure, unless the player asked for reduced motion.
TEST_F(FieldEffectsSheetsTest, AHurtHeroBlinksWhiteUnlessMotionIsReduced) {
    const SDL_Rect frame{0, 0, 64, 64};
    const SDL_Rect at{500, 300, 64, 64};
    const auto whiteShown = [&] {
        SDL_SetRenderDrawColor(sdl.renderer, 0, 0, 0, 255);
        SDL_RenderClear(sdl.renderer);
        DrawQueue field;
        effects.heroShown(field, frame, at);
        field.flush();
        return drawnBox(sdl.renderer).w > 0;
    };
    EXPECT_FALSE(whiteShown()) << "unhurt";
    effects.heroHurt();
    EXPECT_TRUE(whiteShown()) << "white in the frame he is hurt";
    effects.reducedMotion = true;
    EXPECT_FALSE(whiteShown()) << "reduced motion: no flash";
}

}  // namespace
