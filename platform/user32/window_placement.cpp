#include "user32/window_placement.h"

#include <algorithm>

#include "user32/window_class.h"
#include "user32/window_frame.h"

namespace quorvane::user32 {

namespace {

POINT ClientOriginInParent(const Window& window)
{
    POINT origin = ClientOriginOnScreen(window);
    if (Window* parent = LookUpWindow(window.parent)) {
        POINT parentOrigin = ClientOriginOnScreen(*parent);
        origin.x -= parentOrigin.x;
        origin.y -= parentOrigin.y;
    }
    return origin;
}

WPARAM SizeKind(const Window& window)
{
    if (window.style & WS_MINIMIZE)
        return SIZE_MINIMIZED;
    return (window.style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
}

void InvalidateAll(HWND handle)
{
    InvalidateRect(handle, nullptr, TRUE);
}

// The class asks for a full repaint when the client area changes width or height; otherwise
// only what a larger client area uncovers needs painting.
void InvalidateAfterResize(Window& window, LONG oldWidth, LONG oldHeight)
{
    RECT client = ClientRectInWindow(window);
    LONG width = Width(client), height = Height(client);
    UINT classStyle = window.windowClass ? window.windowClass->info.style : 0;
    bool redrawAll =
        ((classStyle & CS_HREDRAW) && width != oldWidth) || ((classStyle & CS_VREDRAW) && height != oldHeight);
    if (redrawAll) {
        InvalidateAll(window.handle);
        return;
    }
    if (width > oldWidth) {
        RECT uncovered{oldWidth, 0, width, height};
        InvalidateRect(window.handle, &uncovered, TRUE);
    }
    if (height > oldHeight) {
        RECT uncovered{0, oldHeight, width, height};
        InvalidateRect(window.handle, &uncovered, TRUE);
    }
}

RECT MaximizedRect(const Window& window)
{
    display::Mode desktop = display::CurrentDriver().DesktopMode();
    // The border hangs outside the screen; the caption stays on it.
    FrameInsets border = NonClientInsets(window.style & ~WS_CAPTION, window.exStyle, false);
    return RECT{-border.left, -border.top, LONG(desktop.width) + border.right, LONG(desktop.height) + border.bottom};
}

void Minimize(Window& window)
{
    if (window.style & WS_MINIMIZE)
        return;
    window.style |= WS_MINIMIZE;
    if (window.displayWindow)
        display::CurrentDriver().MinimizeDisplayWindow(window.displayWindow, true);
    SendMessageW(window.handle, WM_SIZE, SIZE_MINIMIZED, 0);
}

void Maximize(Window& window)
{
    HWND handle = window.handle;
    if (window.style & WS_MINIMIZE) {
        window.style &= ~WS_MINIMIZE;
        if (window.displayWindow)
            display::CurrentDriver().MinimizeDisplayWindow(window.displayWindow, false);
    }
    if (window.style & WS_MAXIMIZE) {
        NotifyClientSize(handle);
        return;
    }
    window.restoreRect = window.windowRect;
    window.style |= WS_MAXIMIZE;
    PlaceWindow(window, MaximizedRect(window), Notify::Program);
}

void Restore(Window& window)
{
    if (window.style & WS_MINIMIZE) {
        window.style &= ~WS_MINIMIZE;
        if (window.displayWindow)
            display::CurrentDriver().MinimizeDisplayWindow(window.displayWindow, false);
        NotifyClientSize(window.handle);
        return;
    }
    if (window.style & WS_MAXIMIZE) {
        window.style &= ~WS_MAXIMIZE;
        PlaceWindow(window, window.restoreRect, Notify::Program);
    }
}

}  // namespace

void NotifyClientSize(HWND handle)
{
    Window* window = LookUpWindow(handle);
    if (!window)
        return;
    RECT client = ClientRectInWindow(*window);
    SendMessageW(handle, WM_SIZE, SizeKind(*window), MAKELPARAM(Width(client), Height(client)));
    InvalidateAll(handle);
}

void PlaceWindow(Window& window, const RECT& windowRect, Notify notify)
{
    HWND handle = window.handle;
    RECT oldClient = ClientRectInWindow(window);
    POINT oldOrigin = ClientOriginInParent(window);
    window.windowRect = windowRect;
    RecalculateFrame(window);
    SyncDisplayWindow(window);
    RECT client = ClientRectInWindow(window);
    bool resized = Width(client) != Width(oldClient) || Height(client) != Height(oldClient);
    POINT origin = ClientOriginInParent(window);
    bool moved = origin.x != oldOrigin.x || origin.y != oldOrigin.y;
    if (resized)
        InvalidateAfterResize(window, Width(oldClient), Height(oldClient));
    if (notify == Notify::Nobody)
        return;
    if (moved)
        SendMessageW(handle, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
    Window* live = LookUpWindow(handle);
    if (resized && live)
        SendMessageW(handle, WM_SIZE, SizeKind(*live), MAKELPARAM(Width(client), Height(client)));
}

void SetShown(Window& window, bool shown)
{
    bool wasShown = (window.style & WS_VISIBLE) != 0;
    if (shown == wasShown)
        return;
    if (shown)
        window.style |= WS_VISIBLE;
    else
        window.style &= ~WS_VISIBLE;
    if (window.displayWindow)
        display::CurrentDriver().ShowDisplayWindow(window.displayWindow, shown);
    if (shown)
        InvalidateAll(window.handle);
}

}  // namespace quorvane::user32

using namespace quorvane::user32;

extern "C" BOOL WINAPI ShowWindow(HWND handle, int command)
{
    Window* window = LookUpWindow(handle);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    BOOL wasVisible = (window->style & WS_VISIBLE) ? TRUE : FALSE;
    if (command < SW_HIDE || command > SW_FORCEMINIMIZE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return wasVisible;
    }
    bool show = command != SW_HIDE;
    if (show != bool(wasVisible)) {
        SendMessageW(handle, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
        window = LookUpWindow(handle);
        if (!window)
            return wasVisible;
        SetShown(*window, show);
    }
    switch (command) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE: Minimize(*window); break;
    case SW_MAXIMIZE: Maximize(*window); break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT: Restore(*window); break;
    default: break;  // SW_HIDE, SW_SHOW, SW_SHOWNA, SW_SHOWNOACTIVATE keep the window's state
    }
    return wasVisible;
}

extern "C" BOOL WINAPI SetWindowPos(HWND handle, HWND insertAfter, int x, int y, int width, int height, UINT flags)
{
    Window* window = LookUpWindow(handle);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (!(flags & SWP_NOZORDER) && (insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST)) {
        bool topmost = insertAfter == HWND_TOPMOST;
        window->exStyle = topmost ? (window->exStyle | WS_EX_TOPMOST) : (window->exStyle & ~WS_EX_TOPMOST);
        if (window->displayWindow)
            quorvane::display::CurrentDriver().SetDisplayWindowTopmost(window->displayWindow, topmost);
    }
    RECT rect = window->windowRect;
    if (!(flags & SWP_NOMOVE)) {
        rect.right = x + Width(rect);
        rect.bottom = y + Height(rect);
        rect.left = x;
        rect.top = y;
    }
    if (!(flags & SWP_NOSIZE)) {
        rect.right = rect.left + std::max(width, 0);
        rect.bottom = rect.top + std::max(height, 0);
    }
    if (flags & SWP_SHOWWINDOW)
        SetShown(*window, true);
    else if (flags & SWP_HIDEWINDOW)
        SetShown(*window, false);
    PlaceWindow(*window, rect, Notify::Program);
    return TRUE;
}

extern "C" BOOL WINAPI MoveWindow(HWND handle, int x, int y, int width, int height, BOOL)
{
    return SetWindowPos(handle, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

extern "C" BOOL WINAPI IsWindowVisible(HWND handle)
{
    Window* window = LookUpWindow(handle);
    return window && IsShown(*window) ? TRUE : FALSE;
}

extern "C" BOOL WINAPI IsIconic(HWND handle)
{
    Window* window = LookUpWindow(handle);
    return window && (window->style & WS_MINIMIZE) ? TRUE : FALSE;
}

extern "C" BOOL WINAPI IsZoomed(HWND handle)
{
    Window* window = LookUpWindow(handle);
    return window && (window->style & WS_MAXIMIZE) ? TRUE : FALSE;
}
