#include "d3d9/present_parameters.h"

#include <algorithm>

#include "d3d9/direct3d9.h"
#include "d3d9/formats.h"
#include "display/display.h"

namespace quorvane::d3d9 {

namespace {

constexpr UINT maxBackBuffers = 3;
constexpr UINT maxBackBufferSize = 8192;
constexpr DWORD knownPresentFlags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER | D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL;

bool IsBackBufferFormat(D3DFORMAT format)
{
    return format == D3DFMT_X8R8G8B8 || format == D3DFMT_A8R8G8B8;
}

// One of the adapter's modes, or the desktop's size as the program sees it (on a scaled desktop
// that is the desktop itself, shown scaled, and not a mode of the screen's).
bool IsOfferedMode(UINT width, UINT height, UINT refreshRate)
{
    display::Mode desktop = display::CurrentDriver().DesktopMode();
    if (desktop.width == width && desktop.height == height && refreshRate == 0)
        return true;
    for (const display::Mode& mode : display::CurrentDriver().Modes()) {
        if (mode.width == width && mode.height == height && (refreshRate == 0 || mode.refreshRate == refreshRate))
            return true;
    }
    return false;
}

bool IsPresentationInterval(UINT interval, BOOL windowed)
{
    switch (interval) {
    case D3DPRESENT_INTERVAL_DEFAULT:
    case D3DPRESENT_INTERVAL_ONE:
    case D3DPRESENT_INTERVAL_IMMEDIATE: return true;
    case 2:  // D3DPRESENT_INTERVAL_TWO, THREE and FOUR: full screen only
    case 4:
    case 8: return !windowed;
    default: return false;
    }
}

}  // namespace

HRESULT CompletePresentParameters(D3DPRESENT_PARAMETERS& p, HWND window)
{
    if (p.BackBufferCount > maxBackBuffers)
        return D3DERR_INVALIDCALL;
    if (p.SwapEffect < D3DSWAPEFFECT_DISCARD || p.SwapEffect > D3DSWAPEFFECT_COPY)
        return D3DERR_INVALIDCALL;
    if (p.SwapEffect == D3DSWAPEFFECT_COPY && p.BackBufferCount > 1)
        return D3DERR_INVALIDCALL;
    if (p.MultiSampleType != D3DMULTISAMPLE_NONE || (p.Flags & ~knownPresentFlags))
        return D3DERR_INVALIDCALL;
    if (p.Flags & D3DPRESENTFLAG_LOCKABLE_BACKBUFFER)
        return D3DERR_NOTAVAILABLE;  // the back buffer lives in OpenGL only
    if (!IsPresentationInterval(p.PresentationInterval, p.Windowed))
        return D3DERR_INVALIDCALL;
    if (p.EnableAutoDepthStencil) {
        const FormatInfo* depth = FindFormat(p.AutoDepthStencilFormat);
        if (!depth || !depth->depth)
            return D3DERR_INVALIDCALL;
    }

    if (p.Windowed) {
        if (p.FullScreen_RefreshRateInHz != 0)
            return D3DERR_INVALIDCALL;
        if (p.BackBufferFormat == D3DFMT_UNKNOWN)
            p.BackBufferFormat = displayFormat;
        if (p.BackBufferWidth == 0 || p.BackBufferHeight == 0) {
            RECT client{};
            if (!GetClientRect(window, &client))
                return D3DERR_INVALIDCALL;
            if (p.BackBufferWidth == 0)
                p.BackBufferWidth = UINT(std::max<LONG>(client.right - client.left, 1));
            if (p.BackBufferHeight == 0)
                p.BackBufferHeight = UINT(std::max<LONG>(client.bottom - client.top, 1));
        }
    } else if (!IsOfferedMode(p.BackBufferWidth, p.BackBufferHeight, p.FullScreen_RefreshRateInHz)) {
        return D3DERR_INVALIDCALL;  // full screen needs one of the adapter's modes
    }
    if (!IsBackBufferFormat(p.BackBufferFormat))
        return D3DERR_INVALIDCALL;
    if (p.BackBufferWidth > maxBackBufferSize || p.BackBufferHeight > maxBackBufferSize)
        return D3DERR_INVALIDCALL;
    if (p.BackBufferCount == 0)
        p.BackBufferCount = 1;
    return D3D_OK;
}

}  // namespace quorvane::d3d9
