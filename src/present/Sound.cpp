#include "present/Sound.h"

#include "persist/FileIO.h"

#include <algorithm>
#include <cmath>
#include <iostream>

namespace {

#define BRAMBLEHOOF_SOUND_FILE(value, name) "sounds/" #name ".wav",
const char* const kEffectFiles[Sound::kEffects] = {BRAMBLEHOOF_EFFECTS(BRAMBLEHOOF_SOUND_FILE)};
const char* const kTuneFiles[Sound::kTunes] = {BRAMBLEHOOF_TUNES(BRAMBLEHOOF_SOUND_FILE)};
#undef BRAMBLEHOOF_SOUND_FILE

constexpr int kLoopForever = -1;
constexpr Uint32 kDrainStepMs = 10;

int gapMs(Sound::Effect effect) {
    switch (effect) {
        case Sound::Effect::Hurt:
            return Sound::kHurtGapMs;
        case Sound::Effect::Hit:
            return Sound::kHitGapMs;
        default:
            return 0;
    }
}

}  // namespace

Sound::~Sound() { close(); }

const char* Sound::effectFile(Effect effect) { return kEffectFiles[static_cast<int>(effect)]; }

const char* Sound::tuneFile(Tune tune) { return kTuneFiles[static_cast<int>(tune)]; }

bool Sound::open() {
    close();
    // Opening a device that is not there makes some audio libraries write many lines to stderr.
    if (SDL_WasInit(SDL_INIT_AUDIO) != 0 && SDL_GetNumAudioDevices(0) == 0) {
        FileIO::report("playing without sound: no audio device");
        return false;
    }
    if (Mix_OpenAudio(kRate, AUDIO_S16SYS, 2, kBufferFrames) != 0) {
        FileIO::report(std::string("playing without sound: ") + Mix_GetError());
        return false;
    }
    const char* missing = nullptr;
    for (int i = 0; i < kEffects; ++i) {
        effects[i] = Mix_LoadWAV(kEffectFiles[i]);
        missing = missing == nullptr && effects[i] == nullptr ? kEffectFiles[i] : missing;
    }
    for (int i = 0; i < kTunes; ++i) {
        tunes[i] = Mix_LoadWAV(kTuneFiles[i]);
        missing = missing == nullptr && tunes[i] == nullptr ? kTuneFiles[i] : missing;
    }
    if (missing != nullptr) {
        FileIO::report(std::string("playing without sound: cannot load ") + missing);
        freeAll();
        Mix_CloseAudio();
        return false;
    }
    makeVariants();
    Mix_AllocateChannels(kChannels);
    // The tunes own the first channels, a tune the one numbered as its value, so effects never
    // cut them off.
    Mix_ReserveChannels(kTunes);
    opened = true;
    setVolumes(musicSteps, effectSteps);
    startedOnce.fill(false);
    plays.fill(0);
    setMuted(muted);
    return true;
}

void Sound::makeVariants() {
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    if (Mix_QuerySpec(&rate, &format, &channels) == 0 || format != AUDIO_S16SYS || channels <= 0) {
        return;  // another sample format: the effects play at their one pitch
    }
    for (Effect varied : {Effect::Hurt, Effect::Hit}) {
        const Mix_Chunk* chunk = effects[static_cast<int>(varied)];
        const std::size_t frames = chunk->alen / (sizeof(Sint16) * static_cast<std::size_t>(channels));
        for (std::size_t k = 1; k < kPitches.size(); ++k) {
            variantSamples.push_back(
                repitched(reinterpret_cast<const Sint16*>(chunk->abuf), frames, channels, kPitches[k]));
            std::vector<Sint16>& samples = variantSamples.back();
            variants[static_cast<int>(varied)].push_back(Mix_QuickLoad_RAW(
                reinterpret_cast<Uint8*>(samples.data()), static_cast<Uint32>(samples.size() * sizeof(Sint16))));
        }
    }
}

std::vector<Sint16> Sound::repitched(const Sint16* samples, std::size_t frames, int channels, double pitch) {
    std::vector<Sint16> out;
    if (frames == 0 || channels <= 0 || pitch <= 0.0) {
        return out;
    }
    const std::size_t outFrames = static_cast<std::size_t>(static_cast<double>(frames - 1) / pitch) + 1;
    out.reserve(outFrames * static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < outFrames; ++i) {
        const double at = static_cast<double>(i) * pitch;
        const std::size_t before = std::min(static_cast<std::size_t>(at), frames - 1);
        const std::size_t after = std::min(before + 1, frames - 1);
        const double t = at - static_cast<double>(before);
        for (int c = 0; c < channels; ++c) {
            const double a = samples[before * channels + c];
            const double b = samples[after * channels + c];
            out.push_back(static_cast<Sint16>(std::lround(a + (b - a) * t)));
        }
    }
    return out;
}

void Sound::freeAll() {
    for (auto& forEffect : variants) {
        for (Mix_Chunk* chunk : forEffect) {
            Mix_FreeChunk(chunk);  // the chunk only; its samples are ours
        }
        forEffect.clear();
    }
    variantSamples.clear();
    for (auto& chunk : effects) {
        Mix_FreeChunk(chunk);
        chunk = nullptr;
    }
    for (auto& chunk : tunes) {
        Mix_FreeChunk(chunk);
        chunk = nullptr;
    }
}

void Sound::finish() {
    if (!opened) {
        return;
    }
    for (int channel = 0; channel < kTunes; ++channel) {
        Mix_FadeOutChannel(channel, kTuneFadeMs);
    }
    // Muted, nothing is heard, so nothing is worth waiting for.
    for (Uint32 waited = 0; !muted && Mix_Playing(-1) > 0 && waited < kDrainLimitMs; waited += kDrainStepMs) {
        SDL_Delay(kDrainStepMs);
    }
    close();
}

void Sound::close() {
    if (!opened) {
        return;
    }
    Mix_HaltChannel(-1);
    freeAll();
    Mix_CloseAudio();
    opened = false;
}

const Mix_Chunk* Sound::play(Effect effect) {
    const int i = static_cast<int>(effect);
    if (!opened) {
        return nullptr;
    }
    const Uint32 now = clock();
    if (startedOnce[i] && now - lastStart[i] < static_cast<Uint32>(gapMs(effect))) {
        return nullptr;
    }
    startedOnce[i] = true;
    lastStart[i] = now;
    Mix_Chunk* chunk = effects[i];
    const std::size_t turn = static_cast<std::size_t>(plays[i]++) % kPitches.size();
    if (turn > 0 && turn <= variants[i].size()) {
        chunk = variants[i][turn - 1];
    }
    Mix_PlayChannel(-1, chunk, 0);  // no free channel: this one goes unheard
    return chunk;
}

void Sound::playTune(Tune tune) {
    if (!opened) {
        return;
    }
    const int mine = static_cast<int>(tune);
    for (int i = 0; i < kTunes; ++i) {
        if (i != mine) {
            Mix_FadeOutChannel(i, kTuneFadeMs);
        }
    }
    // Each note of a tune rises from silence, so it can start at once. (A tune fading in could
    // not be faded out before its first mix: the mixer skips channels whose volume is still 0.)
    Mix_PlayChannel(mine, tunes[mine], kLoopForever);
}

void Sound::setPaused(bool pause) {
    if (!opened) {
        return;
    }
    if (pause) {
        Mix_Pause(-1);
    } else {
        Mix_Resume(-1);
    }
}

void Sound::setVolumes(int music, int effects) {
    musicSteps = std::clamp(music, 0, kVolumeSteps);
    effectSteps = std::clamp(effects, 0, kVolumeSteps);
    if (!opened) {
        return;
    }
    Mix_Volume(-1, kEffectVolume * effectSteps / kVolumeSteps);
    for (int channel = 0; channel < kTunes; ++channel) {
        Mix_Volume(channel, kTuneVolume * musicSteps / kVolumeSteps);
    }
}

void Sound::setMuted(bool mute) {
    muted = mute;
    if (opened) {
        Mix_MasterVolume(muted ? 0 : MIX_MAX_VOLUME);
    }
}

