#include "user32/painting.h"

#include <algorithm>

#include "user32/device_context.h"
#include "user32/window_class.h"

namespace quorvane::user32 {

namespace {

bool IsEmpty(const RECT& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}

RECT ClientBounds(const Window& window)
{
    RECT client = ClientRectInWindow(window);
    return RECT{0, 0, Width(client), Height(client)};
}

RECT Intersection(const RECT& a, const RECT& b)
{
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

RECT Union(const RECT& a, const RECT& b)
{
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

// What is left of the update rectangle once `valid` is painted: it shrinks when `valid` covers
// it entirely or takes a whole band off one side; otherwise the bounding rectangle stays.
RECT Subtract(const RECT& update, const RECT& valid)
{
    RECT overlap = Intersection(update, valid);
    if (IsEmpty(overlap))
        return update;
    bool fullWidth = overlap.left == update.left && overlap.right == update.right;
    bool fullHeight = overlap.top == update.top && overlap.bottom == update.bottom;
    RECT rest = update;
    if (fullWidth && fullHeight)
        return RECT{};
    if (fullWidth && overlap.top == update.top)
        rest.top = overlap.bottom;
    else if (fullWidth && overlap.bottom == update.bottom)
        rest.bottom = overlap.top;
    else if (fullHeight && overlap.left == update.left)
        rest.left = overlap.right;
    else if (fullHeight && overlap.right == update.right)
        rest.right = overlap.left;
    return rest;
}

template <class Action>
void ForTopLevelWindows(Action action)
{
    for (HWND handle : AllWindows()) {
        Window* window = LookUpWindow(handle);
        if (window && !(window->style & WS_CHILD))
            action(handle);
    }
}

}  // namespace

bool NeedsPainting(const Window& window)
{
    return IsShown(window) && !(window.style & WS_MINIMIZE) && !IsEmpty(window.updateRect);
}

}  // namespace quorvane::user32

using namespace quorvane::user32;

extern "C" BOOL WINAPI InvalidateRect(HWND handle, const RECT* rect, BOOL erase)
{
    if (!handle) {
        ForTopLevelWindows([&](HWND window) { InvalidateRect(window, nullptr, erase); });
        return TRUE;
    }
    Window* window = LookUpWindow(handle);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    RECT bounds = ClientBounds(*window);
    RECT area = rect ? Intersection(*rect, bounds) : bounds;
    if (IsEmpty(area))
        return TRUE;
    window->updateRect = IsEmpty(window->updateRect) ? area : Union(window->updateRect, area);
    if (erase)
        window->eraseBackground = true;
    return TRUE;
}

extern "C" BOOL WINAPI ValidateRect(HWND handle, const RECT* rect)
{
    if (!handle) {
        ForTopLevelWindows([&](HWND window) { ValidateRect(window, nullptr); });
        return TRUE;
    }
    Window* window = LookUpWindow(handle);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    window->updateRect = rect ? Subtract(window->updateRect, *rect) : RECT{};
    if (IsEmpty(window->updateRect)) {
        window->updateRect = RECT{};
        window->eraseBackground = false;
    }
    return TRUE;
}

extern "C" BOOL WINAPI GetUpdateRect(HWND handle, LPRECT rect, BOOL)
{
    Window* window = LookUpWindow(handle);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (rect)
        *rect = window->updateRect;
    return IsEmpty(window->updateRect) ? FALSE : TRUE;
}

extern "C" BOOL WINAPI UpdateWindow(HWND handle)
{
    Window* window = LookUpWindow(handle);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (NeedsPainting(*window))
        SendMessageW(handle, WM_PAINT, 0, 0);
    return TRUE;
}

extern "C" HDC WINAPI BeginPaint(HWND handle, LPPAINTSTRUCT paint)
{
    Window* window = LookUpWindow(handle);
    if (!window || !paint) {
        SetLastError(window ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    *paint = PAINTSTRUCT{};
    paint->hdc = AcquireDeviceContext(handle);
    paint->rcPaint = window->updateRect;
    bool erase = window->eraseBackground;
    window->updateRect = RECT{};
    window->eraseBackground = false;
    if (erase)
        paint->fErase = SendMessageW(handle, WM_ERASEBKGND, WPARAM(paint->hdc), 0) ? FALSE : TRUE;
    return paint->hdc;
}

extern "C" BOOL WINAPI EndPaint(HWND handle, const PAINTSTRUCT* paint)
{
    if (!paint)
        return FALSE;
    ReleaseDeviceContext(handle, paint->hdc);
    return TRUE;
}
