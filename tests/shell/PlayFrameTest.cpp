#include "PlayFixture.h"

#include "present/DrawQueue.h"

#include <cstring>
#include <vector>

namespace {

// A clock for the result card that moves 10 ms at each reading and presses the keys of the
// script when their time comes, so a card's seconds pass at once.
Uint64 cardNow = 0;
std::vector<std::pair<Uint64, SDL_Keycode>> cardScript;  // milliseconds after the script starts
Uint64 cardStart = 0;                                    // when the script starts
Uint64 scriptedClock() {
    cardNow += 10;
    while (!cardScript.empty() && cardNow - cardStart >= cardScript.front().first) {
        testsupport::pushKeyDown(cardScript.front().second);
        cardScript.erase(cardScript.begin());
    }
    return cardNow;
}

TEST_F(PlayTest, AFrameTakesOneEventPerInputStepAndRecordsTheStartPosition) {
    startNewGame();
    for (int i = 0; i < 7; ++i) {
        testsupport::pushKeyDown(SDLK_d);
    }
    frame();
    EXPECT_EQ(player->getPos().x, 300 + 5 * 12) << "1 + 2 x 2 input steps at level 1";
    frame();
    EXPECT_EQ(player->getPos().x, 300 + 7 * 12);
    EXPECT_EQ(testsupport::readFile("files/replay.txt"), "300 300\n360 300\n")
        << "each frame records where the previous one left the hero";
}

TEST_F(PlayTest, TheViewFollowsTheHeroAndStopsAtTheEdges) {
    startNewGame();
    heroCentreAt(1000, 700);
    frame();
    EXPECT_EQ(game->getPos().x, 1000 - 540);
    EXPECT_EQ(game->getPos().y, 700 - 360);
    heroCentreAt(5000, -300);
    frame();
    EXPECT_EQ(game->getPos().x, 1080);
    EXPECT_EQ(game->getPos().y, 0);
}

TEST_F(PlayTest, HeroWearsAnEnemyDownAndTheKillIsCountedAndScored) {
    startNewGame();
    frame();  // the enemies, still calm, take their place on the screen
    Enemy* target = shell->run().enemies[0].get();
    const SDL_Rect enemyAt = target->realRect;
    // Stand so that the hero's corner is 100 pixels from the enemy's: in reach, not in its grip.
    player->setPos(enemyAt.x - 100, enemyAt.y);
    int frames = 0;
    while (shell->run().enemies[0] != nullptr && frames < 400) {
        testsupport::pushClick(600, 400);
        frame();
        ++frames;
    }
    ASSERT_EQ(shell->run().enemies[0], nullptr) << "13 hits kill an enemy";
    EXPECT_EQ(player->getEnemy(), 1);
    EXPECT_EQ(hero->score, 30);
    frame();
    EXPECT_EQ(shell->hudTexts[2]->keptText(), "Enemies killed: 1/2");
    EXPECT_EQ(shell->hudTexts[3]->keptText(), "Score: 30") << "the HUD's fourth line shows the run's score";
}

TEST_F(PlayTest, ABullIsCollectedWhereTheFramesInputStepsLeaveTheHero) {
    startNewGame();
    const Bull& bull = *shell->run().bulls[1];
    // A bull is reached within 62 pixels of its corner. The frame's first input step leaves the
    // hero's centre 80 pixels below it, the four steps of the enemy pass 32 pixels.
    heroCentreAt(bull.worldX, bull.worldY + 92);
    for (int i = 0; i < 5; ++i) {
        testsupport::pushKeyDown(SDLK_w);
    }
    frame();
    EXPECT_EQ(shell->run().bulls[1], nullptr) << "the bull pass must run after the enemy pass and its input steps";
    EXPECT_NE(shell->run().bulls[0], nullptr);
    EXPECT_EQ(player->getBul(), 1);
    EXPECT_EQ(hero->score, 50);
}

TEST_F(PlayTest, TheArrowPointsToTheFarmOnlyWhileNoFarmIsInView) {
    startNewGame();
    // The hero at (300, 300): farm 1 lies off the window to the right.
    for (int i = 0; i < 4; ++i) {
        arrow->pos.x = -1;
        frame();
        EXPECT_EQ(arrow->pos.x, 990) << "frame " << i
                                     << ": the farm countdown must let the arrow show in every "
                                        "frame while no farm is in view";
    }
    EXPECT_EQ(arrow->pos.y, 360);
    EXPECT_EQ(arrow->angle, 90);

    heroCentreAt(1500, 600);
    frame();
    frame();  // the farm's screen rectangle follows the camera one frame later
    arrow->pos.x = -1;
    frame();
    EXPECT_EQ(arrow->pos.x, -1) << "a farm in view hides the arrow";
}

TEST_F(PlayTest, WinningLevelThreeEndsTheRunAndSavesTheGrownCounts) {
    startNewGame();
    player->setEnemy(2);
    player->setBull(2);
    frame();
    player->setEnemy(4);
    player->setBull(4);
    const std::string building = "Render Building created\n";
    EXPECT_EQ(frame(), "kulYou win!!!\n22" + building + building + building);
    EXPECT_EQ(shell->run().level, 3);
    EXPECT_EQ(shell->run().farms.size(), 3u);
    EXPECT_EQ(shell->run().enemies[5]->getID(), 1);
    player->setEnemy(6);
    player->setBull(6);
    EXPECT_EQ(frame(), "kulYou win!!!\n33") << "the last level's whole trace";
    EXPECT_FALSE(Render::isRunning) << "winning level 3 ends the run";
    EXPECT_EQ(shell->run().outcome, Run::Outcome::Won);
    EXPECT_TRUE(shell->playing->resultCard.captured()) << "the winning frame's picture is kept for the card";
    EXPECT_EQ(shell->run().enemyCount, 8);
    EXPECT_EQ(shell->run().bullCount, 8);
    for (const auto& enemy : shell->run().enemies) {
        EXPECT_EQ(enemy->getID(), 0) << "nothing is placed after the last level";
    }
    // The card waits for the player on a clock of the test's: what was queued before it is
    // dropped (meant for play), nothing pressed in its first 0.8 s acts, Space (the attack) never
    // does, and left alone for 30 s it still shows (the test then lets it go).
    testsupport::pushKeyDown(SDLK_RETURN);
    cardScript = {{100, SDLK_RETURN}, {500, SDLK_ESCAPE}, {900, SDLK_SPACE}, {20000, SDLK_SPACE}};
    shell->cardClock = &scriptedClock;
    const Uint64 before = cardStart = cardNow;
    bool again = true;
    EXPECT_EQ(traced([&] { again = shell->showResultCard(30000); }), "");
    EXPECT_FALSE(again);
    EXPECT_EQ(shell->playing->resultCard.choice(), PanelKeys::CardChoice::None) << "no press put the card away";
    EXPECT_GE(cardNow - before, 30000u) << "it was still shown after 30 s";
    // After the lockout Enter goes on to the menu.
    cardScript = {{300, SDLK_RETURN}, {1000, SDLK_RETURN}};
    const Uint64 second = cardStart = cardNow;
    EXPECT_TRUE(shell->showResultCard(30000));
    EXPECT_GE(cardNow - second, 1000u) << "the Enter in the lockout did nothing";
    EXPECT_LT(cardNow - second, 30000u);
    shell->cardClock = &SDL_GetTicks64;
    EXPECT_FALSE(shell->playing->resultCard.captured());
    EXPECT_FALSE(testsupport::fileExists("files/players.bin"));
    endFrames(1);
    traced([&] { shell->endOfRun(); });
    const std::string saved = testsupport::readFile("files/resP.bin");
    ASSERT_EQ(saved.size(), 56u);
    EXPECT_EQ(saved[12], 3) << "level";
    EXPECT_EQ(saved[24], 8) << "enemy count";
    EXPECT_EQ(saved[28], 8) << "bull count";
}

TEST_F(PlayTest, TheHerosDeathEndsTheRunAndKeepsHisLastValues) {
    startNewGame();
    frame();
    const SDL_Rect enemyAt = shell->run().enemies[0]->realRect;
    player->setAll(enemyAt.x - 35, enemyAt.y - 35, 4);  // his centre on the enemy's corner: it attacks
    EXPECT_EQ(endFrames(100), "youre dead") << "the hero's removal is all the frames write";
    EXPECT_EQ(player, nullptr);
    EXPECT_EQ(shell->run().outcome, Run::Outcome::Died);
    // Without a key or a click the card stays its time, then goes by itself.
    const Uint64 before = SDL_GetTicks64();
    EXPECT_EQ(traced([&] { shell->showResultCard(300); }), "");
    EXPECT_GE(SDL_GetTicks64() - before, 300u);
    const HeroSnapshot last = shell->run().heroState();
    EXPECT_LT(last.health, 0) << "an enemy swinging at the hero within reach hurts him, past 0";
    EXPECT_EQ(shell->hudTexts[0]->keptText(), "Health: 0") << "the HUD never shows less than none";
    EXPECT_EQ(last.pos.x, enemyAt.x - 35);
    const std::string end = traced([&] { shell->endOfRun(); });
    EXPECT_EQ(end.substr(end.size() - 13), "Game Cleaned\n");
    const std::string saved = testsupport::readFile("files/resP.bin");
    ASSERT_EQ(saved.size(), 56u);
    int32_t savedX = 0;
    std::memcpy(&savedX, saved.data(), 4);
    EXPECT_EQ(savedX, enemyAt.x - 35) << "the save reads the dead hero's last position";
}

}  // namespace

namespace {

// FNV-1a over the window's pixels, as the frame left them.
uint64_t pictureHash() {
    std::vector<Uint32> pixels(1080u * 720u);
    SDL_RenderReadPixels(Render::renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(), 1080 * 4);
    uint64_t hash = 1469598103934665603ULL;
    for (Uint32 p : pixels) {
        hash = (hash ^ p) * 1099511628211ULL;
    }
    return hash;
}

class CoveredDrawsTest : public PlayTest {
protected:
    // What the frames of a fight showed besides the figures themselves.
    struct Shown {
        int shaken = 0;        // frames drawn shifted by the field's shake
        int flashes = 0;       // frames with an outlaw's white flash
        int ghosts = 0;        // frames with a removed outlaw fading
        int dust = 0;          // frames with a fallen farm's dust
        int cracked = 0;       // frames with a cracked farm standing
        long calls = 0;        // drawing calls the field's queue sent to the renderer
        long seenThrough = 0;  // parts of figures drawn through the farm in front of them
    };
    Shown shown;

    // A level-3 fight the same way every time: six outlaws chasing and swinging at the hero, who
    // walks and attacks, gets hurt (his flash, the field's shake), and kills some of them (a red
    // tint, white flashes, a ghost fading); a farm in view, a bull behind it, cracks and falls
    // (its dust). One picture hash per frame.
    std::vector<uint64_t> fight() {
        startNewGame();
        toLevelThree();
        EXPECT_EQ(shell->run().level, 3);
        // Everything placed by rand() and the clock is placed again by hand.
        player->setAll(1200, 700, 100000);
        for (int k = 0; k < 6; ++k) {
            shell->run().enemies[k]->spawn(1100 + 45 * k, k % 2 == 0 ? 860 : 560);
            shell->run().enemies[k]->setHealth(k < 2 ? 1 : 100000);
            shell->run().bulls[k]->spawn(700 + 90 * k, 420, k % 2);
        }
        shell->run().farms[0]->spawn(980, 620);  // in view, among the outlaws
        shell->run().bulls[5]->spawn(1040, 630, 1);  // behind the farm: it shows through
        Enemy::isAngry = false;
        Farm::isHere = 0;
        shown = Shown{};
        DrawQueue& field = shell->playFrame.figures;
        const FieldEffects& effects = shell->playFrame.effects;
        std::vector<uint64_t> frames;
        const SDL_Keycode walk[] = {SDLK_d, SDLK_s, SDLK_a, SDLK_w};
        constexpr int kStand = 60;
        for (int n = 0; n < 160 && Render::isRunning; ++n) {
            // He stands his ground until the outlaws reach him, then walks. Three keys: the first
            // is taken before the enemy pass, the others inside it, so the hero also moves between
            // two of his own drawings.
            for (int key = 0; n >= kStand && key < 3; ++key) {
                testsupport::pushKeyDown(walk[(n / 20) % 4]);
            }
            if (n % 3 == 0) {
                testsupport::pushClick(600, 400);
            }
            // Blows land every few frames whatever the outlaws' chase does: the hero's flash and
            // the field's shake, the outlaws' flashes, recoil and red tint.
            FieldEffects& blows = shell->playFrame.effects;
            if (n % 8 == 2) {
                blows.heroHurt();
                player->getRed(0);
                for (int k = 2; k < 6; ++k) {
                    blows.struck(k, k % 2 == 0 ? 1 : -1, 0);
                    shell->run().enemies[k]->getRed(0);
                }
            }
            const long callsBefore = field.calls;
            const long seenBefore = field.seenThrough;
            frame();
            for (int k = 2; k < 6; ++k) {
                shell->run().enemies[k]->getUnRed();
            }
            frames.push_back(pictureHash());
            shown.calls += field.calls - callsBefore;
            shown.seenThrough += field.seenThrough - seenBefore;
            shown.shaken += effects.viewOffset().x != 0 || effects.viewOffset().y != 0 ? 1 : 0;
            bool flash = false;
            for (int k = 0; k < 6; ++k) {
                flash = flash || effects.flashing(k);
            }
            shown.flashes += flash ? 1 : 0;
            shown.ghosts += effects.ghostsShown() > 0 ? 1 : 0;
            shown.dust += effects.dustShown() > 0 ? 1 : 0;
            Farm* farm = shell->run().farms[0].get();
            shown.cracked += farm != nullptr && farm->health <= Farm::kHealth / 2 ? 1 : 0;
            if (n == 30 && shell->run().enemies[0] != nullptr) {
                shell->run().enemies[0]->getRed(Enemy::kDamage);  // its death plays, then it is removed
                shell->run().enemies[0]->getUnRed();
            }
            if (n == 40 && farm != nullptr) {
                farm->health = Farm::kHealth / 3;  // two stages of cracks
            }
            if (n == 100 && farm != nullptr) {
                farm->getRed(Farm::kHealth * Character::kDamageDivisor);  // it falls
                farm->getUnRed();
            }
        }
        return frames;
    }

    // The same fight again in a fresh game.
    std::vector<uint64_t> fightAgain() {
        shell.reset();
        shell = std::make_unique<Shell>();
        shell->seed.clock = &fixedClock;
        shell->pacer.enabled = false;
        EXPECT_TRUE(traced([&] { return shell->startUp(); }) != "");
        testsupport::drainEvents();
        return fight();
    }

    void TearDown() override {
        DrawQueue::skipCovered = true;
        DrawQueue::batched = true;
        PlayTest::TearDown();
    }
};

TEST_F(CoveredDrawsTest, LeavingOutCoveredFigureDrawingsChangesNoPixel) {
    DrawQueue::skipCovered = false;
    const std::vector<uint64_t> every = fight();
    const int killedUncut = player->getEnemy();

    DrawQueue::skipCovered = true;
    const std::vector<uint64_t> cut = fightAgain();

    ASSERT_EQ(cut.size(), every.size());
    EXPECT_EQ(player->getEnemy(), killedUncut) << "both fights went the same way";
    EXPECT_GE(killedUncut, 1) << "an outlaw died and was removed mid-pass";
    EXPECT_GT(shell->playFrame.figures.skipped, static_cast<long>(cut.size()) * 5)
        << "at least the hero's five covered drawings a frame are left out";
    int sameAsBefore = 0;
    for (std::size_t n = 0; n < cut.size(); ++n) {
        ASSERT_EQ(cut[n], every[n]) << "frame " << n;
        sameAsBefore += (n > 0 && cut[n] == cut[n - 1]) ? 1 : 0;
    }
    EXPECT_LT(sameAsBefore, 10) << "the pictures compared do change from frame to frame";
}

// The field's drawings sent together from the atlas make the very pixels that one SDL_RenderCopy
// per drawing from each picture's own texture makes: tints, alpha, the shake, flashes, ghosts,
// cracks and dust included.
TEST_F(CoveredDrawsTest, BatchingTheFieldsDrawingsChangesNoPixel) {
    DrawQueue::batched = false;
    const std::vector<uint64_t> oneByOne = fight();
    const Shown single = shown;

    DrawQueue::batched = true;
    const std::vector<uint64_t> together = fightAgain();

    ASSERT_EQ(together.size(), oneByOne.size());
    EXPECT_EQ(together.size(), 160u);
    EXPECT_GE(shown.shaken, 10) << "the field shook";
    EXPECT_GE(shown.flashes, 10) << "struck outlaws flashed";
    EXPECT_GE(shown.ghosts, 10) << "a removed outlaw faded";
    EXPECT_GE(shown.cracked, 30) << "a cracked farm stood";
    EXPECT_GE(shown.dust, 10) << "a fallen farm's dust rose";
    EXPECT_GE(shown.seenThrough, 20) << "outlaws behind the farm showed through it: " << shown.seenThrough;
    const long frames = static_cast<long>(together.size());
    EXPECT_GE(single.calls, frames * 12) << "one call per drawing: the figures, farms, bulls and effects in view";
    EXPECT_LE(shown.calls, frames * 4) << "batched: the hero's flash (scaled) apart, the rest in a few calls";
    int sameAsBefore = 0;
    for (std::size_t n = 0; n < together.size(); ++n) {
        ASSERT_EQ(together[n], oneByOne[n]) << "frame " << n;
        sameAsBefore += (n > 0 && together[n] == together[n - 1]) ? 1 : 0;
    }
    EXPECT_LT(sameAsBefore, 10) << "the pictures compared do change from frame to frame";
}

}  // namespace

namespace {

constexpr Uint32 kFarmRed = 0xC00000FF;  // RGBA8888
constexpr Uint32 kOutlawBlue = 0x0000C0FF;
constexpr Uint32 kBullGreen = 0x00C000FF;
constexpr Uint32 kHudGreen = 0x1A8E00FF;  // Text::kHudColor
constexpr Uint32 kHeroCyan = 0x00C0C0FF;

// Whether pixel is a blend of the two colours (RGBA8888): neither of them, each channel between theirs.
bool blendOf(Uint32 pixel, Uint32 a, Uint32 b) {
    if (pixel == a || pixel == b) {
        return false;
    }
    for (int shift = 8; shift < 32; shift += 8) {
        const Uint32 p = (pixel >> shift) & 0xFF;
        const Uint32 lo = std::min((a >> shift) & 0xFF, (b >> shift) & 0xFF);
        const Uint32 hi = std::max((a >> shift) & 0xFF, (b >> shift) & 0xFF);
        if (p < lo || p > hi) {
            return false;
        }
    }
    return true;
}

// Gives thing a picture of one flat colour, larger than any source rectangle it draws from.
void paint(Render& thing, Uint32 rgba) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 1500, 1500, 32, SDL_PIXELFORMAT_RGBA8888);
    ASSERT_NE(surface, nullptr);
    SDL_FillRect(surface, nullptr, rgba);
    SDL_DestroyTexture(thing.texture);
    thing.texture = SDL_CreateTextureFromSurface(Render::renderer, surface);
    SDL_FreeSurface(surface);
}

TEST_F(PlayTest, TheFieldIsDrawnByItsFeetUnderTheHud) {
    startNewGame();
    Farm& farm = *shell->run().farms[0];
    const int fx = farm.worldX;  // the farm covers fx..fx+200, fy..fy+100
    const int fy = farm.worldY;
    Enemy& front = *shell->run().enemies[0];
    Enemy& behind = *shell->run().enemies[1];
    Bull& bull = *shell->run().bulls[0];
    front.spawn(fx + 60, fy + 60);   // feet at fy+124: in front of the farm
    behind.spawn(fx + 60, fy - 40);  // feet at fy+24: behind it
    paint(farm, kFarmRed);
    paint(front, kOutlawBlue);
    paint(behind, kOutlawBlue);
    // Feet at fy+110: in front of the farm, behind the front outlaw.
    bull.spawn(fx + 100, fy + 60, 0);
    paint(bull, kBullGreen);
    shell->run().bulls[1].reset();  // out of the way
    // The hero stands left of them, farther than the outlaws' anger reaches.
    heroCentreAt(fx - 320, fy + 60);
    shell->help.hide();  // the first run's help panel would cover part of the field
    frame();
    ASSERT_EQ(front.worldX, fx + 60) << "the outlaws stayed calm";
    const SDL_Rect cam = game->getPos();
    const auto at = [&](int worldX, int worldY) { return pixelAt(worldX - cam.x, worldY - cam.y); };
    EXPECT_EQ(at(fx + 80, fy + 70), kOutlawBlue) << "an outlaw standing below a farm is drawn over it";
    const Uint32 behindFarm = at(fx + 80, fy + 10);
    EXPECT_NE(behindFarm, kFarmRed) << "an outlaw standing above a farm shows through it";
    EXPECT_NE(behindFarm, kOutlawBlue) << "the farm is drawn over him";
    EXPECT_EQ(at(fx + 110, fy + 105), kOutlawBlue) << "a bull behind an outlaw";
    EXPECT_EQ(at(fx + 135, fy + 80), kBullGreen) << "a bull in front of a farm";
    EXPECT_EQ(at(fx + 20, fy + 50), kFarmRed);
    // In the run's first frame the farm has not been seen yet: the arrow shows at the right edge,
    // turned, over the farm and the bull that lie under its middle.
    ASSERT_EQ(arrow->pos.x, 990);
    ASSERT_EQ(arrow->pos.y, 360);
    ASSERT_LT(cam.x + 1030, bull.worldX + 80);
    const Uint32 underArrow = pixelAt(1030, 380);
    EXPECT_NE(underArrow, kBullGreen) << "the arrow is drawn over the field";
    EXPECT_NE(underArrow, kFarmRed);

    // The farm moved under the HUD's first line: the line stays on top.
    farm.worldX = cam.x;
    farm.worldY = cam.y;
    frame();
    int hudInk = 0;
    for (int y = 20; y < 60; ++y) {
        for (int x = 20; x < 200; ++x) {
            hudInk += pixelAt(x, y) == kHudGreen ? 1 : 0;
        }
    }
    EXPECT_EQ(pixelAt(5, 5), kFarmRed) << "the farm lies under the HUD";
    EXPECT_GT(hudInk, 100) << "the HUD is drawn over the field";
}

// Nothing on the field is wholly hidden: an outlaw, a bull and the hero standing behind a farm show
// through it where it covers them, and are drawn as ever where it does not; the farm stays whole
// elsewhere, and what stands in front of it is untouched.
TEST_F(PlayTest, AFigureOrBullBehindAFarmShowsThroughIt) {
    startNewGame();
    shell->help.hide();
    Farm& farm = *shell->run().farms[0];
    const int fx = farm.worldX;  // the farm covers fx..fx+200, fy..fy+100
    const int fy = farm.worldY;
    Enemy& behind = *shell->run().enemies[0];
    Bull& bull = *shell->run().bulls[0];
    behind.spawn(fx + 20, fy - 30);                    // 64 by 64, feet at fy+34: his lower half behind the farm
    bull.spawn(fx + 110, fy + 20, 0);                  // 80 by 50, feet at fy+70: wholly behind it
    shell->run().enemies[1]->spawn(fx + 60, fy + 60);  // feet at fy+124: in front
    shell->run().bulls[1].reset();
    paint(farm, kFarmRed);
    paint(behind, kOutlawBlue);
    paint(*shell->run().enemies[1], kOutlawBlue);
    paint(bull, kBullGreen);
    heroCentreAt(fx - 320, fy + 60);  // beyond the outlaws' anger
    frame();
    frame();
    ASSERT_EQ(behind.worldX, fx + 20) << "the outlaws stayed calm";
    SDL_Rect cam = game->getPos();
    const auto at = [&](int worldX, int worldY) { return pixelAt(worldX - cam.x, worldY - cam.y); };
    EXPECT_TRUE(blendOf(at(fx + 40, fy + 20), kOutlawBlue, kFarmRed)) << "the outlaw through the farm";
    EXPECT_EQ(at(fx + 40, fy - 10), kOutlawBlue) << "his part above the farm as ever";
    EXPECT_TRUE(blendOf(at(fx + 170, fy + 40), kBullGreen, kFarmRed)) << "the bull through the farm";
    EXPECT_EQ(at(fx + 100, fy + 115), kOutlawBlue) << "the outlaw in front of the farm as ever";
    EXPECT_EQ(at(fx + 100, fy + 80), kOutlawBlue) << "over the farm too";
    EXPECT_EQ(at(fx + 118, fy + 65), kOutlawBlue) << "and over the bull seen through it";
    EXPECT_EQ(at(fx + 195, fy + 95), kFarmRed) << "the farm where nothing stands behind it";
    EXPECT_EQ(at(fx + 5, fy + 50), kFarmRed);

    // The hero behind the farm (drawn scaled, 64 to 70 pixels), the outlaws gone.
    shell->run().enemies[0].reset();
    shell->run().enemies[1].reset();
    paint(*player, kHeroCyan);
    heroCentreAt(fx + 100, fy + 10);  // 70 by 70 from (fx+65, fy-25): feet at fy+45
    frame();
    cam = game->getPos();
    EXPECT_TRUE(blendOf(at(fx + 100, fy + 30), kHeroCyan, kFarmRed)) << "the hero through the farm";
    EXPECT_EQ(at(fx + 100, fy - 10), kHeroCyan) << "his part above it as ever";
    EXPECT_EQ(at(fx + 100, fy + 60), kFarmRed) << "the farm below his feet";
    EXPECT_EQ(at(fx + 60, fy + 30), kFarmRed) << "and beside him";
}

}  // namespace
