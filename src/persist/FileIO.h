#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Byte-level helpers shared by the players file, the replay and the saved game: little-endian
// integers, UTF-8-safe name cutting, the crash-safe file replacement and the one-line error report.
class FileIO {
public:
    // No coordinate the game produces comes near this; anything beyond it in a file is damage.
    static constexpr int64_t kMaxPosition = 1000000000;

    static void putInt32(unsigned char* at, int32_t value);
    static int32_t getInt32(const unsigned char* at);

    // Length of the longest prefix of text, at most limit bytes, that stops before the first zero
    // byte and does not split a UTF-8 character.
    static std::size_t prefixOnBoundary(const std::string& text, std::size_t limit);

    static bool isPlausiblePosition(int64_t value);

    // Replaces path with bytes so that a crash leaves either the old or the new content: the bytes
    // go to path + kTempSuffix in the same folder, are flushed to disk, then renamed over path.
    // On failure the old file is untouched, the temporary file is removed and error says why.
    static bool replaceFile(const std::string& path, const std::string& bytes, std::string& error);
    static constexpr const char* kTempSuffix = ".tmp";

    // Reads up to size bytes from the start of path; returns how many were read (0 when missing).
    static std::size_t readPrefix(const std::string& path, unsigned char* into, std::size_t size);

    // One line on standard error; the console trace on standard output is never touched.
    static void report(const std::string& message);
};
