// Makes every sound the game plays from the text source given first and writes them as WAV files
// into the folder given second (normally the repository's sounds/ folder).

#include "sounds/SoundSource.h"
#include "sounds/Synth.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <iostream>
#include <sys/stat.h>

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::cerr << "usage: make_sounds SOURCE OUTPUT_FOLDER\n";
        return 2;
    }
    std::vector<SoundSpec> sounds;
    std::string error;
    if (!SoundSource::parseFile(argv[1], sounds, error)) {
        std::cerr << "make_sounds: " << error << "\n";
        return 1;
    }
    const std::string out = argv[2];
    if (mkdir(out.c_str(), 0755) != 0 && errno != EEXIST) {
        std::cerr << "make_sounds: cannot make " << out << ": " << std::strerror(errno) << "\n";
        return 1;
    }
    for (const SoundSpec& sound : sounds) {
        const std::vector<double> samples = Synth::render(sound);
        double peak = 0.0;
        for (double s : samples) {
            peak = std::max(peak, std::fabs(s));
        }
        // Brought to the common loudness, a sound this peaky would clip: its source must change.
        if (peak > Synth::kPeakLimit) {
            std::cerr << "make_sounds: " << sound.name << " peaks at " << peak << " at the common loudness\n";
            return 1;
        }
        if (!Synth::writeWav(out + "/" + sound.name + ".wav", samples, error)) {
            std::cerr << "make_sounds: " << error << "\n";
            return 1;
        }
    }
    return 0;
}
