#include "present/Sound.h"

#include <iostream>

namespace {

const char* const kEffectFiles[Sound::kEffects] = {
    "sounds/swing.wav",  "sounds/hit.wav", "sounds/hurt.wav",     "sounds/enemy_falls.wav",
    "sounds/farm_falls.wav", "sounds/bull.wav", "sounds/level_up.wav", "sounds/win.wav",
    "sounds/death.wav",  "sounds/click.wav"};
const char* const kTuneFiles[Sound::kTunes] = {"sounds/menu_tune.wav", "sounds/play_tune.wav"};

// The tunes own the first channels, so effects never cut them off.
constexpr int kTuneChannel[Sound::kTunes] = {0, 1};
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
        std::cerr << "bramblehoof: playing without sound: no audio device" << std::endl;
        return false;
    }
    if (Mix_OpenAudio(kRate, AUDIO_S16SYS, 2, kBufferFrames) != 0) {
        std::cerr << "bramblehoof: playing without sound: " << Mix_GetError() << std::endl;
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
        std::cerr << "bramblehoof: playing without sound: cannot load " << missing << std::endl;
        freeAll();
        Mix_CloseAudio();
        return false;
    }
    Mix_AllocateChannels(kChannels);
    Mix_ReserveChannels(kTunes);
    Mix_Volume(-1, kEffectVolume);
    for (int channel : kTuneChannel) {
        Mix_Volume(channel, kTuneVolume);
    }
    opened = true;
    startedOnce.fill(false);
    setMuted(muted);
    SDL_AddEventWatch(watchKeys, this);
    return true;
}

void Sound::freeAll() {
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
    listening = false;
    for (int channel : kTuneChannel) {
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
    SDL_DelEventWatch(watchKeys, this);
    Mix_HaltChannel(-1);
    freeAll();
    Mix_CloseAudio();
    opened = false;
    listening = false;
}

void Sound::play(Effect effect) {
    const int i = static_cast<int>(effect);
    if (!opened) {
        return;
    }
    const Uint32 now = SDL_GetTicks();
    if (startedOnce[i] && now - lastStart[i] < static_cast<Uint32>(gapMs(effect))) {
        return;
    }
    startedOnce[i] = true;
    lastStart[i] = now;
    Mix_PlayChannel(-1, effects[i], 0);  // no free channel: this one goes unheard
}

void Sound::playTune(Tune tune) {
    if (!opened) {
        return;
    }
    const int mine = static_cast<int>(tune);
    for (int i = 0; i < kTunes; ++i) {
        if (i != mine) {
            Mix_FadeOutChannel(kTuneChannel[i], kTuneFadeMs);
        }
    }
    // Each note of a tune rises from silence, so it can start at once. (A tune fading in could
    // not be faded out before its first mix: the mixer skips channels whose volume is still 0.)
    Mix_PlayChannel(kTuneChannel[mine], tunes[mine], kLoopForever);
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

void Sound::setMuted(bool mute) {
    muted = mute;
    if (opened) {
        Mix_MasterVolume(muted ? 0 : MIX_MAX_VOLUME);
    }
}

int Sound::watchKeys(void* self, SDL_Event* event) {
    Sound& sound = *static_cast<Sound*>(self);
    if (sound.listening && event->type == SDL_KEYDOWN && event->key.repeat == 0 &&
        event->key.keysym.sym == kMuteKey) {
        sound.setMuted(!sound.muted);
    }
    return 1;  // a watch only looks; the event goes on to the queue
}
