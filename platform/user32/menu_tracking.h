// Using a window's menu: the loop that runs while the menu bar has the keyboard or the mouse
// (entered through menu_bar_hooks.h), with its keys, its mouse use and the command it sends.
#pragma once

#include <windows.h>

#include "user32/menu_bar.h"

namespace quorvane::user32 {

// What the bar of this window shows of a menu being used in it, or of the title the mouse is
// over (nothing otherwise).
BarHighlight TrackedBarHighlight(HWND window);

}  // namespace quorvane::user32
