// Fonts from fontconfig and FreeType, sized like GDI's LOGFONT.
#include "text/font.h"
#include "text/font_configuration.h"

#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <cstdlib>
#include <string>

namespace quorvane::text {
namespace {

FontRequest HelpFont()
{
    FontRequest request;
    request.height = 24;
    request.averageWidth = 8;
    request.weight = 100;
    return request;
}

std::string FamilyOf(const Font& font)
{
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    std::string family;
    FT_Init_FreeType(&library);
    if (FT_New_Face(library, font.FilePath().c_str(), font.FaceIndex(), &face) == 0) {
        family = face->family_name != nullptr ? face->family_name : "";
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return family;
}

TEST(Font, WithoutAFamilyTheJapaneseGothicFaceIsChosen)
{
    const std::unique_ptr<Font> font = Font::Open(HelpFont());
    ASSERT_TRUE(font);
    EXPECT_EQ(FamilyOf(*font), "IPAGothic");
}

TEST(Font, PositiveHeightIsTheCellAndNegativeHeightTheEm)
{
    const std::unique_ptr<Font> cell = Font::Open(HelpFont());
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->LineHeight(), 24);
    EXPECT_GT(cell->Ascent(), cell->Descent());

    FontRequest emRequest = HelpFont();
    emRequest.height = -24;
    emRequest.averageWidth = 0;
    const std::unique_ptr<Font> em = Font::Open(emRequest);
    ASSERT_TRUE(em);
    EXPECT_EQ(em->PixelHeight26Dot6(), 24 * 64);
    EXPECT_EQ(em->PixelWidth26Dot6(), 24 * 64);
    EXPECT_GT(em->LineHeight(), 24);  // the cell is larger than the em
}

TEST(Font, AverageWidthNarrowsTheGlyphs)
{
    const std::unique_ptr<Font> narrow = Font::Open(HelpFont());
    FontRequest naturalRequest = HelpFont();
    naturalRequest.averageWidth = 0;
    const std::unique_ptr<Font> natural = Font::Open(naturalRequest);
    ASSERT_TRUE(narrow && natural);
    // Average width 8 against the face's half-em average: full-width characters are 16 wide.
    EXPECT_EQ(narrow->GlyphFor(U'地').advance, 16);
    EXPECT_GT(natural->GlyphFor(U'地').advance, 20);
    EXPECT_LT(narrow->GlyphFor(U'地').width, natural->GlyphFor(U'地').width);
    EXPECT_EQ(narrow->GlyphFor(U'地').height, natural->GlyphFor(U'地').height);
}

TEST(Font, GlyphsAreRasterisedOnceAndHaveInk)
{
    const std::unique_ptr<Font> font = Font::Open(HelpFont());
    ASSERT_TRUE(font);
    const Glyph& first = font->GlyphFor(U'球');
    const Glyph& again = font->GlyphFor(U'球');
    EXPECT_EQ(&first, &again);
    ASSERT_GT(first.width, 0);
    ASSERT_EQ(first.coverage.size(), std::size_t(first.width) * first.height);
    int full = 0;
    for (std::uint8_t c : first.coverage) {
        full += c == 255 ? 1 : 0;
    }
    EXPECT_GT(full, 10);
    // It sits on the baseline, within the cell.
    EXPECT_LE(first.top, font->Ascent());
    EXPECT_LE(first.height - first.top, font->Descent() + 1);
    // A space advances without ink.
    EXPECT_EQ(font->GlyphFor(U' ').width, 0);
    EXPECT_GT(font->GlyphFor(U' ').advance, 0);
}

TEST(Font, BoldAndItalicAreSynthesisedWhenTheFaceHasNone)
{
    FontRequest boldRequest = HelpFont();
    boldRequest.weight = 700;
    FontRequest italicRequest = HelpFont();
    italicRequest.italic = true;
    const std::unique_ptr<Font> regular = Font::Open(HelpFont());
    const std::unique_ptr<Font> bold = Font::Open(boldRequest);
    const std::unique_ptr<Font> italic = Font::Open(italicRequest);
    ASSERT_TRUE(regular && bold && italic);
    const auto ink = [](const Glyph& g) {
        long sum = 0;
        for (std::uint8_t c : g.coverage) {
            sum += c;
        }
        return sum;
    };
    EXPECT_GT(ink(bold->GlyphFor(U'l')), ink(regular->GlyphFor(U'l')));
    EXPECT_NE(italic->GlyphFor(U'l').coverage, regular->GlyphFor(U'l').coverage);
}

// The configuration loaded in the background, each case in a fresh process: the match waits for
// the load and finds what a foreground load finds, or fails as it fails; an exit while loading
// joins the load and hands fontconfig's memory back (a leak fails the sanitized run).
int MatchAfterBackgroundLoad(const char* configFile)
{
    if (configFile != nullptr)
        setenv("FONTCONFIG_FILE", configFile, 1);
    StartLoadingFontConfiguration();
    StartLoadingFontConfiguration();
    const std::unique_ptr<Font> font = Font::Open(HelpFont());
    return font ? (FamilyOf(*font) == "IPAGothic" ? 1 : 2) : 3;
}

TEST(FontConfigurationDeathTest, BackgroundLoadMatchesAsTheForegroundDoesAndIsJoinedAtExit)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(MatchAfterBackgroundLoad(nullptr)), testing::ExitedWithCode(1), "");
    const std::string empty = testing::TempDir() + "fonts-none.conf";
    std::FILE* file = std::fopen(empty.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs("<fontconfig></fontconfig>\n", file);
    std::fclose(file);
    EXPECT_EXIT(std::exit(MatchAfterBackgroundLoad(empty.c_str())), testing::ExitedWithCode(3), "");
    EXPECT_EXIT((StartLoadingFontConfiguration(), std::exit(4)), testing::ExitedWithCode(4), "");
}

}  // namespace
}  // namespace quorvane::text
