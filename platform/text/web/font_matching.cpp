// Face selection in the browser build, over the font files packed with the page: the Japanese font
// for Japanese text, the Latin font otherwise, whatever family is asked for (the page carries no
// named family; fontconfig on Linux likewise falls back to the language's face for the dialogs'
// Windows families). The build names both files (cmake/web.cmake).
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

bool MatchFontFile(const std::string&, const std::string& language, int, bool, FontFile& fontFile)
{
    const bool japanese = language == "ja";
    const char* preferred = japanese ? QUORVANE_WEB_FONT_JA : QUORVANE_WEB_FONT_LATIN;
    const char* other = japanese ? QUORVANE_WEB_FONT_LATIN : QUORVANE_WEB_FONT_JA;
    for (const char* path : {preferred, other}) {
        if (Readable(path)) {
            fontFile.path = path;
            fontFile.faceIndex = 0;
            return true;
        }
    }
    return false;
}

}  // namespace quorvane::text
