// The default window procedure: what a window does with the messages its own procedure leaves.
#include <algorithm>

#include "kernel32/utf8.h"
#include "user32/menu_bar_hooks.h"
#include "user32/thread_state.h"
#include "user32/window.h"
#include "user32/window_class.h"

namespace {

using namespace quorvane::user32;

bool AltHeld(LPARAM keyFlags)
{
    return (HIWORD(keyFlags) & KF_ALTDOWN) != 0;
}

LRESULT SystemCommand(HWND handle, WPARAM command, LPARAM lParam)
{
    switch (command & 0xFFF0) {  // the low four bits are the system's own
    case SC_CLOSE: SendMessageW(handle, WM_CLOSE, 0, 0); break;
    case SC_MAXIMIZE: ShowWindow(handle, SW_MAXIMIZE); break;
    case SC_MINIMIZE: ShowWindow(handle, SW_MINIMIZE); break;
    case SC_RESTORE: ShowWindow(handle, SW_RESTORE); break;
    case SC_KEYMENU: EnterMenuBarFromKeyboard(handle, WCHAR(lParam)); break;
    default: break;
    }
    return 0;
}

// The keys of the menu and of the system commands come to the window with the focus, which may
// be a control inside a top-level window (a dialog's button); their commands go to the top-level
// window, whose menu and frame they are.
HWND TopLevelHandle(HWND handle)
{
    Window* window = LookUpWindow(handle);
    return window ? TopLevelOf(*window).handle : nullptr;
}

// Alt+F4 closes the top-level window. (Alt or F10 alone is watched as the keys arrive.)
void SystemKeyDown(HWND handle, WPARAM key, LPARAM flags)
{
    if (key == VK_F4 && AltHeld(flags) && TopLevelHandle(handle))
        PostMessageW(TopLevelHandle(handle), WM_SYSCOMMAND, SC_CLOSE, 0);
}

void SystemKeyUp(HWND handle, WPARAM key)
{
    ThreadState& state = CurrentThreadState();
    bool alone = state.menuKeyAlone && (key == VK_MENU || key == VK_F10);
    state.menuKeyAlone = false;
    if (alone)
        SendMessageW(TopLevelHandle(handle), WM_SYSCOMMAND, SC_KEYMENU, 0);
}

// A character typed with Alt is a menu mnemonic (Alt+Tab and Alt+Esc belong to the desktop).
void SystemCharacter(HWND handle, WPARAM character, LPARAM flags)
{
    if (AltHeld(flags) && character != '\t' && character != 0x1B)
        SendMessageW(TopLevelHandle(handle), WM_SYSCOMMAND, SC_KEYMENU, LPARAM(character));
}

void CaptionDoubleClick(HWND handle, LPARAM lParam)
{
    Window* window = LookUpWindow(handle);
    if (!window || !(window->style & WS_MAXIMIZEBOX))
        return;
    SendMessageW(handle, WM_SYSCOMMAND, (window->style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE, lParam);
}

// The window's text, which a top-level window's display shows as its title.
LRESULT SetText(HWND handle, LPCWSTR text)
{
    Window* window = LookUpWindow(handle);
    if (!window)
        return FALSE;
    window->title = text ? text : L"";
    if (window->displayWindow)
        quorvane::display::CurrentDriver().SetDisplayWindowTitle(window->displayWindow,
                                                                 quorvane::kernel32::EncodeUtf8Lossy(window->title));
    return TRUE;
}

LRESULT GetText(HWND handle, WPARAM textMax, LPWSTR text)
{
    Window* window = LookUpWindow(handle);
    if (!window || !text || textMax == 0)
        return 0;
    std::size_t copied = std::min(window->title.size(), std::size_t(textMax - 1));
    std::copy_n(window->title.begin(), copied, text);
    text[copied] = L'\0';
    return LRESULT(copied);
}

LRESULT ErasedByClassBrush(HWND handle)
{
    // The client area shows the last presented frame; the class brush counts as having erased.
    Window* window = LookUpWindow(handle);
    return window && window->windowClass && window->windowClass->info.hbrBackground ? 1 : 0;
}

}  // namespace

extern "C" LRESULT WINAPI DefWindowProcW(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE: return TRUE;  // creation goes on
    case WM_SETTEXT: return SetText(handle, reinterpret_cast<LPCWSTR>(lParam));
    case WM_GETTEXT: return GetText(handle, wParam, reinterpret_cast<LPWSTR>(lParam));
    case WM_GETTEXTLENGTH: {
        Window* window = LookUpWindow(handle);
        return window ? LRESULT(window->title.size()) : 0;
    }
    case WM_CLOSE: DestroyWindow(handle); return 0;
    case WM_QUERYENDSESSION: return TRUE;  // the session may end
    case WM_PAINT: {
        PAINTSTRUCT paint;
        if (BeginPaint(handle, &paint))
            EndPaint(handle, &paint);
        return 0;
    }
    case WM_ERASEBKGND: return ErasedByClassBrush(handle);
    case WM_SYSCOMMAND: return SystemCommand(handle, wParam, lParam);
    case WM_SYSKEYDOWN: SystemKeyDown(handle, wParam, lParam); return 0;
    case WM_SYSKEYUP:
    case WM_KEYUP: SystemKeyUp(handle, wParam); return 0;
    case WM_SYSCHAR: SystemCharacter(handle, wParam, lParam); return 0;
    case WM_NCLBUTTONDBLCLK:
        if (wParam == HTCAPTION)
            CaptionDoubleClick(handle, lParam);
        return 0;
    case WM_NCLBUTTONDOWN:
        if (wParam == HTMENU)
            EnterMenuBarFromMouse(handle, POINT{SHORT(LOWORD(lParam)), SHORT(HIWORD(lParam))});
        return 0;
    case WM_NCMOUSEMOVE:
        HoverMenuBar(handle, POINT{SHORT(LOWORD(lParam)), SHORT(HIWORD(lParam))}, wParam == HTMENU);
        return 0;
    case WM_MOUSEMOVE: HoverMenuBar(handle, POINT{}, false); return 0;
    case WM_MOUSEWHEEL: {
        // Unhandled wheel turns go up to the parent.
        Window* window = LookUpWindow(handle);
        return window && window->parent ? SendMessageW(window->parent, message, wParam, lParam) : 0;
    }
    default: return 0;
    }
}
