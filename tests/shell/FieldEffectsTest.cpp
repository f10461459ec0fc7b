#include "PlayFixture.h"

#include <algorithm>
#include <vector>

namespace {

// What play shows of its blows, in a whole game.
class FieldEffectsInPlay : public PlayTest {
protected:
    FieldEffects& effects() { return shell->playFrame.effects; }
};

TEST_F(FieldEffectsInPlay, ReducedMotionKeepsTheFieldStillWhileTheHeroIsHurt) {
    startNewGame();
    frame();
    const SDL_Rect enemyAt = shell->run().enemies[0]->realRect;
    // His centre on the outlaw's corner: the outlaw swings at him frame after frame.
    const auto fight = [&](bool reduced) {
        shell->settings.reducedMotion = reduced;
        player->setAll(enemyAt.x - 35, enemyAt.y - 35, 4000);
        int moved = 0;
        for (int n = 0; n < 90; ++n) {
            frame();
            const SDL_Point offset = effects().viewOffset();
            moved += offset.x != 0 || offset.y != 0 ? 1 : 0;
        }
        EXPECT_LT(player->getHel(), 4000) << "he was hurt";
        return moved;
    };
    EXPECT_GT(fight(false), 0) << "the field shakes when he is hurt";
    EXPECT_EQ(fight(true), 0) << "never with reduced motion";
}

TEST_F(FieldEffectsInPlay, AFallenOutlawFadesOutsideTheWorldsLists) {
    startNewGame();
    shell->help.hide();
    frame();
    Enemy& target = *shell->run().enemies[0];
    const SDL_Rect enemyAt = target.realRect;
    target.setHealth(1);
    player->setPos(enemyAt.x - 100, enemyAt.y);
    std::string trace;
    for (int n = 0; n < 100 && shell->run().enemies[0] != nullptr; ++n) {
        testsupport::pushClick(600, 400);
        trace += frame();
    }
    ASSERT_EQ(shell->run().enemies[0], nullptr) << "struck down and removed";
    EXPECT_EQ(shell->run().enemies.size(), 2u) << "the slot is empty, the list as long as it was";
    EXPECT_EQ(player->getEnemy(), 1);
    EXPECT_EQ(hero->score, 30);
    EXPECT_EQ(effects().ghostsShown(), 1u) << "the frame keeps his fall";
    const SDL_Rect cam = game->getPos();
    const SDL_Rect where{enemyAt.x - cam.x - 8, enemyAt.y - cam.y - 8, 80, 96};
    const std::vector<Uint32> falling = picture();

    for (int n = 0; n < FieldEffects::kGhostFrames; ++n) {
        EXPECT_EQ(frame(), "") << "his fall writes nothing";
    }
    EXPECT_EQ(effects().ghostsShown(), 0u);
    const std::vector<Uint32> gone = picture();
    int changed = 0;
    for (int y = where.y; y < where.y + where.h; ++y) {
        for (int x = where.x; x < where.x + where.w; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * 1080 + x;
            changed += falling[i] != gone[i] ? 1 : 0;
        }
    }
    EXPECT_GT(changed, 300) << "he showed where he fell, and no longer does";
    EXPECT_EQ(shell->run().enemies[0], nullptr);
}

// A shake moves the whole field, the ground and the figures on it alike, so nothing seems to slide
// over the ground: a farm and the ground around it come out as the frame before, moved by the shake.
TEST_F(FieldEffectsInPlay, AShakeMovesTheFiguresWithTheGround) {
    startNewGame();
    shell->help.hide();
    frame();
    ASSERT_FALSE(shell->run().farms.empty());
    const Farm& farm = *shell->run().farms[0];
    heroCentreAt(farm.worldX + Farm::kDrawW / 2, farm.worldY + 260);  // the farm above him, on the screen
    frame();
    frame();
    const std::vector<Uint32> before = picture();
    const SDL_Rect cam = game->getPos();
    const SDL_Rect around{farm.worldX - cam.x - 12, farm.worldY - cam.y - 12, Farm::kDrawW + 24, 124};
    ASSERT_TRUE(around.x > 10 && around.y > 10 && around.x + around.w < 1070 && around.y + around.h < 710)
        << "the farm whole on the screen";
    effects().heroHurt();  // as an outlaw's blow in the last frame would
    frame();
    ASSERT_EQ(game->getPos().x, cam.x) << "the camera stays";
    const SDL_Point shake = effects().viewOffset();
    ASSERT_TRUE(shake.x != 0 && shake.y != 0);
    const std::vector<Uint32> after = picture();
    int differing = 0;
    for (int y = around.y; y < around.y + around.h; ++y) {
        for (int x = around.x; x < around.x + around.w; ++x) {
            differing += after[static_cast<std::size_t>(y) * 1080 + x] !=
                                 before[static_cast<std::size_t>(y - shake.y) * 1080 + (x - shake.x)]
                             ? 1
                             : 0;
        }
    }
    EXPECT_EQ(differing, 0) << "the farm and its ground moved together by the shake";
}

// A struck outlaw is pushed away from the hero who struck him, never towards him.
TEST_F(FieldEffectsInPlay, AStruckOutlawIsPushedAwayFromTheHero) {
    startNewGame();
    shell->help.hide();
    frame();
    Enemy& target = *shell->run().enemies[0];
    target.setHealth(Enemy::kHealth * 10);  // he stands many blows
    const SDL_Rect enemyAt = target.realRect;
    player->setPos(enemyAt.x - 100, enemyAt.y);  // the hero to his left
    SDL_Point pushed{0, 0};
    for (int n = 0; n < 100 && pushed.x == 0 && pushed.y == 0; ++n) {
        testsupport::pushClick(600, 400);
        frame();
        pushed = effects().recoil(0);
    }
    EXPECT_GT(pushed.x, 0) << "pushed to the right, away from the hero";
    EXPECT_EQ(pushed.y, 0);
}

// A struck outlaw is framed by corner marks, light on a dark edge, as well as tinted and flashed:
// a shape that survives any colour blindness. A healthy outlaw has none; with reduced motion,
// where the red is held instead of flashed, the marks are there too.
TEST_F(FieldEffectsInPlay, AStruckOutlawIsFramedByMarksThatDoNotRestOnColour) {
    const SDL_Color ink = FieldEffects::kMarkInk;
    const Uint32 markInk = (Uint32{ink.r} << 24) | (Uint32{ink.g} << 16) | (Uint32{ink.b} << 8) | 0xff;
    for (const bool reduced : {false, true}) {
        SCOPED_TRACE(reduced);
        startNewGame();
        shell->help.hide();
        shell->settings.reducedMotion = reduced;
        frame();
        Enemy& target = *shell->run().enemies[0];
        target.setHealth(Enemy::kHealth * 10);  // he stands many blows
        const SDL_Rect enemyAt = target.realRect;
        player->setPos(enemyAt.x - 100, enemyAt.y);
        const auto around = [&] {
            const SDL_Rect cam = game->getPos();
            return SDL_Rect{target.realRect.x - cam.x - 30, target.realRect.y - cam.y - 30, 130, 130};
        };
        frame();
        EXPECT_EQ(countIn(picture(), around(), markInk), 0) << "a healthy outlaw is unmarked";
        bool struck = false;
        for (int n = 0; n < 100 && !struck; ++n) {
            testsupport::pushClick(600, 400);
            frame();
            struck = effects().pipsShown(0);
        }
        ASSERT_TRUE(struck);
        EXPECT_GT(countIn(picture(), around(), markInk), 8 * FieldEffects::kMarkLength) << "his four corners marked";
        // The swing under way strikes on; once it is over the marks go.
        int left = -1;
        for (int n = 0; n < 120 && left != 0; ++n) {
            frame();
            left = countIn(picture(), around(), markInk);
        }
        EXPECT_EQ(left, 0) << "the marks go with the blows";
        traced([&] { shell->endOfRun(); });
        shell.reset();
        shell = std::make_unique<Shell>();
        SetUp();
    }
}

// The hurt hero is framed by the same marks while his red shows, and only then: his hurt is told
// by shape as well as by the red a colour-blind player may not see.
TEST_F(FieldEffectsInPlay, AHurtHeroIsFramedByMarksWhileHisRedShows) {
    const SDL_Color ink = FieldEffects::kMarkInk;
    const Uint32 markInk = (Uint32{ink.r} << 24) | (Uint32{ink.g} << 16) | (Uint32{ink.b} << 8) | 0xff;
    startNewGame();
    shell->help.hide();
    frame();
    shell->run().enemies[1].reset();
    const SDL_Rect enemyAt = shell->run().enemies[0]->realRect;
    const auto around = [&] {
        const SDL_Rect cam = game->getPos();
        const SDL_Rect at = player->getPos();
        return SDL_Rect{at.x - cam.x - 20, at.y - cam.y - 20, at.w + 40, at.h + 40};
    };
    player->setAll(enemyAt.x - 500, enemyAt.y - 35, 4000);
    frame();
    EXPECT_EQ(countIn(picture(), around(), markInk), 0) << "unhurt, unmarked";
    // His centre on the outlaw's corner: the outlaw swings at him.
    player->setAll(enemyAt.x - 35, enemyAt.y - 35, 4000);
    int n = 0;
    for (; n < 100 && player->getHel() == 4000; ++n) {
        frame();
    }
    ASSERT_LT(player->getHel(), 4000) << "he was hurt";
    EXPECT_GT(countIn(picture(), around(), markInk), 8 * FieldEffects::kMarkLength) << "his four corners marked";
    // Out of reach: once his hurt time is over the marks go.
    player->setAll(enemyAt.x - 500, enemyAt.y - 35, 4000);
    for (n = 0; n <= FieldEffects::kHeldRedFrames; ++n) {
        frame();
    }
    EXPECT_EQ(countIn(picture(), around(), markInk), 0) << "the marks go with his red";
}

// A new level's outlaws are new men in the old slots: none of them blinks or recoils from a blow
// an outlaw of the level before took.
TEST_F(FieldEffectsInPlay, ANewLevelsOutlawsCarryNothingOfTheBlowsBeforeIt) {
    startNewGame();
    shell->help.hide();
    frame();
    Enemy& target = *shell->run().enemies[0];
    target.setHealth(Enemy::kHealth * 10);
    const SDL_Rect enemyAt = target.realRect;
    player->setPos(enemyAt.x - 100, enemyAt.y);
    for (int n = 0; n < 100 && effects().recoil(0).x == 0; ++n) {
        testsupport::pushClick(600, 400);
        frame();
    }
    ASSERT_NE(effects().recoil(0).x, 0) << "struck";
    ASSERT_TRUE(effects().flashing(0));
    player->setEnemy(2);  // the first level's counts met: the next frame starts level 2
    player->setBull(2);
    frame();
    ASSERT_EQ(shell->run().level, 2);
    frame();  // the first frame of level 2
    EXPECT_FALSE(effects().flashing(0)) << "slot 0 holds a new outlaw, never struck";
    EXPECT_EQ(effects().recoil(0).x, 0) << "and standing where he stands";
}

// With reduced motion the hurt hero shows his red steadily while an outlaw swings at him again
// and again, where otherwise he blinks (white, his colours, red); once the blows stop, his own
// colours come back.
TEST_F(FieldEffectsInPlay, ReducedMotionHoldsTheHurtHerosRedWithoutBlinking) {
    startNewGame();
    shell->help.hide();
    frame();
    shell->run().enemies[1].reset();
    const SDL_Rect enemyAt = shell->run().enemies[0]->realRect;
    // The hero in one flat colour with some red in it, so his hurt tint is a colour of its own.
    SDL_Surface* flat = SDL_CreateRGBSurfaceWithFormat(0, 1500, 1500, 32, SDL_PIXELFORMAT_RGBA8888);
    ASSERT_NE(flat, nullptr);
    SDL_FillRect(flat, nullptr, 0x8080C0FF);
    SDL_DestroyTexture(player->texture);
    player->texture = SDL_CreateTextureFromSurface(Render::renderer, flat);
    SDL_FreeSurface(flat);
    constexpr Uint32 kPlain = 0x8080C0FF;
    constexpr Uint32 kHurt = 0x800000FF;  // his colour under the world's red tint
    // His upper left quarter: the outlaw, whose corner is at the hero's centre, never covers it.
    const auto heroQuarter = [&]() {
        const SDL_Rect cam = game->getPos();
        const SDL_Rect at = player->getPos();
        const std::vector<Uint32> all = picture();
        std::vector<Uint32> quarter;
        for (int y = at.y - cam.y + 2; y < at.y - cam.y + 32; ++y) {
            for (int x = at.x - cam.x + 2; x < at.x - cam.x + 32; ++x) {
                quarter.push_back(all[static_cast<std::size_t>(y) * 1080 + x]);
            }
        }
        return quarter;
    };
    const auto all = [](const std::vector<Uint32>& pixels, Uint32 colour) {
        return std::all_of(pixels.begin(), pixels.end(), [colour](Uint32 p) { return p == colour; });
    };
    // His centre on the outlaw's corner: the outlaw swings at him frame after frame. Returns how
    // many frames after the first blow looked otherwise than the frame before.
    const auto fight = [&](bool reduced) {
        shell->settings.reducedMotion = reduced;
        player->setAll(enemyAt.x - 35, enemyAt.y - 35, 4000);
        int changes = 0;
        int hurtFrames = 0;
        std::vector<Uint32> before;
        for (int n = 0; n < 60; ++n) {
            const int health = player->getHel();
            frame();
            hurtFrames += player->getHel() < health ? 1 : 0;
            if (hurtFrames == 0) {
                continue;
            }
            const std::vector<Uint32> now = heroQuarter();
            changes += !before.empty() && now != before ? 1 : 0;
            if (reduced) {
                EXPECT_TRUE(all(now, kHurt)) << "frame " << n << ": red throughout his hurt time";
            }
            before = now;
        }
        EXPECT_GE(hurtFrames, 30) << "blows in a row, with a frame between swings";
        EXPECT_LT(hurtFrames, 60);
        return changes;
    };
    EXPECT_GT(fight(false), 10) << "without reduced motion he blinks";
    EXPECT_EQ(fight(true), 0) << "with it, not once";

    // The blows stop: his red goes once his hurt time is over.
    player->setAll(enemyAt.x - 500, enemyAt.y - 35, 4000);
    for (int n = 0; n < FieldEffects::kHeldRedFrames; ++n) {
        frame();
    }
    EXPECT_TRUE(all(heroQuarter(), kPlain)) << "his own colours again";
}

}  // namespace
