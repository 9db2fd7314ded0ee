// Fonts for drawing text: a face chosen by fontconfig, glyphs rasterised by FreeType into
// 8-bit coverage bitmaps, each glyph rasterised once and kept.
//
// Sizes follow GDI's LOGFONT: a positive height is the cell height (ascent + descent, from the
// face's Windows metrics), a negative one the em height; a non-zero average width scales the
// glyphs horizontally so that the face's average character width becomes that many pixels.
// Used by ID3DXFont and by the drawing of menus and dialog boxes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace quorvane::text {

struct FontRequest {
    int height = 0;               // > 0 cell height, < 0 em height, 0 a default of 16 pixels
    int averageWidth = 0;         // 0: the face's own proportions
    int weight = 400;             // 100 (thin) .. 900 (heavy); 600 and above are emboldened if the face is not bold
    bool italic = false;          // slanted if the face is not italic
    std::string family;           // UTF-8 family name; empty: the best face for the language's text
    std::string language = "ja";  // the language the text is in, as fontconfig names it ("ja", "en")
};

// One glyph: coverage bitmap and where it goes relative to the pen on the baseline.
struct Glyph {
    int width = 0;
    int height = 0;
    int left = 0;                        // pixels from the pen to the bitmap's left edge
    int top = 0;                         // pixels from the baseline up to the bitmap's top edge
    int advance = 0;                     // pixels the pen moves after the glyph
    std::vector<std::uint8_t> coverage;  // width * height, 0 (empty) .. 255 (full), top row first
};

class Font {
public:
    // Null when fontconfig finds no face or FreeType cannot open it.
    static std::unique_ptr<Font> Open(const FontRequest& request);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    int Ascent() const { return ascent_; }    // pixels above the baseline
    int Descent() const { return descent_; }  // pixels below it
    int LineHeight() const { return ascent_ + descent_; }
    const std::string& FilePath() const { return filePath_; }
    int FaceIndex() const { return faceIndex_; }
    // The FreeType size the glyphs are rendered at, in 26.6 fixed point (for comparisons).
    long PixelWidth26Dot6() const { return pixelWidth_; }
    long PixelHeight26Dot6() const { return pixelHeight_; }

    // The glyph of a code point, rasterised on first use. A code point the face lacks gives
    // the face's missing-glyph shape.
    const Glyph& GlyphFor(char32_t codePoint);

private:
    struct Face;
    explicit Font(std::unique_ptr<Face> face);
    bool Configure(const FontRequest& request);

    std::unique_ptr<Face> face_;
    std::string filePath_;
    int faceIndex_ = 0;
    long pixelWidth_ = 0;
    long pixelHeight_ = 0;
    int ascent_ = 0;
    int descent_ = 0;
    bool embolden_ = false;
    bool slant_ = false;
    std::unordered_map<char32_t, Glyph> glyphs_;
};

// Where a face is: a file, or the file's bytes where the system hands out font data (GDI) rather
// than paths.
struct FontFile {
    std::string path;                 // UTF-8 path; with `bytes`, the face's name
    std::vector<std::uint8_t> bytes;  // the whole font file, when it comes from memory
    int faceIndex = 0;
};

// Where the system (fontconfig, or GDI on Windows) finds the face for a family (empty: the best
// face for text in `language`).
bool MatchFontFile(const std::string& family, const std::string& language, int weight, bool italic, FontFile& file);

}  // namespace quorvane::text
