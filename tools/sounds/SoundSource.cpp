#include "sounds/SoundSource.h"

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

namespace {

constexpr double kTolerance = 1e-9;
constexpr double kHighestHz = 20000.0;

bool number(const std::string& word, double& value) {
    std::istringstream in(word);
    in >> value;
    return !in.fail() && in.eof() && std::isfinite(value);
}

bool waveNamed(const std::string& word, Voice::Wave& wave) {
    static const std::map<std::string, Voice::Wave> waves = {{"sine", Voice::Wave::Sine},
                                                             {"triangle", Voice::Wave::Triangle},
                                                             {"square", Voice::Wave::Square},
                                                             {"saw", Voice::Wave::Saw}};
    const auto found = waves.find(word);
    if (found == waves.end()) {
        return false;
    }
    wave = found->second;
    return true;
}

// A note such as A4, C#5 or Eb3, in equal temperament around A4 = 440 Hz.
bool noteHz(const std::string& word, double& hz) {
    static const std::map<char, int> steps = {{'C', -9}, {'D', -7}, {'E', -5}, {'F', -4},
                                              {'G', -2}, {'A', 0},  {'B', 2}};
    if (word.size() < 2 || steps.count(word[0]) == 0) {
        return false;
    }
    int semitones = steps.at(word[0]);
    std::size_t i = 1;
    if (word[i] == '#') {
        ++semitones;
        ++i;
    } else if (word[i] == 'b') {
        --semitones;
        ++i;
    }
    if (i + 1 != word.size() || word[i] < '0' || word[i] > '8') {
        return false;
    }
    semitones += (word[i] - '4') * 12;
    hz = 440.0 * std::pow(2.0, semitones / 12.0);
    return true;
}

class Parser {
public:
    std::vector<SoundSpec>& sounds;
    std::string& error;
    int lineNo = 0;

    Parser(std::vector<SoundSpec>& out, std::string& err) : sounds(out), error(err) {}

    bool fail(const std::string& what) {
        error = "line " + std::to_string(lineNo) + ": " + what;
        return false;
    }

    bool line(const std::vector<std::string>& w) {
        const std::string& head = w[0];
        if (head == "sound") {
            return startSound(w);
        }
        if (head == "tune") {
            return startTune(w);
        }
        if (sounds.empty()) {
            return fail("'" + head + "' before any sound or tune");
        }
        SoundSpec& sound = sounds.back();
        if (head == "tone" || head == "noise") {
            if (sound.tune) {
                return fail("a tune is made of parts");
            }
            return voice(sound, w);
        }
        if (head == "part") {
            if (!sound.tune) {
                return fail("only a tune has parts");
            }
            return part(sound, w);
        }
        return fail("unknown word '" + head + "'");
    }

    bool startSound(const std::vector<std::string>& w) {
        SoundSpec sound;
        if (w.size() != 3 || !number(w[2], sound.seconds) || sound.seconds <= 0) {
            return fail("expected: sound NAME SECONDS");
        }
        sound.name = w[1];
        sounds.push_back(sound);
        return true;
    }

    bool startTune(const std::vector<std::string>& w) {
        SoundSpec sound;
        sound.tune = true;
        if (w.size() != 4 || w[2] != "bpm" || !number(w[3], beatsPerMinute) || beatsPerMinute <= 0) {
            return fail("expected: tune NAME bpm BEATS_PER_MINUTE");
        }
        sound.name = w[1];
        sounds.push_back(sound);
        return true;
    }

    // Options after the fixed words: at, for, attack, release, gain, smooth, each with a number.
    bool options(const std::vector<std::string>& w, std::size_t from, Voice& v, bool& lengthGiven) {
        for (std::size_t i = from; i < w.size(); i += 2) {
            double value = 0.0;
            if (i + 1 >= w.size() || !number(w[i + 1], value)) {
                return fail("'" + w[i] + "' needs a number");
            }
            if (w[i] == "at") {
                v.at = value;
            } else if (w[i] == "for") {
                v.length = value;
                lengthGiven = true;
            } else if (w[i] == "attack") {
                v.attack = value;
            } else if (w[i] == "release") {
                v.release = value;
            } else if (w[i] == "gain") {
                v.gain = value;
            } else if (w[i] == "smooth" && v.wave == Voice::Wave::Noise) {
                v.smooth = value;
            } else {
                return fail("unknown option '" + w[i] + "'");
            }
        }
        return true;
    }

    bool voice(SoundSpec& sound, const std::vector<std::string>& w) {
        Voice v;
        v.attack = SoundSource::kMinRamp;
        v.release = SoundSource::kMinRamp;
        std::size_t from = 1;
        if (w[0] == "noise") {
            v.wave = Voice::Wave::Noise;
        } else if (w.size() < 4 || !waveNamed(w[1], v.wave) || !number(w[2], v.fromHz) || !number(w[3], v.toHz)) {
            return fail("expected: tone WAVE FROM_HZ TO_HZ [options]");
        } else {
            from = 4;
        }
        bool lengthGiven = false;
        if (!options(w, from, v, lengthGiven)) {
            return false;
        }
        if (!lengthGiven) {
            v.length = sound.seconds - v.at;
        }
        return check(sound, v);
    }

    bool part(SoundSpec& sound, const std::vector<std::string>& w) {
        // part WAVE gain G : NOTE/BEATS ...
        Voice::Wave wave{};
        double gain = 0.0;
        if (w.size() < 5 || !waveNamed(w[1], wave) || w[2] != "gain" || !number(w[3], gain) || w[4] != ":") {
            return fail("expected: part WAVE gain GAIN : NOTE/BEATS ...");
        }
        const double beat = 60.0 / beatsPerMinute;
        double t = 0.0;
        for (std::size_t i = 5; i < w.size(); ++i) {
            const std::size_t slash = w[i].find('/');
            double beats = 0.0;
            if (slash == std::string::npos || !number(w[i].substr(slash + 1), beats) || beats <= 0) {
                return fail("expected NOTE/BEATS, not '" + w[i] + "'");
            }
            const std::string note = w[i].substr(0, slash);
            if (note != "-") {
                Voice v;
                v.wave = wave;
                v.gain = gain;
                if (!noteHz(note, v.fromHz)) {
                    return fail("unknown note '" + note + "'");
                }
                v.toHz = v.fromHz;
                v.at = t;
                v.length = beats * beat * SoundSource::kNoteShare;
                v.attack = SoundSource::kNoteAttack;
                v.release = std::min(SoundSource::kNoteRelease, v.length - v.attack);
                sound.voices.push_back(v);
            }
            t += beats * beat;
        }
        // A tune lasts as long as its longest part, so that it loops on the beat.
        sound.seconds = std::max(sound.seconds, t);
        return true;
    }

    bool check(SoundSpec& sound, const Voice& v) {
        if (v.at < 0 || v.length <= 0 || v.at + v.length > sound.seconds + kTolerance) {
            return fail("the voice must lie within the sound's " + std::to_string(sound.seconds) + " s");
        }
        if (v.attack < SoundSource::kMinRamp || v.release < SoundSource::kMinRamp ||
            v.attack + v.release > v.length + kTolerance) {
            return fail("attack and release must each be at least 2 ms and fit in the voice");
        }
        if (v.wave != Voice::Wave::Noise &&
            (v.fromHz <= 0 || v.toHz <= 0 || v.fromHz > kHighestHz || v.toHz > kHighestHz)) {
            return fail("pitches must lie between 0 and 20000 Hz");
        }
        if (v.gain <= 0 || v.smooth <= 0 || v.smooth > 1) {
            return fail("gain must be positive and smooth within (0, 1]");
        }
        sound.voices.push_back(v);
        return true;
    }

private:
    double beatsPerMinute = 0.0;
};

}  // namespace

bool SoundSource::parse(const std::string& text, std::vector<SoundSpec>& sounds, std::string& error) {
    sounds.clear();
    Parser parser(sounds, error);
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        ++parser.lineNo;
        std::istringstream words(line);
        std::vector<std::string> w;
        std::string word;
        while (words >> word) {
            w.push_back(word);
        }
        // A comment takes a whole line; '#' also spells sharp notes.
        if (!w.empty() && w[0][0] != '#' && !parser.line(w)) {
            return false;
        }
    }
    for (const SoundSpec& sound : sounds) {
        if (sound.voices.empty()) {
            error = sound.name + " has nothing to sound";
            return false;
        }
    }
    return true;
}

bool SoundSource::parseFile(const std::string& path, std::vector<SoundSpec>& sounds, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (!parse(text.str(), sounds, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}
