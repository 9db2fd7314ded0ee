// IDirect3D9: the one adapter of the display, its modes, and device creation.
#pragma once

#include <d3d9.h>

namespace quorvane::d3d9 {

class Direct3D9 final : public IDirect3D9 {
public:
    Direct3D9() = default;

    HRESULT QueryInterface(REFIID riid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    UINT GetAdapterCount() override;
    UINT GetAdapterModeCount(UINT adapter, D3DFORMAT format) override;
    HRESULT EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT mode, D3DDISPLAYMODE* displayMode) override;
    HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override;
    HRESULT CheckDeviceType(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, D3DFORMAT backBufferFormat,
                            BOOL windowed) override;
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                         D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) override;

private:
    virtual ~Direct3D9() = default;

    ULONG refs_ = 1;
};

// The display format of every adapter mode.
constexpr D3DFORMAT kDisplayFormat = D3DFMT_X8R8G8B8;

}  // namespace quorvane::d3d9
