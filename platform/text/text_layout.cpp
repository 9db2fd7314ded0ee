#include "text/text_layout.h"

namespace quorvane::text {

std::vector<TextLine> SplitLines(std::u32string_view text, bool singleLine, bool processPrefixes)
{
    std::vector<TextLine> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (!singleLine && c == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') {
            continue;
        }
        if (!singleLine && c == U'\n') {
            lines.emplace_back();
            continue;
        }
        TextLine& line = lines.back();
        if (processPrefixes && c == U'&') {
            if (i + 1 < text.size() && text[i + 1] == U'&') {
                line.characters.push_back(U'&');
                ++i;
            } else if (i + 1 < text.size()) {
                line.underlined = static_cast<int>(line.characters.size());
            }
            continue;
        }
        line.characters.push_back(c);
    }
    return lines;
}

int LineWidth(Font& font, std::u32string_view line)
{
    int width = 0;
    for (char32_t c : line) {
        width += font.GlyphFor(c).advance;
    }
    return width;
}

std::vector<PlacedGlyph> PlaceLine(Font& font, std::u32string_view line, int x, int baseline,
                                   std::vector<int>* penPositions)
{
    std::vector<PlacedGlyph> placed;
    if (penPositions != nullptr) {
        penPositions->clear();
    }
    for (char32_t c : line) {
        if (penPositions != nullptr) {
            penPositions->push_back(x);
        }
        const Glyph& glyph = font.GlyphFor(c);
        if (glyph.width > 0 && glyph.height > 0) {
            placed.push_back({&glyph, x + glyph.left, baseline - glyph.top});
        }
        x += glyph.advance;
    }
    if (penPositions != nullptr) {
        penPositions->push_back(x);
    }
    return placed;
}

std::u32string ToCodePoints(std::wstring_view text)
{
    std::u32string codePoints;
    codePoints.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto unit = static_cast<char32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            const bool high = unit >= 0xD800 && unit <= 0xDBFF;
            if (high && i + 1 < text.size()) {
                const auto low = static_cast<char32_t>(text[i + 1]);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    codePoints.push_back(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                    ++i;
                    continue;
                }
            }
        }
        codePoints.push_back(unit);
    }
    return codePoints;
}

}  // namespace quorvane::text
