#pragma once

#include "input/HeldWalk.h"
#include "input/KeyBindings.h"
#include "persist/RunRecording.h"

#include <SDL.h>

#include <string>
#include <vector>

class Input;

// The one place the world takes what comes from outside it: the events the hero's input step
// consumes, the walk clock, the seeds of rand() and a pad stick's place. Off, it passes them
// through; recording, it also notes each, frame by frame, for the run's recording; feeding, it
// hands back what a recording noted instead, and says at which frame the world asked for
// something the recording does not hold next (the world then went another way).
class SimInput {
public:
    enum class Mode { Off, Record, Feed };

    // What an event the hero took was, as a recording keeps it: what he acts on in full, any other
    // event as Other (he reads the walk clock for it all the same).
    enum class EventKind : uint8_t {
        Quit = 0,
        KeyDown = 1,  // a: the key
        KeyUp = 2,
        KeyRepeat = 3,
        MouseDown = 4,
        PadDown = 5,  // a: the pad, b: the button
        PadUp = 6,
        PadAxis = 7,  // a: the pad, b: the axis
        PadAdded = 8,
        PadRemoved = 9,
        Other = 10,
    };

    Mode mode() const { return current; }
    bool feeding() const { return current == Mode::Feed; }
    bool recording() const { return current == Mode::Record; }

    // Starts noting a run's takes; the set-up's come first.
    void record();
    // Takes everything from recording (read whole, rewound) until stop.
    void feed(RunRecording& recording);
    void stop();

    // The world's reads. The hero's one-event step: from input (or SDL's queue without one).
    bool takeEvent(Input* input, SDL_Event& event);
    Uint64 clock(HeldWalk::Clock source);
    unsigned seed(unsigned fromClock);
    void stick(SDL_JoystickID which, int& x, int& y);

    // Between frames, recording: the hero let go of what he held; his keys are now these.
    void letGo();
    void keys(const KeyBindings& bindings);
    // The end of a frame (or of the set-up): the world's hash when one is due. Feeding, false once
    // the frame took something other than what was recorded or the hash differs.
    bool endFrame(bool withHash, uint64_t hash);
    // Recording: the run ended so; the takes still pending go before it.
    void end(RunRecording::Ending ending, int32_t level, int32_t score, uint64_t hash);
    // Recording: the encoded takes since the last call.
    std::string drain();
    // Frames ended since record or feed (the set-up not counted).
    uint32_t frames() const { return ended > 0 ? ended - 1 : 0; }
    // A hash is due at the end of this frame.
    bool hashDue() const;

    // Feeding, before a frame: the next take when it is a between-frames one (LetGo, Keys) or the
    // End, taken; false when the frame's own takes come next.
    bool nextBetweenFrames(RunRecording::Take& take);
    // Feeding: the recording's header (null otherwise).
    const RunRecording::Header* fedHeader() const { return source != nullptr ? &source->header : nullptr; }
    // Feeding: whether the world and the recording parted, and at which frame (0: the set-up).
    bool mismatched() const { return hasParted; }
    uint32_t mismatchFrame() const { return parted; }

    // The hero's keys and buttons in a recording's own words, and back (false when not such words).
    static std::string encodeKeys(const KeyBindings& bindings);
    static bool decodeKeys(const std::string& text, KeyBindings& bindings);
    // The SDL event a recorded one was, and the recorded form of an SDL event.
    static SDL_Event eventOf(const RunRecording::Take& take);
    static bool takeOf(const SDL_Event& event, RunRecording::Take& take);

private:
    void note(const RunRecording::Take& take);
    bool expect(RunRecording::Op op, RunRecording::Take& take);
    void part();

    Mode current = Mode::Off;
    std::vector<RunRecording::Take> frame;  // recording: this frame's takes so far
    std::string encoded;                    // recording: the takes not yet drained
    uint64_t lastClock = 0;
    std::string lastKeys;            // recording: the keys last noted
    RunRecording* source = nullptr;  // feeding
    uint32_t calls = 0;              // input steps in this frame
    uint32_t ended = 0;              // frame ends, the set-up's included
    uint32_t parted = 0;
    bool hasParted = false;
};
