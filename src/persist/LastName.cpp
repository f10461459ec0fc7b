#include "persist/LastName.h"

#include "persist/FileIO.h"
#include "persist/SettingsFile.h"

#include <sys/stat.h>

bool LastName::isName(const std::string& text) {
    // printable() leaves printable UTF-8 as it is, the backslash aside.
    std::string escaped;
    for (const char c : text) {
        escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    }
    return !text.empty() && text.size() <= kMaxBytes && FileIO::printable(text) == escaped;
}

void LastName::read(const std::string& folder) {
    path = folder.empty() ? "" : folder + "/" + kFileName;
    kept.clear();
    std::string text;
    std::string why;
    if (path.empty() || !FileIO::readSmall(path, kMaxBytes + 1, text, why)) {
        return;
    }
    if (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    if (isName(text)) {
        kept = text;
    }
}

bool LastName::keep(const std::string& name, std::string& why) {
    why.clear();
    if (path.empty() || name == kept || !isName(name)) {
        return true;  // nothing to keep, or nowhere to keep it
    }
    const std::string folder = FileIO::folderOf(path);
    mkdir(FileIO::folderOf(folder).c_str(), 0755);  // ~/.config on a fresh account
    mkdir(folder.c_str(), 0755);
    const SettingsFile::Saved saved = SettingsFile::replace(path, name + "\n");
    why = saved.why;
    if (saved.written) {
        kept = name;
    }
    return saved.written;
}
