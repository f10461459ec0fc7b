#pragma once

#include <string>
#include <vector>

// A settings file in INI form, read with inih: its entries with the line each stands on, and one
// problem per line that is no section, entry, comment or blank. What the entries mean is for the
// caller to judge. Writing is here too, beside the reading: the game's values as a file of their
// own, or merged into a player's file by the reader's own judgement of its lines.
class SettingsFile {
public:
    // Larger than any settings file a player writes by hand; a bigger one is not read at all.
    static constexpr std::size_t kMaxBytes = 64 * 1024;

    struct Entry {
        int line;             // 1-based line number
        std::string section;  // the [section] it stands in, "" before the first
        std::string name;
        std::string value;  // inih's: trimmed, inline "; comment" removed
    };
    struct Problem {
        int line;          // 0 for the file as a whole
        std::string what;  // what is wrong, without the file's name
    };

    // How the reader takes one line of a file.
    struct Line {
        enum Kind {
            Quiet,      // a blank or a comment
            Refused,    // too long for the reader, or not text: read as a blank
            Section,    // a [section] header
            Entry,      // name = value (or name: value)
            Continued,  // an indented line after an entry: more of its value
            Bad,        // none of these
        };
        Kind kind;
        std::string name;       // a Section's or an Entry's, as the reader takes it
        std::string text;       // the line without its end (a byte-order mark included)
        bool indented = false;  // it starts with a blank (after a byte-order mark)
    };
    // One setting the game writes: its section, name and value.
    struct Setting {
        std::string section;
        std::string name;
        std::string value;
    };

    std::vector<Entry> entries;
    std::vector<Problem> problems;

    // Reads path. False when there is nothing to read (no such file, or a problem with the whole
    // file, which is then in problems); a missing file is not a problem.
    bool read(const std::string& path);
    // Reads the text of a file already in memory.
    void parse(const std::string& text);
    // Whether the reader takes a line (its end included, if it has one) as a blank: one too long
    // for inih's buffer, or one holding a zero byte, is refused whole.
    static bool refusedWhole(const std::string& line);
    // Every line of text as the reader takes it, in order.
    static std::vector<Line> lines(const std::string& text);

    // settings as a file of their own, section by section in their order; parse() reads them back.
    static std::string written(const std::vector<Setting>& settings);
    // old with every entry of settings set to its value: the lines that are none of them
    // (comments, unknown entries, lines refused whole) stay as they are, each entry of settings
    // replaces its line where it stands (every line of it, when the file has it twice; the
    // indented lines that continued it go), and one the file lacks is added after the last entry
    // of its section (in a section of its own at the end when the file has none, or when a line
    // put there would be read as more of another).
    static std::string merged(const std::string& old, const std::vector<Setting>& settings);
    // items as one value, comma-separated; an item after the first that starts with ';' follows
    // its comma at once, as after a blank it would start a comment. When that would not read back
    // as items (a ';' first, a comma or a blank inside a name), every item is quoted instead:
    // "Keypad \,", with a backslash before each '"', '\\', ',' and ';' in it.
    static std::string listed(const std::vector<std::string>& items);
    // A list value's items as the reader always took them: cut at every comma, trimmed, the empty
    // ones dropped.
    static std::vector<std::string> items(const std::string& value);
    // A list value's items where an item may be quoted as listed() quotes it; an item that is not
    // is taken as items() takes it. False when a quote is left open or more than blanks follow one
    // before the next comma. A quoted item is never a name of its own, so a file the reader took
    // with items() reads the same when items() is asked first.
    static bool quotedItems(const std::string& value, std::vector<std::string>& items);

    // What came of a save.
    struct Saved {
        bool written = false;  // the file holds the settings now
        std::string why;       // why it was not written; or, written, why a crash may still undo it
    };
    // The name of the lock beside a settings file that one game at a time holds while it writes.
    static constexpr const char* kLockSuffix = ".lock";
    // Sets changed in the file at path, read afresh just before, under a lock beside path, so that
    // every other line stays as the player or another game left it (whole, every setting in the
    // table's order, when there is no file yet). A link at path is written through to its file,
    // which is made when missing; a file with a second name (a hard link) is not written, as a new
    // file would part the two names; the file keeps its mode. Written to a temporary of its own,
    // flushed, renamed over the file, then its folder flushed; a file changed meanwhile (an editor
    // takes no lock) is read and merged again instead of written over. Nothing is written, and the file
    // stays, when the result would not read back as written (a line too long for the reader) or
    // would pass kMaxBytes.
    static Saved save(const std::string& path, const std::vector<Setting>& changed, const std::vector<Setting>& whole);
    // Another file the game keeps beside the settings, replaced whole by text the way save writes:
    // under the lock beside it, through a link, never over a file with a second name, through a
    // temporary of its own renamed into place.
    static Saved replace(const std::string& path, const std::string& text);
};
