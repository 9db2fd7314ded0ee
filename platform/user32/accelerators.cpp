// Accelerator tables: loaded from RT_ACCELERATOR resources (entries of flags, key, command and
// padding, eight bytes each, the last one flagged 0x80) and tried by TranslateAcceleratorW on
// the messages a loop takes before TranslateMessage. Virtual-key entries match key presses with
// exactly their Shift, Control and Alt state; character entries match the WM_CHAR or WM_SYSCHAR
// that TranslateMessage made of the press, with or without Alt as the entry says.
#include <windows.h>

#include <map>
#include <vector>

#include "user32/resource_data.h"
#include "user32/window.h"

namespace {

using namespace quorvane;

constexpr BYTE lastEntry = 0x80;
constexpr BYTE knownFlags = FVIRTKEY | FNOINVERT | FSHIFT | FCONTROL | FALT;

std::map<HACCEL, std::vector<ACCEL>>& Tables()
{
    static auto* tables = new std::map<HACCEL, std::vector<ACCEL>>;  // never destroyed, like the windows
    return *tables;
}

HACCEL Keep(std::vector<ACCEL> entries)
{
    static ULONG_PTR next = 0xACC0000;
    HACCEL handle = reinterpret_cast<HACCEL>(next += 4);
    Tables().emplace(handle, std::move(entries));
    return handle;
}

bool ReadTable(const user32::ResourceData& data, std::vector<ACCEL>& entries)
{
    kernel32::ResourceReader reader = data.Reader();
    for (;;) {
        std::uint16_t flags = 0, key = 0, command = 0, padding = 0;
        if (!reader.Word(flags) || !reader.Word(key) || !reader.Word(command) || !reader.Word(padding))
            return false;
        entries.push_back(ACCEL{BYTE(flags & knownFlags), key, command});
        if (flags & lastEntry)
            return true;
    }
}

bool Held(int virtualKey)
{
    return (GetKeyState(virtualKey) & 0x8000) != 0;
}

bool Matches(const ACCEL& entry, const MSG& message)
{
    bool altContext = (HIWORD(message.lParam) & KF_ALTDOWN) != 0;
    switch (message.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        if (!(entry.fVirt & FVIRTKEY) || entry.key != message.wParam)
            return false;
        return Held(VK_SHIFT) == bool(entry.fVirt & FSHIFT) && Held(VK_CONTROL) == bool(entry.fVirt & FCONTROL) &&
               Held(VK_MENU) == bool(entry.fVirt & FALT);
    }
    case WM_CHAR:
    case WM_SYSCHAR:
        if ((entry.fVirt & FVIRTKEY) || entry.key != message.wParam)
            return false;
        return altContext == bool(entry.fVirt & FALT);
    default: return false;
    }
}

}  // namespace

extern "C" HACCEL WINAPI LoadAcceleratorsW(HINSTANCE instance, LPCWSTR name)
{
    user32::ResourceData data;
    if (!user32::FindResourceData(instance, name, RT_ACCELERATOR, data))
        return nullptr;
    std::vector<ACCEL> entries;
    if (!ReadTable(data, entries)) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    return Keep(std::move(entries));
}

extern "C" HACCEL WINAPI CreateAcceleratorTableW(LPACCEL entries, int count)
{
    if (!entries || count <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return Keep(std::vector<ACCEL>(entries, entries + count));
}

extern "C" BOOL WINAPI DestroyAcceleratorTable(HACCEL table)
{
    return Tables().erase(table) ? TRUE : FALSE;
}

extern "C" int WINAPI TranslateAcceleratorW(HWND window, HACCEL table, LPMSG message)
{
    auto found = Tables().find(table);
    if (found == Tables().end()) {
        SetLastError(ERROR_INVALID_ACCEL_HANDLE);
        return 0;
    }
    if (!message || !user32::LookUpWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    for (const ACCEL& entry : found->second) {
        if (Matches(entry, *message)) {
            // A command from an accelerator has 1 in the high word of wParam.
            SendMessageW(window, WM_COMMAND, MAKEWPARAM(entry.cmd, 1), 0);
            return 1;
        }
    }
    return 0;
}
