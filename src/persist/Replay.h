#pragma once

#include <cstddef>
#include <fstream>
#include <string>
#include <vector>

// The hero's path, one "x y" text line per played frame, and the steps that record, load and
// split those lines. The main routine owns the recorder's stream and the loaded positions.
class Replay {
public:
    static constexpr const char* kDefaultPath = "files/replay.txt";
    static constexpr const char* kTempSuffix = ".tmp";  // the new recording's name until it is in place
    // A recorded line is at most 23 bytes; anything past this is not a recording and is skipped
    // without ever being held whole.
    static constexpr std::size_t kMaxLineBytes = 64 * 1024;
    // About 77 hours at 60 frames a second: far past any run, and 128 MiB of positions at most.
    static constexpr std::size_t kMaxPositions = std::size_t{1} << 24;

    std::string fileName = kDefaultPath;  // the replay file
    std::ofstream out;                    // output stream; closed at construction
    std::ifstream in;                     // input stream; closed at construction

    Replay();

    // Closes this object's output stream.
    void close();

    // Opens out on a new, empty file put in place at path (made as path + kTempSuffix, then renamed
    // over it), so the old file is replaced, never emptied. Anything but a regular file at path is
    // left alone. A failure goes to stderr and leaves out closed, so recording writes nothing. The
    // files folder is never created here.
    static bool startRecording(std::ofstream& out, const std::string& path = kDefaultPath);

    // Writes the line "x y" and flushes. Nothing when out is not open; a failing write is reported
    // once on stderr (the stream stays failed, so later frames write nothing). A line that would
    // pass the size limit for files is not written at all, and told as the limit on path.
    static void record(std::ofstream& out, int x, int y, const std::string& path = kDefaultPath);

    // Reads path line by line into xs and ys, echoing each line twice on stdout: the line itself,
    // then its x text, " " and its y text. Lines the recorder never writes are echoed but skipped.
    // At most maxPositions positions are taken; a longer file is cut there (reported on stderr).
    static void load(const std::string& path, std::vector<int>& xs, std::vector<int>& ys,
                     std::size_t maxPositions = kMaxPositions);

    // The x text runs to the first space (the whole line when there is none); the y text starts
    // after the first space or tab and the blanks that follow it. hasSeparator tells whether the
    // line has a space or tab at all.
    static void splitLine(const std::string& line, std::string& xText, std::string& yText, bool& hasSeparator);

    // One decimal number as the loader reads it: leading white space, an optional sign, digits up
    // to the first non-digit (the rest is ignored). False when there is no digit, the value does
    // not fit 32 bits, or it lies beyond any position the game can reach.
    static bool parseNumber(const std::string& text, int& value);

    // A whole line: true and the position when the recorder could have written it.
    static bool parseLine(const std::string& line, int& x, int& y);
};
