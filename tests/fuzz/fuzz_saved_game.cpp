// Feeds arbitrary bytes to the saved-game readers: the whole input is resP.bin, and whatever follows
// its first 56 bytes is resE.bin.

#include "FuzzSupport.h"

#include "persist/SavedGame.h"

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr long long kMaxPosition = 1000000000;

bool inReach(int32_t v) { return std::llabs(static_cast<long long>(v)) <= kMaxPosition; }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::setUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string playerPath = fuzzsupport::pathOf("resP.bin");
    const std::string enemyPath = fuzzsupport::pathOf("resE.bin");
    fuzzsupport::writeBytes(playerPath, data, size);
    const std::size_t rest = size > SavedGame::kPlayerRecordSize ? size - SavedGame::kPlayerRecordSize : 0;
    fuzzsupport::writeBytes(enemyPath, data + (size - rest), rest);

    SavedGame::traceStoredX(static_cast<int>(size), playerPath);
    SavedGame::traceEnemies(enemyPath);

    resPl player;
    std::string reason;
    if (!SavedGame::readPlayer(player, reason, playerPath)) {
        fuzzsupport::require(!reason.empty() && reason.find('\n') == std::string::npos, "a one-line reason");
        return 0;
    }
    fuzzsupport::require(size >= SavedGame::kPlayerRecordSize, "a whole record");
    fuzzsupport::require(player.level >= 1 && player.level <= 3, "level checked");
    fuzzsupport::require(player.enemyCount >= 0 && player.enemyCount <= 64, "enemy count checked");
    fuzzsupport::require(player.bullCount >= 0 && player.bullCount <= 64, "bull count checked");
    fuzzsupport::require(inReach(player.x) && inReach(player.y), "hero position checked");
    SavedGame::traceResumedPlayer(player);

    const std::vector<std::optional<resEn>> slots = SavedGame::readEnemies(player.enemyCount, enemyPath);
    fuzzsupport::require(slots.size() <= static_cast<std::size_t>(player.enemyCount), "never more than the count");
    fuzzsupport::require(slots.size() <= rest / SavedGame::kEnemyRecordSize, "whole records only");
    std::vector<resEn> enemies;
    std::string kept;  // the bytes of the records that were not refused
    for (std::size_t k = 0; k < slots.size(); ++k) {
        if (!slots[k]) {
            continue;
        }
        fuzzsupport::require(inReach(slots[k]->x) && inReach(slots[k]->y), "enemy position checked");
        fuzzsupport::require(slots[k]->health > 0, "a restored enemy has health left");
        SavedGame::traceResumedEnemy(*slots[k]);
        enemies.push_back(*slots[k]);
        kept.append(
            reinterpret_cast<const char*>(data + SavedGame::kPlayerRecordSize + k * SavedGame::kEnemyRecordSize),
            SavedGame::kEnemyRecordSize);
    }

    // Saving what was read gives back the same numbers and enemy records.
    SavedGame::save(player, enemies, player.x, playerPath, enemyPath);
    const std::string savedPlayer = fuzzsupport::readBytes(playerPath);
    fuzzsupport::require(savedPlayer.size() == SavedGame::kPlayerRecordSize, "one record saved");
    fuzzsupport::require(std::memcmp(savedPlayer.data(), data, SavedGame::kNameOffset) == 0, "numbers kept");
    const std::string savedEnemies = fuzzsupport::readBytes(enemyPath);
    fuzzsupport::require(savedEnemies.size() == enemies.size() * SavedGame::kEnemyRecordSize, "enemies saved");
    fuzzsupport::require(savedEnemies == kept, "enemy records kept");
    return 0;
}
