#include "persist/SavedGame.h"

#include "persist/FileIO.h"
#include "persist/SaveLock.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <sys/stat.h>

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

bool exists(const std::string& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 || errno != ENOENT;
}

std::string playerBytes(const resPl& record) {
    std::string bytes(SavedGame::kPlayerRecordSize, '\0');
    SavedGame::encodePlayer(record, reinterpret_cast<unsigned char*>(&bytes[0]));
    return bytes;
}

std::string enemyBytes(const std::vector<resEn>& records) {
    std::string bytes(records.size() * SavedGame::kEnemyRecordSize, '\0');
    for (std::size_t i = 0; i < records.size(); ++i) {
        SavedGame::encodeEnemy(records[i], reinterpret_cast<unsigned char*>(&bytes[i * SavedGame::kEnemyRecordSize]));
    }
    return bytes;
}

// Drops an uncommitted save: the enemies' temporary first, so that a stop half-way still reads
// as uncommitted (the hero's temporary is what marks it so); while it cannot go, the mark stays.
void rollBack(const std::string& playerTemp, const std::string& enemyTemp) {
    if (FileIO::removeIfThere(enemyTemp)) {
        FileIO::removeIfThere(playerTemp);
    }
}

std::string outOfRange(const char* what, int32_t value, int32_t low, int32_t high) {
    return std::string("saved ") + what + " " + std::to_string(value) + " is outside " + std::to_string(low) + " to " +
           std::to_string(high);
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

bool SavedGame::finishInterruptedSave(std::string& reason, const std::string& playerPath,
                                      const std::string& enemyPath) {
    const std::string playerTemp = playerPath + kTempSuffix;
    const std::string enemyTemp = enemyPath + kTempSuffix;
    if (exists(playerTemp)) {
        rollBack(playerTemp, enemyTemp);
        return true;
    }
    if (!exists(enemyTemp)) {
        return true;
    }
    if (!leftoverUsable(enemyTemp, reason)) {
        return false;
    }
    std::string error;
    if (!FileIO::rename(enemyTemp, enemyPath, error)) {
        reason = "the last save could not be finished (" + error + ")";
        return false;
    }
    if (!FileIO::syncFolder(enemyPath, error)) {
        FileIO::report("the last save is finished, but " + error + "; a system crash may undo it");
    }
    return true;
}

bool SavedGame::leftoverUsable(const std::string& enemyTemp, std::string& reason) {
    // The hero's file is committed; what finishes the pair must be the temporary the game made,
    // a plain file with one name. Anything else (a link, a FIFO, a second name of a file
    // elsewhere) is never renamed into the save, and then the pair is not one save.
    if (FileIO::isOwnRegularFile(enemyTemp)) {
        return true;
    }
    std::string what = enemyTemp + " has other links";
    FileIO::regularOrAbsent(enemyTemp, what);  // names what stands there when it is no plain file
    reason = "the last save cannot be finished: " + what;
    return false;
}

SavedGame::Verdict SavedGame::judgeResume(std::string& reason, const std::string& playerPath,
                                          const std::string& enemyPath) {
    // A leftover is settled as finishInterruptedSave would settle it: rolled back, the hero's file
    // stands as it is; rolled forward, it is the new one already.
    const std::string enemyTemp = enemyPath + kTempSuffix;
    if (!exists(playerPath + kTempSuffix) && exists(enemyTemp) && !leftoverUsable(enemyTemp, reason)) {
        return Verdict::Unusable;
    }
    resPl record;
    return readPlayerJudged(record, reason, playerPath);
}

bool SavedGame::writeGame(const resPl& player, const std::vector<resEn>& enemies, const std::string& playerPath,
                          const std::string& enemyPath) {
    const SaveLock lock(playerPath);
    return writeLocked(lock, player, enemies, playerPath, enemyPath);
}

bool SavedGame::writeLocked(const SaveLock& lock, const resPl& player, const std::vector<resEn>& enemies,
                            const std::string& playerPath, const std::string& enemyPath, bool* committed) {
    if (committed != nullptr) {
        *committed = false;
    }
    if (!lock.held()) {
        FileIO::report("cannot save the game: " + lock.problem() + (lock.busy() ? "; the previous save stands" : ""));
        return false;
    }
    const std::string playerTemp = playerPath + kTempSuffix;
    const std::string enemyTemp = enemyPath + kTempSuffix;
    std::string error;
    if (!finishInterruptedSave(error, playerPath, enemyPath)) {
        // The pair on disk is half old, half new. Writing the hero's temporary would make the
        // leftover read as uncommitted, so the half-new hero record goes: no save beats a mixed one.
        if (!FileIO::removeIfThere(playerPath) || !FileIO::removeIfThere(enemyTemp)) {
            FileIO::report("cannot save the game: " + error);
            return false;
        }
    }
    // The temporaries' names are flushed too before the commit, so it never outlives them.
    if (!FileIO::writeFresh(playerTemp, playerBytes(player), error) ||
        !FileIO::writeFresh(enemyTemp, enemyBytes(enemies), error) || !FileIO::syncFolder(playerPath, error) ||
        !FileIO::rename(playerTemp, playerPath, error)) {
        const int failure = errno;
        rollBack(playerTemp, enemyTemp);
        if (failure == EFBIG) {
            FileIO::reportSizeLimit(playerPath);
        } else {
            FileIO::report("cannot save the game: " + error);
        }
        return false;
    }
    // Committed: from here on the new save stands, even if the rest has to be redone. A folder
    // that cannot be flushed leaves it standing until the system crashes: told once, at the end.
    if (committed != nullptr) {
        *committed = true;
    }
    std::string flush;
    FileIO::syncFolder(playerPath, flush);
    if (!FileIO::rename(enemyTemp, enemyPath, error)) {
        FileIO::report("cannot finish the save (" + error + "); the next RESUME or save finishes it");
        return false;
    }
    if (!FileIO::syncFolder(enemyPath, flush) || !flush.empty()) {
        FileIO::report("the game is saved, but " + flush + "; a system crash may undo the save");
    }
    return true;
}

bool SavedGame::validatePlayer(const resPl& record, std::string& reason) {
    return judgePlayer(record, reason) == Verdict::Resumable;
}

SavedGame::Verdict SavedGame::judgePlayer(const resPl& record, std::string& reason) {
    if (record.level < kMinLevel || record.level > kMaxLevel) {
        reason = outOfRange("level", record.level, kMinLevel, kMaxLevel);
        return Verdict::Unusable;
    }
    if (record.enemyCount < 0 || record.enemyCount > kMaxSlots) {
        reason = outOfRange("enemy count", record.enemyCount, 0, kMaxSlots);
        return Verdict::Unusable;
    }
    if (record.bullCount < 0 || record.bullCount > kMaxSlots) {
        reason = outOfRange("bull count", record.bullCount, 0, kMaxSlots);
        return Verdict::Unusable;
    }
    if (!FileIO::isPlausiblePosition(record.x) || !FileIO::isPlausiblePosition(record.y)) {
        reason =
            "saved hero position (" + std::to_string(record.x) + ", " + std::to_string(record.y) + ") is out of reach";
        return Verdict::Unusable;
    }
    // No game counts past its level's count before it saves.
    if (record.enemiesKilled < 0 || record.enemiesKilled > record.enemyCount) {
        reason = outOfRange("enemies killed", record.enemiesKilled, 0, record.enemyCount);
        return Verdict::Unusable;
    }
    if (record.bullsCollected < 0 || record.bullsCollected > record.bullCount) {
        reason = outOfRange("bulls collected", record.bullsCollected, 0, record.bullCount);
        return Verdict::Unusable;
    }
    if (record.health <= 0) {
        reason = "the saved hero has no health left, " + std::to_string(record.health) + ": that run is over";
        return Verdict::RunOver;
    }
    return Verdict::Resumable;
}

bool SavedGame::readPlayer(resPl& record, std::string& reason, const std::string& path, std::string* read) {
    return readPlayerJudged(record, reason, path, read) == Verdict::Resumable;
}

SavedGame::Verdict SavedGame::readPlayerJudged(resPl& record, std::string& reason, const std::string& path,
                                               std::string* read) {
    unsigned char bytes[kPlayerRecordSize];
    std::string error;
    std::FILE* file = FileIO::openForReading(path, error);
    if (file == nullptr) {
        const bool none = errno == ENOENT;
        reason = none ? "no saved game: " + path + " cannot be read" : error;
        return none ? Verdict::NoSave : Verdict::Unusable;
    }
    const std::size_t got = std::fread(bytes, 1, sizeof bytes, file);
    std::fclose(file);
    if (read != nullptr) {
        read->assign(reinterpret_cast<const char*>(bytes), got);
    }
    if (got < kPlayerRecordSize) {
        reason = "saved game is incomplete: " + path + " holds " + std::to_string(got) + " of " +
                 std::to_string(kPlayerRecordSize) + " bytes";
        return Verdict::Unusable;
    }
    const resPl candidate = decodePlayer(bytes);
    const Verdict verdict = judgePlayer(candidate, reason);
    if (verdict == Verdict::Resumable) {
        record = candidate;
    }
    return verdict;
}

bool SavedGame::playerFrom(const std::string& bytes, resPl& record, std::string& reason) {
    if (bytes.size() < kPlayerRecordSize) {
        reason = "saved game is incomplete";
        return false;
    }
    const resPl candidate = decodePlayer(reinterpret_cast<const unsigned char*>(bytes.data()));
    if (!validatePlayer(candidate, reason)) {
        return false;
    }
    record = candidate;
    return true;
}

std::vector<std::optional<resEn>> SavedGame::readEnemies(int maxCount, const std::string& path, std::string* read) {
    const std::size_t limit = static_cast<std::size_t>(std::clamp(maxCount, 0, static_cast<int>(kMaxSlots)));
    std::string error;
    std::FILE* file = FileIO::openForReading(path, error);
    if (file == nullptr) {
        if (errno != ENOENT) {
            FileIO::report("no enemy is restored: " + error);
        }
        return {};  // a missing file places no enemy
    }
    unsigned char bytes[kEnemyRecordSize];
    std::string whole;
    while (whole.size() < limit * kEnemyRecordSize && std::fread(bytes, 1, sizeof bytes, file) == sizeof bytes) {
        whole.append(reinterpret_cast<const char*>(bytes), sizeof bytes);
    }
    std::fclose(file);
    if (read != nullptr) {
        *read = whole;
    }
    int refused = 0;
    std::vector<std::optional<resEn>> records = enemiesFrom(whole, maxCount, refused);
    if (refused > 0) {
        FileIO::report(path + ": " + std::to_string(refused) +
                       " enemy record(s) out of reach or with no health left refused; their slots stay empty");
    }
    return records;
}

std::vector<std::optional<resEn>> SavedGame::enemiesFrom(const std::string& bytes, int maxCount, int& refused) {
    const std::size_t limit = static_cast<std::size_t>(std::clamp(maxCount, 0, static_cast<int>(kMaxSlots)));
    std::vector<std::optional<resEn>> records;
    refused = 0;
    for (std::size_t at = 0; records.size() < limit && bytes.size() - at >= kEnemyRecordSize; at += kEnemyRecordSize) {
        const resEn record = decodeEnemy(reinterpret_cast<const unsigned char*>(bytes.data() + at));
        // The game saves living enemies only: one with no health left would stand there unkillable.
        if (FileIO::isPlausiblePosition(record.x) && FileIO::isPlausiblePosition(record.y) && record.health > 0) {
            records.push_back(record);
        } else {
            records.push_back(std::nullopt);
            ++refused;
        }
    }
    return records;
}

bool SavedGame::save(const resPl& player, const std::vector<resEn>& enemies, int currentX,
                     const std::string& playerPath, const std::string& enemyPath) {
    // Both files are in place before the first read-back, so the trace reads as it always did; the
    // lock lasts to the end of the read-back, so it reads this game's save, not another's.
    const SaveLock lock(playerPath);
    bool committed = false;
    writeLocked(lock, player, enemies, playerPath, enemyPath, &committed);
    traceSave(enemies, currentX, playerPath, enemyPath);
    return committed;
}

void SavedGame::traceSave(const std::vector<resEn>& enemies, int currentX, const std::string& playerPath,
                          const std::string& enemyPath) {
    traceStoredX(currentX, playerPath);
    std::cout << "\n";
    for (const resEn& enemy : enemies) {
        traceSavedEnemy(enemy);
    }
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

void SavedGame::traceSavedEnemy(const resEn& record) { std::cout << " " << record.y << " " << record.health << "\n"; }

void SavedGame::traceEnemies(const std::string& path) {
    std::string error;
    std::FILE* file = FileIO::openForReading(path, error);
    if (file == nullptr) {
        return;  // nothing stored; the save has said why
    }
    unsigned char bytes[kEnemyRecordSize];
    while (std::fread(bytes, 1, sizeof bytes, file) == sizeof bytes) {
        const resEn record = decodeEnemy(bytes);
        std::cout << " " << record.health << " " << static_cast<int64_t>(record.x) - kEnemyTraceShift << "\n";
    }
    std::fclose(file);
}

void SavedGame::traceSaveEnd() { std::cout << "\n ***** \n\n ***** \n"; }

void SavedGame::traceResumedPlayer(const resPl& record) {
    std::cout << record.health << " " << record.level << " " << record.x << " " << record.y;
}

void SavedGame::traceResumedEnemy(const resEn& record) { std::cout << " " << record.health << record.x << "\n"; }
