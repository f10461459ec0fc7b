#include "persist/Player.h"

#include "persist/FileIO.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr mode_t kFileMode = 0644;
constexpr std::size_t kMaxNameLength = PlayerRecord::kNameBytes - 1;  // room for the zero byte

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
    record.score = FileIO::getInt32(bytes + kScoreOffset);
    return record;
}

Player::Player(std::string filePath) : path(std::move(filePath)) {}

void Player::getEnemyP() { score += kEnemyPoints; }

void Player::getBullP() { score += kBullPoints; }

void Player::NewPlayer(std::string playerName) {
    std::memset(name, 0, sizeof name);
    std::memcpy(name, playerName.data(), FileIO::prefixOnBoundary(playerName, kMaxNameLength));

    PlayerRecord record;
    record.name = name;
    record.score = score;
    unsigned char bytes[PlayerRecord::kSize];
    record.encode(bytes);

    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, kFileMode);
    if (fd < 0) {
        FileIO::report("cannot record the player in " + path + ": " + std::strerror(errno));
        return;
    }
    // A run that died mid-write leaves fewer than 56 bytes at the end; cutting them keeps the
    // records that follow aligned. Whole records are never touched.
    struct stat info;
    off_t whole = 0;
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (regular) {
        whole = info.st_size - info.st_size % static_cast<off_t>(PlayerRecord::kSize);
        if (whole != info.st_size && ::ftruncate(fd, whole) != 0) {
            FileIO::report("cannot repair " + path + ": " + std::strerror(errno));
            ::close(fd);
            return;
        }
    }
    std::size_t done = 0;
    int failure = 0;
    while (done < sizeof bytes) {
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
        if (regular && done > 0) {
            // Take back a partial record rather than leave a torn tail for the next run.
            if (::ftruncate(fd, whole) != 0) {
                // Nothing more can be done; the next append cuts the fragment.
            }
        }
        FileIO::report("cannot record the player in " + path + ": " + std::strerror(failure));
    }
    ::close(fd);
}

void Player::GetAll() const {
    for (const PlayerRecord& record : readAll(path)) {
        std::cout << "\n" << record.score << "\n" << record.name;
    }
    // Written also for an empty or missing file: it closes the listing.
    std::cout << "  \n";
}

std::vector<PlayerRecord> Player::readAll(const std::string& filePath) {
    std::vector<PlayerRecord> records;
    std::ifstream in(filePath, std::ios::binary);
    unsigned char bytes[PlayerRecord::kSize];
    while (in.read(reinterpret_cast<char*>(bytes), sizeof bytes)) {
        records.push_back(PlayerRecord::decode(bytes));
    }
    return records;
}
