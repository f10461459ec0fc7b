#include "present/Language.h"

#include "present/Texts.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The environment's language variables as a desktop sets them; the scratch folder (which links the
// built catalogues) clears them first.
class LanguageTest : public testing::Test {
protected:
    void TearDown() override {
        for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) {
            unsetenv(name);
        }
        setenv("LANG", "C.UTF-8", 1);
        Language::choose("en");
    }
    static void set(const char* language, const char* all, const char* messages, const char* lang) {
        const char* names[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
        const char* values[] = {language, all, messages, lang};
        for (int i = 0; i < 4; ++i) {
            if (values[i] == nullptr) {
                unsetenv(names[i]);
            } else {
                setenv(names[i], values[i], 1);
            }
        }
    }

    testsupport::ScratchDir scratch;
};

}  // namespace

// System: LANGUAGE's first shipped language, else the first of LC_ALL, LC_MESSAGES, LANG that is
// set; a region or codeset is read past, a language not shipped is English.
TEST_F(LanguageTest, TheSystemsLanguageIsTheFirstShippedOneTheEnvironmentNames) {
    set(nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(Language::fromEnvironment(), "en");
    set(nullptr, nullptr, nullptr, "de_AT.UTF-8");
    EXPECT_EQ(Language::fromEnvironment(), "de");
    set(nullptr, nullptr, "fr_CA.UTF-8", "de_DE.UTF-8");
    EXPECT_EQ(Language::fromEnvironment(), "fr");
    set(nullptr, "es_MX.UTF-8@euro", "fr_FR", "de_DE");
    EXPECT_EQ(Language::fromEnvironment(), "es");
    set("it:pt_BR:de", "es_ES", nullptr, "C.UTF-8");
    EXPECT_EQ(Language::fromEnvironment(), "pt_BR") << "LANGUAGE's list, the first one shipped";
    set("it:nl", "es_ES", nullptr, nullptr);
    EXPECT_EQ(Language::fromEnvironment(), "es") << "none of LANGUAGE's is shipped";
    set("", nullptr, nullptr, "pt_PT.UTF-8");
    EXPECT_EQ(Language::fromEnvironment(), "pt_BR") << "the one Portuguese the game speaks";
    set(nullptr, nullptr, nullptr, "ja_JP.UTF-8");
    EXPECT_EQ(Language::fromEnvironment(), "en");
    set(nullptr, "C", nullptr, "de_DE.UTF-8");
    EXPECT_EQ(Language::fromEnvironment(), "en") << "LC_ALL=C is English";
    EXPECT_EQ(Language::match("klingon"), "");
    EXPECT_EQ(Language::match("pt_BR"), "pt_BR");
}

// The texts in each language, read from the built catalogues; and only the screen's texts change:
// the environment and the locale are as they were, and a system error reads English.
TEST_F(LanguageTest, EachLanguageSpeaksItsCatalogueAndNothingElseOfTheProcessChanges) {
    set("fr", nullptr, nullptr, "C");
    const std::string localeBefore = std::setlocale(LC_MESSAGES, nullptr);
    const std::string numericBefore = std::setlocale(LC_NUMERIC, nullptr);
    const std::string englishError = std::strerror(ENOENT);

    const struct {
        const char* code;
        const char* newGame;
        const char* health;
    } spoken[] = {{"de", "NEUES SPIEL", "Gesundheit: 7"},
                  {"fr", "NOUVELLE PARTIE", "Santé : 7"},
                  {"es", "NUEVA PARTIDA", "Salud: 7"},
                  {"pt_BR", "NOVO JOGO", "Saúde: 7"},
                  {"en", "NEW GAME", "Health: 7"}};
    for (const auto& one : spoken) {
        Language::choose(one.code);
        EXPECT_EQ(Language::current(), one.code);
        EXPECT_EQ(Texts::text(Texts::Id::MenuNewGame), one.newGame);
        EXPECT_EQ(Texts::format(Texts::Id::HudHealth, {"7"}), one.health);
        EXPECT_STREQ(std::getenv("LANGUAGE"), "fr") << one.code;
        EXPECT_EQ(std::setlocale(LC_MESSAGES, nullptr), localeBefore);
        EXPECT_EQ(std::setlocale(LC_NUMERIC, nullptr), numericBefore);
        EXPECT_EQ(std::strerror(ENOENT), englishError);
    }
    // The system's choice follows the environment as it was set.
    Language::choose("");
    EXPECT_EQ(Language::current(), "fr");
    EXPECT_EQ(Texts::text(Texts::Id::OptionsLanguage), "Langue");
}
