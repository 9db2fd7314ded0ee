// The window-class registry: classes by name (case-insensitive, as Windows compares them) or
// by atom.
#pragma once

#include <windows.h>

#include <string>

namespace quorvane::user32 {

struct WindowClass {
    ATOM atom = 0;
    std::wstring name;
    WNDCLASSEXW info{};  // lpszClassName and lpszMenuName point into this record's strings
    std::wstring menuName;
    int windowCount = 0;
};

// The class named by a string or by MAKEINTATOM, or null.
WindowClass* FindWindowClass(LPCWSTR nameOrAtom);

}  // namespace quorvane::user32
