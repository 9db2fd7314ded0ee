// The browser build has no fontconfig: its fonts are files packed with the page at paths the build
// chooses (web/font_matching.cpp), so there is no configuration to load.
#include "text/font_configuration.h"

namespace quorvane::text {

void StartLoadingFontConfiguration()
{
}

bool FontConfigurationLoaded()
{
    return true;
}

}  // namespace quorvane::text
