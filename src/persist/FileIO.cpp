#include "persist/FileIO.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kMaxContinuationBytes = 3;  // a UTF-8 character has at most three after its lead byte
constexpr mode_t kFileMode = 0644;

bool isContinuationByte(unsigned char c) { return (c & 0xC0) == 0x80; }

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

void FileIO::putInt32(unsigned char* at, int32_t value) {
    const uint32_t bits = static_cast<uint32_t>(value);
    at[0] = static_cast<unsigned char>(bits & 0xFFu);
    at[1] = static_cast<unsigned char>((bits >> 8) & 0xFFu);
    at[2] = static_cast<unsigned char>((bits >> 16) & 0xFFu);
    at[3] = static_cast<unsigned char>((bits >> 24) & 0xFFu);
}

int32_t FileIO::getInt32(const unsigned char* at) {
    const uint32_t bits = static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) |
                          (static_cast<uint32_t>(at[2]) << 16) | (static_cast<uint32_t>(at[3]) << 24);
    // Two's complement without relying on an implementation-defined narrowing.
    return bits <= 0x7FFFFFFFu ? static_cast<int32_t>(bits)
                               : static_cast<int32_t>(bits - 0x80000000u) + INT32_MIN;
}

std::size_t FileIO::prefixOnBoundary(const std::string& text, std::size_t limit) {
    std::size_t length = text.find('\0');
    if (length == std::string::npos) {
        length = text.size();
    }
    if (length <= limit) {
        return length;
    }
    // Back up over the continuation bytes of the character that would be split; more than three
    // in a row is not UTF-8 at all, and then a plain byte cut is as good as any.
    std::size_t cut = limit;
    int steps = 0;
    while (cut > 0 && steps < kMaxContinuationBytes &&
           isContinuationByte(static_cast<unsigned char>(text[cut]))) {
        --cut;
        ++steps;
    }
    if (isContinuationByte(static_cast<unsigned char>(text[cut]))) {
        return limit;
    }
    return cut;
}

bool FileIO::isPlausiblePosition(int64_t value) { return value >= -kMaxPosition && value <= kMaxPosition; }

bool FileIO::replaceFile(const std::string& path, const std::string& bytes, std::string& error) {
    // A fixed temporary name: a leftover from a crash is simply overwritten by the next save.
    const std::string temp = path + kTempSuffix;
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, kFileMode);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    int saved = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        saved = errno;
    }
    if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        saved = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        error = std::strerror(saved);
        return false;
    }
    // Make the rename itself durable; the data is already safe, so a failure here changes nothing.
    const int dir = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

std::size_t FileIO::readPrefix(const std::string& path, unsigned char* into, std::size_t size) {
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
        return 0;
    }
    in.read(reinterpret_cast<char*>(into), static_cast<std::streamsize>(size));
    return static_cast<std::size_t>(in.gcount());
}

void FileIO::report(const std::string& message) {
    std::cerr << "Bramblehoof: " << message << std::endl;
}
