#include "user32/window.h"

#include <algorithm>
#include <map>
#include <memory>

#include "kernel32/utf8.h"
#include "text/font_configuration.h"
#include "user32/icons.h"
#include "user32/menu.h"
#include "user32/menu_bar.h"
#include "user32/thread_state.h"
#include "user32/window_class.h"
#include "user32/window_frame.h"

namespace quorvane::user32 {

namespace {

// Handles are never reused, so a stale handle never reaches a newer window. Never destroyed:
// the program's static objects may still destroy windows (and their devices) at process exit.
std::map<HWND, std::unique_ptr<Window>>& Windows()
{
    static auto* windows = new std::map<HWND, std::unique_ptr<Window>>;
    return *windows;
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

display::Rect SurfaceOnScreen(const Window& window)
{
    return display::Rect{
        window.windowRect.left + window.surfaceRect.left, window.windowRect.top + window.surfaceRect.top,
        static_cast<std::uint32_t>(Width(window.surfaceRect)), static_cast<std::uint32_t>(Height(window.surfaceRect))};
}

void CreateDisplayWindow(Window& window)
{
    display::Rect surface = SurfaceOnScreen(window);
    display::WindowDesc desc;
    desc.title = kernel32::EncodeUtf8Lossy(window.title);
    desc.x = surface.x;
    desc.y = surface.y;
    desc.width = surface.width;
    desc.height = surface.height;
    desc.visible = (window.style & WS_VISIBLE) != 0;
    desc.resizable = (window.style & WS_THICKFRAME) != 0;
    window.displayWindow = display::CurrentDriver().CreateDisplayWindow(desc);
    // The window manager keeps an owned window with its owner (above it, no task-bar entry).
    if (Window* owner = LookUpWindow(window.owner); owner && window.displayWindow)
        display::CurrentDriver().SetDisplayWindowOwner(window.displayWindow, owner->displayWindow);
    // The window manager shows the class's icon for the window.
    const display::Image* icon = window.windowClass ? IconImage(window.windowClass->info.hIcon) : nullptr;
    if (window.displayWindow && icon)
        display::CurrentDriver().SetDisplayWindowIcon(window.displayWindow, *icon);
    SyncDisplayWindow(window);
}

// Owned windows go before their owner, as on Windows.
void DestroyOwnedWindows(HWND owner)
{
    for (HWND handle : AllWindows()) {
        Window* window = LookUpWindow(handle);
        if (window && window->owner == owner)
            DestroyWindow(handle);
    }
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
    ForgetWindow(handle);
    window = LookUpWindow(handle);
    if (!window)
        return;
    if (Window* parent = LookUpWindow(window->parent))
        std::erase(parent->children, handle);
    if (window->displayWindow)
        display::CurrentDriver().DestroyDisplayWindow(window->displayWindow);
    if (!(window->style & WS_CHILD) && LookUpMenu(window->menu))
        DestroyMenu(window->menu);  // a window's menu goes with it, as on Windows
    if (window->windowClass)
        --window->windowClass->windowCount;
    Windows().erase(handle);
}

// A top-level window that no display could show (none can be opened): its records go again
// before its procedure hears of it, and creation fails.
HWND AbandonUnshownWindow(HWND handle, bool ownsMenu)
{
    Window* window = LookUpWindow(handle);
    if (Window* parent = LookUpWindow(window->parent))
        std::erase(parent->children, handle);
    if (ownsMenu && LookUpMenu(window->menu))
        DestroyMenu(window->menu);
    --window->windowClass->windowCount;
    Windows().erase(handle);
    SetLastError(ERROR_DEVICE_NOT_AVAILABLE);
    return nullptr;
}

}  // namespace

Window* LookUpWindow(HWND handle)
{
    auto found = Windows().find(handle);
    return found == Windows().end() ? nullptr : found->second.get();
}

HWND DesktopHandle()
{
    return reinterpret_cast<HWND>(ULONG_PTR{0xFFF0});  // below every handle NewHandle gives
}

RECT DesktopRect()
{
    display::Mode mode = display::CurrentDriver().CurrentMode();
    return RECT{0, 0, LONG(mode.width), LONG(mode.height)};
}

Window* WindowOfDisplay(const display::Window* displayWindow)
{
    if (!displayWindow)
        return nullptr;
    for (auto& [handle, window] : Windows()) {
        if (window->displayWindow == displayWindow)
            return window.get();
    }
    return nullptr;
}

std::vector<HWND> AllWindows()
{
    std::vector<HWND> handles;
    for (auto& [handle, window] : Windows())
        handles.push_back(handle);
    return handles;
}

Window& TopLevelOf(Window& window)
{
    Window* top = &window;
    while (Window* parent = LookUpWindow(top->parent))
        top = parent;
    return *top;
}

bool IsDescendant(HWND ancestor, HWND handle)
{
    for (Window* w = LookUpWindow(handle); w; w = LookUpWindow(w->parent)) {
        if (w->handle == ancestor)
            return true;
    }
    return false;
}

bool IsShown(const Window& window)
{
    for (const Window* w = &window; w; w = LookUpWindow(w->parent)) {
        if (!(w->style & WS_VISIBLE))
            return false;
    }
    return true;
}

bool IsEnabledWithAncestors(const Window& window)
{
    for (const Window* w = &window; w; w = LookUpWindow(w->parent)) {
        if (w->style & WS_DISABLED)
            return false;
    }
    return true;
}

LONG Width(const RECT& r)
{
    return r.right - r.left;
}

LONG Height(const RECT& r)
{
    return r.bottom - r.top;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

RECT ClientRectInWindow(const Window& window)
{
    if (window.style & WS_MINIMIZE)
        return RECT{window.clientRect.left, window.clientRect.top, window.clientRect.left, window.clientRect.top};
    return window.clientRect;
}

POINT ClientOriginOnScreen(const Window& window)
{
    POINT origin{window.windowRect.left + window.clientRect.left, window.windowRect.top + window.clientRect.top};
    if (Window* parent = LookUpWindow(window.parent)) {
        POINT parentOrigin = ClientOriginOnScreen(*parent);
        origin.x += parentOrigin.x;
        origin.y += parentOrigin.y;
    }
    return origin;
}

RECT ClientRectInSurface(const Window& window)
{
    RECT client = ClientRectInWindow(window);
    LONG dx = window.surfaceRect.left;
    LONG dy = window.surfaceRect.top;
    return RECT{client.left - dx, client.top - dy, client.right - dx, client.bottom - dy};
}

void RecalculateFrame(Window& window)
{
    LONG width = Width(window.windowRect);
    LONG height = Height(window.windowRect);
    auto inside = [&](const FrameInsets& insets) {
        RECT r{insets.left, insets.top, width - insets.right, height - insets.bottom};
        r.right = std::max(r.right, r.left);
        r.bottom = std::max(r.bottom, r.top);
        return r;
    };
    window.clientRect = inside(NonClientInsets(window.style, window.exStyle, HasMenuBar(window)));
    window.surfaceRect = inside(NonClientInsets(window.style, window.exStyle, false));
}

void SyncDisplayWindow(Window& window)
{
    if (!window.displayWindow)
        return;
    display::Driver& driver = display::CurrentDriver();
    driver.SetDisplayWindowRect(window.displayWindow, SurfaceOnScreen(window));
    RECT client = ClientRectInSurface(window);
    driver.SetFrameArea(window.displayWindow, display::Rect{client.left, client.top, std::uint32_t(Width(client)),
                                                            std::uint32_t(Height(client))});
    RedrawMenuBar(window);  // the bar spans the surface's width
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
    if (!(style & WS_CHILD) && menu && !LookUpMenu(menu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return nullptr;
    }
    // A top-level window made without a menu gets its class's menu.
    const HMENU menuGiven = menu;
    LPCWSTR classMenu = windowClass->info.lpszMenuName;
    if (!(style & WS_CHILD) && !menu && classMenu)
        menu = LoadMenuW(windowClass->info.hInstance, classMenu);

    auto created = std::make_unique<Window>();
    Window& window = *created;
    window.handle = NewHandle();
    window.windowClass = windowClass;
    window.windowProc = windowClass->info.lpfnWndProc;
    window.instance = instance;
    window.title = windowName ? windowName : L"";
    window.style = style;
    window.exStyle = exStyle;
    // A parent given to a window without WS_CHILD is its owner: the top-level window of the one
    // given, as on Windows. An owned window is top-level (screen coordinates, not clipped by its
    // owner, not among its children).
    if (style & WS_CHILD)
        window.parent = parent;
    else if (parent)
        window.owner = TopLevelOf(*LookUpWindow(parent)).handle;
    window.menu = menu;
    window.windowRect = InitialWindowRect(x, y, width, height, style);
    RecalculateFrame(window);
    // A new window has everything to paint, once it is shown.
    window.updateRect = RECT{0, 0, Width(window.clientRect), Height(window.clientRect)};
    window.eraseBackground = true;
    window.extraBytes.assign(static_cast<size_t>(windowClass->info.cbWndExtra), 0);
    HWND handle = window.handle;
    Windows().emplace(handle, std::move(created));
    ++windowClass->windowCount;
    if (Window* parentWindow = LookUpWindow(window.parent))
        parentWindow->children.push_back(handle);
    if (!(style & WS_CHILD)) {
        CreateDisplayWindow(window);
        if (!window.displayWindow)
            return AbandonUnshownWindow(handle, menu != menuGiven);
        // Menus, captions and D3DX's fonts need the font configuration soon, and a device's GL
        // context often comes next: another core reads it meanwhile. It starts only now that the
        // display is up, because starting the display may fork (a session bus being launched), and
        // a child forked while another thread holds a lock can hang before it runs anything.
        quorvane::text::StartLoadingFontConfiguration();
    }

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
    DestroyOwnedWindows(handle);
    Send(handle, WM_DESTROY, 0, 0);
    ReleaseWindow(handle);
    return TRUE;
}

extern "C" BOOL WINAPI IsWindow(HWND handle)
{
    return LookUpWindow(handle) || handle == DesktopHandle() ? TRUE : FALSE;
}

extern "C" BOOL WINAPI GetClientRect(HWND handle, LPRECT rect)
{
    if (handle == DesktopHandle() && rect) {
        *rect = DesktopRect();
        return TRUE;
    }
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
    if (handle == DesktopHandle() && rect) {
        *rect = DesktopRect();
        return TRUE;
    }
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
