// Windows as user32 keeps them. Handles are opaque numbers looked up in a table, so a destroyed
// or made-up handle is recognised instead of dereferenced. Top-level windows own a window of
// the display (platform/display) that shows their client area.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "display/display.h"

namespace quorvane::user32 {

struct WindowClass;

struct Window {
    HWND handle = nullptr;
    WindowClass* windowClass = nullptr;
    WNDPROC windowProc = nullptr;
    HINSTANCE instance = nullptr;
    std::wstring title;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr;
    HMENU menu = nullptr;  // a top-level window's menu; a child's identifier
    RECT windowRect{};     // screen coordinates; a child's are relative to its parent's client area
    std::vector<HWND> children;
    LONG_PTR userData = 0;
    std::vector<BYTE> extraBytes;  // cbWndExtra of the class
    display::Window* displayWindow = nullptr;
    bool destroying = false;
};

// The live window with this handle, or null (destroyed, never created, or null).
Window* LookUpWindow(HWND handle);

// The client rectangle relative to the window rectangle's top-left corner.
RECT ClientRectInWindow(const Window& window);

// The client area's top-left corner on the screen.
POINT ClientOriginOnScreen(const Window& window);

// Moves and sizes the display window to the client area (after the window rectangle changed).
void SyncDisplayWindow(Window& window);

// The display window that shows this window, or null (no such window, or a child window).
display::Window* DisplayWindowOf(HWND handle);

}  // namespace quorvane::user32
