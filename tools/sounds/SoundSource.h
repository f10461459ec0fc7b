#pragma once

#include <string>
#include <vector>

// One sounding part of a sound: an oscillator gliding from one pitch to another, or noise, heard
// from `at` for `length` seconds under its own attack and release ramps.
struct Voice {
    enum class Wave { Sine, Triangle, Square, Saw, Noise };
    Wave wave = Wave::Sine;
    double fromHz = 0.0;   // pitch at the voice's start (unused for noise)
    double toHz = 0.0;     // pitch at its end; the glide is even in octaves
    double at = 0.0;       // start, in seconds from the sound's start
    double length = 0.0;   // seconds
    double attack = 0.0;   // seconds to rise from silence to full
    double release = 0.0;  // seconds to fall back to silence at the voice's end
    double gain = 1.0;     // weight against the sound's other voices
    double smooth = 1.0;   // noise only: 1 is raw noise, smaller values darken it
};

// A whole sound as the source describes it; every voice ends within `seconds`.
struct SoundSpec {
    std::string name;  // file name without .wav
    double seconds = 0.0;
    bool tune = false;  // a looping tune rather than an effect
    std::vector<Voice> voices;
};

// Reads the text that describes the game's sounds (see tools/sounds/sounds.txt for the grammar).
class SoundSource {
public:
    // Shortest ramp the source may ask for: faster ones click.
    static constexpr double kMinRamp = 0.002;
    // Parts of a tune: each note's ramps, and the share of its beat a note sounds.
    static constexpr double kNoteAttack = 0.01;
    static constexpr double kNoteRelease = 0.05;
    static constexpr double kNoteShare = 0.85;

    // Parses `text`; on a mistake returns false and says where in `error`.
    static bool parse(const std::string& text, std::vector<SoundSpec>& sounds, std::string& error);
    static bool parseFile(const std::string& path, std::vector<SoundSpec>& sounds, std::string& error);
};
