#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Which language the screen speaks, and where its catalogues are. The game's texts are English in
// the program; a translation is a gettext catalogue (locale/LANG/LC_MESSAGES/bramblehoof.mo) looked
// up once for the whole table when the language is chosen, so nothing in a frame asks gettext and
// nothing else of the process (standard error, strerror, numbers in files) ever changes language.
class Language {
public:
    static constexpr const char* kDomain = "bramblehoof";
    static constexpr const char* kLocaleFolder = "locale";  // beside images/, as the launcher links it

    struct Shipped {
        const char* code;     // as gettext and settings.ini name it: "de", "pt_BR"
        const char* ownName;  // as its speakers write it, shown so on the options whatever the language
    };
    // English first, then every language whose catalogue the game ships.
    static const std::vector<Shipped>& shipped();

    // The shipped language the environment asks for: the first of LANGUAGE's list (colon-separated)
    // that is shipped, else LC_ALL, LC_MESSAGES or LANG (the first one set); a language is matched
    // by its code ("pt_BR.UTF-8" is pt_BR) or its language alone ("de_AT" is de). English when none
    // matches. Read as the process started, whatever the game later did to its environment.
    static std::string fromEnvironment();
    // The shipped language code names, or "" when it names none; code may carry a region, a codeset
    // or a modifier.
    static std::string match(const std::string& code);

    // Where the catalogues are: locale/ in the folder the game runs in when there is one (the source
    // tree's, or the one the installed launcher links), else the folder the game was installed with.
    static std::string folder();

    // Speaks code (a shipped one; "" for what the environment asks) from now on: every text is read
    // again from the catalogue. The generation counts the changes, so a drawing kept from before
    // knows to make itself again.
    static void choose(const std::string& code);
    static const std::string& current();
    static int generation();

    // The translation of english in context for code, or english when the catalogue lacks it (or
    // for English). Looks each one up in gettext: for the table at a change, not for a frame.
    static std::vector<std::string> translate(
        const std::string& code, const std::vector<std::pair<std::string, std::string>>& contextAndEnglish);
};
