#include "ShellFixture.h"

#include "shell/CommandLine.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <vector>

namespace {

// The game played on SDL's disk audio driver, which writes whatever is mixed to a file in real
// time: 44100 frames a second of two signed 16-bit samples.
class SoundTest : public ShellTest {
protected:
    static constexpr long kBytesPerSecond = Sound::kRate * 4;
    static constexpr long kMoment = kBytesPerSecond * 2 / 5;  // 0.4 s: how soon a sound is heard
    static constexpr long kSettle = kBytesPerSecond;          // the level-up sounds for 0.9 s
    // The tunes are mixed 6 dB under the effects, their files about as loud.
    static constexpr double kQuiet = 0.18;  // a tune's peaks stay below this
    static constexpr double kUnder = 0.09;  // and reach above this: under the effects, not lost below them
    static constexpr double kHeard = 0.24;  // an effect's peaks reach above this

    std::string output;
    bool mute = false;

    void SetUp() override {
        output = scratch.file("audio.raw");
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
        shell->sound.setMuted(mute);
        ShellTest::SetUp();
        ASSERT_TRUE(shell->sound.isOpen());
    }

    void TearDown() override {
        ShellTest::TearDown();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        unsetenv("SDL_DISKAUDIOFILE");
    }

    long written() const {
        struct stat info;
        return stat(output.c_str(), &info) == 0 ? static_cast<long>(info.st_size) / 4 * 4 : 0;
    }

    // Waits, at most 5 s, until the output reaches `bytes`.
    bool reaches(long bytes) const {
        for (int i = 0; i < 500 && written() < bytes; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return written() >= bytes;
    }

    // The loudest sample between two places in the output, from 0 to 1.
    double peak(long from, long to) const {
        std::ifstream in(output, std::ios::binary);
        in.seekg(std::max(0L, from));
        std::vector<int16_t> samples(static_cast<std::size_t>(std::max(0L, to - std::max(0L, from)) / 2));
        in.read(reinterpret_cast<char*>(samples.data()), static_cast<std::streamsize>(samples.size() * 2));
        int loudest = 0;
        for (int16_t s : samples) {
            loudest = std::max(loudest, std::abs(static_cast<int>(s)));
        }
        return loudest / 32768.0;
    }

    // Runs `step`, and gives the loudest sound in the moment before it and in the moment after it; then lets the longest effect pass so the next step starts out of earshot.
    template <typename Step>
    std::pair<double, double> around(Step step) {
        const long mark = written();
        step();
        EXPECT_TRUE(reaches(mark + kSettle)) << "the disk driver stopped writing";
        return {peak(mark - kMoment, mark), peak(mark, mark + kMoment)};
    }

    std::string frame() {
        return traced([&] { shell->frame(); });
    }

    // Brings bull `k` under the hero, far from the enemies, so that the next frame collects it.
    void bullUnderHero(int k) {
        player->setPos(PlayScreen::kHeroStartX, PlayScreen::kHeroStartY);
        shell->run().bulls[k]->worldX = PlayScreen::kHeroStartX + 35 - 30;
        shell->run().bulls[k]->worldY = PlayScreen::kHeroStartY + 35 - 20;
    }

    // The hero swings where nobody stands, so that the swing's own sound is over before the blow.
    void swingIntoTheAir() {
        player->setPos(PlayScreen::kHeroStartX, PlayScreen::kHeroStartY);
        frame();  // the enemies take their place on the screen
        testsupport::pushClick(600, 400);
        frame();
        ASSERT_TRUE(player->is_attack());
    }

    // Brings enemy 0 100 pixels in front of the hero, within his reach and out of its own, where
    // the swing under way lands on it.
    // Afterwards the swing is called off and the enemy sent back, so that nothing else sounds.
    void blow() {
        Enemy& enemy = *shell->run().enemies[0];
        const SDL_Rect home = enemy.realRect;
        const SDL_Rect hero = player->getPos();
        placeEnemy(enemy, hero.x + 100, hero.y);
        ASSERT_TRUE(player->is_attack());
        frame();
        ASSERT_LT(enemy.getHel(), Enemy::kHealth) << "the blow landed";
        testsupport::pushKeyDown(SDLK_b);
        placeEnemy(enemy, home.x, home.y);
        frame();
        ASSERT_FALSE(player->is_attack());
    }

    // Moves an enemy in the world, its screen place along with it.
    static void placeEnemy(Enemy& enemy, int x, int y) {
        const SDL_Rect cam = game->getPos();
        enemy.worldX = enemy.realRect.x = x;
        enemy.worldY = enemy.realRect.y = y;
        enemy.destRect.x = x - cam.x;
        enemy.destRect.y = y - cam.y;
    }
};

class MutedSoundTest : public SoundTest {
protected:
    void SetUp() override {
        char name[] = "bramblehoof";
        char option[] = "--mute";
        char* argv[] = {name, option, nullptr};
        mute = CommandLine(2, argv).mute;
        SoundTest::SetUp();
    }
};

Uint32 soundNow = 0;  // the sound's clock in the tests that set it
Uint32 soundClock() { return soundNow; }

TEST_F(SoundTest, TheHurtAndTheBlowKeepTheirGapsAndVaryTheirPitchAndAHeldMDoesNotFlickerTheMute) {
    Sound& sound = shell->sound;
    sound.clock = &soundClock;
    // The hurt at most every 0.6 s, the blow every 0.15 s; each play at the next pitch.
    for (const auto& [effect, gap] : {std::pair{Sound::Effect::Hurt, 600u}, std::pair{Sound::Effect::Hit, 150u}}) {
        soundNow = 100000;
        std::vector<double> lengths;
        for (int play = 0; play < 5; ++play) {
            const Mix_Chunk* started = sound.play(effect);
            ASSERT_NE(started, nullptr) << "play " << play << " after the whole gap";
            lengths.push_back(started->alen);
            soundNow += gap - 1;
            EXPECT_EQ(sound.play(effect), nullptr) << "play " << play << ": a millisecond short of the gap";
            soundNow += 1;
        }
        EXPECT_NEAR(lengths[1] / lengths[0], 1 / 1.06, 0.005) << "a little higher";
        EXPECT_NEAR(lengths[2] / lengths[0], 1 / 0.95, 0.005) << "a little lower";
        EXPECT_NEAR(lengths[3] / lengths[0], 1 / 1.03, 0.005);
        EXPECT_EQ(lengths[4], lengths[0]) << "and round again";
    }
    EXPECT_NE(sound.play(Sound::Effect::Swing), nullptr);
    EXPECT_NE(sound.play(Sound::Effect::Swing), nullptr) << "other effects never wait";

    // In play M toggles the sound once per press: a held key's repeats change nothing.
    startNewGame();
    ASSERT_FALSE(sound.isMuted());
    SDL_Event held{};
    held.type = SDL_KEYDOWN;
    held.key.keysym.sym = SDLK_m;
    SDL_PushEvent(&held);
    shell->screens.pumpInput();
    held.key.repeat = 1;
    for (int i = 0; i < 5; ++i) {
        SDL_PushEvent(&held);
        shell->screens.pumpInput();
        EXPECT_TRUE(sound.isMuted()) << "repeat " << i;
    }
    traced([&] {
        for (int i = 0; i < 6; ++i) {
            shell->frame();
        }
    });
    EXPECT_TRUE(sound.isMuted());
}

TEST(SoundPitch, ARepitchedSoundIsShorterOrLongerAndFollowsTheOriginalBetweenItsFrames) {
    // Two channels: a rising ramp on the left, a falling one on the right.
    std::vector<Sint16> ramp;
    for (int i = 0; i < 1000; ++i) {
        ramp.push_back(static_cast<Sint16>(i * 10));
        ramp.push_back(static_cast<Sint16>(-i * 10));
    }
    const std::vector<Sint16> higher = Sound::repitched(ramp.data(), 1000, 2, 1.25);
    ASSERT_EQ(higher.size(), 2u * 800);
    EXPECT_EQ(higher[2 * 4], 50) << "frame 4 is frame 5 of the original";
    EXPECT_EQ(higher[2 * 4 + 1], -50);
    EXPECT_EQ(higher[2 * 799], 9988) << "frame 998.75 of the original, between its neighbours";
    const std::vector<Sint16> lower = Sound::repitched(ramp.data(), 1000, 2, 0.8);
    ASSERT_EQ(lower.size(), 2u * 1249);
    EXPECT_EQ(lower[2 * 3], 24) << "frame 2.4";
    EXPECT_EQ(lower[2 * 3 + 1], -24);
    EXPECT_EQ(Sound::repitched(ramp.data(), 1000, 2, 1.0), ramp);
}

TEST_F(SoundTest, ABullABlowAndALevelUpAreEachHeardAsTheyHappenOverTheQuietTune) {
    startNewGame();
    frame();
    ASSERT_TRUE(reaches(written() + kSettle));  // the menu click is over

    const auto bull = around([&] {
        bullUnderHero(1);
        frame();
        ASSERT_EQ(shell->run().bulls[1], nullptr);
    });
    around([&] { swingIntoTheAir(); });
    const auto hit = around([&] { blow(); });
    const auto levelUp = around([&] {
        player->setBull(2);
        player->setEnemy(2);
        frame();
        ASSERT_EQ(shell->run().level, 2);
    });
    const char* const names[] = {"bull", "blow", "level-up"};
    int i = 0;
    for (const auto& [before, after] : {bull, hit, levelUp}) {
        EXPECT_GT(before, kUnder) << names[i] << ": the play tune goes on under everything";
        EXPECT_LT(before, kQuiet) << names[i];
        EXPECT_GT(after, kHeard) << names[i];
        ++i;
    }
    // Walking makes no sound of its own.
    const auto walk = around([&] {
        testsupport::pushKeyDown(SDLK_d);
        frame();
    });
    EXPECT_LT(walk.second, kQuiet);
}

TEST_F(MutedSoundTest, MuteSilencesEverythingAndMTogglesSoundInPlayButNotOnTheMenu) {
    ASSERT_TRUE(shell->sound.isMuted());
    // On the menu M is part of the name.
    testsupport::pushKeyDown(SDLK_m);
    testsupport::pushText("m");
    traced([&] {
        shell->menuPass();
        shell->menuPass();
    });
    EXPECT_EQ(button->getInputText(), "m");
    EXPECT_TRUE(shell->sound.isMuted());

    startNewGame();
    around([&] {
        bullUnderHero(1);
        frame();
    });
    around([&] { swingIntoTheAir(); });
    around([&] { blow(); });
    around([&] {
        player->setBull(2);
        player->setEnemy(2);
        frame();
        ASSERT_EQ(shell->run().level, 2);
    });
    EXPECT_EQ(peak(0, written()), 0.0) << "not a sample of sound, tunes included";

    // M in play turns sound on, and the hero takes the key as any other: he stops facing right.
    testsupport::pushKeyDown(SDLK_d);
    frame();
    ASSERT_EQ(player->getSide(), 3);
    testsupport::pushKeyDown(SDLK_m);
    frame();
    EXPECT_EQ(player->getSide(), 0);
    EXPECT_FALSE(shell->sound.isMuted());
    const auto heard = around([&] {
        bullUnderHero(3);
        frame();
        ASSERT_EQ(shell->run().bulls[3], nullptr);
    });
    EXPECT_GT(heard.second, kHeard);

    testsupport::pushKeyDown(SDLK_m);
    frame();
    EXPECT_TRUE(shell->sound.isMuted());
}

}  // namespace
