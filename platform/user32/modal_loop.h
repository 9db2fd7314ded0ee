// The message loop that a menu or a dialog box runs nested in the program's: it takes every
// message of the thread, so other windows keep painting and receiving what is posted to them.
#pragma once

#include <windows.h>

namespace quorvane::user32 {

// Takes the next message, sleeping on the display's events while none waits. Before sleeping
// it tells `idleOwner` (if any) once with WM_ENTERIDLE (`kind`, `source`), as Windows does for
// menus and dialog boxes. False for WM_QUIT, which it posts again so that the program's own
// loop sees it once the nested loop has ended.
bool NextModalMessage(MSG& message, HWND idleOwner, WPARAM kind, LPARAM source);

bool IsKeyMessage(UINT message);
bool IsMouseMessage(UINT message);  // client and non-client

}  // namespace quorvane::user32
