// The lstr* helpers. Like Windows, they treat a null pointer as a failure instead of faulting.
#include <windows.h>

#include <cwchar>

extern "C" int WINAPI lstrlenW(LPCWSTR text)
{
    return text == nullptr ? 0 : static_cast<int>(std::wcslen(text));
}

extern "C" LPWSTR WINAPI lstrcpyW(LPWSTR destination, LPCWSTR source)
{
    if (destination == nullptr || source == nullptr)
        return nullptr;
    return std::wcscpy(destination, source);
}

extern "C" LPWSTR WINAPI lstrcatW(LPWSTR destination, LPCWSTR source)
{
    if (destination == nullptr || source == nullptr)
        return nullptr;
    return std::wcscat(destination, source);
}
