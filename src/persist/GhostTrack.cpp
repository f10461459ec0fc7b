#include "persist/GhostTrack.h"

#include "persist/FileIO.h"
#include "persist/SaveLock.h"

#include <cstring>

namespace {

void putU32(std::string& bytes, uint32_t value) {
    unsigned char four[4];
    FileIO::putInt32(four, static_cast<int32_t>(value));
    bytes.append(reinterpret_cast<const char*>(four), 4);
}

int32_t getI32(const std::string& bytes, std::size_t at) {
    return FileIO::getInt32(reinterpret_cast<const unsigned char*>(bytes.data()) + at);
}

}  // namespace

std::string GhostTrack::pathFor(const std::string& name, const std::string& folder) {
    // Any byte may be in a name: the file's name spells it in hex.
    static const char* const hex = "0123456789abcdef";
    std::string spelled;
    for (const unsigned char c : name) {
        spelled += hex[c >> 4];
        spelled += hex[c & 15];
    }
    return folder + "/best-" + (spelled.empty() ? "-" : spelled) + ".ghost";
}

const GhostTrack::Step* GhostTrack::at(int level, std::size_t frame) const {
    if (level < 1 || level > kLevels || frame >= levelFrames[level - 1]) {
        return nullptr;
    }
    std::size_t index = frame;
    for (int l = 1; l < level; ++l) {
        index += levelFrames[l - 1];
    }
    const Step& step = steps[index];
    return step.level == level ? &step : nullptr;
}

std::string GhostTrack::encode() const {
    std::string bytes(kMagic, sizeof kMagic);
    putU32(bytes, kFormat);
    for (const uint32_t frames : levelFrames) {
        putU32(bytes, frames);
    }
    for (const Step& step : steps) {
        bytes += static_cast<char>(step.level);
        for (const int32_t value : {step.x, step.y, step.w, step.h, step.srcX, step.srcY, step.srcW, step.srcH}) {
            putU32(bytes, static_cast<uint32_t>(value));
        }
    }
    return bytes;
}

bool GhostTrack::decode(const std::string& bytes, std::string& why) {
    if (bytes.size() < kHeaderBytes || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
        why = "not a ghost track of this game";
        return false;
    }
    if (static_cast<uint32_t>(getI32(bytes, 8)) != kFormat) {
        why = "a ghost track of another format";
        return false;
    }
    std::array<uint32_t, kLevels> frames{};
    uint64_t total = 0;
    for (int l = 0; l < kLevels; ++l) {
        frames[l] = static_cast<uint32_t>(getI32(bytes, 12 + 4 * l));
        total += frames[l];
    }
    if (total > kMaxSteps || bytes.size() != kHeaderBytes + total * kStepBytes) {
        why = "its length does not match its frames";
        return false;
    }
    std::vector<Step> read;
    read.reserve(total);
    for (std::size_t at = kHeaderBytes; at < bytes.size(); at += kStepBytes) {
        Step step;
        step.level = static_cast<unsigned char>(bytes[at]);
        int32_t* fields[] = {&step.x, &step.y, &step.w, &step.h, &step.srcX, &step.srcY, &step.srcW, &step.srcH};
        for (std::size_t f = 0; f < 8; ++f) {
            *fields[f] = getI32(bytes, at + 1 + 4 * f);
        }
        const bool placed = FileIO::isPlausiblePosition(step.x) && FileIO::isPlausiblePosition(step.y) && step.w >= 0 &&
                            step.h >= 0 && step.w <= 4096 && step.h <= 4096;
        if (step.level > kLevels || !placed) {
            why = "a frame of it is damaged";
            return false;
        }
        read.push_back(step);
    }
    levelFrames = frames;
    steps = std::move(read);
    return true;
}

bool GhostTrack::read(const std::string& path, std::string& why) {
    std::string bytes;
    return FileIO::readSmall(path, kHeaderBytes + kMaxSteps * kStepBytes, bytes, why) && decode(bytes, why);
}

bool GhostTrack::keepIfFaster(const std::string& path, const std::string& savePath, bool& written,
                              std::string& error) const {
    written = false;
    const SaveLock lock(savePath);
    if (!lock.held()) {
        error = path + ": not written: " + lock.problem();
        return false;
    }
    GhostTrack kept;
    std::string why;
    if (kept.read(path, why) && kept.total() <= total()) {
        return true;  // as fast or faster: the earlier run stays the one to beat
    }
    std::string made;
    if (!FileIO::writeTemporary(path, encode(), 0, made, error) || !FileIO::rename(made, path, error)) {
        FileIO::removeIfThere(made);
        return false;
    }
    written = true;
    return true;
}
