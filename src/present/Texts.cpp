#include "present/Texts.h"

#include "present/Language.h"

#include <cstring>
#include <map>

namespace {

#define BRAMBLEHOOF_TEXT_ROW(id, kind, english, note) Texts::Row{Texts::Id::id, Texts::Kind::kind, english, note, #id},

// The texts as shown, made once for each language spoken: a frame asks for its HUD lines every
// time. A language's texts are kept for the process, so a text handed out stays valid.
struct Shown {
    std::vector<Texts::Row> rows{BRAMBLEHOOF_TEXTS(BRAMBLEHOOF_TEXT_ROW)};
    std::map<std::string, std::vector<std::string>> languages;
    const std::vector<std::string>* texts = nullptr;
    int generation = -1;  // the language's generation the texts were read for
    Shown() { follow(); }
    // The texts of the language spoken now.
    void follow() {
        if (generation == Language::generation()) {
            return;
        }
        generation = Language::generation();
        const std::string& code = Language::current();
        auto found = languages.find(code);
        if (found == languages.end()) {
            std::vector<std::pair<std::string, std::string>> asked;
            for (const Texts::Row& row : rows) {
                asked.emplace_back(row.name, row.english);
            }
            found = languages.emplace(code, Language::translate(code, asked)).first;
        }
        texts = &found->second;
    }
};

#undef BRAMBLEHOOF_TEXT_ROW

Shown& shown() {
    static Shown made;
    made.follow();
    return made;
}

// One piece of a row's text: literal text, or the number of a placeholder.
struct Piece {
    std::string literal;
    int placeholder = -1;
};

// "{0}" at text[at], or -1.
int placeholderAt(const std::string& text, std::size_t at) {
    if (at + 2 < text.size() && text[at] == '{' && text[at + 1] >= '0' && text[at + 1] <= '9' && text[at + 2] == '}') {
        return text[at + 1] - '0';
    }
    return -1;
}

std::vector<Piece> piecesOf(const std::string& text) {
    std::vector<Piece> pieces;
    std::string literal;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int n = placeholderAt(text, i);
        if (n < 0) {
            literal += text[i];
            continue;
        }
        if (!literal.empty()) {
            pieces.push_back(Piece{literal, -1});
            literal.clear();
        }
        pieces.push_back(Piece{"", n});
        i += 2;
    }
    if (!literal.empty()) {
        pieces.push_back(Piece{literal, -1});
    }
    return pieces;
}

// Whether line[from..] is made of pieces[k..], each placeholder filled by a text fill accepts.
bool fits(const std::string& line, std::size_t from, const std::vector<Piece>& pieces, std::size_t k,
          const std::function<bool(const std::string&)>& fill) {
    if (k == pieces.size()) {
        return from == line.size();
    }
    const Piece& piece = pieces[k];
    if (piece.placeholder < 0) {
        return line.compare(from, piece.literal.size(), piece.literal) == 0 &&
               fits(line, from + piece.literal.size(), pieces, k + 1, fill);
    }
    // The fill ends where the next piece's literal starts, or at the line's end after the last piece.
    const bool last = k + 1 == pieces.size();
    for (std::size_t end = last ? line.size() : from; end <= line.size(); ++end) {
        const Piece& next = last ? piece : pieces[k + 1];
        if (!last && next.placeholder < 0 && line.compare(end, next.literal.size(), next.literal) != 0) {
            continue;
        }
        if (fits(line, end, pieces, k + 1, fill) && fill(line.substr(from, end - from))) {
            return true;
        }
    }
    return false;
}

}  // namespace

const std::vector<Texts::Row>& Texts::table() { return shown().rows; }

const Texts::Row& Texts::row(Id id) { return shown().rows[static_cast<std::size_t>(id)]; }

const std::string& Texts::text(Id id) { return (*shown().texts)[static_cast<std::size_t>(id)]; }

std::string Texts::shownAs(const char* english) {
    for (const Row& r : table()) {
        if (std::strcmp(r.english, english) == 0 && r.kind == Kind::Line) {
            return text(r.id);
        }
    }
    return english;
}

std::string Texts::format(Id id, const std::vector<std::string>& args) {
    const std::string& pattern = text(id);
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const int n = placeholderAt(pattern, i);
        if (n >= 0 && static_cast<std::size_t>(n) < args.size()) {
            out += args[static_cast<std::size_t>(n)];
            i += 2;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

std::string Texts::join(Id joining, const std::vector<std::string>& items) {
    std::string joined;
    for (std::size_t i = 0; i < items.size(); ++i) {
        joined = i == 0 ? items[i] : format(joining, {joined, items[i]});
    }
    return joined;
}

bool Texts::isShown(const std::string& line, const std::function<bool(const std::string&)>& isName) {
    // A name is never empty, and a part's fills are shorter than the part: the search ends. Each
    // piece is judged once.
    std::map<std::string, bool> judged;
    std::function<bool(const std::string&)> namesOrParts = [&](const std::string& piece) {
        if (piece.empty()) {
            return false;
        }
        const auto known = judged.find(piece);
        if (known != judged.end()) {
            return known->second;
        }
        judged[piece] = false;
        if (isName(piece)) {
            return judged[piece] = true;
        }
        const auto shorter = [&](const std::string& fill) { return fill.size() < piece.size() && namesOrParts(fill); };
        for (const Row& r : table()) {
            if (r.kind == Kind::Part && fits(piece, 0, piecesOf(text(r.id)), 0, shorter)) {
                return judged[piece] = true;
            }
        }
        return false;
    };
    // A line's placeholder holds a name, a part, another row's whole text (an action's "Up"), or
    // nothing (a list with none in it).
    const auto filling = [&](const std::string& fill) {
        if (fill.empty() || namesOrParts(fill)) {
            return true;
        }
        for (const Row& r : table()) {
            if (text(r.id) == fill) {
                return true;
            }
        }
        return false;
    };
    for (const Row& r : table()) {
        const std::vector<Piece> pieces = piecesOf(text(r.id));
        if (r.kind == Kind::Line && fits(line, 0, pieces, 0, filling)) {
            return true;
        }
    }
    return namesOrParts(line);
}
