// Mouse capture: while a window holds it, every mouse message goes to it, wherever the pointer
// is. The window losing it hears WM_CAPTURECHANGED.
#include "display/display.h"
#include "user32/thread_state.h"
#include "user32/window.h"

using namespace quorvane::user32;

extern "C" HWND WINAPI SetCapture(HWND handle)
{
    ThreadState& state = CurrentThreadState();
    Window* window = LookUpWindow(handle);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    HWND previous = LookUpWindow(state.capture) ? state.capture : nullptr;
    if (previous == handle)
        return previous;
    state.capture = handle;
    quorvane::display::CurrentDriver().CaptureMouse(TopLevelOf(*window).displayWindow);
    if (previous)
        SendMessageW(previous, WM_CAPTURECHANGED, 0, LPARAM(handle));
    return previous;
}

extern "C" BOOL WINAPI ReleaseCapture(void)
{
    ThreadState& state = CurrentThreadState();
    HWND previous = LookUpWindow(state.capture) ? state.capture : nullptr;
    state.capture = nullptr;
    quorvane::display::CurrentDriver().CaptureMouse(nullptr);
    if (previous)
        SendMessageW(previous, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

extern "C" HWND WINAPI GetCapture(void)
{
    HWND capture = CurrentThreadState().capture;
    return LookUpWindow(capture) ? capture : nullptr;
}
