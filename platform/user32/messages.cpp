// Sending messages: a direct, synchronous call of the window procedure (the message queue with
// PostMessageW and GetMessageW joins this file's neighbours when the window system grows).
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
