#include "persist/SaveLock.h"

#include "persist/FileIO.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <unistd.h>

namespace {

// The locks this game holds, by lock file, and how many SaveLocks hold each. Per thread: the game
// saves from its one thread, and a test plays two games as two threads.
thread_local std::map<std::string, int> holders;

}  // namespace

SaveLock::SaveLock(const std::string& savePath) {
    path = FileIO::folderOf(savePath) + "/" + kFileName;
    const auto holding = holders.find(path);
    if (holding != holders.end()) {
        nested = true;
        ++holding->second;
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
    holders[path] = 1;
}

SaveLock::~SaveLock() {
    const auto holding = holders.find(path);
    if (nested) {
        if (holding != holders.end()) {
            --holding->second;
        }
    } else if (fd >= 0) {
        ::close(fd);  // releases the lock, whoever still counts on it
        if (holding != holders.end()) {
            holders.erase(holding);
        }
    }
}
