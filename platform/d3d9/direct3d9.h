// IDirect3D9: the one adapter of the display, its modes, and device creation.
#pragma once

#include <d3d9.h>

#include "com/com_object.h"

namespace quorvane::d3d9 {

class Direct3D9 final : public ComObject<IDirect3D9> {
public:
    Direct3D9() = default;

    UINT GetAdapterCount() override;
    UINT GetAdapterModeCount(UINT adapter, D3DFORMAT format) override;
    HRESULT EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT mode, D3DDISPLAYMODE* displayMode) override;
    HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override;
    HRESULT CheckDeviceType(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, D3DFORMAT backBufferFormat,
                            BOOL windowed) override;
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                         D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) override;

private:
    ~Direct3D9() override = default;
    bool Implements(REFIID riid) const override;
};

// The display format of every adapter mode.
constexpr D3DFORMAT displayFormat = D3DFMT_X8R8G8B8;

}  // namespace quorvane::d3d9
