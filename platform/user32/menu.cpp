// Menus: creation, destruction, items added, removed, checked and read back.
#include "user32/menu.h"

#include <algorithm>
#include <map>
#include <memory>

#include "user32/menu_bar.h"
#include "user32/window.h"

namespace quorvane::user32 {

namespace {

std::map<HMENU, std::unique_ptr<Menu>>& Menus()
{
    // Never destroyed: windows destroyed at process exit destroy their menus.
    static auto* menus = new std::map<HMENU, std::unique_ptr<Menu>>;
    return *menus;
}

std::optional<ItemRef> FindByCommand(Menu& menu, UINT id, int depth)
{
    std::optional<ItemRef> popupWithId;
    for (std::size_t i = 0; i < menu.items.size(); ++i) {
        MenuItem& item = menu.items[i];
        if (item.flags & MF_POPUP) {
            Menu* popup = LookUpMenu(item.popup);
            if (popup && depth < 32) {  // a menu inside itself must not loop for ever
                if (auto found = FindByCommand(*popup, id, depth + 1))
                    return found;
            }
            if (item.id == id && !popupWithId)
                popupWithId = ItemRef{&menu, i};
        } else if (item.id == id) {
            return ItemRef{&menu, i};
        }
    }
    return popupWithId;
}

Menu* LookUpOrFail(HMENU handle)
{
    Menu* menu = LookUpMenu(handle);
    if (!menu)
        SetLastError(ERROR_INVALID_MENU_HANDLE);
    return menu;
}

std::optional<ItemRef> FindOrFail(HMENU handle, UINT item, UINT flags)
{
    if (!LookUpOrFail(handle))
        return std::nullopt;
    std::optional<ItemRef> found = FindMenuItem(handle, item, flags);
    if (!found)
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return found;
}

constexpr UINT stateFlags = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP | MF_MENUBARBREAK | MF_MENUBREAK |
                            MF_SEPARATOR | MF_DEFAULT | MF_HELP;

// Removes the item; the pop-up it opened is destroyed too unless `keepPopup`.
BOOL Remove(HMENU handle, UINT item, UINT flags, bool keepPopup)
{
    std::optional<ItemRef> found = FindOrFail(handle, item, flags);
    if (!found)
        return FALSE;
    HMENU popup = (found->Item().flags & MF_POPUP) ? found->Item().popup : nullptr;
    found->menu->items.erase(found->menu->items.begin() + std::ptrdiff_t(found->index));
    if (popup && !keepPopup)
        DestroyMenu(popup);
    return TRUE;
}

}  // namespace

Menu* LookUpMenu(HMENU handle)
{
    auto found = Menus().find(handle);
    return found == Menus().end() ? nullptr : found->second.get();
}

HMENU NewMenu(bool isPopup)
{
    static ULONG_PTR next = 0x3E0000;  // never reused, like window handles
    HMENU handle = reinterpret_cast<HMENU>(next += 4);
    auto menu = std::make_unique<Menu>();
    menu->handle = handle;
    menu->isPopup = isPopup;
    Menus().emplace(handle, std::move(menu));
    return handle;
}

std::size_t LiveMenuCount()
{
    return Menus().size();
}

std::optional<ItemRef> FindMenuItem(HMENU handle, UINT item, UINT flags)
{
    Menu* menu = LookUpMenu(handle);
    if (!menu)
        return std::nullopt;
    if (flags & MF_BYPOSITION) {
        if (item >= menu->items.size())
            return std::nullopt;
        return ItemRef{menu, item};
    }
    return FindByCommand(*menu, item, 0);
}

bool IsChoosable(const MenuItem& item)
{
    return !(item.flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED));
}

}  // namespace quorvane::user32

using namespace quorvane::user32;

extern "C" HMENU WINAPI CreateMenu(void)
{
    return NewMenu(false);
}

extern "C" HMENU WINAPI CreatePopupMenu(void)
{
    return NewMenu(true);
}

extern "C" BOOL WINAPI IsMenu(HMENU handle)
{
    return LookUpMenu(handle) ? TRUE : FALSE;
}

// Destroys the menu and every pop-up inside it. A window that still shows the menu keeps the
// stale handle, as on Windows, and draws no bar for it.
extern "C" BOOL WINAPI DestroyMenu(HMENU handle)
{
    auto found = Menus().find(handle);
    if (found == Menus().end()) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    std::unique_ptr<Menu> menu = std::move(found->second);
    Menus().erase(found);
    for (const MenuItem& item : menu->items) {
        if (item.flags & MF_POPUP)
            DestroyMenu(item.popup);
    }
    return TRUE;
}

extern "C" BOOL WINAPI DrawMenuBar(HWND handle)
{
    Window* window = LookUpWindow(handle);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    RedrawMenuBar(*window);
    return TRUE;
}

extern "C" HMENU WINAPI GetSubMenu(HMENU handle, int position)
{
    std::optional<ItemRef> found = FindMenuItem(handle, UINT(position), MF_BYPOSITION);
    if (position < 0 || !found || !(found->Item().flags & MF_POPUP))
        return nullptr;
    return found->Item().popup;
}

extern "C" int WINAPI GetMenuItemCount(HMENU handle)
{
    Menu* menu = LookUpOrFail(handle);
    return menu ? int(menu->items.size()) : -1;
}

extern "C" UINT WINAPI GetMenuItemID(HMENU handle, int position)
{
    std::optional<ItemRef> found = FindMenuItem(handle, UINT(position), MF_BYPOSITION);
    if (position < 0 || !found || (found->Item().flags & MF_POPUP))
        return UINT(-1);
    return UINT(found->Item().id);
}

// A pop-up item's state carries the number of items of its pop-up in the high byte.
extern "C" UINT WINAPI GetMenuState(HMENU handle, UINT item, UINT flags)
{
    std::optional<ItemRef> found = FindOrFail(handle, item, flags);
    if (!found)
        return UINT(-1);
    const MenuItem& entry = found->Item();
    UINT state = entry.flags & stateFlags;
    if (entry.flags & MF_POPUP) {
        Menu* popup = LookUpMenu(entry.popup);
        UINT count = popup ? UINT(std::min<std::size_t>(popup->items.size(), 255)) : 0;
        return (count << 8) | (state & 0xFF);
    }
    return state;
}

extern "C" int WINAPI GetMenuStringW(HMENU handle, UINT item, LPWSTR text, int textMax, UINT flags)
{
    std::optional<ItemRef> found = FindOrFail(handle, item, flags);
    if (!found)
        return 0;
    const std::wstring& source = found->Item().text;
    if (!text || textMax <= 0)
        return int(source.size());
    std::size_t copied = std::min(source.size(), std::size_t(textMax - 1));
    std::copy_n(source.begin(), copied, text);
    text[copied] = L'\0';
    return int(copied);
}

extern "C" DWORD WINAPI CheckMenuItem(HMENU handle, UINT item, UINT check)
{
    std::optional<ItemRef> found = FindOrFail(handle, item, check);
    if (!found)
        return DWORD(-1);
    MenuItem& entry = found->Item();
    DWORD previous = entry.flags & MF_CHECKED;
    entry.flags = (entry.flags & ~MF_CHECKED) | (check & MF_CHECKED);
    return previous;
}

extern "C" BOOL WINAPI EnableMenuItem(HMENU handle, UINT item, UINT enable)
{
    std::optional<ItemRef> found = FindOrFail(handle, item, enable);
    if (!found)
        return -1;
    MenuItem& entry = found->Item();
    BOOL previous = BOOL(entry.flags & (MF_GRAYED | MF_DISABLED));
    entry.flags = (entry.flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return previous;
}

// Text items, separators and pop-ups; bitmaps and owner-drawn items are not offered.
extern "C" BOOL WINAPI AppendMenuW(HMENU handle, UINT flags, UINT_PTR id, LPCWSTR text)
{
    Menu* menu = LookUpOrFail(handle);
    if (!menu)
        return FALSE;
    if (flags & (MF_BITMAP | MF_OWNERDRAW)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    MenuItem item;
    item.flags = flags & (stateFlags | MF_POPUP);
    if (flags & MF_POPUP) {
        if (!LookUpMenu(reinterpret_cast<HMENU>(id)) || reinterpret_cast<HMENU>(id) == handle) {
            SetLastError(ERROR_INVALID_MENU_HANDLE);
            return FALSE;
        }
        item.popup = reinterpret_cast<HMENU>(id);
        LookUpMenu(item.popup)->isPopup = true;
    } else {
        item.id = id;
    }
    if (!(flags & MF_SEPARATOR) && text)
        item.text = text;
    menu->items.push_back(std::move(item));
    return TRUE;
}

extern "C" BOOL WINAPI DeleteMenu(HMENU handle, UINT item, UINT flags)
{
    return Remove(handle, item, flags, false);
}

extern "C" BOOL WINAPI RemoveMenu(HMENU handle, UINT item, UINT flags)
{
    return Remove(handle, item, flags, true);
}
