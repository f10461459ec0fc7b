#include "persist/Replay.h"

#include "persist/FileIO.h"
#include "persist/SaveLock.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <iostream>
#include <unistd.h>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Reads one line (the line end is not part of it) into line, keeping at most limit bytes; the rest
// of a longer line is read and dropped. False when nothing is left to read.
bool readBoundedLine(std::FILE* source, std::string& line, std::size_t limit, bool& tooLong) {
    line.clear();
    tooLong = false;
    int c = getc_unlocked(source);
    if (c == EOF) {
        return false;
    }
    while (c != EOF && c != '\n') {
        if (line.size() < limit) {
            line.push_back(static_cast<char>(c));
        } else {
            tooLong = true;
        }
        c = getc_unlocked(source);
    }
    return true;
}

}  // namespace

Replay::Replay() = default;

void Replay::close() {
    if (out.is_open()) {
        out.close();
    }
}

bool Replay::startRecording(std::ofstream& out, const std::string& path) {
    if (out.is_open()) {
        out.close();
    }
    out.clear();
    // Anything but a plain file at path (a link, a FIFO, a folder) is the player's: left alone.
    std::string error;
    if (!FileIO::regularOrAbsent(path, error)) {
        FileIO::report("cannot record the replay: " + error);
        return false;
    }
    // The run is recorded into a fresh file renamed over the old one, never into the old one: a
    // second name the old file has elsewhere keeps its bytes, and a link put at path meanwhile is
    // replaced, not followed.
    const std::string temp = path + kTempSuffix;
    // Games starting runs over one folder share that name: one at a time makes and renames it, or
    // one would remove the other's before it is in place. A lock kept past the wait is not worth a
    // word: only another game's start could race with this one.
    const SaveLock lock(path);
    const int fd = FileIO::createFresh(temp, error);
    if (fd < 0) {
        FileIO::report("cannot record the replay: " + error);
        return false;
    }
    // The stream opens the very file just made, through its descriptor, so whatever is put at its
    // name meanwhile is never followed. Without /proc, the name is all there is.
    out.open("/proc/self/fd/" + std::to_string(fd), std::ios::out | std::ios::app);
    if (!out.is_open() && errno == ENOENT) {
        out.open(temp, std::ios::out | std::ios::app);
    }
    const int failure = out.is_open() ? 0 : (errno != 0 ? errno : EIO);
    ::close(fd);
    if (failure != 0) {
        FileIO::removeIfThere(temp);
        FileIO::report("cannot record the replay in " + temp + ": " + std::strerror(failure));
        return false;
    }
    if (!FileIO::rename(temp, path, error)) {
        out.close();
        FileIO::removeIfThere(temp);
        FileIO::report("cannot record the replay: " + error);
        return false;
    }
    return true;
}

void Replay::record(std::ofstream& out, int x, int y, const std::string& path) {
    // A stream that already failed was reported when it did; stay quiet for the rest of the run.
    if (!out.is_open() || !out.good()) {
        return;
    }
    const std::string line = std::to_string(x) + " " + std::to_string(y) + "\n";
    // Under a size limit the system writes what still fits, which would leave a torn line for
    // REPLAY to stumble on: a line that would pass the limit is not begun. The file is this
    // recording's own, so its length is where the stream stands.
    // Where the stream stands is asked only under a limit: a frame records a line 60 times a second.
    rlimit limit{};
    const bool limited = getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY;
    const std::streamoff length = limited ? static_cast<std::streamoff>(out.tellp()) : -1;
    if (limited && length >= 0 && static_cast<rlim_t>(length) + line.size() > limit.rlim_cur) {
        out.setstate(std::ios::failbit);
        FileIO::reportSizeLimit(path);
        return;
    }
    errno = 0;
    out << line;
    out.flush();
    if (!out.good()) {
        if (errno == EFBIG) {
            FileIO::reportSizeLimit(path);
        } else {
            // A full disk takes what fits of the line: REPLAY would read a torn one as a place.
            // Closed first, so what the stream still holds of the line is never written after the cut.
            out.close();
            FileIO::cutTornLine(path);
            FileIO::report("cannot record the replay: a write failed; the rest of this run is not recorded");
        }
    }
}

void Replay::splitLine(const std::string& line, std::string& xText, std::string& yText, bool& hasSeparator) {
    const std::size_t space = line.find(' ');
    xText = space == std::string::npos ? line : line.substr(0, space);
    const std::size_t separator = line.find_first_of(" \t");
    hasSeparator = separator != std::string::npos;
    yText.clear();
    if (hasSeparator) {
        std::size_t start = separator + 1;
        while (start < line.size() && isBlank(line[start])) {
            ++start;
        }
        yText = line.substr(start);
    }
}

bool Replay::parseNumber(const std::string& text, int& value) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t firstDigit = i;
    int64_t magnitude = 0;
    constexpr int64_t kBeyondInt32 = int64_t{INT32_MAX} + 2;  // enough to tell "too large" apart
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (magnitude < kBeyondInt32) {
            magnitude = magnitude * 10 + (text[i] - '0');
        }
        ++i;
    }
    if (i == firstDigit) {
        return false;
    }
    const int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue < INT32_MIN || signedValue > INT32_MAX || !FileIO::isPlausiblePosition(signedValue)) {
        return false;
    }
    value = static_cast<int>(signedValue);
    return true;
}

bool Replay::parseLine(const std::string& line, int& x, int& y) {
    std::string xText;
    std::string yText;
    bool hasSeparator = false;
    splitLine(line, xText, yText, hasSeparator);
    int parsedX = 0;
    int parsedY = 0;
    if (!hasSeparator || !parseNumber(xText, parsedX) || !parseNumber(yText, parsedY)) {
        return false;
    }
    x = parsedX;
    y = parsedY;
    return true;
}

void Replay::load(const std::string& path, std::vector<int>& xs, std::vector<int>& ys, std::size_t maxPositions) {
    std::string error;
    std::FILE* file = FileIO::openForReading(path, error);
    if (file == nullptr) {
        if (errno != ENOENT) {
            FileIO::report("the replay plays nothing: " + error);
        }
        return;  // a missing replay plays nothing
    }
    std::string line;
    std::string xText;
    std::string yText;
    bool tooLong = false;
    std::size_t skipped = 0;
    while (readBoundedLine(file, line, kMaxLineBytes, tooLong)) {
        // Both echoes are written for every line, also for one that is then skipped. An over-long
        // line is echoed by its first kMaxLineBytes bytes only.
        bool hasSeparator = false;
        splitLine(line, xText, yText, hasSeparator);
        std::cout << line << "\n" << xText << " " << yText << "\n";
        int x = 0;
        int y = 0;
        if (tooLong || !parseLine(line, x, y)) {
            ++skipped;
            continue;
        }
        if (xs.size() >= maxPositions) {
            FileIO::report(path + " holds more than " + std::to_string(maxPositions) +
                           " positions; the rest is not played");
            break;
        }
        xs.push_back(x);
        ys.push_back(y);
    }
    std::fclose(file);
    if (skipped > 0) {
        FileIO::report(path + ": " + std::to_string(skipped) +
                       " line(s) not a position the game records (or out of reach) skipped");
    }
}
