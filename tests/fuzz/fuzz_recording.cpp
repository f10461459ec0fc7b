// Feeds arbitrary bytes to the run recordings' reader: any input is refused in one line or read
// whole, and a recording read whole hands out its takes to its End without ever failing, and its
// header written again reads back the same.

#include "FuzzSupport.h"

#include "persist/RunRecording.h"

#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::setUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    RunRecording recording;
    std::string why;
    if (!RunRecording::read(bytes, recording, why)) {
        fuzzsupport::require(!why.empty() && why.find('\n') == std::string::npos, "a one-line reason");
        return 0;
    }
    // Every take the reader accepted is handed out again, the set-up's block first, to the End.
    RunRecording::Take take;
    uint32_t frameEnds = 0;
    bool ended = false;
    while (recording.next(take)) {
        fuzzsupport::require(!ended, "nothing after the End");
        frameEnds += take.op == RunRecording::Op::FrameEnd ? 1 : 0;
        ended = take.op == RunRecording::Op::End;
    }
    fuzzsupport::require(ended, "a whole recording ends with its End");
    fuzzsupport::require(frameEnds == recording.frames + 1, "every frame counted, the set-up apart");

    RunRecording again;
    const std::string header = RunRecording::encodeHeader(recording.header);
    std::string end;
    uint64_t clock = 0;
    RunRecording::Take last;
    last.op = RunRecording::Op::FrameEnd;
    RunRecording::encodeTakes({last}, end, clock);
    last.op = RunRecording::Op::End;
    RunRecording::encodeTakes({last}, end, clock);
    fuzzsupport::require(RunRecording::read(header + end, again, why), "a header written again reads back");
    fuzzsupport::require(again.header.name == recording.header.name && again.header.keys == recording.header.keys &&
                             again.header.savedPlayer == recording.header.savedPlayer &&
                             again.header.savedEnemies == recording.header.savedEnemies,
                         "the same header");
    return 0;
}
