// Window styles and long values, enabling, menus, coordinates and system metrics.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "user32/icons.h"
#include "user32/menu.h"
#include "user32/mouse_input.h"
#include "user32/thread_state.h"
#include "user32/window.h"
#include "user32/window_frame.h"
#include "user32/window_placement.h"

using namespace quorvane::user32;

namespace {

Window* LookUpOrFail(HWND handle)
{
    Window* window = LookUpWindow(handle);
    if (!window)
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return window;
}

// The class's extra bytes at `index`, room for a Value; null (and the error set) if they are not.
template <class Value>
BYTE* ExtraBytes(HWND handle, int index)
{
    Window* window = LookUpOrFail(handle);
    if (!window)
        return nullptr;
    if (index < 0 || size_t(index) + sizeof(Value) > window->extraBytes.size()) {
        SetLastError(ERROR_INVALID_INDEX);
        return nullptr;
    }
    return window->extraBytes.data() + index;
}

template <class Value>
Value GetExtra(HWND handle, int index)
{
    Value value{};
    if (BYTE* at = ExtraBytes<Value>(handle, index))
        std::memcpy(&value, at, sizeof value);
    return value;
}

// Returns the value it replaces.
template <class Value>
Value SetExtra(HWND handle, int index, Value value)
{
    Value previous{};
    if (BYTE* at = ExtraBytes<Value>(handle, index)) {
        std::memcpy(&previous, at, sizeof previous);
        std::memcpy(at, &value, sizeof value);
    }
    return previous;
}

// Styles that user32 reflects at once: visibility and being disabled. The frame follows a
// style change only with the next SetWindowPos, as on Windows.
void ApplyStyle(Window& window, DWORD style)
{
    bool shown = (style & WS_VISIBLE) != 0;
    window.style = (style & ~WS_VISIBLE) | (window.style & WS_VISIBLE);
    SetShown(window, shown);
}

// Adds (direction +1) or takes away (-1) the window's client origin on the screen.
BOOL MoveByClientOrigin(HWND handle, LPPOINT point, int direction)
{
    Window* window = LookUpWindow(handle);
    if (!window || !point)
        return FALSE;
    POINT origin = ClientOriginOnScreen(*window);
    point->x += direction * origin.x;
    point->y += direction * origin.y;
    return TRUE;
}

}  // namespace

extern "C" LONG_PTR WINAPI GetWindowLongPtrW(HWND handle, int index)
{
    if (index >= 0)
        return GetExtra<LONG_PTR>(handle, index);
    Window* window = LookUpOrFail(handle);
    if (!window)
        return 0;
    switch (index) {
    case GWL_STYLE: return LONG(window->style);
    case GWL_EXSTYLE: return LONG(window->exStyle);
    case GWLP_USERDATA: return window->userData;
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(window->windowProc);
    default: SetLastError(ERROR_INVALID_INDEX); return 0;
    }
}

extern "C" LONG_PTR WINAPI SetWindowLongPtrW(HWND handle, int index, LONG_PTR value)
{
    if (index >= 0)
        return SetExtra(handle, index, value);
    Window* window = LookUpOrFail(handle);
    if (!window)
        return 0;
    LONG_PTR previous = GetWindowLongPtrW(handle, index);
    switch (index) {
    case GWL_STYLE: ApplyStyle(*window, DWORD(value)); break;
    case GWL_EXSTYLE: window->exStyle = DWORD(value); break;
    case GWLP_USERDATA: window->userData = value; break;
    case GWLP_WNDPROC:
        if (value == 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        window->windowProc = reinterpret_cast<WNDPROC>(value);
        break;
    default: break;  // GetWindowLongPtrW said so
    }
    return previous;
}

extern "C" LONG WINAPI GetWindowLongW(HWND handle, int index)
{
    return index >= 0 ? GetExtra<LONG>(handle, index) : LONG(GetWindowLongPtrW(handle, index));
}

extern "C" LONG WINAPI SetWindowLongW(HWND handle, int index, LONG value)
{
    if (index >= 0)
        return SetExtra(handle, index, value);
    // Styles are 32-bit flags: a LONG holding WS_POPUP is negative and must not widen with its sign.
    LONG_PTR widened = (index == GWL_STYLE || index == GWL_EXSTYLE) ? LONG_PTR(DWORD(value)) : LONG_PTR(value);
    return LONG(SetWindowLongPtrW(handle, index, widened));
}

extern "C" BOOL WINAPI EnableWindow(HWND handle, BOOL enable)
{
    Window* window = LookUpOrFail(handle);
    if (!window)
        return FALSE;
    BOOL wasDisabled = (window->style & WS_DISABLED) ? TRUE : FALSE;
    if (bool(enable) != bool(wasDisabled))
        return wasDisabled;  // no change
    if (enable) {
        window->style &= ~WS_DISABLED;
    } else {
        window->style |= WS_DISABLED;
        // A disabled window takes no input: it gives up the mouse and the keyboard.
        ThreadState& state = CurrentThreadState();
        if (state.capture && IsDescendant(handle, state.capture))
            ReleaseCapture();
        if (state.focus && IsDescendant(handle, state.focus))
            SetFocus(nullptr);
    }
    SendMessageW(handle, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled;
}

extern "C" BOOL WINAPI IsWindowEnabled(HWND handle)
{
    Window* window = LookUpWindow(handle);
    return window && !(window->style & WS_DISABLED) ? TRUE : FALSE;
}

extern "C" HWND WINAPI GetDesktopWindow(void)
{
    return DesktopHandle();
}

extern "C" HMENU WINAPI GetMenu(HWND handle)
{
    Window* window = LookUpOrFail(handle);
    return window && !(window->style & WS_CHILD) ? window->menu : nullptr;
}

// The menu bar takes its height from the client area, and the window procedure hears of the new
// size at once; the menu that was there is kept (the caller may put it back later).
extern "C" BOOL WINAPI SetMenu(HWND handle, HMENU menu)
{
    Window* window = LookUpOrFail(handle);
    if (!window)
        return FALSE;
    if (window->style & WS_CHILD) {
        SetLastError(ERROR_CHILD_WINDOW_MENU);
        return FALSE;
    }
    if (menu && !LookUpMenu(menu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    window->menu = menu;
    PlaceWindow(*window, window->windowRect, Notify::Program);
    return TRUE;
}

extern "C" BOOL WINAPI ClientToScreen(HWND handle, LPPOINT point)
{
    return MoveByClientOrigin(handle, point, +1);
}

extern "C" BOOL WINAPI ScreenToClient(HWND handle, LPPOINT point)
{
    return MoveByClientOrigin(handle, point, -1);
}

extern "C" int WINAPI GetSystemMetrics(int index)
{
    RECT desktop = DesktopRect();
    switch (index) {
    case SM_CXSCREEN: return desktop.right;
    case SM_CYSCREEN: return desktop.bottom;
    case SM_CYCAPTION: return captionHeight;
    case SM_CYMENU: return menuBarHeight;
    case SM_CXICON:
    case SM_CYICON: return iconSize;
    case SM_CXSMICON:
    case SM_CYSMICON: return smallIconSize;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return doubleClickSize;
    default: return 0;
    }
}

// A child's parent, or a pop-up's owner, as on Windows.
extern "C" HWND WINAPI GetParent(HWND handle)
{
    Window* window = LookUpOrFail(handle);
    if (!window)
        return nullptr;
    if (window->style & WS_CHILD)
        return window->parent;
    return (window->style & WS_POPUP) ? window->owner : nullptr;
}

extern "C" HWND WINAPI GetAncestor(HWND handle, UINT flags)
{
    Window* window = LookUpOrFail(handle);
    if (!window)
        return nullptr;
    switch (flags) {
    case GA_PARENT: return window->parent ? window->parent : DesktopHandle();
    case GA_ROOT: return TopLevelOf(*window).handle;
    case GA_ROOTOWNER: {
        Window* root = &TopLevelOf(*window);
        while (Window* owner = LookUpWindow(root->owner))
            root = owner;
        return root->handle;
    }
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
    }
}

extern "C" int WINAPI GetWindowTextW(HWND handle, LPWSTR text, int textMax)
{
    if (!text || textMax <= 0)
        return 0;
    text[0] = L'\0';
    if (!LookUpOrFail(handle))
        return 0;
    return int(SendMessageW(handle, WM_GETTEXT, WPARAM(textMax), reinterpret_cast<LPARAM>(text)));
}

extern "C" BOOL WINAPI SetWindowTextW(HWND handle, LPCWSTR text)
{
    if (!LookUpOrFail(handle))
        return FALSE;
    return SendMessageW(handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

// Top-level windows in the order they were made, until the callback answers FALSE. A window the
// callback destroys is not visited afterwards.
extern "C" BOOL WINAPI EnumWindows(WNDENUMPROC enumProc, LPARAM lParam)
{
    for (HWND handle : AllWindows()) {
        const Window* window = LookUpWindow(handle);
        if (window && !window->parent && !enumProc(handle, lParam))
            return FALSE;
    }
    return TRUE;
}

// Children in the order they were made (a dialog's controls in template order).
extern "C" HWND WINAPI GetWindow(HWND handle, UINT relation)
{
    Window* window = LookUpOrFail(handle);
    if (!window)
        return nullptr;
    if (relation == GW_CHILD)
        return window->children.empty() ? nullptr : window->children.front();
    if (relation == GW_OWNER)
        return window->owner;
    Window* parent = LookUpWindow(window->parent);
    if (!parent)
        return nullptr;
    const std::vector<HWND>& siblings = parent->children;
    auto at = std::find(siblings.begin(), siblings.end(), handle);
    switch (relation) {
    case GW_HWNDFIRST: return siblings.front();
    case GW_HWNDLAST: return siblings.back();
    case GW_HWNDNEXT: return at + 1 < siblings.end() ? *(at + 1) : nullptr;
    case GW_HWNDPREV: return at != siblings.begin() ? *(at - 1) : nullptr;
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
    }
}
