// Where the window core hands over to the menu bar: DefWindowProcW calls these for the menu's
// key (Alt or F10 alone, SC_KEYMENU with 0), a mnemonic typed with Alt (SC_KEYMENU with the
// character), a press on the menu bar (WM_NCLBUTTONDOWN with HTMENU) and the mouse moving over
// the window (WM_NCMOUSEMOVE, WM_MOUSEMOVE: the title under it is highlighted). The menu layer draws
// the bar as a layer of the window's surface (window_surface.h) and runs its own loop from here.
#pragma once

#include <windows.h>

namespace quorvane::user32 {

// True if the menu bar took the key.
bool EnterMenuBarFromKeyboard(HWND window, WCHAR key);
// True if the menu bar took the press (screen coordinates).
bool EnterMenuBarFromMouse(HWND window, POINT screen);
// The mouse is over the menu bar at this point (screen coordinates), or (overBar false) has left it.
void HoverMenuBar(HWND window, POINT screen, bool overBar);

}  // namespace quorvane::user32
