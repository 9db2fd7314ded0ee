// gdi32's part: device contexts and the one query the program makes of them, the screen size.
#include "user32/device_context.h"

#include <map>

#include "display/display.h"
#include "user32/window.h"

namespace quorvane::user32 {

namespace {

std::map<HDC, HWND>& DeviceContexts()
{
    static auto* contexts = new std::map<HDC, HWND>;  // never destroyed, like the windows
    return *contexts;
}

HDC NewHandle()
{
    static ULONG_PTR next = 0x20000;
    next += 4;
    return reinterpret_cast<HDC>(next);
}

}  // namespace

HDC AcquireDeviceContext(HWND window)
{
    if (window == DesktopHandle())
        window = nullptr;
    if (window && !LookUpWindow(window))
        return nullptr;
    HDC dc = NewHandle();
    DeviceContexts().emplace(dc, window);
    return dc;
}

bool ReleaseDeviceContext(HWND window, HDC dc)
{
    if (window == DesktopHandle())
        window = nullptr;
    auto found = DeviceContexts().find(dc);
    if (found == DeviceContexts().end() || found->second != window)
        return false;
    DeviceContexts().erase(found);
    return true;
}

}  // namespace quorvane::user32

using namespace quorvane::user32;

extern "C" HDC WINAPI GetDC(HWND window)
{
    HDC dc = AcquireDeviceContext(window);
    if (!dc)
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return dc;
}

extern "C" int WINAPI ReleaseDC(HWND window, HDC dc)
{
    return ReleaseDeviceContext(window, dc) ? 1 : 0;
}

// The screen is the adapter's current mode, as Direct3D's GetAdapterDisplayMode reports it
// (the full-screen mode while a device holds full screen).
extern "C" int WINAPI GetDeviceCaps(HDC dc, int index)
{
    if (DeviceContexts().count(dc) == 0)
        return 0;
    quorvane::display::Mode mode = quorvane::display::CurrentDriver().CurrentMode();
    switch (index) {
    case HORZRES: return int(mode.width);
    case VERTRES: return int(mode.height);
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case VREFRESH: return int(mode.refreshRate);
    default: return 0;
    }
}
