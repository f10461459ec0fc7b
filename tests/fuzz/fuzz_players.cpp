// Feeds arbitrary bytes to the players file reader, then appends a record to them as the end of a
// run would, and checks that the old whole records survive and the file stays aligned.

#include "FuzzSupport.h"

#include "persist/Player.h"

#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::setUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzzsupport::pathOf("players.bin");
    fuzzsupport::writeBytes(path, data, size);

    const std::vector<PlayerRecord> all = Player::readAll(path);
    fuzzsupport::require(all.size() == size / PlayerRecord::kSize, "whole records only");
    for (const PlayerRecord& record : all) {
        fuzzsupport::require(record.name.size() <= PlayerRecord::kNameBytes, "name fits its slot");
        fuzzsupport::require(record.name.find('\0') == std::string::npos, "name ends at its zero byte");
    }

    // The input's first bytes also serve as the name of a new run, its length as the score.
    const std::string name(reinterpret_cast<const char*>(data), size < 80 ? size : 80);
    Player hero(path);
    hero.score = static_cast<int32_t>(size);
    hero.NewPlayer(name);
    hero.GetAll();

    const std::size_t whole = (size / PlayerRecord::kSize) * PlayerRecord::kSize;
    const std::string after = fuzzsupport::readBytes(path);
    fuzzsupport::require(after.size() == whole + PlayerRecord::kSize, "one aligned record appended");
    fuzzsupport::require(std::memcmp(after.data(), data, whole) == 0, "old records unchanged");
    const std::vector<PlayerRecord> grown = Player::readAll(path);
    fuzzsupport::require(grown.size() == all.size() + 1, "one more record");
    const PlayerRecord& added = grown.back();
    fuzzsupport::require(added.score == hero.score, "score written");
    fuzzsupport::require(added.name.size() <= PlayerRecord::kNameBytes - 1, "name leaves room for its zero");
    fuzzsupport::require(added.name == std::string(hero.name), "name written as kept");
    fuzzsupport::require(name.compare(0, added.name.size(), added.name) == 0, "name is a prefix of the typed one");
    return 0;
}
