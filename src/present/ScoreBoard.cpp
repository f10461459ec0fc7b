#include "present/ScoreBoard.h"

#include "persist/FileIO.h"
#include "persist/RunShelf.h"
#include "present/Render.h"
#include "present/Text.h"

#include <algorithm>
#include <unistd.h>
#include <utility>

namespace {

const char* const kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Length of the valid UTF-8 sequence starting at s[i], or 0 when there is none.
std::size_t validSequence(const std::string& s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    unsigned min = 0;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + length > s.size()) {
        return 0;
    }
    unsigned code = lead & (0xFF >> (length + 1));
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return 0;
    }
    return length;
}

// Drawn at its own size, or narrowed to widest (its height alike) when it would run into the next
// column: a long name with a time.
void drawAt(SDL_Renderer* renderer, SDL_Texture* texture, int x, int y, int widest = 0) {
    if (texture == nullptr) {
        return;
    }
    SDL_Rect where{x, y, 0, 0};
    SDL_QueryTexture(texture, nullptr, nullptr, &where.w, &where.h);
    if (widest > 0 && where.w > widest) {
        where.h = where.h * widest / where.w;
        where.w = widest;
    }
    Text::fitToWindow(renderer, texture);
    SDL_RenderCopy(renderer, texture, nullptr, &where);
}

}  // namespace

ScoreBoard::~ScoreBoard() { close(); }

ScoreBoard::Entry ScoreBoard::entryOf(const PlayerRecord& record, std::size_t index, const Times& times) {
    Entry entry{displayName(record.name), record.score};
    const auto kept = times.find(index);
    if (kept != times.end()) {
        entry.timed = true;
        entry.times = kept->second;
    }
    return entry;
}

std::vector<ScoreBoard::Entry> ScoreBoard::best(const std::vector<PlayerRecord>& records, const Times& times) {
    std::vector<Entry> entries;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Entry entry = entryOf(records[i], i, times);
        if (played(records[i].score, records[i].name) && qualifies(entries, entry)) {
            keep(entries, entry);
        }
    }
    return entries;
}

std::vector<ScoreBoard::Entry> ScoreBoard::bestInFile(const std::string& playersPath) {
    Times times;
    std::string why;
    const std::string timesPath = RunTimes::pathBeside(playersPath);
    if (!RunTimes::read(timesPath, times, why)) {
        FileIO::report(timesPath + ": the board shows no times: " + why);
    }
    std::vector<Entry> entries;
    std::string error;
    std::size_t index = 0;
    const bool readable = Player::forEachRecord(
        playersPath,
        [&](const unsigned char* bytes) {
            // Most records of a long file do not make the list: its name is decoded only if it may.
            Entry entry{std::string(), PlayerRecord::scoreOf(bytes)};
            const auto kept = times.find(index);
            entry.timed = kept != times.end();
            if (entry.timed) {
                entry.times = kept->second;
            }
            if (qualifies(entries, entry)) {
                const PlayerRecord record = PlayerRecord::decode(bytes);
                if (played(record.score, record.name)) {
                    keep(entries, entryOf(record, index, times));
                }
            }
            ++index;
        },
        error);
    if (!readable) {
        FileIO::report("the score board is empty: " + error);
    }
    return entries;
}

bool ScoreBoard::qualifies(const std::vector<Entry>& entries, const Entry& entry) {
    // A later run must beat the last listed one: on equal scores and times the earlier run stays.
    if (entries.size() < kShown) {
        return true;
    }
    const Entry& last = entries.back();
    return RunTimes::ahead(entry.score, entry.timed ? &entry.times : nullptr, last.score,
                           last.timed ? &last.times : nullptr);
}

void ScoreBoard::keep(std::vector<Entry>& entries, Entry entry) {
    const auto at = std::upper_bound(entries.begin(), entries.end(), entry, [](const Entry& run, const Entry& listed) {
        return RunTimes::ahead(run.score, run.timed ? &run.times : nullptr, listed.score,
                               listed.timed ? &listed.times : nullptr);
    });
    entries.insert(at, std::move(entry));
    if (entries.size() > kShown) {
        entries.pop_back();
    }
}

std::string ScoreBoard::displayName(const std::string& stored) {
    std::string shown;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < stored.size() && stored[i] != '\0';) {
        if (characters == kNameChars) {
            shown += "..";
            break;
        }
        const std::size_t length = validSequence(stored, i);
        if (length == 0) {
            shown += kReplacement;
            i += 1;
        } else {
            shown.append(stored, i, length);
            i += length;
        }
        ++characters;
    }
    return shown.empty() ? "-" : shown;
}

std::vector<std::string> ScoreBoard::lines(const std::vector<Entry>& entries) {
    if (entries.empty()) {
        return {kEmpty};
    }
    std::vector<std::string> text;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry& entry = entries[i];
        if (!entry.timed) {
            text.push_back(
                Texts::format(Texts::Id::BoardLine, {std::to_string(i + 1), entry.name, std::to_string(entry.score)}));
            continue;
        }
        const Texts::Id ending = entry.times.ending == RunTimes::Ending::Won    ? Texts::Id::BoardWon
                                 : entry.times.ending == RunTimes::Ending::Lost ? Texts::Id::BoardLost
                                                                                : Texts::Id::BoardLeft;
        text.push_back(
            Texts::format(entry.times.assisted ? Texts::Id::BoardLineAssisted : Texts::Id::BoardLineTimed,
                          {std::to_string(i + 1), entry.name, std::to_string(entry.score), Texts::text(ending),
                           std::to_string(entry.times.level),
                           // a resumed run's time leaves out the levels before its save
                           entry.times.whole() ? RunTimes::clock(entry.times.total()) : std::string("-")}));
    }
    return text;
}

void ScoreBoard::open(const std::string& playersPath, TTF_Font* font, SDL_Color colour) {
    close();
    SDL_Renderer* renderer = Render::renderer;
    heading = Text::lineTexture(renderer, font, kHeading, colour);
    const std::vector<Entry> entries = bestInFile(playersPath);
    panel = std::any_of(entries.begin(), entries.end(), [](const Entry& e) { return e.timed; }) ? kWidePanel : kPanel;
    for (const std::string& line : lines(entries)) {
        rendered.push_back(Text::lineTexture(renderer, font, line, colour));
    }
    // The rows' records, in the same order, tell which rows have a recording to watch.
    const std::vector<std::size_t> records = RunShelf::boardRecords(playersPath, kShown);
    kept.assign(entries.size(), std::string());
    for (std::size_t i = 0; i < records.size() && records.size() == entries.size(); ++i) {
        const std::string path = RunShelf::pathOf(records[i]);
        if (::access(path.c_str(), R_OK) == 0) {
            kept[i] = path;
        }
    }
    pointed = -1;
    opened = true;
}

void ScoreBoard::close() {
    // After the renderer is gone its textures went with it.
    if (Render::renderer != nullptr) {
        if (heading != nullptr) {
            SDL_DestroyTexture(heading);
        }
        for (SDL_Texture* texture : rendered) {
            if (texture != nullptr) {
                SDL_DestroyTexture(texture);
            }
        }
    }
    heading = nullptr;
    rendered.clear();
    kept.clear();
    pointed = -1;
    opened = false;
}

int ScoreBoard::rowAt(int x, int y) const {
    const int columnW = (panel.w - 40) / kColumns;
    const int left = panel.x + 20;
    const int top = panel.y + 8 + kRowHeight;
    if (!opened || x < left || y < top || x >= left + columnW * kColumns) {
        return -1;
    }
    const int row = (y - top) / kRowHeight;
    const int index = (x - left) / columnW * kRowsPerColumn + row;
    return row < kRowsPerColumn && index < static_cast<int>(kept.size()) ? index : -1;
}

std::string ScoreBoard::recordingOf(int row) const {
    return row >= 0 && row < static_cast<int>(kept.size()) ? kept[static_cast<std::size_t>(row)] : std::string();
}

void ScoreBoard::draw(SDL_Renderer* renderer) const {
    if (!opened || renderer == nullptr) {
        return;
    }
    // A light board with a dark frame, so the dark red lines read over any part of the picture.
    SDL_Rect frame = panel;
    SDL_SetRenderDrawColor(renderer, 70, 40, 20, 255);
    SDL_RenderFillRect(renderer, &frame);
    SDL_Rect face{frame.x + 6, frame.y + 6, frame.w - 12, frame.h - 12};
    SDL_SetRenderDrawColor(renderer, 250, 238, 205, 255);
    SDL_RenderFillRect(renderer, &face);
    // Sand again, as the other drawings leave it.
    SDL_SetRenderDrawColor(renderer, Render::kSand.r, Render::kSand.g, Render::kSand.b, Render::kSand.a);

    int headingW = 0;
    if (heading != nullptr) {
        SDL_QueryTexture(heading, nullptr, nullptr, &headingW, nullptr);
    }
    drawAt(renderer, heading, panel.x + (panel.w - headingW) / 2, panel.y + 8);
    const int columnW = (panel.w - 40) / kColumns;
    for (std::size_t i = 0; i < rendered.size(); ++i) {
        const int column = static_cast<int>(i) / kRowsPerColumn;
        const int row = static_cast<int>(i) % kRowsPerColumn;
        if (static_cast<int>(i) == pointed) {
            // The row a click would watch: a light band behind it.
            const SDL_Rect band{panel.x + 14 + column * columnW, panel.y + 4 + kRowHeight * (row + 1),
                                columnW - kColumnGap + 12, kRowHeight};
            SDL_SetRenderDrawColor(renderer, Render::kSand.r, Render::kSand.g, Render::kSand.b, Render::kSand.a);
            SDL_RenderFillRect(renderer, &band);
        }
        drawAt(renderer, rendered[i], panel.x + 20 + column * columnW, panel.y + 8 + kRowHeight * (row + 1),
               columnW - kColumnGap);
    }
    Render::markDrawn();
}
