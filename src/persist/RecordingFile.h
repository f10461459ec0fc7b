#pragma once

#include <string>

// A recording written as its run goes: into a temporary of its own beside the final name, put in
// place by a rename once the run has ended, so no half-written recording is ever taken for one.
// An unfinished temporary is removed when the object goes.
class RecordingFile {
public:
    RecordingFile() = default;
    RecordingFile(const RecordingFile&) = delete;
    RecordingFile& operator=(const RecordingFile&) = delete;
    ~RecordingFile();

    // Makes the temporary for path (and path's folder, when its own folder is there). False with
    // error when it cannot be made.
    bool open(const std::string& path, std::string& error);
    bool isOpen() const { return fd >= 0; }
    // Adds bytes at the end; false with error when they cannot be written (the file is then dropped).
    bool append(const std::string& bytes, std::string& error);
    // Flushes the temporary and renames it over path; false with error (nothing is left behind).
    bool finish(std::string& error);
    // Drops the temporary.
    void abandon();
    // The last append failed on the size limit for files (ulimit -f), which FileIO tells once.
    bool passedLimit() const { return pastLimit; }

private:
    int fd = -1;
    std::string path;       // where it goes
    std::string temporary;  // where it is written meanwhile
    bool pastLimit = false;
};
