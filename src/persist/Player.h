#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// One 56-byte entry of the players file as a reader sees it.
struct PlayerRecord {
    static constexpr std::size_t kSize = 56;       // bytes per record on disk
    static constexpr std::size_t kNameBytes = 52;  // name slot, zero-terminated and zero-padded
    static constexpr std::size_t kScoreOffset = 52;

    std::string name;   // the name up to its first zero byte (all 52 bytes when there is none)
    int32_t score = 0;  // the run's points

    // Name cut to 51 bytes at a character boundary, a zero byte, zero padding, then the score.
    void encode(unsigned char* into) const;
    static PlayerRecord decode(const unsigned char* bytes);
    static int32_t scoreOf(const unsigned char* bytes);
};

// The score of the current run and the players file it is appended to when the run ends.
class Player {
public:
    static constexpr const char* kDefaultPath = "files/players.bin";
    static constexpr int32_t kEnemyPoints = 30;
    static constexpr int32_t kBullPoints = 50;

    int32_t score = 0;                         // points earned in this run
    char name[PlayerRecord::kNameBytes] = {};  // the name of the last NewPlayer, zero-terminated
    std::string path = kDefaultPath;           // the players file this object appends to
    bool recorded = false;                     // the last NewPlayer's record is whole in the file

    explicit Player(std::string filePath = kDefaultPath);

    void getEnemyP();
    void getBullP();

    // Appends one record with name and score. A torn tail left by an interrupted earlier write is
    // cut away first, so every record starts on a 56-byte boundary; the cut and the append happen
    // under an exclusive lock on the file, so a game ending at the same moment loses nothing.
    // Anything but a regular file at path, or a file with other links, is left alone. The cut and
    // every failure are told on stderr, one line each (the size limit for files once per process).
    // `recorded` says afterwards whether the record went in: a line on stderr may be only a note.
    void NewPlayer(std::string playerName);

    // Lists the file on stdout: per record a line end, the score, a line end and the name; then "  "
    // and a line end.
    void GetAll() const;

    // Calls visit with the bytes of every whole record in file order, a block at a time, so memory
    // stays the same whatever the file's size; a trailing fragment is not a record. A missing file
    // has no records; false with error when the file is there but is not a regular file.
    static bool forEachRecord(const std::string& filePath, const std::function<void(const unsigned char*)>& visit,
                              std::string& error);
    // The same, until visit returns false: what follows is not read.
    static bool forEachRecordWhile(const std::string& filePath, const std::function<bool(const unsigned char*)>& visit,
                                   std::string& error);

    // Every whole record of the file in file order; a trailing fragment is not a record.
    static std::vector<PlayerRecord> readAll(const std::string& filePath = kDefaultPath);
};
