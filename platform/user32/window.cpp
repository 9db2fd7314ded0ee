#include "user32/window.h"

#include <algorithm>
#include <map>
#include <memory>

#include "kernel32/utf8.h"
#include "user32/window_class.h"
#include "user32/window_frame.h"

namespace quorvane::user32 {

namespace {

// Handles are never reused, so a stale handle never reaches a newer window.
std::map<HWND, std::unique_ptr<Window>>& Windows()
{
    static std::map<HWND, std::unique_ptr<Window>> windows;
    return windows;
}

HWND NewHandle()
{
    static ULONG_PTR next = 0x10000;
    next += 4;
    return reinterpret_cast<HWND>(next);
}

bool HasMenuBar(const Window& window)
{
    return !(window.style & WS_CHILD) && window.menu != nullptr;
}

LONG Width(const RECT& r)
{
    return r.right - r.left;
}

LONG Height(const RECT& r)
{
    return r.bottom - r.top;
}

// Where a window goes when its creator leaves position or size to the system.
RECT InitialWindowRect(int x, int y, int width, int height, DWORD style)
{
    display::Mode desktop = display::CurrentDriver().DesktopMode();
    bool childWindow = (style & WS_CHILD) != 0;
    if (x == CW_USEDEFAULT) {
        x = childWindow ? 0 : 40;
        y = childWindow ? 0 : 40;
    }
    if (width == CW_USEDEFAULT) {
        width = childWindow ? 0 : static_cast<int>(desktop.width * 3 / 4);
        height = childWindow ? 0 : static_cast<int>(desktop.height * 3 / 4);
    }
    width = std::max(width, 0);
    height = std::max(height, 0);
    return RECT{x, y, x + width, y + height};
}

LRESULT Send(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendMessageW(handle, message, wParam, lParam);
}

void CreateDisplayWindow(Window& window)
{
    RECT client = ClientRectInWindow(window);
    POINT origin = ClientOriginOnScreen(window);
    display::WindowDesc desc;
    desc.title = kernel32::EncodeUtf8Lossy(window.title);
    desc.x = origin.x;
    desc.y = origin.y;
    desc.width = static_cast<std::uint32_t>(std::max<LONG>(Width(client), 0));
    desc.height = static_cast<std::uint32_t>(std::max<LONG>(Height(client), 0));
    desc.visible = (window.style & WS_VISIBLE) != 0;
    window.displayWindow = display::CurrentDriver().CreateDisplayWindow(desc);
}

// The part of destruction after WM_DESTROY: children first, then the window's own records.
void ReleaseWindow(HWND handle)
{
    Window* window = LookUpWindow(handle);
    if (!window)
        return;
    std::vector<HWND> children = window->children;
    for (HWND child : children)
        DestroyWindow(child);
    Send(handle, WM_NCDESTROY, 0, 0);
    window = LookUpWindow(handle);
    if (!window)
        return;
    if (Window* parent = LookUpWindow(window->parent))
        std::erase(parent->children, handle);
    if (window->displayWindow)
        display::CurrentDriver().DestroyDisplayWindow(window->displayWindow);
    if (window->windowClass)
        --window->windowClass->windowCount;
    Windows().erase(handle);
}

}  // namespace

Window* LookUpWindow(HWND handle)
{
    auto found = Windows().find(handle);
    return found == Windows().end() ? nullptr : found->second.get();
}

RECT ClientRectInWindow(const Window& window)
{
    FrameInsets insets = NonClientInsets(window.style, window.exStyle, HasMenuBar(window));
    LONG width = Width(window.windowRect);
    LONG height = Height(window.windowRect);
    RECT client{insets.left, insets.top, width - insets.right, height - insets.bottom};
    client.right = std::max(client.right, client.left);
    client.bottom = std::max(client.bottom, client.top);
    return client;
}

POINT ClientOriginOnScreen(const Window& window)
{
    RECT client = ClientRectInWindow(window);
    POINT origin{window.windowRect.left + client.left, window.windowRect.top + client.top};
    if (Window* parent = LookUpWindow(window.parent)) {
        POINT parentOrigin = ClientOriginOnScreen(*parent);
        origin.x += parentOrigin.x;
        origin.y += parentOrigin.y;
    }
    return origin;
}

void SyncDisplayWindow(Window& window)
{
    if (!window.displayWindow)
        return;
    RECT client = ClientRectInWindow(window);
    POINT origin = ClientOriginOnScreen(window);
    display::CurrentDriver().SetDisplayWindowRect(window.displayWindow, origin.x, origin.y,
                                                  static_cast<std::uint32_t>(Width(client)),
                                                  static_cast<std::uint32_t>(Height(client)));
}

display::Window* DisplayWindowOf(HWND handle)
{
    Window* window = LookUpWindow(handle);
    return window ? window->displayWindow : nullptr;
}

}  // namespace quorvane::user32

using namespace quorvane::user32;

extern "C" HWND WINAPI CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                                       int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    WindowClass* windowClass = FindWindowClass(className);
    if (!windowClass) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    if (parent && !LookUpWindow(parent)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if ((style & WS_CHILD) && !parent) {
        SetLastError(ERROR_TLW_WITH_WSCHILD);
        return nullptr;
    }

    auto created = std::make_unique<Window>();
    Window& window = *created;
    window.handle = NewHandle();
    window.windowClass = windowClass;
    window.windowProc = windowClass->info.lpfnWndProc;
    window.instance = instance;
    window.title = windowName ? windowName : L"";
    window.style = style;
    window.exStyle = exStyle;
    window.parent = parent;
    window.menu = menu;
    window.windowRect = InitialWindowRect(x, y, width, height, style);
    window.extraBytes.assign(static_cast<size_t>(windowClass->info.cbWndExtra), 0);
    HWND handle = window.handle;
    Windows().emplace(handle, std::move(created));
    ++windowClass->windowCount;
    if (Window* parentWindow = LookUpWindow(parent))
        parentWindow->children.push_back(handle);
    if (!(style & WS_CHILD))
        CreateDisplayWindow(window);

    CREATESTRUCTW create{param,
                         instance,
                         menu,
                         parent,
                         static_cast<int>(Height(window.windowRect)),
                         static_cast<int>(Width(window.windowRect)),
                         static_cast<int>(window.windowRect.top),
                         static_cast<int>(window.windowRect.left),
                         static_cast<LONG>(style),
                         windowName,
                         className,
                         exStyle};
    if (!Send(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create))) {
        ReleaseWindow(handle);
        return nullptr;
    }
    if (Send(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    // The window procedure may have destroyed the window meanwhile; each step checks.
    Window* live = LookUpWindow(handle);
    if (!live)
        return nullptr;
    RECT client = ClientRectInWindow(*live);
    Send(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(Width(client), Height(client)));
    live = LookUpWindow(handle);
    if (!live)
        return nullptr;
    POINT origin = ClientOriginOnScreen(*live);
    if (Window* parentWindow = LookUpWindow(live->parent)) {
        POINT parentOrigin = ClientOriginOnScreen(*parentWindow);
        origin.x -= parentOrigin.x;
        origin.y -= parentOrigin.y;
    }
    Send(handle, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
    return LookUpWindow(handle) ? handle : nullptr;
}

extern "C" BOOL WINAPI DestroyWindow(HWND handle)
{
    Window* window = LookUpWindow(handle);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (window->destroying)
        return TRUE;  // already on its way out (DestroyWindow from inside WM_DESTROY)
    window->destroying = true;
    Send(handle, WM_DESTROY, 0, 0);
    ReleaseWindow(handle);
    return TRUE;
}

extern "C" BOOL WINAPI IsWindow(HWND handle)
{
    return LookUpWindow(handle) ? TRUE : FALSE;
}

extern "C" BOOL WINAPI GetClientRect(HWND handle, LPRECT rect)
{
    Window* window = LookUpWindow(handle);
    if (!window || !rect) {
        SetLastError(window ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    RECT client = ClientRectInWindow(*window);
    *rect = RECT{0, 0, Width(client), Height(client)};
    return TRUE;
}

extern "C" BOOL WINAPI GetWindowRect(HWND handle, LPRECT rect)
{
    Window* window = LookUpWindow(handle);
    if (!window || !rect) {
        SetLastError(window ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    *rect = window->windowRect;
    if (Window* parent = LookUpWindow(window->parent)) {
        POINT origin = ClientOriginOnScreen(*parent);
        rect->left += origin.x;
        rect->right += origin.x;
        rect->top += origin.y;
        rect->bottom += origin.y;
    }
    return TRUE;
}
