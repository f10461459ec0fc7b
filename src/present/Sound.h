#pragma once

#include "present/SoundNames.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <array>
#include <cstddef>
#include <vector>

// Everything the player hears: the effects of play, the menu click and the two tunes. The mixer
// is opened and every sound loaded once at start-up; after that, playing is only starting a
// channel, and the mixing runs on SDL's audio thread. Without an audio device, or without the
// sound files, the game goes on silently after one line on standard error.
class Sound {
public:
    // The values and their counts, from the rows of present/SoundNames.h.
#define BRAMBLEHOOF_SOUND_VALUE(value, name) value,
#define BRAMBLEHOOF_SOUND_ONE(value, name) +1
    enum class Effect { BRAMBLEHOOF_EFFECTS(BRAMBLEHOOF_SOUND_VALUE) };
    enum class Tune { BRAMBLEHOOF_TUNES(BRAMBLEHOOF_SOUND_VALUE) };
    static constexpr int kEffects = 0 BRAMBLEHOOF_EFFECTS(BRAMBLEHOOF_SOUND_ONE);
    static constexpr int kTunes = 0 BRAMBLEHOOF_TUNES(BRAMBLEHOOF_SOUND_ONE);
#undef BRAMBLEHOOF_SOUND_VALUE
#undef BRAMBLEHOOF_SOUND_ONE

    static constexpr int kRate = 44100;         // as tools/sounds makes the files
    static constexpr int kBufferFrames = 1024;  // about 23 ms from starting a channel to hearing it
    static constexpr int kChannels = 16;        // effects overlapping at once, tunes included
    static constexpr int kEffectVolume = 96;    // of MIX_MAX_VOLUME: room for several at once
    // Half the effects' gain, 6 dB under them (the files are made about as loud): the tune is heard
    // under the play without drowning a blow or a bull.
    static constexpr int kTuneVolume = kEffectVolume / 2;
    static constexpr int kVolumeSteps = 10;     // the settings' scale: 10 plays everything as made
    static constexpr int kTuneFadeMs = 150;     // a tune fades out rather than stopping dead
    static constexpr int kDrainLimitMs = 2000;  // the longest wait for the last effects at the end
    static constexpr int kHurtGapMs = 600;      // the hero is hurt every frame an enemy reaches him
    static constexpr int kHitGapMs = 150;       // a swing lands on every frame of its animation
    // Speeds the hurt and the blow are played at in turn, so no two plays in a row sound the same.
    static constexpr std::array<double, 4> kPitches = {1.0, 1.06, 0.95, 1.03};

    Sound() = default;
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;
    ~Sound();

    // Where each sound is read from, relative to the working directory.
    static const char* effectFile(Effect effect);
    static const char* tuneFile(Tune tune);

    // Opens the mixer and loads every sound (SDL must be started). False, with one line on
    // standard error, when the game must stay silent.
    bool open();
    // Lets the last effects finish (the win or the death), bounded, then closes the mixer.
    void finish();
    // Stops at once and closes the mixer; before SDL_Quit.
    void close();
    bool isOpen() const { return opened; }

    // Starts `effect`, unless it started less than its gap ago; returns the sound started, if any.
    const Mix_Chunk* play(Effect effect);
    // Times `effect` was started since the mixer opened.
    int timesPlayed(Effect effect) const { return plays[static_cast<std::size_t>(effect)]; }
    // Loops `tune` quietly, fading the other one out.
    void playTune(Tune tune);

    // Holds every channel where it is, tune and effects, or lets them go on.
    void setPaused(bool pause);

    // Music and effects from 0 (silent) to kVolumeSteps (as made); heard at once when open.
    void setVolumes(int music, int effects);
    void setMuted(bool mute);
    bool isMuted() const { return muted; }

    // `frames` frames of `channels` signed 16-bit samples played `pitch` times as fast: linear
    // interpolation between neighbouring frames, 1/pitch as long.
    static std::vector<Sint16> repitched(const Sint16* samples, std::size_t frames, int channels, double pitch);

    Uint32 (*clock)() = &SDL_GetTicks;  // milliseconds; tests set their own

private:
    void freeAll();
    // The hurt and the blow at each pitch after the first, in the mixer's own format.
    void makeVariants();

    bool opened = false;
    bool muted = false;
    int musicSteps = kVolumeSteps;   // the tunes' share of kTuneVolume, in tenths
    int effectSteps = kVolumeSteps;  // the effects' share of kEffectVolume, in tenths
    std::array<Mix_Chunk*, kEffects> effects{};
    std::array<Mix_Chunk*, kTunes> tunes{};
    std::array<Uint32, kEffects> lastStart{};  // SDL ticks when each effect last started
    std::array<bool, kEffects> startedOnce{};
    std::array<int, kEffects> plays{};  // times each effect was started since the mixer opened
    // Per effect, its sound at kPitches[1], [2], ...; empty for an effect that never varies.
    std::array<std::vector<Mix_Chunk*>, kEffects> variants{};
    std::vector<std::vector<Sint16>> variantSamples;  // what those chunks play; the mixer does not own it
};
