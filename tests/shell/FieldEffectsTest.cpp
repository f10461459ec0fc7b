#include "PlayFixture.h"

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

}  // namespace
