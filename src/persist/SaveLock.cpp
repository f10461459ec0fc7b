#include "persist/SaveLock.h"

#include "persist/FileIO.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The lock this game holds and how many SaveLocks hold it. Per thread: the game saves from its one
// thread, and a test plays two games as two threads.
thread_local std::string heldPath;
thread_local int holders = 0;

}  // namespace

SaveLock::SaveLock(const std::string& savePath) {
    const std::string path = FileIO::folderOf(savePath) + "/" + kFileName;
    if (holders > 0 && path == heldPath) {
        nested = true;
        ++holders;
        return;
    }
    // Opened only to read: a lock needs no writing, so even a second name of the file stays as it is.
    const int opened = FileIO::openRegular(path, O_RDONLY | O_CREAT, why);
    if (opened < 0) {
        std::string standing;
        if (!FileIO::regularOrAbsent(path, standing)) {
            // The game never removes what it did not make, so only the player can clear the way.
            why += "; remove it and the game saves again";
        }
        return;
    }
    if (!FileIO::lockExclusive(opened, path)) {
        othersHold = errno == EWOULDBLOCK;
        why = othersHold
                  ? "another game kept " + path + " locked for " + std::to_string(FileIO::kLockWaitMillis / 1000) + " s"
                  : path + ": " + std::strerror(errno);
        ::close(opened);
        return;
    }
    fd = opened;
    heldPath = path;
    holders = 1;
}

SaveLock::~SaveLock() {
    if (nested) {
        --holders;
    } else if (fd >= 0) {
        ::close(fd);  // releases the lock
        holders = 0;
        heldPath.clear();
    }
}
