#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <sys/types.h>

// Byte-level helpers shared by the players file, the replay and the saved game: little-endian
// integers, UTF-8-safe name cutting, safe opening, fresh temporary files and the one-line report.
class FileIO {
public:
    // No coordinate the game produces comes near this; anything beyond it in a file is damage.
    static constexpr int64_t kMaxPosition = 1000000000;
    static constexpr mode_t kFileMode = 0644;

    static void putInt32(unsigned char* at, int32_t value);
    static int32_t getInt32(const unsigned char* at);

    // Length of the longest prefix of text, at most limit bytes, that stops before the first zero
    // byte and does not split a UTF-8 character.
    static std::size_t prefixOnBoundary(const std::string& text, std::size_t limit);

    static bool isPlausiblePosition(int64_t value);

    // Opens path with flags, never through a link at the file itself (the folders on the way may
    // be links) and never blocking on a FIFO or device, and keeps it only if it is a regular file;
    // opened to write, also only if it has no other name (a hard link), since writing it would
    // change a file elsewhere. Returns the descriptor, or -1 with error saying why ("... is a FIFO,
    // not a regular file", "... has other links; left alone"); errno is then ENOENT exactly when
    // nothing is there.
    static int openRegular(const std::string& path, int flags, std::string& error);
    // False with error as above when something other than a regular file stands at path; true when
    // a regular file or nothing is there.
    static bool regularOrAbsent(const std::string& path, std::string& error);
    // The same for reading, as a buffered stream; nullptr on failure as above.
    static std::FILE* openForReading(const std::string& path, std::string& error);

    // Creates path anew and empty for writing: whatever stood there (a leftover, a link, a hard
    // link to another file) is removed first and the file is created exclusively, so nothing of
    // the old one can show through. Returns the descriptor, or -1 with error saying why.
    static int createFresh(const std::string& path, std::string& error);
    // Creates path anew (as createFresh) with bytes, flushed to disk. On failure nothing is left at
    // path, error says why and errno is the failure's.
    static bool writeFresh(const std::string& path, const std::string& bytes, std::string& error);
    // Creates a file of its own beside path (in its folder, a name no other writer uses: the
    // process's id and a count, taken exclusively) with bytes, flushed to disk, with mode (a
    // fresh file's mode, less the umask, when mode is 0). made is its name; on failure nothing is
    // left, error says why and errno is the failure's.
    static bool writeTemporary(const std::string& path, const std::string& bytes, mode_t mode, std::string& made,
                               std::string& error);
    // The file a link at path leads to, through every link on the way (a relative one read from
    // its own folder); path itself when it is no link. The end may be missing: a dangling link
    // leads to where its file would be. False with error after too many links (a loop).
    static bool throughLinks(const std::string& path, std::string& end, std::string& error);
    // Renames from over to; false with error (and errno) when it fails. What stood at to, a link
    // included, is replaced, never followed.
    static bool rename(const std::string& from, const std::string& to, std::string& error);
    // Flushes the folder holding path, so the names made in it survive a power cut; false with
    // error (and errno) when the system says it could not.
    static bool syncFolder(const std::string& path, std::string& error);
    // True when the folder holding path is there (a link to a folder counts); false with error
    // naming it when it is missing or not a folder.
    static bool folderThere(const std::string& path, std::string& error);
    // The folder holding path, "." when path names none.
    static std::string folderOf(const std::string& path);
    // Removes path; true when it is gone (also when it was never there).
    static bool removeIfThere(const std::string& path);
    // Cuts what follows the last line end of the regular file at path (one name, not a link), as a
    // write that failed part way leaves it; its lines are short, so only its end is read. True when
    // the file now ends with a whole line, or is empty.
    static bool cutTornLine(const std::string& path);
    // True when path itself (not what a link points at) is a regular file with one name.
    static bool isOwnRegularFile(const std::string& path);

    // Takes an exclusive flock on fd (the file at path), trying for at most kLockWaitMillis: true
    // once held; false with errno EWOULDBLOCK when another holder kept it all that time, or the
    // error of flock.
    static bool lockExclusive(int fd, const std::string& path);
    // Another game holds a lock only while it writes its files; this is far longer than that.
    static constexpr int kLockWaitMillis = 2000;

    // Reads the whole of a small file the player keeps, such as a settings file (a link to it is
    // followed: such files are often links), into text; never blocks on a FIFO or device. False
    // when it is not read: why is then empty when nothing is at path, else says why without the
    // path ("not a regular file", "larger than N bytes", the system's error).
    static bool readSmall(const std::string& path, std::size_t maxBytes, std::string& text, std::string& why);

    // Reads up to size bytes from the start of a regular file; how many were read (0 when it is
    // missing or not a regular file).
    static std::size_t readPrefix(const std::string& path, unsigned char* into, std::size_t size);

    // Why a step on path failed with err: path and the system's words, or, when a file stands where
    // one of path's folders should be (ENOTDIR), that file named.
    static std::string failed(const std::string& path, int err);
    // The first of path's folders that is something other than a folder ("" when none is).
    static std::string notAFolder(const std::string& path);

    // text as it may be shown on a terminal: control characters (C0, DEL, C1), bytes that are not
    // UTF-8 and the backslash itself are written as \xNN (\\ for the backslash), so a quoted name
    // or line can neither drive the terminal nor break the message's one line.
    static std::string printable(const std::string& text);

    // One line on standard error, "bramblehoof: " first, shown as printable; the trace on standard
    // output is untouched.
    static void report(const std::string& message);
    // text without the blanks at either end.
    static std::string trimmed(const std::string& text, const char* blanks = " \t");
    // Reports that a write to path failed with EFBIG: it would have passed the size limit for files
    // (ulimit -f; main ignores SIGXFSZ, so the write fails instead of killing the game). Every later
    // write past the limit fails the same way, so this is told once per process.
    static void reportSizeLimit(const std::string& path);
    // Whether that was told; a test puts it back to see it told again.
    static bool sizeLimitTold;

    // The steps that change a file, in the order a writer takes them.
    // Sync is a file's flush, SyncFolder its folder's; Lock comes after each try to take a lock
    // that found it held (a non-zero return then gives up waiting).
    enum class Step { Remove, Create, Write, Sync, SyncFolder, Rename, Cut, Append, Lock };
    // Test seam: when set, it is called before each step with the file concerned; a non-zero
    // return makes that step fail with that errno. The game never sets it.
    static std::function<int(Step, const std::string&)> beforeStep;
    // Runs the seam for one step: 0 to go on, or the errno the step fails with.
    static int stepFault(Step step, const std::string& path);
};
