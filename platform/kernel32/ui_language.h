// The user's user-interface language, read from the locale environment variables, and the
// languages known by their ISO 639 codes.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string_view>

namespace quorvane::kernel32 {

// The language of a locale name such as "ja_JP.UTF-8", "en_GB" or "fr@euro": C and POSIX (with
// any code set) are Japanese, the program's own language; nothing for an empty name or a
// language not known here.
std::optional<LANGID> LanguageOfLocaleName(std::string_view name);

// The user's language. The locale's language is that of the first of LC_ALL, LC_MESSAGES and LANG
// set and not empty (as `variable` reads them); nothing set is C. LANGUAGE, set and not empty,
// goes before it, even when the locale is C: its first entry in a language the program has (`has`,
// by primary language) wins. When it lists none the program has, the locale's language is taken
// if the program has it, else the list's first known entry. A language not known here is English,
// which the program shows for every language it lacks.
LANGID UserLanguageFromEnvironment(const std::function<const char*(const char*)>& variable,
                                   const std::function<bool(WORD)>& has);

// The ISO 639 code of a language ("ja"), or null when it is not known here.
const char* IsoLanguageCode(LANGID language);

}  // namespace quorvane::kernel32
