// Prints the translators' template of the game's on-screen texts (po/bramblehoof.pot) from the
// texts table: one entry a row, its id as the context, its note as the comment for translators.
// Made from the table itself, so the template can never miss a row; `make pot` writes it and a
// test compares it with the one kept in po/.

#include "present/Texts.h"

#include <fstream>
#include <iostream>
#include <string>

namespace {

struct Row {
    const char* id;
    const char* kind;
    const char* english;
    const char* note;
};

#define BRAMBLEHOOF_POT_ROW(id, kind, english, note) Row{#id, #kind, english, note},
const Row kRows[] = {BRAMBLEHOOF_TEXTS(BRAMBLEHOOF_POT_ROW)};
#undef BRAMBLEHOOF_POT_ROW

// A string as a .po file quotes it.
std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out + "\"";
}

}  // namespace

int main(int argc, char* argv[]) {
    std::ofstream file;
    if (argc > 1) {
        file.open(argv[1], std::ios::binary | std::ios::trunc);
        if (!file) {
            std::cerr << "make_pot: cannot write " << argv[1] << '\n';
            return 1;
        }
    }
    std::ostream& out = argc > 1 ? file : std::cout;
    out << "# The on-screen texts of Bramblehoof, for translators.\n"
           "# Made by tools/texts/make_pot.cpp from src/present/Texts.h (make pot); do not edit by hand.\n"
           "# {0}, {1}, ... stand for numbers, names or keys and are kept in every translation, in any\n"
           "# order the sentence needs. Keys printed on keycaps (Esc, F1, M) stay as they are.\n"
           "#, fuzzy\n"
           "msgid \"\"\n"
           "msgstr \"\"\n"
           "\"Project-Id-Version: bramblehoof\\n\"\n"
           "\"Language: \\n\"\n"
           "\"MIME-Version: 1.0\\n\"\n"
           "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
           "\"Content-Transfer-Encoding: 8bit\\n\"\n";
    for (const Row& row : kRows) {
        out << "\n#. " << row.note << '\n';
        if (std::string(row.kind) == "Part") {
            out << "#. (a part, filled into other texts)\n";
        }
        out << "msgctxt " << quoted(row.id) << "\nmsgid " << quoted(row.english) << "\nmsgstr \"\"\n";
    }
    return out ? 0 : 1;
}
