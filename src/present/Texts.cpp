#include "present/Texts.h"

namespace {

#define BRAMBLEHOOF_TEXT_ROW(id, kind, english, note) Texts::Row{Texts::Id::id, Texts::Kind::kind, english, note},

// The texts as shown, made once: a frame asks for its HUD lines every time.
struct Shown {
    std::vector<Texts::Row> rows{BRAMBLEHOOF_TEXTS(BRAMBLEHOOF_TEXT_ROW)};
    std::vector<std::string> texts;
    Shown() {
        for (const Texts::Row& row : rows) {
            texts.emplace_back(row.english);
        }
    }
};

#undef BRAMBLEHOOF_TEXT_ROW

const Shown& shown() {
    static const Shown made;
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
    for (std::size_t end = from; end <= line.size(); ++end) {
        if (fill(line.substr(from, end - from)) && fits(line, end, pieces, k + 1, fill)) {
            return true;
        }
    }
    return false;
}

}  // namespace

const std::vector<Texts::Row>& Texts::table() { return shown().rows; }

const Texts::Row& Texts::row(Id id) { return shown().rows[static_cast<std::size_t>(id)]; }

const std::string& Texts::text(Id id) { return shown().texts[static_cast<std::size_t>(id)]; }

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
    const auto anything = [](const std::string&) { return true; };
    std::function<bool(const std::string&)> namesOrParts = [&](const std::string& piece) {
        if (isName(piece)) {
            return true;
        }
        for (const Row& r : table()) {
            if (r.kind == Kind::Part && fits(piece, 0, piecesOf(text(r.id)), 0, namesOrParts)) {
                return true;
            }
        }
        return false;
    };
    for (const Row& r : table()) {
        const std::vector<Piece> pieces = piecesOf(text(r.id));
        if (r.kind == Kind::Line && fits(line, 0, pieces, 0, anything)) {
            return true;
        }
    }
    return namesOrParts(line);
}
