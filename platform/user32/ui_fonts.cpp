#include "user32/ui_fonts.h"

#include <windows.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "kernel32/utf8.h"

namespace quorvane::user32 {

namespace {

// What each kept font was opened for, to open it again at another size.
std::map<const text::Font*, text::FontRequest>& Requests()
{
    static auto& requests = *new std::map<const text::Font*, text::FontRequest>;
    return requests;
}

// The language of the thread's user interface, which its menus, dialogs and texts are shown in,
// as fontconfig names it; English for a language without a code.
std::string InterfaceLanguage()
{
    WCHAR code[9] = L"";
    if (GetLocaleInfoW(MAKELCID(GetThreadUILanguage(), SORT_DEFAULT), LOCALE_SISO639LANGNAME, code, 9) == 0)
        return "en";
    return std::string(code, code + std::char_traits<WCHAR>::length(code));
}

text::Font* Kept(text::FontRequest request)
{
    request.language = InterfaceLanguage();
    using Key = std::tuple<std::string, std::string, int, int, bool>;
    // Never destroyed: menus and dialogs may still be drawn while static objects go at exit.
    static auto& fonts = *new std::map<Key, std::unique_ptr<text::Font>>;
    Key key{request.family, request.language, request.height, request.weight, request.italic};
    auto found = fonts.find(key);
    if (found == fonts.end()) {
        found = fonts.emplace(key, text::Font::Open(request)).first;
        if (found->second)
            Requests().emplace(found->second.get(), request);
    }
    return found->second.get();
}

}  // namespace

int PointsToPixels(int points)
{
    return (points * 96 + 36) / 72;
}

text::Font* MenuFont()
{
    text::FontRequest request;
    request.height = -PointsToPixels(menuFontPoints);
    return Kept(request);
}

text::Font& ScaledFont(text::Font& font, float scale)
{
    auto found = Requests().find(&font);
    if (scale == 1 || found == Requests().end())
        return font;
    text::FontRequest request = found->second;
    request.height = int(std::lround(float(request.height) * scale));
    text::Font* scaled = Kept(request);
    return scaled ? *scaled : font;
}

text::Font* DialogFont(const std::wstring& family, int points, int weight, bool italic)
{
    text::FontRequest request;
    request.height = -PointsToPixels(points > 0 ? points : menuFontPoints);
    request.weight = weight > 0 ? weight : 400;
    request.italic = italic;
    request.family = kernel32::EncodeUtf8Lossy(family);
    return Kept(request);
}

}  // namespace quorvane::user32
