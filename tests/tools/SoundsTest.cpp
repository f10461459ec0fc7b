#include "sounds/SoundSource.h"
#include "sounds/Synth.h"

#include "present/Sound.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace {

constexpr double kLongestEffect = 1.5;  // seconds: effects are short
constexpr double kShortestTune = 8.0;   // seconds: a tune is more than a jingle
constexpr double kEdge = 0.002;         // seconds at the end that must already be near silence

std::vector<SoundSpec> gameSounds() {
    std::vector<SoundSpec> sounds;
    std::string error;
    EXPECT_TRUE(SoundSource::parseFile(testsupport::sourceDir() + "/tools/sounds/sounds.txt", sounds, error)) << error;
    return sounds;
}

double peak(const std::vector<double>& samples, std::size_t from, std::size_t to) {
    double loudest = 0.0;
    for (std::size_t i = from; i < std::min(to, samples.size()); ++i) {
        loudest = std::max(loudest, std::fabs(samples[i]));
    }
    return loudest;
}

TEST(Sounds, EveryFileHasItsLengthNoClippingSilentEndsAndTheCommonLoudness) {
    const std::vector<SoundSpec> sounds = gameSounds();
    std::set<std::string> made;
    for (const SoundSpec& sound : sounds) {
        SCOPED_TRACE(sound.name);
        made.insert("sounds/" + sound.name + ".wav");
        std::vector<double> samples;
        int rate = 0;
        std::string error;
        ASSERT_TRUE(Synth::readWav(testsupport::sourceDir() + "/sounds/" + sound.name + ".wav", samples, rate, error))
            << error;
        EXPECT_EQ(rate, Sound::kRate) << "the rate the game opens the mixer at";
        EXPECT_EQ(static_cast<int>(samples.size()), Synth::sampleCount(sound.seconds));
        if (sound.tune) {
            EXPECT_GE(sound.seconds, kShortestTune);
        } else {
            EXPECT_LE(sound.seconds, kLongestEffect);
        }
        const double loudest = peak(samples, 0, samples.size());
        EXPECT_LE(loudest, Synth::kPeakLimit) << "nowhere near full scale, so never clipped";
        EXPECT_NEAR(Synth::loudness(samples), Synth::kLoudness, 0.01 * Synth::kLoudness);
        // Silent at both ends, and fading out rather than cut: a tune loops without a click.
        const std::size_t edge = static_cast<std::size_t>(Synth::sampleCount(kEdge));
        EXPECT_EQ(samples.front(), 0.0);
        EXPECT_EQ(samples.back(), 0.0);
        EXPECT_LT(peak(samples, samples.size() - edge, samples.size()), 0.1 * loudest);
    }
    for (int i = 0; i < Sound::kEffects; ++i) {
        EXPECT_EQ(made.count(Sound::effectFile(static_cast<Sound::Effect>(i))), 1u) << i;
    }
    for (int i = 0; i < Sound::kTunes; ++i) {
        EXPECT_EQ(made.count(Sound::tuneFile(static_cast<Sound::Tune>(i))), 1u) << i;
    }
}

// The game's list (present/SoundNames.h, through Sound's files) and the source's notes name the
// same sounds: none made that the game never loads, none loaded that is never made, each once,
// and an effect's notes are a `sound`, a tune's a `tune`.
TEST(Sounds, TheGamesListAndTheSourceNameTheSameSoundsEachOnceAsWhatTheyAre) {
    std::multiset<std::string> sourceEffects;
    std::multiset<std::string> sourceTunes;
    for (const SoundSpec& sound : gameSounds()) {
        (sound.tune ? sourceTunes : sourceEffects).insert("sounds/" + sound.name + ".wav");
    }
    std::multiset<std::string> listedEffects;
    for (int i = 0; i < Sound::kEffects; ++i) {
        listedEffects.insert(Sound::effectFile(static_cast<Sound::Effect>(i)));
    }
    std::multiset<std::string> listedTunes;
    for (int i = 0; i < Sound::kTunes; ++i) {
        listedTunes.insert(Sound::tuneFile(static_cast<Sound::Tune>(i)));
    }
    const auto once = [](const std::multiset<std::string>& names) {
        return std::set<std::string>(names.begin(), names.end()).size() == names.size();
    };
    EXPECT_TRUE(once(sourceEffects) && once(sourceTunes)) << "a name twice in tools/sounds/sounds.txt";
    EXPECT_TRUE(once(listedEffects) && once(listedTunes)) << "a name twice in src/present/SoundNames.h";
    EXPECT_EQ(listedEffects, sourceEffects) << "effects: src/present/SoundNames.h against tools/sounds/sounds.txt";
    EXPECT_EQ(listedTunes, sourceTunes) << "tunes: src/present/SoundNames.h against tools/sounds/sounds.txt";
}

TEST(Sounds, EveryVoiceRisesFromSilenceAndEndsAtZeroWithinItsTime) {
    for (const SoundSpec& sound : gameSounds()) {
        for (std::size_t v = 0; v < sound.voices.size(); ++v) {
            SCOPED_TRACE(sound.name + " voice " + std::to_string(v));
            SoundSpec alone = sound;
            alone.voices = {sound.voices[v]};
            const Voice& voice = alone.voices[0];
            const std::vector<double> samples = Synth::render(alone);
            const std::size_t first = static_cast<std::size_t>(Synth::sampleCount(voice.at));
            const std::size_t end = static_cast<std::size_t>(Synth::sampleCount(voice.at + voice.length));
            ASSERT_LE(end, samples.size());
            ASSERT_GT(end, first + 2);
            EXPECT_EQ(samples[first], 0.0);
            EXPECT_EQ(samples[end - 1], 0.0);
            EXPECT_EQ(peak(samples, 0, first), 0.0);
            EXPECT_EQ(peak(samples, end, samples.size()), 0.0);
            EXPECT_GT(peak(samples, first, end), 0.0);
        }
    }
}

TEST(Sounds, TheSourceRefusesVoicesThatWouldClickOrOverrun) {
    std::vector<SoundSpec> sounds;
    std::string error;
    EXPECT_FALSE(SoundSource::parse("sound a 0.1\n  tone sine 440 440 at 0.05 for 0.1\n", sounds, error));
    EXPECT_EQ(error.rfind("line 2:", 0), 0u) << error;
    EXPECT_FALSE(SoundSource::parse("sound a 0.1\n  noise attack 0.0005\n", sounds, error)) << "too sharp";
    EXPECT_FALSE(SoundSource::parse("sound a 0.1\n", sounds, error)) << "nothing to sound";
    ASSERT_TRUE(SoundSource::parse("# x\ntune t bpm 120\n  part square gain 1 : A4/1 -/1 C#5/2\n", sounds, error))
        << error;
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_DOUBLE_EQ(sounds[0].seconds, 2.0) << "four beats at 120 a minute";
    ASSERT_EQ(sounds[0].voices.size(), 2u);
    EXPECT_NEAR(sounds[0].voices[1].fromHz, 554.37, 0.01);
    EXPECT_DOUBLE_EQ(sounds[0].voices[1].at, 1.0);
}

}  // namespace
