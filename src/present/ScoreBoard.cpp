#include "present/ScoreBoard.h"

#include "persist/FileIO.h"
#include "persist/RunShelf.h"
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

void drawAt(SDL_Renderer* renderer, SDL_Texture* texture, int x, int y) {
    if (texture == nullptr) {
        return;
    }
    SDL_Rect where{x, y, 0, 0};
    SDL_QueryTexture(texture, nullptr, nullptr, &where.w, &where.h);
    Text::fitToWindow(renderer, texture);
    SDL_RenderCopy(renderer, texture, nullptr, &where);
}

}  // namespace

ScoreBoard::~ScoreBoard() { close(); }

std::vector<ScoreBoard::Entry> ScoreBoard::best(const std::vector<PlayerRecord>& records) {
    std::vector<Entry> entries;
    for (const PlayerRecord& record : records) {
        if (played(record.score, record.name) && qualifies(entries, record.score)) {
            keep(entries, Entry{displayName(record.name), record.score});
        }
    }
    return entries;
}

std::vector<ScoreBoard::Entry> ScoreBoard::bestInFile(const std::string& playersPath) {
    std::vector<Entry> entries;
    std::string error;
    const bool readable = Player::forEachRecord(
        playersPath,
        [&](const unsigned char* bytes) {
            // Most records of a long file do not make the list: only the score is looked at.
            if (qualifies(entries, PlayerRecord::scoreOf(bytes))) {
                const PlayerRecord record = PlayerRecord::decode(bytes);
                if (played(record.score, record.name)) {
                    keep(entries, Entry{displayName(record.name), record.score});
                }
            }
        },
        error);
    if (!readable) {
        FileIO::report("the score board is empty: " + error);
    }
    return entries;
}

bool ScoreBoard::qualifies(const std::vector<Entry>& entries, int score) {
    // A later run must beat the last listed one: on equal scores the earlier run stays.
    return entries.size() < kShown || score > entries.back().score;
}

void ScoreBoard::keep(std::vector<Entry>& entries, Entry entry) {
    const auto at = std::upper_bound(entries.begin(), entries.end(), entry.score,
                                     [](int score, const Entry& listed) { return score > listed.score; });
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
        text.push_back(Texts::format(Texts::Id::BoardLine,
                                     {std::to_string(i + 1), entries[i].name, std::to_string(entries[i].score)}));
    }
    return text;
}

void ScoreBoard::open(const std::string& playersPath, TTF_Font* font, SDL_Color colour) {
    close();
    SDL_Renderer* renderer = Render::renderer;
    heading = Text::lineTexture(renderer, font, kHeading, colour);
    const std::vector<Entry> entries = bestInFile(playersPath);
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
    const int columnW = (kPanel.w - 40) / kColumns;
    const int left = kPanel.x + 20;
    const int top = kPanel.y + 8 + kRowHeight;
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
    SDL_Rect frame = kPanel;
    SDL_SetRenderDrawColor(renderer, 70, 40, 20, 255);
    SDL_RenderFillRect(renderer, &frame);
    SDL_Rect face{frame.x + 6, frame.y + 6, frame.w - 12, frame.h - 12};
    SDL_SetRenderDrawColor(renderer, 250, 238, 205, 255);
    SDL_RenderFillRect(renderer, &face);
    SDL_SetRenderDrawColor(renderer, 242, 196, 111, 255);  // the clear colour, as everywhere else

    int headingW = 0;
    if (heading != nullptr) {
        SDL_QueryTexture(heading, nullptr, nullptr, &headingW, nullptr);
    }
    drawAt(renderer, heading, kPanel.x + (kPanel.w - headingW) / 2, kPanel.y + 8);
    const int columnW = (kPanel.w - 40) / kColumns;
    for (std::size_t i = 0; i < rendered.size(); ++i) {
        const int column = static_cast<int>(i) / kRowsPerColumn;
        const int row = static_cast<int>(i) % kRowsPerColumn;
        if (static_cast<int>(i) == pointed) {
            // The row a click would watch: a light band behind it.
            const SDL_Rect band{kPanel.x + 14, kPanel.y + 4 + kRowHeight * (row + 1), columnW, kRowHeight};
            SDL_SetRenderDrawColor(renderer, 242, 196, 111, 255);
            SDL_RenderFillRect(renderer, &band);
        }
        drawAt(renderer, rendered[i], kPanel.x + 20 + column * columnW, kPanel.y + 8 + kRowHeight * (row + 1));
    }
    Render::markDrawn();
}
