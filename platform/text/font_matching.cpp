// Face selection through fontconfig. The pattern asks for the coverage of the text's language:
// for Japanese, Debian picks IPAGothic (fonts-ipafont-gothic) without a family name.
#include <fontconfig/fontconfig.h>

#include "text/font.h"
#include "text/font_configuration.h"

namespace quorvane::text {

bool MatchFontFile(const std::string& family, const std::string& language, int weight, bool italic, FontFile& fontFile)
{
    if (!FontConfigurationLoaded()) {
        return false;
    }
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) {
        return false;
    }
    if (!family.empty()) {
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    }
    FcLangSet* languages = FcLangSetCreate();
    FcLangSetAdd(languages, reinterpret_cast<const FcChar8*>(language.c_str()));
    FcPatternAddLangSet(pattern, FC_LANG, languages);
    FcLangSetDestroy(languages);
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);

    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    bool found = false;
    if (match != nullptr) {
        FcChar8* file = nullptr;
        int index = 0;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
            FcPatternGetInteger(match, FC_INDEX, 0, &index);
            fontFile.path = reinterpret_cast<const char*>(file);
            fontFile.faceIndex = index;
            found = true;
        }
        FcPatternDestroy(match);
    }
    return found;
}

}  // namespace quorvane::text
