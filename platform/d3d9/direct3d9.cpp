#include "d3d9/direct3d9.h"

#include <new>

#include "d3d9/device.h"
#include "d3d9/resource.h"
#include "d3d9/simulation.h"
#include "display/display.h"

namespace quorvane::d3d9 {

namespace {

D3DDISPLAYMODE ToDisplayMode(const display::Mode& mode)
{
    return D3DDISPLAYMODE{mode.width, mode.height, mode.refreshRate, displayFormat};
}

bool IsBackBufferFormat(D3DFORMAT format)
{
    return format == D3DFMT_X8R8G8B8 || format == D3DFMT_A8R8G8B8;
}

}  // namespace

bool Direct3D9::Implements(REFIID riid) const
{
    return SameIid(riid, IID_IDirect3D9);
}

UINT Direct3D9::GetAdapterCount()
{
    return 1;
}

UINT Direct3D9::GetAdapterModeCount(UINT adapter, D3DFORMAT format)
{
    if (adapter != D3DADAPTER_DEFAULT || format != displayFormat)
        return 0;
    return UINT(display::CurrentDriver().Modes().size());
}

HRESULT Direct3D9::EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT mode, D3DDISPLAYMODE* displayMode)
{
    if (adapter != D3DADAPTER_DEFAULT || displayMode == nullptr)
        return D3DERR_INVALIDCALL;
    if (format != displayFormat)
        return D3DERR_NOTAVAILABLE;
    std::vector<display::Mode> modes = display::CurrentDriver().Modes();
    if (mode >= modes.size())
        return D3DERR_INVALIDCALL;
    *displayMode = ToDisplayMode(modes[mode]);
    return D3D_OK;
}

HRESULT Direct3D9::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode)
{
    if (adapter != D3DADAPTER_DEFAULT || mode == nullptr)
        return D3DERR_INVALIDCALL;
    *mode = ToDisplayMode(display::CurrentDriver().CurrentMode());
    return D3D_OK;
}

HRESULT Direct3D9::CheckDeviceType(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, D3DFORMAT backBufferFormat,
                                   BOOL windowed)
{
    if (adapter != D3DADAPTER_DEFAULT || (type != D3DDEVTYPE_HAL && type != D3DDEVTYPE_REF))
        return D3DERR_INVALIDCALL;
    if (adapterFormat != displayFormat)
        return D3DERR_NOTAVAILABLE;
    if (backBufferFormat == D3DFMT_UNKNOWN)
        return windowed ? D3D_OK : D3DERR_INVALIDCALL;
    return IsBackBufferFormat(backBufferFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT Direct3D9::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                                D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device)
{
    if (device == nullptr)
        return D3DERR_INVALIDCALL;
    *device = nullptr;
    if (adapter != D3DADAPTER_DEFAULT || parameters == nullptr)
        return D3DERR_INVALIDCALL;
    if (type != D3DDEVTYPE_HAL && type != D3DDEVTYPE_REF)
        return D3DERR_INVALIDCALL;
    const Simulation& simulation = CurrentSimulation();
    if ((type == D3DDEVTYPE_HAL && simulation.failHal) || (type == D3DDEVTYPE_REF && simulation.failRef))
        return D3DERR_NOTAVAILABLE;
    return Device::Create(this, type, focusWindow, behaviorFlags, parameters, device);
}

}  // namespace quorvane::d3d9

extern "C" IDirect3D9* WINAPI Direct3DCreate9(UINT sdkVersion)
{
    using namespace quorvane::d3d9;
    if (sdkVersion != D3D_SDK_VERSION || CurrentSimulation().noRuntime)
        return nullptr;
    return new (std::nothrow) Direct3D9;
}
