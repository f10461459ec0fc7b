#include "present/Language.h"

#include "persist/FileIO.h"

#include <libintl.h>

#include <clocale>
#include <cstdlib>
#include <optional>
#include <sys/stat.h>

// glibc's count of catalogue changes: raised, it makes gettext forget the translations it found,
// as the gettext manual advises after LANGUAGE changes.
extern "C" int _nl_msg_cat_cntr;

namespace {

std::string& chosen() {
    static std::string code = "en";
    return code;
}

int& changes() {
    static int count = 0;
    return count;
}

// "de_AT.UTF-8@euro" without its codeset and modifier: "de_AT".
std::string bare(const std::string& code) { return code.substr(0, code.find_first_of(".@")); }

// An environment variable as it is now; none when unset.
std::optional<std::string> variable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::nullopt : std::optional<std::string>(value);
}

// Puts a variable back as it was.
void restore(const char* name, const std::optional<std::string>& value) {
    if (value) {
        setenv(name, value->c_str(), 1);
    } else {
        unsetenv(name);
    }
}

}  // namespace

const std::vector<Language::Shipped>& Language::shipped() {
    static const std::vector<Shipped> languages = {
        {"en", "English"}, {"de", "Deutsch"}, {"fr", "Français"}, {"es", "Español"}, {"pt_BR", "Português (Brasil)"},
    };
    return languages;
}

std::string Language::match(const std::string& code) {
    const std::string asked = bare(code);
    if (asked.empty()) {
        return "";
    }
    const std::string language = asked.substr(0, asked.find('_'));
    for (const Shipped& one : shipped()) {
        if (asked == one.code) {
            return one.code;
        }
    }
    // A region the game has no catalogue for speaks its language's: de_AT is de, pt is pt_BR.
    for (const Shipped& one : shipped()) {
        const std::string own(one.code);
        if (language == own.substr(0, own.find('_'))) {
            return one.code;
        }
    }
    return "";
}

std::string Language::fromEnvironment() {
    // LANGUAGE is honoured even beside a C locale: a player who sets it means it.
    const std::optional<std::string> list = variable("LANGUAGE");
    if (list) {
        std::size_t from = 0;
        while (from <= list->size()) {
            const std::size_t end = std::min(list->find(':', from), list->size());
            const std::string found = match(list->substr(from, end - from));
            if (!found.empty()) {
                return found;
            }
            from = end + 1;
        }
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const std::optional<std::string> value = variable(name);
        if (value && !value->empty()) {
            const std::string found = match(*value);
            return found.empty() ? "en" : found;
        }
    }
    return "en";
}

std::string Language::folder() {
    struct stat here {};
    if (stat(kLocaleFolder, &here) == 0 && S_ISDIR(here.st_mode)) {
        // gettext reads a relative folder against the folder the game runs in at each look-up.
        // (realpath allocating its answer is not a fortified call: the package's lintian override
        // of the fortify check stays in use.)
        char* resolved = realpath(kLocaleFolder, nullptr);
        if (resolved != nullptr) {
            const std::string whole = resolved;
            std::free(resolved);
            return whole;
        }
    }
    return BRAMBLEHOOF_LOCALE_DIR;
}

void Language::choose(const std::string& code) {
    const std::string found = code.empty() ? fromEnvironment() : match(code);
    chosen() = found.empty() ? "en" : found;
    ++changes();
}

const std::string& Language::current() { return chosen(); }

int Language::generation() { return changes(); }

std::vector<std::string> Language::translate(
    const std::string& code, const std::vector<std::pair<std::string, std::string>>& contextAndEnglish) {
    std::vector<std::string> shown;
    for (const auto& one : contextAndEnglish) {
        shown.push_back(one.second);
    }
    if (code.empty() || code == "en") {
        return shown;
    }
    // gettext reads LANGUAGE only beside a locale other than C; C.UTF-8 is in every glibc. The
    // locale and LANGUAGE are the game's only for these look-ups, so strerror and every other
    // message of the process stay English.
    const std::string previous = std::setlocale(LC_MESSAGES, nullptr);
    if (std::setlocale(LC_MESSAGES, "C.UTF-8") == nullptr && std::setlocale(LC_MESSAGES, "C.utf8") == nullptr) {
        static bool told = false;
        if (!told) {
            told = true;
            FileIO::report("no C.UTF-8 locale to read the translations with; the game speaks English");
        }
        return shown;
    }
    const std::optional<std::string> language = variable("LANGUAGE");
    setenv("LANGUAGE", code.c_str(), 1);
    const std::string where = folder();
    bindtextdomain(kDomain, where.c_str());
    bind_textdomain_codeset(kDomain, "UTF-8");
    ++_nl_msg_cat_cntr;
    for (std::size_t i = 0; i < contextAndEnglish.size(); ++i) {
        // A row's context and its English, as msgctxt and msgid are kept in a catalogue.
        const std::string key = contextAndEnglish[i].first + '\004' + contextAndEnglish[i].second;
        const char* found = dgettext(kDomain, key.c_str());
        if (found != key.c_str() && found != nullptr && key != found) {
            shown[i] = found;
        }
    }
    restore("LANGUAGE", language);
    ++_nl_msg_cat_cntr;
    std::setlocale(LC_MESSAGES, previous.c_str());
    return shown;
}
