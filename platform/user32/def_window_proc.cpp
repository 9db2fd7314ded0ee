// The default window procedure: what a window does with the messages its own procedure leaves.
#include "user32/window.h"

extern "C" LRESULT WINAPI DefWindowProcW(HWND handle, UINT message, WPARAM, LPARAM)
{
    switch (message) {
    case WM_NCCREATE: return TRUE;  // creation goes on
    case WM_CLOSE: DestroyWindow(handle); return 0;
    default: return 0;
    }
}
