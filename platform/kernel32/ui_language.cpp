// The user's and the thread's user-interface language.
#include "kernel32/ui_language.h"

#include "kernel32/last_error.h"
#include "kernel32/module_resources.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace quorvane::kernel32 {
namespace {

struct KnownLanguage {
    const char* code;  // ISO 639-1
    WORD primary;      // LANG_* of Windows
};

// The languages Windows and the locales most often name; the program has two of them, the
// others are known so that FindResourceW can fall back from them as Windows does.
constexpr KnownLanguage knownLanguages[] = {
    {"ja", LANG_JAPANESE}, {"en", LANG_ENGLISH}, {"zh", 0x04}, {"de", 0x07}, {"es", 0x0a}, {"fr", 0x0c},
    {"it", 0x10},          {"ko", 0x12},         {"nl", 0x13}, {"pt", 0x16}, {"ru", 0x19},
};

struct EnglishTerritory {
    const char* code;  // ISO 3166
    WORD sublanguage;
};

constexpr EnglishTerritory englishTerritories[] = {
    {"US", SUBLANG_ENGLISH_US}, {"GB", SUBLANG_ENGLISH_UK}, {"AU", 0x03}, {"CA", 0x04}, {"NZ", 0x05}, {"IE", 0x06},
};

const LANGID japanese = MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN);
const LANGID english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

WORD Sublanguage(WORD primary, std::string_view territory)
{
    if (primary != LANG_ENGLISH)
        return SUBLANG_DEFAULT;
    for (const EnglishTerritory& known : englishTerritories) {
        if (territory == known.code)
            return known.sublanguage;
    }
    return SUBLANG_DEFAULT;
}

// The LANGUAGE list's first entry the program has, and its first entry known here.
struct ListChoice {
    std::optional<LANGID> had, firstKnown;
};
ListChoice FromLanguageList(std::string_view list, const std::function<bool(WORD)>& has)
{
    ListChoice choice;
    while (!list.empty() && !choice.had) {
        const std::size_t colon = list.find(':');
        const std::optional<LANGID> language = LanguageOfLocaleName(list.substr(0, colon));
        if (language && has(PRIMARYLANGID(*language)))
            choice.had = language;
        else if (!choice.firstKnown)
            choice.firstKnown = language;
        list = colon == std::string_view::npos ? std::string_view{} : list.substr(colon + 1);
    }
    return choice;
}

// The thread's own choice; 0 until SetThreadUILanguage makes one. A plain value, so nothing of it
// needs destroying when the thread ends.
thread_local LANGID threadLanguage = 0;

}  // namespace

std::optional<LANGID> LanguageOfLocaleName(std::string_view name)
{
    const std::string_view withoutCodeSet = name.substr(0, name.find_first_of(".@"));
    if (name.empty())
        return std::nullopt;
    if (withoutCodeSet == "C" || withoutCodeSet == "POSIX")
        return japanese;
    const std::size_t underscore = withoutCodeSet.find('_');
    const std::string_view code = withoutCodeSet.substr(0, underscore);
    const std::string_view territory =
        underscore == std::string_view::npos ? std::string_view{} : withoutCodeSet.substr(underscore + 1);
    for (const KnownLanguage& known : knownLanguages) {
        if (code == known.code)
            return MAKELANGID(known.primary, Sublanguage(known.primary, territory));
    }
    return std::nullopt;
}

LANGID UserLanguageFromEnvironment(const std::function<const char*(const char*)>& variable,
                                   const std::function<bool(WORD)>& has)
{
    const auto set = [&](const char* name) {
        const char* value = variable(name);
        return value != nullptr && *value != '\0' ? value : nullptr;
    };
    // The locale's language, as the C library takes the locale for messages.
    LANGID locale = japanese;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (const char* value = set(name)) {
            locale = LanguageOfLocaleName(value).value_or(english);
            break;
        }
    }
    const char* list = set("LANGUAGE");
    if (list == nullptr)
        return locale;
    const ListChoice choice = FromLanguageList(list, has);
    if (choice.had)
        return *choice.had;
    // None of the list's languages is the program's: the locale's, when the program has it,
    // rather than English.
    return has(PRIMARYLANGID(locale)) ? locale : choice.firstKnown.value_or(locale);
}

const char* IsoLanguageCode(LANGID language)
{
    for (const KnownLanguage& known : knownLanguages) {
        if (PRIMARYLANGID(language) == known.primary)
            return known.code;
    }
    return nullptr;
}

}  // namespace quorvane::kernel32

using namespace quorvane::kernel32;

extern "C" LANGID WINAPI GetUserDefaultUILanguage(void)
{
    return UserLanguageFromEnvironment([](const char* name) { return std::getenv(name); }, ServesPrimaryLanguage);
}

extern "C" LANGID WINAPI GetThreadUILanguage(void)
{
    return threadLanguage != 0 ? threadLanguage : GetUserDefaultUILanguage();
}

extern "C" LANGID WINAPI SetThreadUILanguage(LANGID language)
{
    threadLanguage = language;
    return GetThreadUILanguage();
}

extern "C" int WINAPI GetLocaleInfoW(LCID locale, LCTYPE type, LPWSTR data, int dataLength)
{
    const char* code = IsoLanguageCode(LANGIDFROMLCID(locale));
    if (type != LOCALE_SISO639LANGNAME || code == nullptr || dataLength < 0 || (dataLength > 0 && data == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::wstring text(code, code + std::char_traits<char>::length(code));
    const int needed = int(text.size()) + 1;
    if (dataLength == 0)
        return needed;
    if (dataLength < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::copy(text.begin(), text.end(), data);
    data[text.size()] = L'\0';
    return needed;
}
