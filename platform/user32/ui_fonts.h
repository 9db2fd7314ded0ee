// The fonts menus and dialog boxes are drawn with, opened once through platform/text and kept.
#pragma once

#include <string>

#include "text/font.h"

namespace quorvane::user32 {

// The menu font: 9 points at 96 DPI (an em of 12 pixels), the face fontconfig finds for
// Japanese text (IPAGothic on Debian). Null when no face is found.
constexpr int menuFontPoints = 9;
text::Font* MenuFont();

// A dialog template's font. fontconfig picks a face with Japanese glyphs for a family this
// system lacks ("MS UI Gothic" becomes IPAGothic). Null when no face is found.
text::Font* DialogFont(const std::wstring& family, int points, int weight, bool italic);

// A font of this file at `scale` times its size (the screen's resolution on a scaled desktop):
// the same face and style, rasterised at the larger size. Any other font comes back as it is.
text::Font& ScaledFont(text::Font& font, float scale);

// Pixels of a size in points at 96 DPI, as GDI rounds them.
int PointsToPixels(int points);

}  // namespace quorvane::user32
