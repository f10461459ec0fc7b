// Feeds arbitrary bytes to the settings reader as a settings.ini, then checks what the game relies
// on: the refusals are few and printable, no key or button serves two actions and none is one the
// game keeps, what the game writes back (whole, or merged into the player's own file) reads
// back to the same settings without a word, and the merge's judgement of each line is inih's.

#include "FuzzSupport.h"

#include "persist/SettingsFile.h"
#include "present/Settings.h"

#include <sstream>
#include <string>
#include <vector>

namespace {

// The settings as a file states them: what two readings must agree on.
std::string stateOf(const std::string& text) {
    Settings settings;
    std::ostringstream problems;
    settings.apply(text, problems);
    return settings.text();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::setUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    Settings settings;
    std::ostringstream problems;
    settings.apply(input, problems);

    // inih makes its entries of exactly the lines the merge takes for entries or more of one.
    SettingsFile file;
    file.parse(input);
    const std::vector<SettingsFile::Line> kinds = SettingsFile::lines(input);
    std::size_t read = 0;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const SettingsFile::Line& line = kinds[i];
        const bool entry = line.kind == SettingsFile::Line::Entry || line.kind == SettingsFile::Line::Continued;
        const bool taken = read < file.entries.size() && file.entries[read].line == static_cast<int>(i) + 1;
        fuzzsupport::require(entry == taken, "inih's entries stand on the lines told as entries");
        if (taken) {
            fuzzsupport::require(line.kind != SettingsFile::Line::Entry || file.entries[read].name == line.name,
                                 "an entry's name as inih reads it");
            ++read;
        }
    }
    fuzzsupport::require(read == file.entries.size(), "no entry of inih's past the last line");

    const std::string told = problems.str();
    std::size_t lines = 0;
    for (const char c : told) {
        lines += c == '\n' ? 1 : 0;
        fuzzsupport::require(c == '\n' || static_cast<unsigned char>(c) >= 0x20,
                             "no control byte reaches the terminal");
    }
    fuzzsupport::require(lines <= 11, "ten refused lines told, then one count");

    using Action = KeyBindings::Action;
    for (int i = 1; i <= KeyBindings::kActions; ++i) {
        const auto action = static_cast<Action>(i);
        for (const SDL_Keycode key : settings.keys.keysOf(action)) {
            fuzzsupport::require(!settings.keys.kept(key), "no key the game keeps");
            fuzzsupport::require(settings.keys.actionOf(key) == action, "a key serves one action");
        }
        for (const SDL_GameControllerButton button : settings.keys.buttonsOf(action)) {
            fuzzsupport::require(!settings.keys.keptButton(button), "no button the game keeps");
            fuzzsupport::require(settings.keys.actionOfButton(button) == action, "a button serves one action");
        }
    }

    const std::string written = settings.text();
    Settings back;
    std::ostringstream backProblems;
    back.apply(written, backProblems);
    fuzzsupport::require(backProblems.str().empty(), "the game's own file reads without a word");
    fuzzsupport::require(back.text() == written, "the game's own file reads back the same");

    // Saving keeps the player's lines and sets the game's; the file then says what the game holds,
    // also after every setting changed in the game since the file was read.
    fuzzsupport::require(stateOf(settings.merged(input)) == written, "a merged file reads back the same");
    Settings changed = settings;
    changed.musicVolume = (changed.musicVolume + 3) % 11;
    changed.muted = !changed.muted;
    changed.windowWidth = 777;
    std::string why;
    // Keys and buttons the game could give in the controls: none its commands of play keep. The
    // first are those whose names the file quotes.
    std::vector<SDL_Keycode> fresh;
    for (const SDL_Keycode key : {SDLK_SEMICOLON, SDLK_KP_COMMA, SDLK_QUOTEDBL}) {
        if (!settings.keys.kept(key)) {
            fresh.push_back(key);
        }
    }
    for (SDL_Keycode key = SDLK_F2; fresh.size() < KeyBindings::kActions; ++key) {
        if (!settings.keys.kept(key)) {
            fresh.push_back(key);
        }
    }
    std::vector<SDL_GameControllerButton> freshButtons;
    for (int b = SDL_CONTROLLER_BUTTON_A; b < SDL_CONTROLLER_BUTTON_MAX; ++b) {
        const auto button = static_cast<SDL_GameControllerButton>(b);
        if (!settings.keys.keptButton(button) && freshButtons.size() < KeyBindings::kActions) {
            freshButtons.push_back(button);
        }
    }
    for (int i = 0; i < KeyBindings::kActions; ++i) {
        changed.keys.unbindKeys(static_cast<Action>(i + 1));
        changed.keys.bindButtons(static_cast<Action>(i + 1), {}, why);
    }
    for (int i = 0; i < KeyBindings::kActions; ++i) {
        changed.keys.bind(static_cast<Action>(i + 1), {fresh[static_cast<std::size_t>(i)]}, why);
        if (static_cast<std::size_t>(i) < freshButtons.size()) {
            changed.keys.bindButtons(static_cast<Action>(i + 1), {freshButtons[static_cast<std::size_t>(i)]}, why);
        }
    }
    fuzzsupport::require(stateOf(changed.merged(input)) == changed.text(), "a changed merged file reads back the same");
    return 0;
}
