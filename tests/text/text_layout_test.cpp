// Lines, mnemonics and glyph placement.
#include "text/text_layout.h"

#include <gtest/gtest.h>

namespace quorvane::text {
namespace {

TEST(TextLayout, LinesEndAtNewlinesAndAmpersandsMarkMnemonics)
{
    const std::vector<TextLine> lines = SplitLines(U"&File\r\nA && B\n&", false, true);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].characters, U"File");
    EXPECT_EQ(lines[0].underlined, 0);
    EXPECT_EQ(lines[1].characters, U"A & B");
    EXPECT_EQ(lines[1].underlined, -1);
    EXPECT_EQ(lines[2].characters, U"");  // a trailing '&' marks nothing
}

TEST(TextLayout, SingleLineKeepsLineBreaksAndNoPrefixKeepsAmpersands)
{
    const std::vector<TextLine> lines = SplitLines(U"a\nb&c", true, false);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].characters, U"a\nb&c");
    EXPECT_EQ(lines[0].underlined, -1);
}

TEST(TextLayout, GlyphsFollowThePenAndSkipBlanks)
{
    FontRequest request;
    request.height = 24;
    request.averageWidth = 8;
    const std::unique_ptr<Font> font = Font::Open(request);
    ASSERT_TRUE(font);
    std::vector<int> pens;
    const std::vector<PlacedGlyph> placed = PlaceLine(*font, U"地 球", 10, 30, &pens);
    ASSERT_EQ(placed.size(), 2u);  // the space has no pixels
    ASSERT_EQ(pens.size(), 4u);
    EXPECT_EQ(pens[0], 10);
    EXPECT_EQ(pens[1], 10 + font->GlyphFor(U'地').advance);
    EXPECT_EQ(pens[3], 10 + LineWidth(*font, U"地 球"));
    EXPECT_EQ(placed[0].x, 10 + font->GlyphFor(U'地').left);
    EXPECT_EQ(placed[0].y, 30 - font->GlyphFor(U'地').top);
    EXPECT_EQ(placed[1].x, pens[2] + font->GlyphFor(U'球').left);
}

TEST(TextLayout, WideCharactersBecomeCodePoints)
{
    EXPECT_EQ(ToCodePoints(L"左ドラッグ"), U"左ドラッグ");
    EXPECT_EQ(ToCodePoints(L""), U"");
}

}  // namespace
}  // namespace quorvane::text
