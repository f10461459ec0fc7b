#pragma once

#include <cstddef>
#include <string>

// The name last played, kept beside the settings (never among a run's files) so that the next
// start can offer it. One line of text: the name and a line end.
class LastName {
public:
    static constexpr const char* kFileName = "last-name";
    static constexpr std::size_t kMaxBytes = 256;  // far more than a name holds

    std::string path;  // the file; "" without a settings folder
    std::string kept;  // the name the file holds, as last read or written; "" for none

    // Reads the file in folder (the settings folder, "" for none). A file that is not one line of
    // printable UTF-8 offers nothing.
    void read(const std::string& folder);
    // Keeps name as the last one played, when it is one and not kept already (the folder is made
    // if missing). False with why when it could not be written.
    bool keep(const std::string& name, std::string& why);
    // Whether text is a name the file may hold: printable UTF-8, no line end, within kMaxBytes.
    static bool isName(const std::string& text);
};
