#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A recording of one played run (files/runs/*.run): a header (what the run started from), then,
// frame by frame, what the simulation took from outside, in the order it took it. A re-simulation
// fed the same takes reaches the same world at every frame; a hash of the world every kHashEvery
// frames and at the end says whether it did.
//
// On disk, after the header, a stream of takes, each an op byte and its varints (zigzag for signed
// values): an empty frame is its end byte alone. The first block, up to the first frame end, is
// the set-up's (the seeds of the first placements); the stream closes with one End take.
class RunRecording {
public:
    static constexpr const char kMagic[8] = {'B', 'R', 'A', 'M', 'R', 'U', 'N', '\n'};
    // Raised whenever the layout or a take's meaning changes. Format 2 adds the assists to the
    // header; a run played without any is still written as format 1, byte for byte as before.
    static constexpr uint32_t kFormat = 2;
    static constexpr uint32_t kFormatWithoutAssists = 1;
    static constexpr int kHashEvery = 60;  // a hash of the world once a second of play
    // About 40 hours of play; larger files are not read whole.
    static constexpr std::size_t kMaxBytes = std::size_t{256} << 20;
    static constexpr std::size_t kMaxText = 4096;    // a version, a name, a key table, a saved file
    static constexpr uint32_t kMaxCalls = 1u << 16;  // input steps in one frame

    // How the run began.
    enum class Start : uint8_t { NewGame = 0, Resume = 1 };
    // How it ended.
    enum class Ending : uint8_t { Won = 0, Died = 1, Closed = 2, Quit = 3 };
    static const char* nameOf(Ending ending);

    // What one take is.
    enum class Op : uint8_t {
        FrameEnd = 0,
        Event = 1,  // an event the hero's input step consumed: call (the step within the frame), kind, a, b
        Clock = 2,  // a walk clock reading: value
        Again = 3,  // `a` more readings of the last clock value
        Seed = 4,   // a value rand() was seeded with
        Stick = 5,  // where a pad's left stick stood: a, b
        Hash = 6,   // the world's hash at the end of the frame: value
        LetGo = 7,  // before the frame: the hero let go of what he held (a pause began)
        Keys = 8,   // before the frame: the hero's keys changed to text
        End = 9,    // the run's end: ending (kind), level (a), score (b), final hash (value)
    };
    static constexpr uint8_t kOps = 10;

    // One take, decoded. Events keep their kind and two numbers: the input layer says what they mean.
    struct Take {
        Op op = Op::FrameEnd;
        uint32_t call = 0;
        uint8_t kind = 0;
        int64_t a = 0;
        int64_t b = 0;
        uint64_t value = 0;
        std::string text;
    };

    // What the run started from and every option that changes its simulation.
    struct Header {
        std::string version;  // the game's version
        Start start = Start::NewGame;
        std::string name;          // the typed name the run was played under
        bool hasSave = false;      // a resume found a saved game it could read under its lock
        std::string savedPlayer;   // the bytes the resume read of the hero's record
        std::string savedEnemies;  // and of the enemies' records
        std::string keys;          // the hero's keys and pad buttons, as the input layer writes them
        int32_t heroSheetW = 0;    // the sheets' sizes, which the animation cycles count in
        int32_t heroSheetH = 0;
        int32_t enemySheetW = 0;
        int32_t enemySheetH = 0;
        // The assists the run was played with (format 2): the pace in percent, which only marks
        // the run, and the three that change the world.
        int32_t speed = 100;
        int32_t damageShare = 100;
        bool refill = false;
        bool autoAttack = false;
        bool assisted() const { return speed != 100 || damageShare != 100 || refill || autoAttack; }
    };

    Header header;
    // Filled by read: how the run ended, its frames (the set-up not counted), and the stream.
    Ending ending = Ending::Closed;
    int32_t level = 0;
    int32_t score = 0;
    uint64_t finalHash = 0;
    uint32_t frames = 0;

    // The header's bytes, magic and format first.
    static std::string encodeHeader(const Header& header);
    // Appends one frame's takes (ending with its FrameEnd, or an End) to out; lastClock carries the
    // previous clock value from frame to frame, as clocks are stored as differences.
    static void encodeTakes(const std::vector<Take>& takes, std::string& out, uint64_t& lastClock);

    // Reads a whole recording and walks every take once: false with a one-line reason for anything
    // that is not a whole recording of this format (cut short, damaged, another format). Another
    // game version is read (the caller refuses it, naming both).
    static bool read(const std::string& bytes, RunRecording& into, std::string& why);

    // The takes in order, from the first of the set-up; false after the End.
    void rewind();
    bool next(Take& take);
    // The next take without taking it; false at the end.
    bool peek(Take& take);

private:
    std::string stream;  // the takes' bytes
    std::size_t at = 0;  // the next take's place in stream
    uint64_t clock = 0;  // the last clock value read
    uint64_t again = 0;  // readings of it still to hand out
    // Decodes the take at `from`; false when the bytes there are no take.
    static bool decodeAt(const std::string& bytes, std::size_t& from, Take& take, uint64_t& lastClock);
};
