#include "shell/Settings.h"

#include "persist/FileIO.h"
#include "persist/SettingsFile.h"

#include <cstdlib>
#include <vector>

namespace {

constexpr const char* kKeysSection = "keys";

std::string trimmed(const std::string& s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return "";
    }
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// Tells the refused lines, the first kMaxToldLines of them one by one and the rest as a count, so
// a file of junk cannot flood the terminal. What the file holds is quoted escaped.
class Refusals {
public:
    static constexpr int kMaxToldLines = 10;

    explicit Refusals(std::ostream& out) : out(out) {}

    void add(int line, const std::string& what) {
        if (told >= kMaxToldLines) {
            ++untold;
            return;
        }
        ++told;
        std::string text = std::string(Settings::kFileName);
        if (line > 0) {
            text += " line " + std::to_string(line);
        }
        out << "bramblehoof: " << FileIO::printable(text + ": " + what) << std::endl;
    }

    void finish() {
        if (untold > 0) {
            out << "bramblehoof: " << Settings::kFileName << ": ... and " << untold << " more line"
                << (untold == 1 ? "" : "s") << " refused" << std::endl;
        }
    }

private:
    std::ostream& out;
    int told = 0;
    int untold = 0;
};

// The keys of one entry's value: key names as SDL spells them, comma-separated. False, with the
// first name SDL does not know, when one is unknown.
bool keysNamed(const std::string& value, std::vector<SDL_Keycode>& keys, std::string& unknown) {
    std::size_t from = 0;
    while (from <= value.size()) {
        std::size_t comma = value.find(',', from);
        if (comma == std::string::npos) {
            comma = value.size();
        }
        const std::string name = trimmed(value.substr(from, comma - from));
        from = comma + 1;
        if (name.empty()) {
            continue;
        }
        const SDL_Keycode key = SDL_GetKeyFromName(name.c_str());
        if (key == SDLK_UNKNOWN) {
            unknown = name;
            return false;
        }
        keys.push_back(key);
    }
    return true;
}

void applyEntries(const SettingsFile& file, KeyBindings& keys, std::ostream& out) {
    Refusals problems(out);
    std::size_t nextProblem = 0;
    // Every refused line in the order of the file, whatever refused it.
    auto problemsBefore = [&](int line) {
        for (; nextProblem < file.problems.size() && file.problems[nextProblem].line < line; ++nextProblem) {
            problems.add(file.problems[nextProblem].line, file.problems[nextProblem].what);
        }
    };
    for (const SettingsFile::Entry& entry : file.entries) {
        problemsBefore(entry.line);
        if (entry.section != kKeysSection) {
            problems.add(entry.line, "unknown entry '" + entry.name + "' in section [" + entry.section + "]");
            continue;
        }
        const KeyBindings::Action action = KeyBindings::actionNamed(entry.name);
        if (action == KeyBindings::Action::None) {
            problems.add(entry.line, "unknown entry '" + entry.name + "'");
            continue;
        }
        std::vector<SDL_Keycode> named;
        std::string unknown;
        if (!keysNamed(entry.value, named, unknown)) {
            problems.add(entry.line, "unknown key name '" + unknown + "'");
            continue;
        }
        std::string why;
        if (!keys.bind(action, named, why)) {
            problems.add(entry.line, why);
        }
    }
    problemsBefore(1 << 30);
    problems.finish();
}

}  // namespace

std::string Settings::configFolder() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') {
        return std::string(xdg) + "/bramblehoof";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + "/.config/bramblehoof";
    }
    return "";
}

std::string Settings::file(const char* name) const { return folder.empty() ? "" : folder + "/" + name; }

void Settings::load(std::ostream& problems) {
    folder = configFolder();
    if (folder.empty()) {
        return;
    }
    SettingsFile read;
    read.read(file(kFileName));
    applyEntries(read, keys, problems);
}

void Settings::apply(const std::string& text, std::ostream& problems) {
    SettingsFile read;
    read.parse(text);
    applyEntries(read, keys, problems);
}
