#include "text/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>

namespace quorvane::text {
namespace {

// One FreeType library for the process, made on first use and never done: fonts still held by
// the program's static objects at process exit close their faces with it.
FT_Library Library()
{
    static FT_Library library = [] {
        FT_Library made = nullptr;
        return FT_Init_FreeType(&made) == 0 ? made : nullptr;
    }();
    return library;
}

constexpr int defaultHeight = 16;

}  // namespace

struct Font::Face {
    FT_Face face = nullptr;
    std::vector<std::uint8_t> bytes;  // a face opened from memory reads them while it lives
    ~Face()
    {
        if (face != nullptr) {
            FT_Done_Face(face);
        }
    }
};

std::unique_ptr<Font> Font::Open(const FontRequest& request)
{
    FontFile file;
    if (Library() == nullptr ||
        !MatchFontFile(request.family, request.language, request.weight, request.italic, file)) {
        return nullptr;
    }
    auto face = std::make_unique<Face>();
    face->bytes = std::move(file.bytes);
    const FT_Error error =
        face->bytes.empty() ? FT_New_Face(Library(), file.path.c_str(), file.faceIndex, &face->face)
                            : FT_New_Memory_Face(Library(), face->bytes.data(),
                                                 static_cast<FT_Long>(face->bytes.size()), file.faceIndex, &face->face);
    if (error != 0 || !FT_IS_SCALABLE(face->face)) {
        return nullptr;
    }
    std::unique_ptr<Font> font(new Font(std::move(face)));
    font->filePath_ = file.path;
    font->faceIndex_ = file.faceIndex;
    if (!font->Configure(request)) {
        return nullptr;
    }
    return font;
}

Font::Font(std::unique_ptr<Face> face) : face_(std::move(face))
{
}
Font::~Font() = default;

bool Font::Configure(const FontRequest& request)
{
    FT_Face face = face_->face;
    const double unitsPerEm = face->units_per_EM;
    // GDI's cell is the Windows ascent plus descent; without an OS/2 table the typographic ones.
    double ascentUnits = face->ascender;
    double descentUnits = -face->descender;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        ascentUnits = os2->usWinAscent;
        descentUnits = os2->usWinDescent;
    }
    if (ascentUnits + descentUnits <= 0) {
        return false;
    }
    const int height = request.height == 0 ? defaultHeight : request.height;
    const double emPixels = height > 0 ? height * unitsPerEm / (ascentUnits + descentUnits) : -height;
    double widthPixels = emPixels;
    if (request.averageWidth > 0) {
        const double averageUnits = os2 != nullptr && os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth : unitsPerEm / 2;
        widthPixels = emPixels * request.averageWidth / (averageUnits * emPixels / unitsPerEm);
    }
    pixelWidth_ = std::max(64L, std::lround(widthPixels * 64));
    pixelHeight_ = std::max(64L, std::lround(emPixels * 64));
    if (FT_Set_Char_Size(face, pixelWidth_, pixelHeight_, 72, 72) != 0) {
        return false;
    }
    const double scale = emPixels / unitsPerEm;
    ascent_ = static_cast<int>(std::lround(ascentUnits * scale));
    descent_ = static_cast<int>(std::lround(descentUnits * scale));
    embolden_ = request.weight >= 600 && (face->style_flags & FT_STYLE_FLAG_BOLD) == 0;
    slant_ = request.italic && (face->style_flags & FT_STYLE_FLAG_ITALIC) == 0;
    return true;
}

const Glyph& Font::GlyphFor(char32_t codePoint)
{
    if (const auto found = glyphs_.find(codePoint); found != glyphs_.end()) {
        return found->second;
    }
    Glyph& glyph = glyphs_[codePoint];
    FT_Face face = face_->face;
    const FT_UInt index = FT_Get_Char_Index(face, codePoint);
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) != 0) {
        return glyph;  // nothing to draw, no advance
    }
    FT_GlyphSlot slot = face->glyph;
    if (slant_) {
        FT_GlyphSlot_Oblique(slot);
    }
    if (embolden_) {
        FT_GlyphSlot_Embolden(slot);
    }
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) {
        return glyph;
    }
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.height = static_cast<int>(bitmap.rows);
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.coverage.resize(static_cast<std::size_t>(glyph.width) * glyph.height);
    for (int y = 0; y < glyph.height; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
        std::copy(row, row + glyph.width, glyph.coverage.begin() + static_cast<std::ptrdiff_t>(y) * glyph.width);
    }
    return glyph;
}

}  // namespace quorvane::text
