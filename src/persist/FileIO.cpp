#include "persist/FileIO.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kMaxContinuationBytes = 3;  // a UTF-8 character has at most three after its lead byte
constexpr int kLockPauseMillis = 10;      // between two tries for a lock: short against the wait
constexpr int kTemporaryTries = 100;      // names tried for a temporary before giving up
constexpr int kMaxLinks = 40;             // links followed to a file, as the system itself allows

bool isContinuationByte(unsigned char c) { return (c & 0xC0) == 0x80; }

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

// What stands at path, as words for a message.
std::string kindOf(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "a folder";
    }
    if (S_ISLNK(mode)) {
        return "a link";
    }
    if (S_ISFIFO(mode)) {
        return "a FIFO";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "a device";
    }
    return "a special file";
}

std::string notRegular(const std::string& path, mode_t mode) {
    return path + " is " + kindOf(mode) + ", not a regular file";
}

bool writesTo(int flags) { return (flags & O_ACCMODE) != O_RDONLY; }

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
    return bits <= 0x7FFFFFFFu ? static_cast<int32_t>(bits) : static_cast<int32_t>(bits - 0x80000000u) + INT32_MIN;
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
    while (cut > 0 && steps < kMaxContinuationBytes && isContinuationByte(static_cast<unsigned char>(text[cut]))) {
        --cut;
        ++steps;
    }
    if (isContinuationByte(static_cast<unsigned char>(text[cut]))) {
        return limit;
    }
    return cut;
}

bool FileIO::isPlausiblePosition(int64_t value) { return value >= -kMaxPosition && value <= kMaxPosition; }

std::function<int(FileIO::Step, const std::string&)> FileIO::beforeStep;

int FileIO::stepFault(Step step, const std::string& path) { return beforeStep ? beforeStep(step, path) : 0; }

int FileIO::openRegular(const std::string& path, int flags, std::string& error) {
    const int fd = ::open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, kFileMode);
    if (fd < 0) {
        const int saved = errno;
        struct stat there;
        // ELOOP is the link at the file; ENXIO a FIFO with no reader; EISDIR a folder opened to write.
        if (saved != ENOENT && ::lstat(path.c_str(), &there) == 0 && !S_ISREG(there.st_mode)) {
            error = notRegular(path, there.st_mode);
        } else {
            error = failed(path, saved);
        }
        errno = saved;
        return -1;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        error = failed(path, errno);
        ::close(fd);
        errno = EIO;
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        error = notRegular(path, info.st_mode);
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    // Another name of the same file may lie outside files/: writing here would change it there.
    if (writesTo(flags) && info.st_nlink > 1) {
        error = path + " has other links; left alone";
        ::close(fd);
        errno = EMLINK;
        return -1;
    }
    // A regular file never blocks; drop the flag so the reads and writes that follow are plain.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::FILE* FileIO::openForReading(const std::string& path, std::string& error) {
    const int fd = openRegular(path, O_RDONLY, error);
    if (fd < 0) {
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "rb");
    if (file == nullptr) {
        error = failed(path, errno);
        ::close(fd);
    }
    return file;
}

bool FileIO::removeIfThere(const std::string& path) {
    const int fault = stepFault(Step::Remove, path);
    if (fault != 0) {
        errno = fault;
        return false;
    }
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool FileIO::cutTornLine(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    constexpr off_t kTail = 4096;  // far longer than any line cut this way
    struct stat info {};
    bool cut = false;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_nlink == 1) {
        const off_t from = info.st_size > kTail ? info.st_size - kTail : 0;
        std::string tail(static_cast<std::size_t>(info.st_size - from), '\0');
        const ssize_t got = ::pread(fd, &tail[0], tail.size(), from);
        const std::size_t end = tail.rfind('\n');
        // No line end in a long file's tail: not a file of short lines, left as it is.
        if (got == static_cast<ssize_t>(tail.size()) && (end != std::string::npos || from == 0)) {
            const off_t whole = end == std::string::npos ? 0 : from + static_cast<off_t>(end) + 1;
            cut = whole == info.st_size || (stepFault(Step::Cut, path) == 0 && ::ftruncate(fd, whole) == 0);
        }
    }
    ::close(fd);
    return cut;
}

bool FileIO::isOwnRegularFile(const std::string& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_nlink == 1;
}

bool FileIO::regularOrAbsent(const std::string& path, std::string& error) {
    struct stat there;
    if (::lstat(path.c_str(), &there) == 0 && !S_ISREG(there.st_mode)) {
        error = notRegular(path, there.st_mode);
        return false;
    }
    return true;
}

int FileIO::createFresh(const std::string& path, std::string& error) {
    const int fault = stepFault(Step::Create, path);
    // A leftover is never reused: unlinking drops a link or a second name without touching what
    // it points at, and O_EXCL with O_NOFOLLOW refuses anything that appears meanwhile.
    const int fd = fault != 0 || !removeIfThere(path)
                       ? -1
                       : ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kFileMode);
    if (fd < 0) {
        error = failed(path, fault != 0 ? fault : errno);
    }
    return fd;
}

bool FileIO::writeFresh(const std::string& path, const std::string& bytes, std::string& error) {
    const int fd = createFresh(path, error);
    if (fd < 0) {
        return false;
    }
    int fault = stepFault(Step::Write, path);
    bool ok = fault == 0 && writeAll(fd, bytes);
    if (ok) {
        fault = stepFault(Step::Sync, path);
        ok = fault == 0 && ::fsync(fd) == 0;
    }
    int saved = fault != 0 ? fault : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        saved = errno;
    }
    if (!ok) {
        ::unlink(path.c_str());
        error = failed(path, saved);
        errno = saved;
    }
    return ok;
}

bool FileIO::writeTemporary(const std::string& path, const std::string& bytes, mode_t mode, std::string& made,
                            std::string& error) {
    static unsigned count = 0;
    int fd = -1;
    int failure = 0;
    // Another process's leftover may hold a name: the next count is tried, never the leftover.
    for (int tries = 0; tries < kTemporaryTries && fd < 0; ++tries) {
        made = path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(++count);
        failure = stepFault(Step::Create, made);
        fd = failure != 0 ? -1 : ::open(made.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kFileMode);
        failure = fd >= 0 ? 0 : failure != 0 ? failure : errno;
        if (failure != EEXIST) {
            break;
        }
    }
    if (fd < 0) {
        error = failed(made, failure);
        errno = failure;
        return false;
    }
    failure = mode != 0 && ::fchmod(fd, mode) != 0 ? errno : 0;
    failure = failure != 0 ? failure : stepFault(Step::Write, made);
    if (failure == 0 && !writeAll(fd, bytes)) {
        failure = errno;
    }
    failure = failure != 0 ? failure : stepFault(Step::Sync, made);
    if (failure == 0 && ::fsync(fd) != 0) {
        failure = errno;
    }
    if (::close(fd) != 0 && failure == 0) {
        failure = errno;
    }
    if (failure != 0) {
        ::unlink(made.c_str());
        error = failed(made, failure);
        errno = failure;
        return false;
    }
    return true;
}

bool FileIO::throughLinks(const std::string& path, std::string& end, std::string& error) {
    end = path;
    for (int links = 0; links <= kMaxLinks; ++links) {
        struct stat info;
        if (::lstat(end.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return true;
        }
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(end.c_str(), &target[0], target.size());
        if (n < 0) {
            error = failed(end, errno);
            return false;
        }
        target.resize(static_cast<std::size_t>(n));
        end = target[0] == '/' ? target : folderOf(end) + "/" + target;
    }
    error = failed(path, ELOOP);
    return false;
}

bool FileIO::rename(const std::string& from, const std::string& to, std::string& error) {
    const int fault = stepFault(Step::Rename, to);
    if (fault != 0 || std::rename(from.c_str(), to.c_str()) != 0) {
        const int failure = fault != 0 ? fault : errno;
        error = failed(to, failure);
        errno = failure;
        return false;
    }
    return true;
}

bool FileIO::syncFolder(const std::string& path, std::string& error) {
    const std::string folder = folderOf(path);
    int failure = stepFault(Step::SyncFolder, folder);
    if (failure == 0) {
        const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir < 0 || ::fsync(dir) != 0) {
            failure = errno;
        }
        if (dir >= 0) {
            ::close(dir);
        }
    }
    // Some file systems cannot flush a folder at all; their names are as safe as they get.
    if (failure != 0 && failure != EINVAL) {
        error = failed(folder, failure);
        errno = failure;
        return false;
    }
    return true;
}

std::string FileIO::failed(const std::string& path, int err) {
    const std::string blocking = err == ENOTDIR ? notAFolder(path) : "";
    return blocking.empty() ? path + ": " + std::strerror(err) : blocking + " is a file, not a folder";
}

std::string FileIO::notAFolder(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        struct stat info {};
        if (::stat(folder.c_str(), &info) != 0) {
            return errno == ENOTDIR ? folder : "";  // missing: nothing further along is there either
        }
        if (!S_ISDIR(info.st_mode)) {
            return folder;
        }
    }
    return "";
}

bool FileIO::folderThere(const std::string& path, std::string& error) {
    const std::string folder = folderOf(path);
    struct stat info;
    if (::stat(folder.c_str(), &info) != 0) {
        error = errno == ENOENT ? "the folder " + folder + " is missing" : failed(folder, errno);
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        error = folder + " is not a folder";
        return false;
    }
    return true;
}

std::string FileIO::folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool FileIO::lockExclusive(int fd, const std::string& path) {
    for (int waited = 0;; waited += kLockPauseMillis) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            return true;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EWOULDBLOCK) {
            return false;
        }
        const int fault = stepFault(Step::Lock, path);
        if (fault != 0 || waited >= kLockWaitMillis) {
            errno = fault != 0 ? fault : EWOULDBLOCK;
            return false;
        }
        ::usleep(kLockPauseMillis * 1000);
    }
}

bool FileIO::readSmall(const std::string& path, std::size_t maxBytes, std::string& text, std::string& why) {
    text.clear();
    why.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int failure = errno;
        const std::string blocking = failure == ENOTDIR ? notAFolder(path) : "";
        if (!blocking.empty()) {
            why = blocking + " is a file, not a folder";
        } else if (failure != ENOENT) {
            why = std::strerror(failure);
        }
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        why = std::strerror(errno);
    } else if (!S_ISREG(info.st_mode)) {
        why = "not a regular file";
    } else if (static_cast<std::size_t>(info.st_size) > maxBytes) {
        why = "larger than " + std::to_string(maxBytes) + " bytes";
    }
    if (why.empty()) {
        // The size told is all that is read, so a file still growing cannot pass the bound.
        text.resize(static_cast<std::size_t>(info.st_size));
        std::size_t got = 0;
        while (got < text.size()) {
            const ssize_t n = ::read(fd, &text[got], text.size() - got);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                if (n < 0) {
                    why = std::strerror(errno);
                }
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        text.resize(got);
    }
    ::close(fd);
    if (!why.empty()) {
        text.clear();
        return false;
    }
    return true;
}

std::size_t FileIO::readPrefix(const std::string& path, unsigned char* into, std::size_t size) {
    std::string error;
    std::FILE* file = openForReading(path, error);
    if (file == nullptr) {
        return 0;
    }
    const std::size_t got = std::fread(into, 1, size, file);
    std::fclose(file);
    return got;
}

namespace {

// Bytes in the UTF-8 character that starts at text[at], or 0 when none starts there (a stray
// continuation byte, a cut, overlong or surrogate form, or a code point past U+10FFFF).
std::size_t utf8Length(const std::string& text, std::size_t at, uint32_t& code) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    uint32_t least = 0;  // the smallest code point that needs this many bytes
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        least = 0x10000;
    } else {
        return 0;
    }
    code = lead & (0x7Fu >> length);  // the lead's own bits
    if (text.size() - at < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = static_cast<unsigned char>(text[at + i]);
        if (!isContinuationByte(next)) {
            return 0;
        }
        code = (code << 6) | (next & 0x3Fu);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < least || surrogate || code > 0x10FFFF ? 0 : length;
}

bool isControl(uint32_t code) { return code < 0x20 || (code >= 0x7F && code <= 0x9F); }

void appendEscaped(std::string& out, const std::string& bytes) {
    static const char kHex[] = "0123456789abcdef";
    for (const char c : bytes) {
        const unsigned char byte = static_cast<unsigned char>(c);
        out += "\\x";
        out += kHex[byte >> 4];
        out += kHex[byte & 0x0F];
    }
}

}  // namespace

std::string FileIO::printable(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        uint32_t code = 0;
        const std::size_t length = utf8Length(text, at, code);
        if (length == 0) {
            appendEscaped(out, text.substr(at, 1));
            ++at;
            continue;
        }
        if (code == '\\') {
            out += "\\\\";
        } else if (isControl(code)) {
            appendEscaped(out, text.substr(at, length));
        } else {
            out.append(text, at, length);
        }
        at += length;
    }
    return out;
}

std::string FileIO::trimmed(const std::string& text, const char* blanks) {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

void FileIO::report(const std::string& message) { std::cerr << "bramblehoof: " << printable(message) << std::endl; }

bool FileIO::sizeLimitTold = false;

void FileIO::reportSizeLimit(const std::string& path) {
    if (sizeLimitTold) {
        return;
    }
    sizeLimitTold = true;
    report(path +
           ": the size limit for files (ulimit -f) is reached; what would pass it (a score, a save, a replay) is "
           "not written, and the files already there stay whole");
}
