// Sending and dispatching: a direct, synchronous call of the window procedure, so a message
// sent from inside another one (WM_SIZE from SetWindowPos) is handled before the call returns.
#include "user32/window.h"

extern "C" LRESULT WINAPI CallWindowProcW(WNDPROC windowProc, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return windowProc ? windowProc(window, message, wParam, lParam) : 0;
}

extern "C" LRESULT WINAPI SendMessageW(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    quorvane::user32::Window* window = quorvane::user32::LookUpWindow(handle);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    // The procedure may destroy the window; nothing of it is touched after the call.
    return CallWindowProcW(window->windowProc, handle, message, wParam, lParam);
}

extern "C" LRESULT WINAPI DispatchMessageW(const MSG* message)
{
    if (!message || !message->hwnd)
        return 0;  // a thread message has no window procedure to go to
    return SendMessageW(message->hwnd, message->message, message->wParam, message->lParam);
}
