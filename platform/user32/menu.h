// Menu objects as user32 keeps them: a bar or pop-up with its items, reached by handle. Handles
// are looked up in a table, so a destroyed or made-up handle is recognised, as for windows.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace quorvane::user32 {

struct MenuItem {
    UINT flags = 0;  // MF_POPUP, MF_SEPARATOR, MF_CHECKED, MF_GRAYED, MF_DISABLED, breaks
    UINT_PTR id = 0;
    HMENU popup = nullptr;  // the pop-up an MF_POPUP item opens
    std::wstring text;      // with its '&' mnemonic mark and any '\t' before accelerator text
};

struct Menu {
    HMENU handle = nullptr;
    bool isPopup = false;
    std::vector<MenuItem> items;
};

Menu* LookUpMenu(HMENU handle);
HMENU NewMenu(bool isPopup);
// How many menus live now, bars and pop-ups (platform/testing).
std::size_t LiveMenuCount();

// An item found by position or by command. By command, pop-ups are searched depth first, as
// Windows searches them; a pop-up item whose own id matches is taken only if nothing inside
// any pop-up matched.
struct ItemRef {
    Menu* menu = nullptr;
    std::size_t index = 0;
    MenuItem& Item() const { return menu->items[index]; }
};
std::optional<ItemRef> FindMenuItem(HMENU menu, UINT item, UINT flags);

// The item can be chosen: not a separator, not grayed or disabled.
bool IsChoosable(const MenuItem& item);

}  // namespace quorvane::user32
