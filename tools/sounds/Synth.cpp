#include "sounds/Synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr int kBitsPerSample = 16;
constexpr double kFullScale = 32767.0;

double fraction(double x) { return x - std::floor(x); }

double oscillator(Voice::Wave wave, double phase) {
    const double p = fraction(phase);
    switch (wave) {
        case Voice::Wave::Sine:
            return std::sin(kTwoPi * p);
        case Voice::Wave::Triangle:
            return 1.0 - 4.0 * std::fabs(p - 0.5);
        case Voice::Wave::Square:
            return p < 0.5 ? 1.0 : -1.0;
        case Voice::Wave::Saw:
            return 2.0 * p - 1.0;
        case Voice::Wave::Noise:
            break;
    }
    return 0.0;
}

// The same noise on every build: a small generator seeded from the sound's name.
class Noise {
public:
    explicit Noise(const std::string& name) {
        for (unsigned char c : name) {
            state = (state ^ c) * 1099511628211ull;
        }
    }
    double next() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(state >> 11) / static_cast<double>(1ull << 52) - 1.0;
    }

private:
    std::uint64_t state = 1469598103934665603ull;
};

void addVoice(const Voice& v, Noise& noise, std::vector<double>& out) {
    const int n = static_cast<int>(out.size());
    const int first = Synth::sampleCount(v.at);
    const int end = std::min(n, Synth::sampleCount(v.at + v.length));
    const int span = end - first;
    const double attack = std::max(1, Synth::sampleCount(v.attack));
    const double release = std::max(1, Synth::sampleCount(v.release));
    double phase = 0.0;
    double dark = 0.0;
    for (int k = 0; k < span; ++k) {
        // Straight ramps that start and end exactly at zero, so nothing clicks.
        const double envelope = std::min({1.0, k / attack, (span - 1 - k) / release});
        double value = 0.0;
        if (v.wave == Voice::Wave::Noise) {
            dark += v.smooth * (noise.next() - dark);
            value = dark;
        } else {
            value = oscillator(v.wave, phase);
            const double hz = v.fromHz * std::pow(v.toHz / v.fromHz, static_cast<double>(k) / span);
            phase += hz / Synth::kRate;
        }
        out[first + k] += v.gain * envelope * value;
    }
}

void put16(std::ofstream& out, std::uint16_t v) {
    const char b[2] = {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
    out.write(b, 2);
}

void put32(std::ofstream& out, std::uint32_t v) {
    put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
    put16(out, static_cast<std::uint16_t>(v >> 16));
}

std::uint32_t get32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t get16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

}  // namespace

int Synth::sampleCount(double seconds) { return static_cast<int>(std::lround(seconds * kRate)); }

std::vector<double> Synth::render(const SoundSpec& sound) {
    std::vector<double> samples(static_cast<std::size_t>(sampleCount(sound.seconds)), 0.0);
    Noise noise(sound.name);
    for (const Voice& v : sound.voices) {
        addVoice(v, noise, samples);
    }
    const double loud = loudness(samples);
    if (loud > 0) {
        for (double& s : samples) {
            s *= kLoudness / loud;
        }
    }
    return samples;
}

double Synth::loudness(const std::vector<double>& samples) {
    const std::size_t window = std::min(samples.size(), static_cast<std::size_t>(sampleCount(kLoudnessWindow)));
    if (window == 0) {
        return 0.0;
    }
    double sum = 0.0;
    for (std::size_t i = 0; i < window; ++i) {
        sum += samples[i] * samples[i];
    }
    double loudest = sum;
    for (std::size_t i = window; i < samples.size(); ++i) {
        sum += samples[i] * samples[i] - samples[i - window] * samples[i - window];
        loudest = std::max(loudest, sum);
    }
    return std::sqrt(std::max(0.0, loudest) / window);
}

bool Synth::writeWav(const std::string& path, const std::vector<double>& samples, std::string& error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        error = "cannot write " + path;
        return false;
    }
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    put32(out, 16);  // format chunk size
    put16(out, 1);   // PCM
    put16(out, 1);   // mono
    put32(out, kRate);
    put32(out, kRate * 2);  // bytes a second
    put16(out, 2);          // bytes a frame
    put16(out, kBitsPerSample);
    out.write("data", 4);
    put32(out, dataBytes);
    for (double s : samples) {
        const double clamped = std::max(-1.0, std::min(1.0, s));
        put16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(clamped * kFullScale))));
    }
    out.close();
    if (!out) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

bool Synth::readWav(const std::string& path, std::vector<double>& samples, int& rate, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(&bytes[8], "WAVE", 4) != 0) {
        error = path + " is not a WAV file";
        return false;
    }
    bool format = false;
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        const std::uint32_t size = get32(&bytes[at + 4]);
        const unsigned char* body = &bytes[at + 8];
        if (at + 8 + size > bytes.size()) {
            break;
        }
        if (std::memcmp(&bytes[at], "fmt ", 4) == 0 && size >= 16) {
            if (get16(body) != 1 || get16(body + 2) != 1 || get16(body + 14) != kBitsPerSample) {
                error = path + " is not mono 16-bit PCM";
                return false;
            }
            rate = static_cast<int>(get32(body + 4));
            format = true;
        } else if (std::memcmp(&bytes[at], "data", 4) == 0 && format) {
            samples.clear();
            for (std::uint32_t i = 0; i + 1 < size; i += 2) {
                samples.push_back(static_cast<std::int16_t>(get16(body + i)) / kFullScale);
            }
            return true;
        }
        at += 8 + size + (size & 1);
    }
    error = path + " has no sound data";
    return false;
}
