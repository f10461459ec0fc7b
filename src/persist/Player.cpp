#include "persist/Player.h"

#include "persist/FileIO.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <cstdio>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr std::size_t kMaxNameLength = PlayerRecord::kNameBytes - 1;  // room for the zero byte
constexpr std::size_t kRecordsPerBlock = 4096;                        // about 224 KiB read at a time

}  // namespace

void PlayerRecord::encode(unsigned char* into) const {
    std::memset(into, 0, kSize);
    const std::size_t length = FileIO::prefixOnBoundary(name, kMaxNameLength);
    std::memcpy(into, name.data(), length);
    FileIO::putInt32(into + kScoreOffset, score);
}

PlayerRecord PlayerRecord::decode(const unsigned char* bytes) {
    PlayerRecord record;
    const void* zero = std::memchr(bytes, 0, kNameBytes);
    const std::size_t length =
        zero == nullptr ? kNameBytes : static_cast<std::size_t>(static_cast<const unsigned char*>(zero) - bytes);
    record.name.assign(reinterpret_cast<const char*>(bytes), length);
    record.score = scoreOf(bytes);
    return record;
}

int32_t PlayerRecord::scoreOf(const unsigned char* bytes) { return FileIO::getInt32(bytes + kScoreOffset); }

Player::Player(std::string filePath) : path(std::move(filePath)) {}

void Player::getEnemyP() { score += kEnemyPoints; }

void Player::getBullP() { score += kBullPoints; }

void Player::NewPlayer(std::string playerName) {
    recorded = false;
    std::memset(name, 0, sizeof name);
    std::memcpy(name, playerName.data(), FileIO::prefixOnBoundary(playerName, kMaxNameLength));

    PlayerRecord record;
    record.name = name;
    record.score = score;
    unsigned char bytes[PlayerRecord::kSize];
    record.encode(bytes);

    std::string error;
    const int fd = FileIO::openRegular(path, O_WRONLY | O_CREAT | O_APPEND, error);
    if (fd < 0) {
        FileIO::report("cannot record the player: " + error);
        return;
    }
    // Unlocked, a cut could remove the record another game has just appended; O_APPEND alone
    // still keeps whole appends apart, so without the lock the record goes in uncut.
    const bool locked = FileIO::lockExclusive(fd, path);
    if (!locked) {
        FileIO::report("cannot lock " + path + " (" + std::strerror(errno) + "); appending without repairing it");
    }
    // A run that died mid-write leaves fewer than 56 bytes at the end; cutting them keeps the
    // records that follow aligned. Whole records are never touched.
    struct stat info;
    off_t whole = 0;
    const bool known = locked && ::fstat(fd, &info) == 0;
    if (known) {
        whole = info.st_size - info.st_size % static_cast<off_t>(PlayerRecord::kSize);
        if (whole != info.st_size) {
            const int fault = FileIO::stepFault(FileIO::Step::Cut, path);
            if (fault != 0 || ::ftruncate(fd, whole) != 0) {
                FileIO::report("cannot repair " + path + ": " + std::strerror(fault != 0 ? fault : errno));
                ::close(fd);
                return;
            }
            FileIO::report(path + ": the torn end of an earlier record, " + std::to_string(info.st_size - whole) +
                           " byte(s), was cut");
        }
    }
    std::size_t done = 0;
    int failure = FileIO::stepFault(FileIO::Step::Append, path);
    while (failure == 0 && done < sizeof bytes) {
        const ssize_t n = ::write(fd, bytes + done, sizeof bytes - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            failure = n < 0 ? errno : ENOSPC;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (failure == 0 && ::fsync(fd) != 0 && errno != EINVAL) {
        failure = errno;
    }
    if (failure != 0) {
        if (known && done > 0) {
            // Take back a partial record rather than leave a torn tail for the next run.
            if (::ftruncate(fd, whole) != 0) {
                // Nothing more can be done; the next append cuts the fragment.
            }
        }
        if (failure == EFBIG) {
            FileIO::reportSizeLimit(path);
        } else {
            FileIO::report("cannot record the player in " + path + ": " + std::strerror(failure));
        }
    }
    recorded = failure == 0;
    ::close(fd);  // releases the lock
}

void Player::GetAll() const {
    std::string error;
    const bool readable = forEachRecord(
        path,
        [](const unsigned char* bytes) {
            const PlayerRecord record = PlayerRecord::decode(bytes);
            std::cout << "\n" << record.score << "\n" << record.name;
        },
        error);
    // Written also for an empty or missing file: it closes the listing.
    std::cout << "  \n";
    if (!readable) {
        FileIO::report("cannot list the players: " + error);
    }
}

bool Player::forEachRecord(const std::string& filePath, const std::function<void(const unsigned char*)>& visit,
                           std::string& error) {
    return forEachRecordWhile(
        filePath,
        [&visit](const unsigned char* bytes) {
            visit(bytes);
            return true;
        },
        error);
}

bool Player::forEachRecordWhile(const std::string& filePath, const std::function<bool(const unsigned char*)>& visit,
                                std::string& error) {
    std::FILE* file = FileIO::openForReading(filePath, error);
    if (file == nullptr) {
        return errno == ENOENT;
    }
    std::vector<unsigned char> block(PlayerRecord::kSize * kRecordsPerBlock);
    std::size_t kept = 0;  // bytes of a record begun in the previous block
    for (;;) {
        const std::size_t got = std::fread(block.data() + kept, 1, block.size() - kept, file);
        const std::size_t have = kept + got;
        const std::size_t records = have / PlayerRecord::kSize;
        bool goOn = true;
        for (std::size_t i = 0; i < records && goOn; ++i) {
            goOn = visit(block.data() + i * PlayerRecord::kSize);
        }
        kept = have - records * PlayerRecord::kSize;
        if (got == 0 || !goOn) {
            break;
        }
        std::memmove(block.data(), block.data() + records * PlayerRecord::kSize, kept);
    }
    std::fclose(file);
    return true;
}

std::vector<PlayerRecord> Player::readAll(const std::string& filePath) {
    std::vector<PlayerRecord> records;
    std::string error;
    forEachRecord(
        filePath, [&](const unsigned char* bytes) { records.push_back(PlayerRecord::decode(bytes)); }, error);
    return records;
}
