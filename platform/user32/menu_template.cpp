// LoadMenuW: a standard menu template (version 0) is a header of two words followed by the
// items, each a word of flags, a word of command id unless it opens a pop-up, and its text;
// MF_END marks the last item of a level and a pop-up's items follow it directly. An item with
// no flags, no id and no text is a separator.
#include <windows.h>

#include "user32/menu.h"
#include "user32/resource_data.h"

namespace {

using namespace quorvane;

constexpr int deepestPopup = 16;

bool ReadItems(kernel32::ResourceReader& reader, HMENU menu, int depth)
{
    if (depth > deepestPopup)
        return false;
    for (;;) {
        std::uint16_t flags = 0, id = 0;
        std::wstring text;
        if (!reader.Word(flags))
            return false;
        bool popup = (flags & MF_POPUP) != 0;
        if (!popup && !reader.Word(id))
            return false;
        if (!reader.Text(text))
            return false;
        UINT kept = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_MENUBARBREAK | MF_MENUBREAK | MF_HELP);
        if (popup) {
            HMENU child = user32::NewMenu(true);
            if (!ReadItems(reader, child, depth + 1)) {
                DestroyMenu(child);
                return false;
            }
            AppendMenuW(menu, kept | MF_POPUP, reinterpret_cast<UINT_PTR>(child), text.c_str());
        } else if ((flags & ~MF_END) == 0 && id == 0 && text.empty()) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(menu, kept | MF_STRING, id, text.c_str());
        }
        if (flags & MF_END)
            return true;
    }
}

}  // namespace

extern "C" HMENU WINAPI LoadMenuW(HINSTANCE instance, LPCWSTR name)
{
    user32::ResourceData data;
    if (!user32::FindResourceData(instance, name, RT_MENU, data))
        return nullptr;
    kernel32::ResourceReader reader = data.Reader();
    std::uint16_t version = 0, headerSize = 0;
    HMENU menu = nullptr;
    if (reader.Word(version) && reader.Word(headerSize) && version == 0 && reader.Skip(headerSize)) {
        menu = user32::NewMenu(false);
        if (reader.Remaining() > 0 && !ReadItems(reader, menu, 0)) {
            DestroyMenu(menu);
            menu = nullptr;
        }
    }
    if (!menu)
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return menu;
}
