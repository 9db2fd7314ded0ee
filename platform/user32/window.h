// Windows as user32 keeps them. Handles are opaque numbers looked up in a table, so a destroyed
// or made-up handle is recognised instead of dereferenced. Top-level windows own a window of
// the display (platform/display) that shows their surface: the menu bar and the client area,
// the part inside the border and caption.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "display/display.h"

namespace quorvane::user32 {

struct WindowClass;

// What Direct3D changed when it took the window to full screen, to be put back on the way out
// unless the program changed it meanwhile.
struct FullScreenRecord {
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT windowRect{};
    DWORD appliedStyle = 0;
    DWORD appliedExStyle = 0;
    RECT appliedRect{};
};

struct Window {
    HWND handle = nullptr;
    WindowClass* windowClass = nullptr;
    WNDPROC windowProc = nullptr;
    HINSTANCE instance = nullptr;
    std::wstring title;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr;  // a child's parent; a top-level window has none
    HWND owner = nullptr;   // a top-level window's owner (GW_OWNER), itself a top-level window
    HMENU menu = nullptr;   // a top-level window's menu; a child's identifier
    RECT windowRect{};      // screen coordinates; a child's are relative to its parent's client area
    // Relative to the window rectangle's top-left corner, worked out when the frame last
    // changed (creation, SetWindowPos, SetMenu), as Windows keeps them between such changes.
    RECT clientRect{};
    RECT surfaceRect{};  // menu bar and client area
    RECT restoreRect{};  // where a maximised window goes back to
    RECT updateRect{};   // client coordinates; empty when nothing needs painting
    bool eraseBackground = false;
    std::vector<HWND> children;
    LONG_PTR userData = 0;
    std::vector<BYTE> extraBytes;  // cbWndExtra of the class
    display::Window* displayWindow = nullptr;
    float drawnAtScale = 0;  // the surface scale its frame was last followed at
    std::optional<FullScreenRecord> fullScreen;
    bool destroying = false;
};

// The live window with this handle, or null (destroyed, never created, or null).
Window* LookUpWindow(HWND handle);
// The window that owns this display window, or null.
Window* WindowOfDisplay(const display::Window* displayWindow);
// The desktop window's handle (GetDesktopWindow): not in the table, and never destroyed.
HWND DesktopHandle();
// The desktop's rectangle: the screen in the current display mode.
RECT DesktopRect();

// Every live window, in the order of creation.
std::vector<HWND> AllWindows();

// The window whose display window shows this one (itself for a top-level window, owned or not).
Window& TopLevelOf(Window& window);
bool IsDescendant(HWND ancestor, HWND window);
bool IsShown(const Window& window);  // visible, and every ancestor visible
bool IsEnabledWithAncestors(const Window& window);

LONG Width(const RECT& r);
LONG Height(const RECT& r);
bool SameRect(const RECT& a, const RECT& b);

// The client rectangle relative to the window rectangle's top-left corner (empty while the
// window is minimised).
RECT ClientRectInWindow(const Window& window);
// The client area's top-left corner on the screen.
POINT ClientOriginOnScreen(const Window& window);
// The client area within the surface (below the menu bar, if there is one).
RECT ClientRectInSurface(const Window& window);

// Works out the client and surface rectangles again from the styles and the menu.
void RecalculateFrame(Window& window);
// Tells the display where the surface is and where the client area is in it.
void SyncDisplayWindow(Window& window);

// The display window that shows this window, or null (no such window, or a child window).
display::Window* DisplayWindowOf(HWND handle);

}  // namespace quorvane::user32
