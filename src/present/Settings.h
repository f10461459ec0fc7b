#pragma once

#include "input/KeyBindings.h"

#include <ostream>
#include <string>
#include <vector>

// The player's settings, read once at start-up and kept for the whole process. Every setting is
// one row of table(): its section and name in settings.ini, its kind, its range and default, the
// member it is kept in, and for one the player changes in the game its row on the options screen.
// Reading goes through the table, and so does writing a file's text, and so do the options.
class Settings {
public:
    static constexpr const char* kFileName = "settings.ini";
    static constexpr const char* kPadMappingsName = "gamecontrollerdb.txt";
    static constexpr int kMinWindowWidth = 320;  // the smallest window a file may ask for
    static constexpr int kMinWindowHeight = 240;

    enum class Kind {
        Number,   // a whole number within [low, high]
        Switch,   // on or off: "on", "off", "true", "false", "yes", "no", "1", "0"
        Keys,     // key names as SDL spells them, comma-separated
        Buttons,  // pad button names as SDL's mappings spell them ("a", "dpup"), comma-separated
        Choice,   // one of the row's choices, kept as its place in them
    };
    // What a change on the options screen acts on at once, besides the member it is kept in.
    enum class Acts {
        Nothing,     // only the member: the game reads it where it is used (reduced motion)
        Volumes,     // the sound's music and effects volumes
        Mute,        // the sound's mute
        Fullscreen,  // the window
        Language,    // every text on screen
    };
    struct Row {
        const char* section;         // the [section] of settings.ini
        const char* name;            // the entry's name in it
        Kind kind;                   // how its value is written
        int low;                     // Number: the smallest value taken
        int high;                    // Number: the largest value taken
        int fallback;                // Number and Switch: the default (a Switch's is 0 or 1)
        int Settings::*number;       // Number: where it is kept
        bool Settings::*flag;        // Switch: where it is kept
        KeyBindings::Action action;  // Keys and Buttons: the hero's action they drive, or None
        // Number and Switch: its row on the options screen, as the player reads it ("Music
        // volume"); none for a setting the options do not show.
        const char* label = nullptr;
        Acts acts = Acts::Nothing;  // what a change there acts on
        bool clicks = false;        // a change is heard as a click, at the new level
        // Keys and Buttons of a menu or panel command. The game never changes these, so it never
        // writes them: the player's own lines stay as they are.
        KeyBindings::Command command = KeyBindings::Command::None;
        // Choice: the values the file may give, as it writes them; the first is the default.
        const std::vector<const char*>* choices = nullptr;
        // Number: the only values taken, in the order the options step through them; empty for
        // every whole number within [low, high].
        std::vector<int> steps = {};
    };
    // Every setting, in the order a written file lists them.
    static const std::vector<Row>& table();
    // The section of the assists, which the options show on a panel of their own.
    static constexpr const char* kAssistSection = "assist";
    // Whether any assist is on.
    bool assisted() const;

    int musicVolume;    // 0 (silent) to 10 (the tunes as made)
    int effectsVolume;  // 0 (silent) to 10 (the effects as made)
    bool muted;         // no sound at all, as M toggles it
    bool fullscreen;    // the window starts covering the screen
    int windowWidth;    // the window's size when not fullscreen
    int windowHeight;
    bool reducedMotion;  // no screen shake and no flashes
    int language;        // 0: as the desktop says; else 1 + the shipped language's place (Language::shipped)
    bool ghost;          // the hero of the player's fastest win shown faintly beside him
    // Assists, each off at its default. A run played with any of them on is marked as assisted.
    int assistSpeed;        // the share of 60 frames a second the game runs at: 100, 75 or 50
    int assistDamage;       // the share of a blow's cost the hero pays: 100 or 50
    bool assistRefill;      // the hero's health is full again when a level begins
    bool assistAutoAttack;  // a held attack key or button attacks again as soon as it may
    KeyBindings keys;       // defaults, with every accepted [keys] and [pad] entry applied
    std::string folder;     // $XDG_CONFIG_HOME/bramblehoof or ~/.config/bramblehoof; "" if neither

    // Every setting at its default.
    Settings();

    // The folder from the environment; a relative XDG_CONFIG_HOME is ignored, as the desktop's
    // rules say.
    static std::string configFolder();
    // A file in folder, or "" when there is no folder.
    std::string file(const char* name) const;

    // Reads folder's settings.ini; every refused line is one line on problems, up to ten, and then
    // one line counts the rest. A missing file leaves the defaults.
    void load(std::ostream& problems);
    // Applies the text of a settings file.
    void apply(const std::string& text, std::ostream& problems);
    // Every setting as a settings file states it, section by section; apply() reads it back.
    std::string text() const;
    // The text of a settings file with every setting's line set to its value now: the lines the
    // game does not manage (comments, unknown entries) stay as they are, a setting the file lacks
    // is added to its section (the section at the end when the file has none).
    std::string merged(const std::string& old) const;
    // Writes to settings.ini what this process changed since it read or last wrote the file, into
    // the file as it is now (SettingsFile::save): what the player or another game wrote there
    // meanwhile stays. False with why when it could not; the old file stands. True when written
    // (or nothing had changed), why then saying what may still undo it, if anything.
    bool save(std::string& why);
    // The language chosen, as Language::choose takes it: "" for the desktop's.
    std::string languageCode() const;
    // Whether a key's name as SDL gives it names it again: the settings file can keep it.
    static bool namesKey(SDL_Keycode key);

private:
    // Each table row's value as the file was last read or written by this process ("" for a
    // command's, never written): what differs from it is this process's change.
    std::vector<std::string> known;
    // The values now are the file's.
    void noteKnown();
};
