#include "persist/RunRecording.h"

#include <cstring>

namespace {

constexpr uint8_t kEventKinds = 16;  // room for the input layer's kinds; more is damage
constexpr int kMaxVarintBytes = 10;

void putVarint(std::string& out, uint64_t value) {
    while (value >= 0x80) {
        out.push_back(static_cast<char>((value & 0x7f) | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<char>(value));
}

uint64_t zigzag(int64_t value) {
    return (static_cast<uint64_t>(value) << 1) ^ static_cast<uint64_t>(value < 0 ? ~uint64_t{0} : 0);
}

int64_t unzigzag(uint64_t value) { return static_cast<int64_t>(value >> 1) ^ -static_cast<int64_t>(value & 1); }

void putSigned(std::string& out, int64_t value) { putVarint(out, zigzag(value)); }

void putText(std::string& out, const std::string& text) {
    putVarint(out, text.size());
    out += text;
}

void putFixed64(std::string& out, uint64_t value) {
    for (int i = 0; i < 8; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
    }
}

// A reader of the byte forms above that never passes its end.
struct Bytes {
    const std::string& bytes;
    std::size_t& at;

    bool varint(uint64_t& value) {
        value = 0;
        for (int i = 0; i < kMaxVarintBytes; ++i) {
            if (at >= bytes.size()) {
                return false;
            }
            const uint8_t byte = static_cast<uint8_t>(bytes[at++]);
            if (i == kMaxVarintBytes - 1 && byte > 1) {
                return false;  // past 64 bits
            }
            value |= static_cast<uint64_t>(byte & 0x7f) << (7 * i);
            if ((byte & 0x80) == 0) {
                return true;
            }
        }
        return false;
    }
    bool signedVarint(int64_t& value) {
        uint64_t raw = 0;
        if (!varint(raw)) {
            return false;
        }
        value = unzigzag(raw);
        return true;
    }
    bool int32(int32_t& value) {
        int64_t wide = 0;
        if (!signedVarint(wide) || wide < INT32_MIN || wide > INT32_MAX) {
            return false;
        }
        value = static_cast<int32_t>(wide);
        return true;
    }
    bool text(std::string& value) {
        uint64_t size = 0;
        if (!varint(size) || size > RunRecording::kMaxText) {
            return false;
        }
        if (size > bytes.size() - at) {
            at = bytes.size();  // cut short
            return false;
        }
        value.assign(bytes, at, static_cast<std::size_t>(size));
        at += static_cast<std::size_t>(size);
        return true;
    }
    bool fixed64(uint64_t& value) {
        if (bytes.size() - at < 8) {
            at = bytes.size();  // cut short
            return false;
        }
        value = 0;
        for (int i = 0; i < 8; ++i) {
            value |= static_cast<uint64_t>(static_cast<uint8_t>(bytes[at + i])) << (8 * i);
        }
        at += 8;
        return true;
    }
    bool byte(uint8_t& value) {
        if (at >= bytes.size()) {
            return false;
        }
        value = static_cast<uint8_t>(bytes[at++]);
        return true;
    }
};

}  // namespace

const char* RunRecording::nameOf(Ending ending) {
    switch (ending) {
        case Ending::Won:
            return "won";
        case Ending::Died:
            return "died";
        case Ending::Quit:
            return "quit";
        case Ending::Closed:
        default:
            return "closed";
    }
}

std::string RunRecording::encodeHeader(const Header& header) {
    std::string out(kMagic, sizeof kMagic);
    putVarint(out, header.assisted() ? kFormat : kFormatWithoutAssists);
    putText(out, header.version);
    out.push_back(static_cast<char>(header.start));
    putText(out, header.name);
    out.push_back(header.hasSave ? 1 : 0);
    putText(out, header.savedPlayer);
    putText(out, header.savedEnemies);
    putText(out, header.keys);
    putSigned(out, header.heroSheetW);
    putSigned(out, header.heroSheetH);
    putSigned(out, header.enemySheetW);
    putSigned(out, header.enemySheetH);
    if (header.assisted()) {
        putSigned(out, header.speed);
        putSigned(out, header.damageShare);
        out.push_back(static_cast<char>((header.refill ? 1 : 0) | (header.autoAttack ? 2 : 0)));
    }
    return out;
}

void RunRecording::encodeTakes(const std::vector<Take>& takes, std::string& out, uint64_t& lastClock) {
    for (std::size_t i = 0; i < takes.size(); ++i) {
        const Take& take = takes[i];
        if (take.op == Op::Clock) {
            // A held walk reads the clock at every input step of a frame: the same value, mostly.
            std::size_t same = 0;
            while (i + 1 + same < takes.size() && takes[i + 1 + same].op == Op::Clock &&
                   takes[i + 1 + same].value == take.value) {
                ++same;
            }
            out.push_back(static_cast<char>(Op::Clock));
            putSigned(out, static_cast<int64_t>(take.value - lastClock));
            lastClock = take.value;
            if (same > 0) {
                out.push_back(static_cast<char>(Op::Again));
                putVarint(out, same);
                i += same;
            }
            continue;
        }
        out.push_back(static_cast<char>(take.op));
        switch (take.op) {
            case Op::Event:
                putVarint(out, take.call);
                out.push_back(static_cast<char>(take.kind));
                putSigned(out, take.a);
                putSigned(out, take.b);
                break;
            case Op::Seed:
                putVarint(out, take.value);
                break;
            case Op::Stick:
                putSigned(out, take.a);
                putSigned(out, take.b);
                break;
            case Op::Hash:
                putFixed64(out, take.value);
                break;
            case Op::Keys:
                putText(out, take.text);
                break;
            case Op::End:
                out.push_back(static_cast<char>(take.kind));
                putSigned(out, take.a);
                putSigned(out, take.b);
                putFixed64(out, take.value);
                break;
            default:
                break;
        }
    }
}

bool RunRecording::decodeAt(const std::string& bytes, std::size_t& from, Take& take, uint64_t& lastClock) {
    Bytes in{bytes, from};
    uint8_t op = 0;
    if (!in.byte(op) || op >= kOps) {
        return false;
    }
    take = Take{};
    take.op = static_cast<Op>(op);
    uint64_t raw = 0;
    int64_t wide = 0;
    switch (take.op) {
        case Op::FrameEnd:
        case Op::LetGo:
            return true;
        case Op::Event:
            if (!in.varint(raw) || raw >= kMaxCalls || !in.byte(take.kind) || take.kind >= kEventKinds) {
                return false;
            }
            take.call = static_cast<uint32_t>(raw);
            return in.signedVarint(take.a) && in.signedVarint(take.b);
        case Op::Clock:
            if (!in.signedVarint(wide)) {
                return false;
            }
            lastClock += static_cast<uint64_t>(wide);
            take.value = lastClock;
            return true;
        case Op::Again:
            if (!in.varint(raw) || raw == 0 || raw > kMaxCalls) {
                return false;
            }
            take.a = static_cast<int64_t>(raw);
            take.value = lastClock;
            return true;
        case Op::Seed:
            return in.varint(take.value) && take.value <= UINT32_MAX;
        case Op::Stick:
            return in.signedVarint(take.a) && in.signedVarint(take.b) && take.a >= INT16_MIN && take.a <= INT16_MAX &&
                   take.b >= INT16_MIN && take.b <= INT16_MAX;
        case Op::Hash:
            return in.fixed64(take.value);
        case Op::Keys:
            return in.text(take.text);
        case Op::End: {
            int32_t level = 0;
            int32_t score = 0;
            if (!in.byte(take.kind) || take.kind > static_cast<uint8_t>(Ending::Quit) || !in.int32(level) ||
                !in.int32(score)) {
                return false;
            }
            take.a = level;
            take.b = score;
            return in.fixed64(take.value);
        }
    }
    return false;
}

bool RunRecording::read(const std::string& bytes, RunRecording& into, std::string& why) {
    into = RunRecording{};
    if (bytes.size() < sizeof kMagic || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
        why = "not a recording of a run";
        return false;
    }
    std::size_t at = sizeof kMagic;
    Bytes in{bytes, at};
    uint64_t format = 0;
    if (!in.varint(format)) {
        why = "cut short in its header";
        return false;
    }
    if (format != kFormat && format != kFormatWithoutAssists) {
        why = "a recording of format " + std::to_string(format) + ", this game reads format " + std::to_string(kFormat);
        return false;
    }
    Header& h = into.header;
    uint8_t start = 0;
    uint8_t hasSave = 0;
    if (!in.text(h.version) || !in.byte(start) || !in.text(h.name) || !in.byte(hasSave) || !in.text(h.savedPlayer) ||
        !in.text(h.savedEnemies) || !in.text(h.keys) || !in.int32(h.heroSheetW) || !in.int32(h.heroSheetH) ||
        !in.int32(h.enemySheetW) || !in.int32(h.enemySheetH)) {
        why = "cut short or damaged in its header";
        return false;
    }
    if (start > static_cast<uint8_t>(Start::Resume) || hasSave > 1) {
        why = "damaged in its header";
        return false;
    }
    if (format == kFormat) {
        uint8_t switches = 0;
        if (!in.int32(h.speed) || !in.int32(h.damageShare) || !in.byte(switches)) {
            why = "cut short or damaged in its header";
            return false;
        }
        h.refill = (switches & 1) != 0;
        h.autoAttack = (switches & 2) != 0;
        // A run without assists is written as format 1: one that names none is damaged.
        if (h.speed < 1 || h.speed > 100 || h.damageShare < 0 || h.damageShare > 100 || switches > 3 || !h.assisted()) {
            why = "damaged in its header (the assists)";
            return false;
        }
    }
    h.start = static_cast<Start>(start);
    h.hasSave = hasSave == 1;
    into.stream = bytes.substr(at);

    // Every take once: what is fed later is known to be whole.
    std::size_t from = 0;
    uint64_t lastClock = 0;
    Take take;
    bool setUpDone = false;
    bool lastWasClock = false;
    for (;;) {
        if (from >= into.stream.size()) {
            why = "cut short after " + std::to_string(into.frames) + " frames";
            return false;
        }
        if (!decodeAt(into.stream, from, take, lastClock)) {
            why = (from >= into.stream.size() ? "cut short after " : "damaged after ") + std::to_string(into.frames) +
                  " frames";
            return false;
        }
        if (take.op == Op::Again && !lastWasClock) {
            why = "damaged after " + std::to_string(into.frames) + " frames";
            return false;
        }
        lastWasClock = take.op == Op::Clock;
        if (take.op == Op::FrameEnd) {
            if (setUpDone) {
                ++into.frames;
            }
            setUpDone = true;
        } else if (take.op == Op::End) {
            if (!setUpDone || from != into.stream.size()) {
                why = "damaged after " + std::to_string(into.frames) + " frames";
                return false;
            }
            into.ending = static_cast<Ending>(take.kind);
            into.level = static_cast<int32_t>(take.a);
            into.score = static_cast<int32_t>(take.b);
            into.finalHash = take.value;
            break;
        }
    }
    into.rewind();
    return true;
}

void RunRecording::rewind() {
    at = 0;
    clock = 0;
    again = 0;
}

bool RunRecording::next(Take& take) {
    if (again > 0) {
        --again;
        take = Take{};
        take.op = Op::Clock;
        take.value = clock;
        return true;
    }
    if (at >= stream.size() || !decodeAt(stream, at, take, clock)) {
        return false;
    }
    if (take.op == Op::Again) {
        again = static_cast<uint64_t>(take.a) - 1;
        take = Take{};
        take.op = Op::Clock;
        take.value = clock;
    }
    return true;
}

bool RunRecording::peek(Take& take) {
    const std::size_t keptAt = at;
    const uint64_t keptClock = clock;
    const uint64_t keptAgain = again;
    const bool got = next(take);
    at = keptAt;
    clock = keptClock;
    again = keptAgain;
    return got;
}
