// Face selection in the browser build, over the font files packed with the page: the Japanese font
// for Japanese text, the Latin font otherwise, whatever family is asked for (the page carries no
// named family; fontconfig on Linux likewise falls back to the language's face for the dialogs'
// Windows families). Latin text thinner than normal takes the Latin font's light face, as
// fontconfig takes the nearest weight. The build names the files (cmake/web.cmake).
#include <cstdio>

#include "text/font.h"

namespace quorvane::text {
namespace {

bool Readable(const char* path)
{
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr)
        return false;
    std::fclose(file);
    return true;
}

}  // namespace

// Below this weight (halfway between the light face's 200 and the regular 400) text is light.
constexpr int lightBelow = 300;

bool MatchFontFile(const std::string&, const std::string& language, int weight, bool, FontFile& fontFile)
{
    const bool japanese = language == "ja";
    const char* latin = weight < lightBelow ? QUORVANE_WEB_FONT_LATIN_LIGHT : QUORVANE_WEB_FONT_LATIN;
    const char* preferred = japanese ? QUORVANE_WEB_FONT_JA : latin;
    const char* other = japanese ? latin : QUORVANE_WEB_FONT_JA;
    for (const char* path : {preferred, other, QUORVANE_WEB_FONT_LATIN}) {
        if (Readable(path)) {
            fontFile.path = path;
            fontFile.faceIndex = 0;
            return true;
        }
    }
    return false;
}

}  // namespace quorvane::text
