#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The hero's record of the saved game (files/resP.bin), 56 bytes on disk.
struct resPl {
    int32_t x = 0;               // hero x
    int32_t y = 0;               // hero y
    int32_t health = 0;          // hero health
    int32_t level = 0;           // current level, 1 to 3
    int32_t enemiesKilled = 0;   // enemies the hero removed in this level
    int32_t bullsCollected = 0;  // bulls the hero collected in this level
    int32_t enemyCount = 0;      // enemy slots of the level
    int32_t bullCount = 0;       // bull slots of the level
    std::string name;            // the typed name; written into the name slot, never read back
};

// One living enemy of the saved game (files/resE.bin), 12 bytes on disk.
struct resEn {
    int32_t x = 0;       // enemy world x
    int32_t y = 0;       // enemy world y
    int32_t health = 0;  // enemy health
};

class SaveLock;

// Formats, readers, writers and console traces of the two saved-game files. The main routine
// gathers the values from the hero and the enemies and applies what the readers return.
class SavedGame {
public:
    static constexpr const char* kPlayerPath = "files/resP.bin";
    static constexpr const char* kEnemyPath = "files/resE.bin";
    static constexpr std::size_t kPlayerRecordSize = 56;
    static constexpr std::size_t kEnemyRecordSize = 12;
    static constexpr std::size_t kNameOffset = 32;
    static constexpr std::size_t kNameSlotBytes = 24;  // 23 name bytes and a zero byte at least
    // Values the game itself can produce; a record outside them did not come from a save.
    static constexpr int32_t kMinLevel = 1;
    static constexpr int32_t kMaxLevel = 3;
    static constexpr int32_t kMaxSlots = 64;
    static constexpr int kEnemyTraceShift = 1000;  // the read-back trace shows x minus this

    static void encodePlayer(const resPl& record, unsigned char* into);
    // Reads the eight numbers; the name slot is not interpreted, so name stays empty.
    static resPl decodePlayer(const unsigned char* bytes);
    static void encodeEnemy(const resEn& record, unsigned char* into);
    static resEn decodeEnemy(const unsigned char* bytes);

    // The two files form one save. Both are written to fresh temporary files (path + kTempSuffix)
    // and flushed; renaming the hero's file into place commits the save, renaming the enemies'
    // file finishes it. A leftover temporary tells how far an interrupted save got:
    // finishInterruptedSave rolls it back (the hero's temporary is still there: the old pair
    // stands) or forward (only the enemies' temporary is left: the new pair is completed).
    static constexpr const char* kTempSuffix = ".tmp";
    // Writes the pair under the SaveLock; a failure goes to stderr as one line and returns false.
    // Whatever fails or stops it, the next finishInterruptedSave leaves the whole old save or the
    // whole new one. Another game holding the lock past the wait leaves the previous save as it is.
    static bool writeGame(const resPl& player, const std::vector<resEn>& enemies,
                          const std::string& playerPath = kPlayerPath, const std::string& enemyPath = kEnemyPath);
    // Settles a save that was interrupted; the caller holds the SaveLock. False with a reason when
    // the new pair cannot be completed; the files then do not form one save and must not be resumed.
    static bool finishInterruptedSave(std::string& reason, const std::string& playerPath = kPlayerPath,
                                      const std::string& enemyPath = kEnemyPath);

    // What RESUME would make of the saved game: resume it, or refuse it because there is none,
    // because its run is over (the hero has no health left), or because no game could have
    // written it.
    enum class Verdict { Resumable, NoSave, RunOver, Unusable };
    // The resume's own judgement (finishInterruptedSave's, then readPlayer's), made without
    // changing a file or taking the lock, so the menu can tell before it is chosen. A save another
    // game is writing at the moment is judged as it stands; the resume itself still refuses it.
    static Verdict judgeResume(std::string& reason, const std::string& playerPath = kPlayerPath,
                               const std::string& enemyPath = kEnemyPath);
    // False with a one-line reason when record is not one the game could have saved.
    static bool validatePlayer(const resPl& record, std::string& reason);
    // The same, telling a finished run (no health left) from a record no game writes.
    static Verdict judgePlayer(const resPl& record, std::string& reason);
    // Reads and checks the hero's record. False with a one-line reason when the file is missing,
    // not a regular file, shorter than a record or holds values no game produces; record is then
    // left unchanged.
    // read, when given, gets the bytes read (for a run's recording).
    static bool readPlayer(resPl& record, std::string& reason, const std::string& path = kPlayerPath,
                           std::string* read = nullptr);
    // The same check on bytes readPlayer read.
    static bool playerFrom(const std::string& bytes, resPl& record, std::string& reason);
    // The same, with the verdict: NoSave when nothing is at path.
    static Verdict readPlayerJudged(resPl& record, std::string& reason, const std::string& path = kPlayerPath,
                                    std::string* read = nullptr);
    // The enemy records in file order, one per slot, at most maxCount (itself kept within 0 to
    // kMaxSlots); the read ends at a trailing fragment. A record whose position is beyond any the
    // game reaches is refused: its slot is empty and stays unplaced. Refusals are
    // counted in one line on stderr, with the records of enemies with no health left, which are
    // refused the same way.
    static std::vector<std::optional<resEn>> readEnemies(int maxCount, const std::string& path = kEnemyPath,
                                                         std::string* read = nullptr);
    // The same records from bytes readEnemies read, refused ones counted in refused, told nowhere.
    static std::vector<std::optional<resEn>> enemiesFrom(const std::string& bytes, int maxCount, int& refused);

    // The whole save with its console trace, under the SaveLock, in order: the hero's record, its read-back line, a
    // line end, one line per enemy, the enemy records, their read-back lines, the closing lines.
    // True when the new save stands: whole, or committed with only the enemies' rename left to the
    // next RESUME or save. A note on stderr about flushing the folder does not make it false.
    static bool save(const resPl& player, const std::vector<resEn>& enemies, int currentX,
                     const std::string& playerPath = kPlayerPath, const std::string& enemyPath = kEnemyPath);

    // The save's console trace alone, for an end of run that writes nothing: as save traces it.
    static void traceSave(const std::vector<resEn>& enemies, int currentX, const std::string& playerPath = kPlayerPath,
                          const std::string& enemyPath = kEnemyPath);

    // Read-back of the hero's record: " ", stored x, " ", currentX, line end. When no whole record
    // can be read (nothing was saved), currentX stands in for the stored x.
    static void traceStoredX(int currentX, const std::string& path = kPlayerPath);
    // " ", y, " ", health, line end: one enemy as it is being saved.
    static void traceSavedEnemy(const resEn& record);
    // Read-back of the enemy file: per whole record " ", health, " ", x - 1000, line end.
    static void traceEnemies(const std::string& path = kEnemyPath);
    // A line end, " ***** ", a line end, a line end, " ***** ", a line end.
    static void traceSaveEnd();

    // The resume's traces: health, " ", level, " ", x, " ", y without a line end; and per restored
    // enemy " ", health, x (run together) and a line end.
    static void traceResumedPlayer(const resPl& record);
    static void traceResumedEnemy(const resEn& record);

private:
    // False with a reason when the enemies' temporary left by a save cut between its renames is
    // not the game's own file, so it can never finish that save.
    static bool leftoverUsable(const std::string& enemyTemp, std::string& reason);
    // writeGame once lock is taken (when it is not held, says why and writes nothing). `committed`,
    // when given, is set once the new hero record is in place: the new save then stands.
    static bool writeLocked(const SaveLock& lock, const resPl& player, const std::vector<resEn>& enemies,
                            const std::string& playerPath, const std::string& enemyPath, bool* committed = nullptr);
};
