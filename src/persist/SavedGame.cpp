#include "persist/SavedGame.h"

#include "persist/FileIO.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iostream>

namespace {

constexpr std::size_t kMaxNameLength = SavedGame::kNameSlotBytes - 1;  // room for the zero byte

// Offsets of the numbers in the hero's record and in an enemy record.
constexpr std::size_t kX = 0;
constexpr std::size_t kY = 4;
constexpr std::size_t kHealth = 8;
constexpr std::size_t kLevel = 12;
constexpr std::size_t kEnemiesKilled = 16;
constexpr std::size_t kBullsCollected = 20;
constexpr std::size_t kEnemyCount = 24;
constexpr std::size_t kBullCount = 28;

bool saveFile(const std::string& path, const std::string& bytes) {
    std::string error;
    if (!FileIO::replaceFile(path, bytes, error)) {
        FileIO::report("cannot save the game in " + path + ": " + error);
        return false;
    }
    return true;
}

std::string outOfRange(const char* what, int32_t value, int32_t low, int32_t high) {
    return std::string("saved ") + what + " " + std::to_string(value) + " is outside " + std::to_string(low) +
           " to " + std::to_string(high);
}

}  // namespace

void SavedGame::encodePlayer(const resPl& record, unsigned char* into) {
    std::memset(into, 0, kPlayerRecordSize);
    FileIO::putInt32(into + kX, record.x);
    FileIO::putInt32(into + kY, record.y);
    FileIO::putInt32(into + kHealth, record.health);
    FileIO::putInt32(into + kLevel, record.level);
    FileIO::putInt32(into + kEnemiesKilled, record.enemiesKilled);
    FileIO::putInt32(into + kBullsCollected, record.bullsCollected);
    FileIO::putInt32(into + kEnemyCount, record.enemyCount);
    FileIO::putInt32(into + kBullCount, record.bullCount);
    std::memcpy(into + kNameOffset, record.name.data(), FileIO::prefixOnBoundary(record.name, kMaxNameLength));
}

resPl SavedGame::decodePlayer(const unsigned char* bytes) {
    resPl record;
    record.x = FileIO::getInt32(bytes + kX);
    record.y = FileIO::getInt32(bytes + kY);
    record.health = FileIO::getInt32(bytes + kHealth);
    record.level = FileIO::getInt32(bytes + kLevel);
    record.enemiesKilled = FileIO::getInt32(bytes + kEnemiesKilled);
    record.bullsCollected = FileIO::getInt32(bytes + kBullsCollected);
    record.enemyCount = FileIO::getInt32(bytes + kEnemyCount);
    record.bullCount = FileIO::getInt32(bytes + kBullCount);
    return record;
}

void SavedGame::encodeEnemy(const resEn& record, unsigned char* into) {
    FileIO::putInt32(into + kX, record.x);
    FileIO::putInt32(into + kY, record.y);
    FileIO::putInt32(into + kHealth, record.health);
}

resEn SavedGame::decodeEnemy(const unsigned char* bytes) {
    resEn record;
    record.x = FileIO::getInt32(bytes + kX);
    record.y = FileIO::getInt32(bytes + kY);
    record.health = FileIO::getInt32(bytes + kHealth);
    return record;
}

bool SavedGame::writePlayer(const resPl& record, const std::string& path) {
    std::string bytes(kPlayerRecordSize, '\0');
    encodePlayer(record, reinterpret_cast<unsigned char*>(&bytes[0]));
    return saveFile(path, bytes);
}

bool SavedGame::writeEnemies(const std::vector<resEn>& records, const std::string& path) {
    std::string bytes(records.size() * kEnemyRecordSize, '\0');
    for (std::size_t i = 0; i < records.size(); ++i) {
        encodeEnemy(records[i], reinterpret_cast<unsigned char*>(&bytes[i * kEnemyRecordSize]));
    }
    return saveFile(path, bytes);
}

bool SavedGame::validatePlayer(const resPl& record, std::string& reason) {
    if (record.level < kMinLevel || record.level > kMaxLevel) {
        reason = outOfRange("level", record.level, kMinLevel, kMaxLevel);
        return false;
    }
    if (record.enemyCount < 0 || record.enemyCount > kMaxSlots) {
        reason = outOfRange("enemy count", record.enemyCount, 0, kMaxSlots);
        return false;
    }
    if (record.bullCount < 0 || record.bullCount > kMaxSlots) {
        reason = outOfRange("bull count", record.bullCount, 0, kMaxSlots);
        return false;
    }
    if (!FileIO::isPlausiblePosition(record.x) || !FileIO::isPlausiblePosition(record.y)) {
        reason = "saved hero position (" + std::to_string(record.x) + ", " + std::to_string(record.y) +
                 ") is out of reach";
        return false;
    }
    return true;
}

bool SavedGame::readPlayer(resPl& record, std::string& reason, const std::string& path) {
    unsigned char bytes[kPlayerRecordSize];
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
        reason = "no saved game: " + path + " cannot be read";
        return false;
    }
    in.read(reinterpret_cast<char*>(bytes), sizeof bytes);
    const std::size_t got = static_cast<std::size_t>(in.gcount());
    if (got < kPlayerRecordSize) {
        reason = "saved game is incomplete: " + path + " holds " + std::to_string(got) + " of " +
                 std::to_string(kPlayerRecordSize) + " bytes";
        return false;
    }
    const resPl candidate = decodePlayer(bytes);
    if (!validatePlayer(candidate, reason)) {
        return false;
    }
    record = candidate;
    return true;
}

std::vector<resEn> SavedGame::readEnemies(int maxCount, const std::string& path) {
    const std::size_t limit = static_cast<std::size_t>(std::clamp(maxCount, 0, static_cast<int>(kMaxSlots)));
    std::vector<resEn> records;
    std::ifstream in(path, std::ios::binary);
    unsigned char bytes[kEnemyRecordSize];
    while (records.size() < limit && in.read(reinterpret_cast<char*>(bytes), sizeof bytes)) {
        const resEn record = decodeEnemy(bytes);
        if (!FileIO::isPlausiblePosition(record.x) || !FileIO::isPlausiblePosition(record.y)) {
            break;  // damaged from here on: the slots that follow stay unplaced
        }
        records.push_back(record);
    }
    return records;
}

void SavedGame::save(const resPl& player, const std::vector<resEn>& enemies, int currentX,
                     const std::string& playerPath, const std::string& enemyPath) {
    writePlayer(player, playerPath);
    traceStoredX(currentX, playerPath);
    std::cout << "\n";
    for (const resEn& enemy : enemies) {
        traceSavedEnemy(enemy);
    }
    writeEnemies(enemies, enemyPath);
    traceEnemies(enemyPath);
    traceSaveEnd();
}

void SavedGame::traceStoredX(int currentX, const std::string& path) {
    unsigned char bytes[kPlayerRecordSize];
    // Nothing stored (say the files folder is missing): the current x stands in, so the line keeps
    // its shape.
    int32_t stored = currentX;
    if (FileIO::readPrefix(path, bytes, sizeof bytes) == sizeof bytes) {
        stored = FileIO::getInt32(bytes + kX);
    }
    std::cout << " " << stored << " " << currentX << "\n";
}

void SavedGame::traceSavedEnemy(const resEn& record) {
    std::cout << " " << record.y << " " << record.health << "\n";
}

void SavedGame::traceEnemies(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    unsigned char bytes[kEnemyRecordSize];
    while (in.read(reinterpret_cast<char*>(bytes), sizeof bytes)) {
        const resEn record = decodeEnemy(bytes);
        std::cout << " " << record.health << " " << static_cast<int64_t>(record.x) - kEnemyTraceShift << "\n";
    }
}

void SavedGame::traceSaveEnd() { std::cout << "\n ***** \n\n ***** \n"; }

void SavedGame::traceResumedPlayer(const resPl& record) {
    std::cout << record.health << " " << record.level << " " << record.x << " " << record.y;
}

void SavedGame::traceResumedEnemy(const resEn& record) {
    std::cout << " " << record.health << record.x << "\n";
}
