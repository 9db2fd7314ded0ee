// Face selection through GDI, for the Windows build: GDI maps the request to a face as it does for
// any Windows program, and hands out that face's font file, which FreeType then rasterises as on
// Linux. Without a family name the request asks for the character set of the text's language
// (Shift-JIS for Japanese), GDI's way of asking for the best face for that language.
#include <windows.h>

#include <cstring>

#include "text/font.h"

namespace quorvane::text {
namespace {

constexpr DWORD Tag(char a, char b, char c, char d)
{
    // GetFontData takes a table's tag with its first character in the lowest byte.
    return static_cast<DWORD>(a) | static_cast<DWORD>(b) << 8 | static_cast<DWORD>(c) << 16 |
           static_cast<DWORD>(d) << 24;
}

std::uint32_t BigEndian32(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    if (at + 4 > bytes.size()) {
        return 0;
    }
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 | std::uint32_t{bytes[at + 2]} << 8 |
           bytes[at + 3];
}

bool FontData(HDC dc, DWORD table, std::vector<std::uint8_t>& bytes)
{
    const DWORD size = GetFontData(dc, table, 0, nullptr, 0);
    if (size == GDI_ERROR || size == 0) {
        return false;
    }
    bytes.resize(size);
    return GetFontData(dc, table, 0, bytes.data(), size) == size;
}

// The face of a collection whose 'name' table is the selected face's: GDI hands out the whole
// collection, FreeType needs the index.
int FaceInCollection(const std::vector<std::uint8_t>& collection, const std::vector<std::uint8_t>& names)
{
    const std::uint32_t faces = BigEndian32(collection, 8);
    for (std::uint32_t face = 0; face < faces && face < 256; ++face) {
        const std::uint32_t directory = BigEndian32(collection, 12 + 4 * std::size_t{face});
        const std::uint32_t tables = BigEndian32(collection, directory + 4) >> 16;
        for (std::uint32_t t = 0; t < tables; ++t) {
            const std::size_t record = directory + 12 + 16 * std::size_t{t};
            if (BigEndian32(collection, record) != 0x6E616D65) {  // 'name'
                continue;
            }
            const std::size_t offset = BigEndian32(collection, record + 8);
            if (BigEndian32(collection, record + 12) == names.size() && offset + names.size() <= collection.size() &&
                std::memcmp(collection.data() + offset, names.data(), names.size()) == 0) {
                return static_cast<int>(face);
            }
        }
    }
    return 0;
}

BYTE CharacterSet(const std::string& family, const std::string& language)
{
    if (!family.empty()) {
        return DEFAULT_CHARSET;
    }
    return language == "ja" ? SHIFTJIS_CHARSET : ANSI_CHARSET;
}

LOGFONTW Request(const std::string& family, const std::string& language, int weight, bool italic)
{
    LOGFONTW request{};
    request.lfWeight = weight;
    request.lfItalic = italic ? TRUE : FALSE;
    request.lfCharSet = CharacterSet(family, language);
    request.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    MultiByteToWideChar(CP_UTF8, 0, family.c_str(), -1, request.lfFaceName, LF_FACESIZE - 1);
    return request;
}

bool ReadSelectedFace(HDC dc, FontFile& file)
{
    WCHAR name[LF_FACESIZE]{};
    GetTextFaceW(dc, LF_FACESIZE, name);
    char utf8[4 * LF_FACESIZE]{};
    WideCharToMultiByte(CP_UTF8, 0, name, -1, utf8, sizeof utf8 - 1, nullptr, nullptr);
    file.path = utf8;
    std::vector<std::uint8_t> names;
    if (FontData(dc, Tag('t', 't', 'c', 'f'), file.bytes) && FontData(dc, Tag('n', 'a', 'm', 'e'), names)) {
        file.faceIndex = FaceInCollection(file.bytes, names);
        return true;
    }
    file.faceIndex = 0;
    return FontData(dc, 0, file.bytes);
}

}  // namespace

bool MatchFontFile(const std::string& family, const std::string& language, int weight, bool italic, FontFile& file)
{
    const LOGFONTW request = Request(family, language, weight, italic);
    HFONT font = CreateFontIndirectW(&request);
    HDC dc = CreateCompatibleDC(nullptr);
    bool found = false;
    if (font != nullptr && dc != nullptr) {
        HGDIOBJ previous = SelectObject(dc, font);
        found = ReadSelectedFace(dc, file);
        SelectObject(dc, previous);
    }
    if (dc != nullptr) {
        DeleteDC(dc);
    }
    if (font != nullptr) {
        DeleteObject(font);
    }
    return found;
}

}  // namespace quorvane::text
