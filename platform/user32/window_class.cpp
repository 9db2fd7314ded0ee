#include "user32/window_class.h"

#include <cwctype>
#include <list>

namespace quorvane::user32 {

namespace {

// Atoms of registered classes, as Windows numbers them (0xC000 upwards).
constexpr ATOM firstClassAtom = 0xC000;

// A list: records keep their addresses. Never destroyed, like the windows: the program's static
// objects may destroy their windows at process exit.
std::list<WindowClass>& Classes()
{
    static auto* classes = new std::list<WindowClass>;
    return *classes;
}

bool SameName(const std::wstring& a, LPCWSTR b)
{
    size_t i = 0;
    for (; i < a.size() && b[i] != 0; ++i) {
        if (std::towlower(a[i]) != std::towlower(b[i]))
            return false;
    }
    return i == a.size() && b[i] == 0;
}

ATOM NextAtom()
{
    static ATOM next = firstClassAtom;
    return next == 0xFFFF ? 0 : next++;
}

}  // namespace

WindowClass* FindWindowClass(LPCWSTR nameOrAtom)
{
    if (nameOrAtom == nullptr)
        return nullptr;
    for (WindowClass& c : Classes()) {
        if (IS_INTRESOURCE(nameOrAtom) ? c.atom == LOWORD(reinterpret_cast<ULONG_PTR>(nameOrAtom))
                                       : SameName(c.name, nameOrAtom))
            return &c;
    }
    return nullptr;
}

}  // namespace quorvane::user32

using namespace quorvane::user32;

extern "C" ATOM WINAPI RegisterClassExW(const WNDCLASSEXW* windowClass)
{
    if (windowClass == nullptr || windowClass->cbSize != sizeof(WNDCLASSEXW) || windowClass->lpfnWndProc == nullptr ||
        windowClass->lpszClassName == nullptr || IS_INTRESOURCE(windowClass->lpszClassName) ||
        windowClass->lpszClassName[0] == 0 || windowClass->cbClsExtra < 0 || windowClass->cbWndExtra < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (FindWindowClass(windowClass->lpszClassName)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    ATOM atom = NextAtom();
    if (atom == 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    WindowClass& c = Classes().emplace_back();
    c.atom = atom;
    c.name = windowClass->lpszClassName;
    c.info = *windowClass;
    c.info.lpszClassName = c.name.c_str();
    if (windowClass->lpszMenuName && !IS_INTRESOURCE(windowClass->lpszMenuName)) {
        c.menuName = windowClass->lpszMenuName;
        c.info.lpszMenuName = c.menuName.c_str();
    }
    return atom;
}

extern "C" BOOL WINAPI UnregisterClassW(LPCWSTR className, HINSTANCE)
{
    WindowClass* found = FindWindowClass(className);
    if (!found) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if (found->windowCount > 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    Classes().remove_if([&](const WindowClass& c) { return &c == found; });
    return TRUE;
}
