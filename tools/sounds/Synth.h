#pragma once

#include "sounds/SoundSource.h"

#include <string>
#include <vector>

// Turns a sound's description into samples and writes them as a WAV file.
class Synth {
public:
    static constexpr int kRate = 44100;              // samples a second, as the game's mixer opens
    static constexpr double kLoudness = 0.2;         // RMS of every sound's loudest stretch
    static constexpr double kLoudnessWindow = 0.05;  // seconds of that stretch
    static constexpr double kPeakLimit = 0.95;       // no sample may reach further: no clipping

    // Samples from -1 to 1, normalised to kLoudness. Noise is the same on every build.
    static std::vector<double> render(const SoundSpec& sound);
    // RMS of the loudest kLoudnessWindow of `samples`.
    static double loudness(const std::vector<double>& samples);
    static int sampleCount(double seconds);

    // Writes mono 16-bit PCM at kRate; false with a reason on failure.
    static bool writeWav(const std::string& path, const std::vector<double>& samples, std::string& error);
    // Reads back a file writeWav made (mono 16-bit PCM), as samples from -1 to 1.
    static bool readWav(const std::string& path, std::vector<double>& samples, int& rate, std::string& error);
};
