#include "PlayFixture.h"

#include "present/SwingTell.h"

#include <vector>

namespace {

constexpr Uint32 kTellInk = 0xFFD640FF;  // SwingTell::kInk, RGBA8888

// An outlaw closing in on a hero who stands his ground: the mark shows over him for a while
// before his first blow lands, and never while he swings. The blows land in the very frames an
// outlaw stepped alone by the world's rules swings, each taking what a blow always took.
TEST_F(PlayTest, AnOutlawShowsHisSwingBeforeItLandsAndItLandsAsEver) {
    startNewGame();
    shell->help.hide();
    frame();  // the outlaws, still calm, take their place on the screen
    shell->run().enemies[1].reset();
    const SDL_Rect start = shell->run().enemies[0]->realRect;
    heroCentreAt(start.x + 100, start.y);  // 100 pixels to his right: angry, out of reach
    // The same outlaw stepped by the world alone, beside the game, the same camera each frame.
    Enemy alone;
    alone.spawn(start.x, start.y);
    Enemy::isAngry = false;
    alone.getPosAbs(game->getPos());

    std::vector<int> marked;  // frames with the mark, counted from 1
    std::vector<int> hurt;    // frames in which the hero lost health
    for (int n = 1; n <= 60; ++n) {
        const int health = player->getHel();
        const SDL_Rect cam = game->getPos();
        frame();
        const int lost = health - player->getHel();
        alone.getAngry(player->getPos(), false, cam, 0);
        EXPECT_EQ(lost > 0, alone.is_attack()) << "frame " << n << ": a blow lands when the outlaw swings";
        if (lost > 0) {
            EXPECT_EQ(lost, Enemy::kDamage / Character::kDamageDivisor) << "frame " << n;
            hurt.push_back(n);
        }
        const int ink = countIn(picture(), Render::kPicture, kTellInk);
        EXPECT_EQ(ink > 0, shell->playFrame.tells.marked(0)) << "frame " << n;
        if (ink > 0) {
            marked.push_back(n);
            EXPECT_FALSE(shell->run().enemies[0]->is_attack()) << "frame " << n << ": no mark while he swings";
        }
    }
    ASSERT_FALSE(hurt.empty()) << "he reached the hero";
    ASSERT_FALSE(marked.empty()) << "the mark showed";
    EXPECT_GT(marked.front(), 1) << "not while he was still far off";
    EXPECT_EQ(marked.back(), hurt.front() - 1) << "up to the frame before his first blow";
    EXPECT_GE(marked.size(), 10u) << "for a moment, not a glimpse";
    for (std::size_t i = 1; i < marked.size(); ++i) {
        EXPECT_EQ(marked[i], marked[i - 1] + 1) << "without a break: it does not blink";
    }
    EXPECT_GE(hurt.size(), 20u) << "he swings on and on";
}

}  // namespace
