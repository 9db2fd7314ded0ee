// Laying text out in lines of glyphs, as GDI's DrawText does for left-to-right scripts:
// lines end at '\n', '&' marks a mnemonic unless prefixes are off.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "text/font.h"

namespace quorvane::text {

// A line with its mnemonic ('&x' becomes 'x', '&&' a single '&').
struct TextLine {
    std::u32string characters;
    int underlined = -1;  // index into characters of the mnemonic, or -1
};

// Splits at '\n' (a '\r' before it is dropped) unless singleLine, where both are kept as
// characters; with processPrefixes, '&' marks are taken out as described above.
std::vector<TextLine> SplitLines(std::u32string_view text, bool singleLine, bool processPrefixes);

// Sum of the advances.
int LineWidth(Font& font, std::u32string_view line);

// A glyph bitmap's top-left pixel.
struct PlacedGlyph {
    const Glyph* glyph = nullptr;
    int x = 0;
    int y = 0;
};

// The glyphs of one line with the pen starting at (x, baseline). Glyphs without pixels
// (spaces) are left out. `penPositions`, if given, receives the pen x before each character
// and after the last (size + 1 entries).
std::vector<PlacedGlyph> PlaceLine(Font& font, std::u32string_view line, int x, int baseline,
                                   std::vector<int>* penPositions = nullptr);

// wchar_t text (UTF-32 on Linux, UTF-16 on Windows) as code points; unpaired surrogates are kept.
std::u32string ToCodePoints(std::wstring_view text);

}  // namespace quorvane::text
