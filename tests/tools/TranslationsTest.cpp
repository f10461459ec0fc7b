#include "present/Language.h"
#include "present/Texts.h"

#include "TestSupport.h"

#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// One entry of a .po file: its context, English and translation, and whether it is marked fuzzy.
struct Entry {
    std::string context;
    std::string english;
    std::string translation;
    bool fuzzy = false;
};

// A .po string's contents: the quoted pieces of its lines joined, the escapes read.
std::string unquoted(const std::string& line) {
    const std::size_t open = line.find('"');
    const std::size_t close = line.rfind('"');
    std::string out;
    for (std::size_t i = open + 1; open != std::string::npos && i < close; ++i) {
        if (line[i] == '\\' && i + 1 < close) {
            ++i;
            out += line[i] == 'n' ? '\n' : line[i];
        } else {
            out += line[i];
        }
    }
    return out;
}

// Every entry of a .po file but its header, in the file's order.
std::vector<Entry> entriesOf(const std::string& path) {
    std::ifstream file(path);
    EXPECT_TRUE(file.good()) << path;
    std::vector<Entry> entries;
    Entry entry;
    std::string* field = nullptr;
    bool fuzzy = false;
    const auto finish = [&] {
        if (!entry.english.empty() || !entry.context.empty()) {
            entries.push_back(entry);
        }
        entry = Entry();
        field = nullptr;
    };
    for (std::string line; std::getline(file, line);) {
        if (line.rfind("#,", 0) == 0 && line.find("fuzzy") != std::string::npos) {
            fuzzy = true;
        } else if (line.rfind("msgctxt ", 0) == 0) {
            finish();
            entry.fuzzy = fuzzy;
            fuzzy = false;
            field = &entry.context;
            *field = unquoted(line);
        } else if (line.rfind("msgid ", 0) == 0) {
            if (entry.context.empty()) {
                finish();
                entry.fuzzy = fuzzy;
                fuzzy = false;
            }
            field = &entry.english;
            *field = unquoted(line);
        } else if (line.rfind("msgstr ", 0) == 0) {
            field = &entry.translation;
            *field = unquoted(line);
        } else if (line.rfind('"', 0) == 0 && field != nullptr) {
            *field += unquoted(line);
        }
    }
    finish();
    return entries;
}

// The placeholders of a text, {0} {1}..., sorted: what a translation must keep, each as often.
std::vector<std::string> placeholdersOf(const std::string& text) {
    std::vector<std::string> found;
    for (std::size_t at = text.find('{'); at != std::string::npos; at = text.find('{', at + 1)) {
        const std::size_t end = text.find('}', at);
        if (end != std::string::npos) {
            found.push_back(text.substr(at, end - at + 1));
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::string poFile(const std::string& name) { return testsupport::sourceDir() + "/po/" + name; }

// Every translation the game ships: each language but English.
std::vector<std::string> shippedTranslations() {
    std::vector<std::string> codes;
    for (const Language::Shipped& one : Language::shipped()) {
        if (std::string(one.code) != "en") {
            codes.push_back(one.code);
        }
    }
    return codes;
}

}  // namespace

// The kept template is the one the texts table makes now: a row added without `make pot` fails here.
TEST(Translations, TheTemplateIsTheTextsTableAsItIsNow) {
    testsupport::ScratchDir scratch;
    const std::string made = scratch.file("made.pot");
    ASSERT_EQ(std::system(("'" + std::string(BRAMBLEHOOF_MAKE_POT) + "' '" + made + "'").c_str()), 0);
    EXPECT_EQ(testsupport::readFile(made), testsupport::readFile(poFile("bramblehoof.pot")))
        << "po/bramblehoof.pot is out of date: run make pot";

    const std::vector<Entry> entries = entriesOf(poFile("bramblehoof.pot"));
    ASSERT_EQ(entries.size(), Texts::table().size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Texts::Row& row = Texts::table()[i];
        EXPECT_EQ(entries[i].context, row.name);
        EXPECT_EQ(entries[i].english, row.english);
    }
}

// Each shipped language has its .po, every entry of the template translated in it and none fuzzy,
// and msgfmt --check takes it.
TEST(Translations, EveryShippedCatalogueIsCompleteAndChecksClean) {
    const std::vector<Entry> wanted = entriesOf(poFile("bramblehoof.pot"));
    ASSERT_FALSE(wanted.empty());
    for (const std::string& code : shippedTranslations()) {
        SCOPED_TRACE(code);
        std::map<std::string, Entry> translated;
        for (const Entry& entry : entriesOf(poFile(code + ".po"))) {
            EXPECT_TRUE(translated.emplace(entry.context, entry).second) << entry.context << " twice";
        }
        for (const Entry& one : wanted) {
            const auto found = translated.find(one.context);
            ASSERT_NE(found, translated.end()) << one.context << " is not in " << code << ".po";
            EXPECT_EQ(found->second.english, one.english) << one.context << ": English of another day";
            EXPECT_NE(found->second.translation, "") << one.context << " is not translated";
            EXPECT_FALSE(found->second.fuzzy) << one.context << " is fuzzy";
        }
        EXPECT_EQ(translated.size(), wanted.size()) << "entries the template no longer has";
        const std::string check = "msgfmt --check -o /dev/null '" + poFile(code + ".po") + "' 2>/dev/null";
        EXPECT_EQ(std::system(check.c_str()), 0) << check;
    }
}

// A translation keeps exactly its English's placeholders, each as often, in any order.
TEST(Translations, EveryTranslationKeepsItsPlaceholders) {
    for (const std::string& code : shippedTranslations()) {
        for (const Entry& entry : entriesOf(poFile(code + ".po"))) {
            EXPECT_EQ(placeholdersOf(entry.translation), placeholdersOf(entry.english))
                << code << ".po, " << entry.context << ": \"" << entry.translation << "\"";
        }
    }
}

// The game's one font shows every letter the translations use, the accents and the Spanish marks
// the four languages need among them, so no letter of theirs is drawn as a box.
TEST(Translations, TheFontShowsEveryLetterOfEveryTranslation) {
    ASSERT_EQ(TTF_Init(), 0);
    TTF_Font* font = TTF_OpenFont((testsupport::sourceDir() + "/images/slkscr.ttf").c_str(), 30);
    ASSERT_NE(font, nullptr) << TTF_GetError();
    std::string letters = "äöüß ÄÖÜ éèêàç ÉÈÊÀÇ ñáíóú ÑÁÍÓÚ ãõâ ÃÕÂ ¿¡ ôûîë";
    for (const std::string& code : shippedTranslations()) {
        for (const Entry& entry : entriesOf(poFile(code + ".po"))) {
            letters += entry.translation;
        }
    }
    // UTF-8 read one code point at a time.
    for (std::size_t i = 0; i < letters.size();) {
        const unsigned char lead = static_cast<unsigned char>(letters[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xe0 ? 2 : lead < 0xf0 ? 3 : 4;
        Uint32 point = length == 1 ? lead : lead & (0x3f >> (length - 1));
        for (int k = 1; k < length && i + k < letters.size(); ++k) {
            point = (point << 6) | (static_cast<unsigned char>(letters[i + k]) & 0x3f);
        }
        EXPECT_TRUE(TTF_GlyphIsProvided32(font, point) != 0)
            << "no letter for U+" << std::hex << point << " (" << letters.substr(i, length) << ")";
        i += length;
    }
    TTF_CloseFont(font);
    TTF_Quit();
}
