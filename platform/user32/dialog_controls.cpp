// The controls of dialog boxes: push buttons and static texts and icons. They are child windows
// of the dialog, so GetDlgItem and messages reach them as on Windows; their look is drawn with
// the dialog's face (dialog_drawing.cpp).
#include <windows.h>

#include <set>

#include "user32/dialog.h"
#include "user32/window.h"
#include "user32/window_class.h"

namespace quorvane::user32 {

namespace {

std::set<HWND>& PressedButtons()
{
    static auto* pressed = new std::set<HWND>;  // never destroyed, like the windows
    return *pressed;
}

void SetPressed(HWND button, bool pressed)
{
    bool changed = pressed ? PressedButtons().insert(button).second : PressedButtons().erase(button) > 0;
    if (changed)
        RedrawDialog(GetParent(button));
}

bool Inside(HWND window, LPARAM clientPoint)
{
    RECT client{};
    GetClientRect(window, &client);
    POINT point{SHORT(LOWORD(clientPoint)), SHORT(HIWORD(clientPoint))};
    return point.x >= 0 && point.y >= 0 && point.x < client.right && point.y < client.bottom;
}

LRESULT CALLBACK ButtonProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_BUTTON |
               ((GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON ? DLGC_DEFPUSHBUTTON
                                                                                      : DLGC_UNDEFPUSHBUTTON);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetCapture(window);
        SetFocus(window);
        SetPressed(window, true);
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() == window)
            SetPressed(window, Inside(window, lParam));
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == window) {
            bool click = Inside(window, lParam);
            ReleaseCapture();
            SetPressed(window, false);
            if (click)
                ClickButton(window);
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE)
            SetPressed(window, true);
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE && IsButtonPressed(window)) {
            SetPressed(window, false);
            ClickButton(window);
        }
        return 0;
    case BM_CLICK: ClickButton(window); return 0;
    case BM_SETSTATE: SetPressed(window, wParam != 0); return 0;
    case BM_SETSTYLE: {
        LONG style = GetWindowLongW(window, GWL_STYLE);
        SetWindowLongW(window, GWL_STYLE, LONG((DWORD(style) & ~BS_TYPEMASK) | (DWORD(wParam) & BS_TYPEMASK)));
        RedrawDialog(GetParent(window));
        return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (message == WM_KILLFOCUS)
            PressedButtons().erase(window);
        RedrawDialog(GetParent(window));
        return 0;
    case WM_NCDESTROY: PressedButtons().erase(window); break;
    default: break;
    }
    LRESULT result = DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_SETTEXT)
        RedrawDialog(GetParent(window));
    return result;
}

LRESULT CALLBACK StaticProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETDLGCODE)
        return DLGC_STATIC;
    LRESULT result = DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_SETTEXT)
        RedrawDialog(GetParent(window));
    return result;
}

}  // namespace

bool IsButtonPressed(HWND button)
{
    return PressedButtons().count(button) > 0;
}

void RegisterSystemClass(LPCWSTR name, WNDPROC procedure)
{
    if (FindWindowClass(name))
        return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.lpszClassName = name;
    RegisterClassExW(&windowClass);
}

void RegisterControlClasses()
{
    RegisterSystemClass(L"Button", ButtonProcedure);
    RegisterSystemClass(L"Static", StaticProcedure);
}

bool IsPushButton(HWND handle)
{
    Window* window = LookUpWindow(handle);
    return window && window->windowProc == ButtonProcedure && (window->style & BS_TYPEMASK) <= BS_DEFPUSHBUTTON;
}

void ClickButton(HWND button)
{
    Window* window = LookUpWindow(button);
    if (!window || !window->parent || !IsWindowEnabled(button))
        return;
    WORD id = WORD(reinterpret_cast<ULONG_PTR>(window->menu));
    SendMessageW(window->parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

}  // namespace quorvane::user32
