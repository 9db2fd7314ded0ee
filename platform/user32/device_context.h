// Device contexts are handles to a window (or the screen) for the length of a paint or a query:
// the program draws nothing through them, it only asks the screen's size.
#pragma once

#include <windows.h>

namespace quorvane::user32 {

// A new device context for the window (null or the desktop: the screen), or null.
HDC AcquireDeviceContext(HWND window);
// False if the context is not one of the window's.
bool ReleaseDeviceContext(HWND window, HDC dc);

}  // namespace quorvane::user32
