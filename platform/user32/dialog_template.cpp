// Classic: style, extended style, item count, x, y, cx, cy, menu, class, title, [point size,
// typeface], then DWORD-aligned items (style, extended style, x, y, cx, cy, 16-bit id, class,
// title, extra bytes). Extended: 1, 0xFFFF, help id, extended style, style, then the same with
// [point size, weight, italic, character set, typeface] and items led by a help id, with
// extended style before style and a 32-bit id.
#include "user32/dialog_template.h"

namespace quorvane::user32 {

namespace {

using kernel32::ResourceReader;

bool ReadPlace(ResourceReader& reader, SHORT& x, SHORT& y, SHORT& cx, SHORT& cy)
{
    return reader.Short(x) && reader.Short(y) && reader.Short(cx) && reader.Short(cy);
}

bool ReadItem(ResourceReader& reader, bool extended, DialogItemTemplate& item)
{
    std::uint32_t help = 0;
    std::uint16_t extraSize = 0;
    if (!reader.Align(4))
        return false;
    if (extended) {
        if (!reader.Dword(help) || !reader.Dword(item.exStyle) || !reader.Dword(item.style) ||
            !ReadPlace(reader, item.x, item.y, item.cx, item.cy) || !reader.Dword(item.id))
            return false;
    } else {
        std::uint16_t id = 0;
        if (!reader.Dword(item.style) || !reader.Dword(item.exStyle) ||
            !ReadPlace(reader, item.x, item.y, item.cx, item.cy) || !reader.Word(id))
            return false;
        item.id = id;
    }
    return reader.IdOrName(item.windowClass) && reader.IdOrName(item.title) && reader.Word(extraSize) &&
           reader.Skip(extraSize);
}

}  // namespace

bool ReadDialogTemplate(const unsigned char* bytes, std::size_t size, DialogTemplate& dialog)
{
    ResourceReader reader(bytes, size);
    std::uint16_t version = 0, signature = 0, count = 0;
    if (!reader.Word(version) || !reader.Word(signature))
        return false;
    bool extended = version == 1 && signature == 0xFFFF;
    if (extended) {
        std::uint32_t help = 0;
        if (!reader.Dword(help) || !reader.Dword(dialog.exStyle) || !reader.Dword(dialog.style))
            return false;
    } else {
        reader = ResourceReader(bytes, size);
        if (!reader.Dword(dialog.style) || !reader.Dword(dialog.exStyle))
            return false;
    }
    if (!reader.Word(count) || !ReadPlace(reader, dialog.x, dialog.y, dialog.cx, dialog.cy) ||
        !reader.IdOrName(dialog.menu) || !reader.IdOrName(dialog.windowClass) || !reader.Text(dialog.title))
        return false;
    if (dialog.style & DS_SETFONT) {
        dialog.hasFont = true;
        std::uint8_t italic = 0, charset = 0;
        if (!reader.Word(dialog.pointSize))
            return false;
        if (extended && (!reader.Word(dialog.weight) || !reader.Byte(italic) || !reader.Byte(charset)))
            return false;
        dialog.italic = italic != 0;
        if (!reader.Text(dialog.typeface))
            return false;
    }
    for (std::uint16_t i = 0; i < count; ++i) {
        DialogItemTemplate item;
        if (!ReadItem(reader, extended, item))
            return false;
        dialog.items.push_back(std::move(item));
    }
    return true;
}

}  // namespace quorvane::user32
