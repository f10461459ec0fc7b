#pragma once

#include <string>

// One game at a time writes or reads the saved game: an exclusive lock on a file of its own
// beside the save (the save's files are replaced on every save, so a lock on them would not hold).
// Taken for as long as the object lives; the lock file is never written and never removed. A game
// that holds it already (a resume that starts its recording) holds it again at once: a second
// lock of its own would wait for itself.
class SaveLock {
public:
    static constexpr const char* kFileName = "save.lock";

    // Locks the lock file in the folder of savePath, waiting at most FileIO::kLockWaitMillis for
    // another game to release it.
    explicit SaveLock(const std::string& savePath);
    ~SaveLock();
    SaveLock(const SaveLock&) = delete;
    SaveLock& operator=(const SaveLock&) = delete;

    // True when this game holds the lock.
    bool held() const { return fd >= 0 || nested; }
    // True when another game held the lock all the time allowed.
    bool busy() const { return othersHold; }
    // Why the lock is not held, for a message; when something other than a regular file stands at
    // the lock file's name, it names it and says to remove it.
    const std::string& problem() const { return why; }

private:
    std::string path;         // the lock file
    int fd = -1;              // the locked lock file, or -1
    bool nested = false;      // held through an outer lock of this game's
    bool othersHold = false;  // another game kept the lock past the wait
    std::string why;          // what went wrong, empty when held
};
