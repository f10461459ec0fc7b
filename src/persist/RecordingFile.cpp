#include "persist/RecordingFile.h"

#include "persist/FileIO.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kTries = 16;  // names taken by other processes' leftovers are passed over

}  // namespace

RecordingFile::~RecordingFile() { abandon(); }

bool RecordingFile::open(const std::string& to, std::string& error) {
    abandon();
    path = to;
    const std::string folder = FileIO::folderOf(path);
    std::string none;
    if (!FileIO::folderThere(path, none)) {
        // The recordings' own folder is made beside the game's files; never the files folder itself.
        std::string parent;
        if (!FileIO::folderThere(folder, parent)) {
            error = parent;
            return false;
        }
        if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) {
            error = folder + ": " + std::strerror(errno);
            return false;
        }
    }
    static unsigned count = 0;
    int failure = 0;
    for (int tries = 0; tries < kTries && fd < 0; ++tries) {
        temporary = path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(++count);
        failure = FileIO::stepFault(FileIO::Step::Create, temporary);
        fd = failure != 0
                 ? -1
                 : ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, FileIO::kFileMode);
        failure = fd >= 0 ? 0 : failure != 0 ? failure : errno;
        if (failure != EEXIST) {
            break;
        }
    }
    if (fd < 0) {
        error = temporary + ": " + std::strerror(failure);
        return false;
    }
    return true;
}

bool RecordingFile::append(const std::string& bytes, std::string& error) {
    if (fd < 0) {
        error = path + ": not open";
        return false;
    }
    int failure = FileIO::stepFault(FileIO::Step::Write, temporary);
    for (std::size_t done = 0; failure == 0 && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            failure = n < 0 ? errno : EIO;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (failure != 0) {
        error = temporary + ": " + std::strerror(failure);
        pastLimit = failure == EFBIG;
        abandon();
        return false;
    }
    return true;
}

bool RecordingFile::finish(std::string& error) {
    if (fd < 0) {
        error = path + ": not open";
        return false;
    }
    int failure = FileIO::stepFault(FileIO::Step::Sync, temporary);
    if (failure == 0 && ::fsync(fd) != 0) {
        failure = errno;
    }
    if (::close(fd) != 0 && failure == 0) {
        failure = errno;
    }
    fd = -1;
    if (failure != 0) {
        error = temporary + ": " + std::strerror(failure);
        ::unlink(temporary.c_str());
        return false;
    }
    if (!FileIO::rename(temporary, path, error)) {
        ::unlink(temporary.c_str());
        return false;
    }
    temporary.clear();
    std::string notFlushed;
    FileIO::syncFolder(path, notFlushed);  // the recording stands either way
    return true;
}

void RecordingFile::abandon() {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
    if (!temporary.empty()) {
        ::unlink(temporary.c_str());
        temporary.clear();
    }
}
