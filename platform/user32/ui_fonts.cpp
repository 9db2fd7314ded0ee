#include "user32/ui_fonts.h"

#include <map>
#include <memory>
#include <tuple>

#include "kernel32/utf8.h"

namespace quorvane::user32 {

namespace {

constexpr int menuPoints = 9;

text::Font* Kept(const text::FontRequest& request)
{
    using Key = std::tuple<std::string, int, int, bool>;
    // Never destroyed: menus and dialogs may still be drawn while static objects go at exit.
    static auto& fonts = *new std::map<Key, std::unique_ptr<text::Font>>;
    Key key{request.family, request.height, request.weight, request.italic};
    auto found = fonts.find(key);
    if (found == fonts.end())
        found = fonts.emplace(key, text::Font::Open(request)).first;
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
    request.height = -PointsToPixels(menuPoints);
    return Kept(request);
}

text::Font* DialogFont(const std::wstring& family, int points, int weight, bool italic)
{
    text::FontRequest request;
    request.height = -PointsToPixels(points > 0 ? points : menuPoints);
    request.weight = weight > 0 ? weight : 400;
    request.italic = italic;
    request.family = kernel32::EncodeUtf8Lossy(family);
    return Kept(request);
}

}  // namespace quorvane::user32
