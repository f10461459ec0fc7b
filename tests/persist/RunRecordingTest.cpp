#include "persist/RunRecording.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Op = RunRecording::Op;
using Take = RunRecording::Take;

Take take(Op op, uint64_t value = 0, int64_t a = 0, int64_t b = 0, uint32_t call = 0, uint8_t kind = 0) {
    Take t;
    t.op = op;
    t.value = value;
    t.a = a;
    t.b = b;
    t.call = call;
    t.kind = kind;
    return t;
}

}  // namespace

// Takes written frame by frame read back in order, a held walk's repeated clock readings and an
// empty frame cost a byte or two, and the end and the frames are told.
TEST(RunRecording, TakesReadBackInOrderAndAQuietFrameCostsOneByte) {
    RunRecording::Header header;
    header.version = "9.9";
    header.start = RunRecording::Start::Resume;
    header.name = "Zoë";
    header.hasSave = true;
    header.savedPlayer = std::string("\0\1\2", 3);
    header.keys = "119|11;";
    header.heroSheetW = 576;
    std::string bytes = RunRecording::encodeHeader(header);
    uint64_t clock = 0;
    RunRecording::encodeTakes({take(Op::Seed, 1700000000), take(Op::FrameEnd)}, bytes, clock);
    const std::size_t before = bytes.size();
    RunRecording::encodeTakes({take(Op::FrameEnd)}, bytes, clock);
    EXPECT_EQ(bytes.size() - before, 1u) << "an empty frame";
    const std::vector<Take> walking = {take(Op::Event, 0, 100, 0, 2, 1),
                                       take(Op::Clock, 5000),
                                       take(Op::Clock, 5000),
                                       take(Op::Clock, 5000),
                                       take(Op::Clock, 5017),
                                       take(Op::Stick, 0, -32768, 32767),
                                       take(Op::FrameEnd)};
    const std::size_t walkStart = bytes.size();
    RunRecording::encodeTakes(walking, bytes, clock);
    std::vector<Take> once = walking;
    once.erase(once.begin() + 2, once.begin() + 4);
    std::string single;
    uint64_t from = 0;
    RunRecording::encodeTakes(once, single, from);
    EXPECT_EQ(bytes.size() - walkStart, single.size() + 2) << "two more readings of one value cost two bytes";
    RunRecording::encodeTakes({take(Op::LetGo), take(Op::End, 77, 3, 960, 0, 0)}, bytes, clock);

    RunRecording read;
    std::string why;
    ASSERT_TRUE(RunRecording::read(bytes, read, why)) << why;
    EXPECT_EQ(read.header.name, "Zoë");
    EXPECT_EQ(read.header.savedPlayer, header.savedPlayer);
    EXPECT_EQ(read.header.start, RunRecording::Start::Resume);
    EXPECT_EQ(read.header.heroSheetW, 576);
    EXPECT_EQ(read.frames, 2u);
    EXPECT_EQ(read.level, 3);
    EXPECT_EQ(read.score, 960);
    EXPECT_EQ(read.finalHash, 77u);

    std::vector<Take> got;
    for (Take t; read.next(t);) {
        got.push_back(t);
    }
    ASSERT_EQ(got.size(), 2u + 1u + walking.size() + 2u);
    EXPECT_EQ(got[0].value, 1700000000u);
    for (std::size_t i = 0; i < walking.size(); ++i) {
        EXPECT_EQ(got[3 + i].op, walking[i].op) << i;
        EXPECT_EQ(got[3 + i].value, walking[i].value) << i;
        EXPECT_EQ(got[3 + i].a, walking[i].a) << i;
        EXPECT_EQ(got[3 + i].b, walking[i].b) << i;
        EXPECT_EQ(got[3 + i].call, walking[i].call) << i;
    }
    EXPECT_EQ(got.back().op, Op::End);

    // Every cut is refused in one line; so is another format.
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        EXPECT_FALSE(RunRecording::read(bytes.substr(0, cut), read, why)) << cut;
        EXPECT_EQ(why.find('\n'), std::string::npos);
    }
    std::string other = bytes;
    other[sizeof RunRecording::kMagic] = 3;
    EXPECT_FALSE(RunRecording::read(other, read, why));
    EXPECT_EQ(why, "a recording of format 3, this game reads format 2");
}
