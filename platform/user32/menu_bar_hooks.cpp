#include "user32/menu_bar_hooks.h"

namespace quorvane::user32 {

// No menu bar is drawn yet: the keys and presses meant for it do nothing, as on a window
// without a menu.
bool EnterMenuBarFromKeyboard(HWND, WCHAR)
{
    return false;
}

bool EnterMenuBarFromMouse(HWND, POINT)
{
    return false;
}

}  // namespace quorvane::user32
