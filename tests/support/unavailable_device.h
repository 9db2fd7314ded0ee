// The base of the Direct3D 9 device doubles: every method answers D3DERR_NOTAVAILABLE (or
// nothing, for the one that answers a number) until a double overrides it, so a device method
// added to the interface breaks no double. The object is a COM object its owner keeps: AddRef and
// Release count, but the last Release does not delete it; QueryInterface hands out the device
// itself for IUnknown and IDirect3DDevice9.
#pragma once

#include <d3d9.h>

namespace quorvane::tests {

class UnavailableDevice : public IDirect3DDevice9 {
public:
    UnavailableDevice() = default;
    virtual ~UnavailableDevice() = default;

    // The references held: 1 at construction, plus AddRef, minus Release.
    ULONG References() const { return references_; }

    HRESULT QueryInterface(REFIID riid, void** object) override;
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override { return references_ == 0 ? 0 : --references_; }

    HRESULT TestCooperativeLevel() override { return D3DERR_NOTAVAILABLE; }
    UINT GetAvailableTextureMem() override { return 0; }
    HRESULT GetDirect3D(IDirect3D9**) override { return D3DERR_NOTAVAILABLE; }
    HRESULT GetDisplayMode(UINT, D3DDISPLAYMODE*) override { return D3DERR_NOTAVAILABLE; }
    HRESULT GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS*) override { return D3DERR_NOTAVAILABLE; }
    HRESULT Reset(D3DPRESENT_PARAMETERS*) override { return D3DERR_NOTAVAILABLE; }
    HRESULT Present(const RECT*, const RECT*, HWND, const _RGNDATA*) override { return D3DERR_NOTAVAILABLE; }
    HRESULT GetBackBuffer(UINT, UINT, D3DBACKBUFFER_TYPE, IDirect3DSurface9**) override { return D3DERR_NOTAVAILABLE; }
    HRESULT CreateTexture(UINT, UINT, UINT, DWORD, D3DFORMAT, D3DPOOL, IDirect3DTexture9**, HANDLE*) override
    {
        return D3DERR_NOTAVAILABLE;
    }
    HRESULT CreateVertexBuffer(UINT, DWORD, DWORD, D3DPOOL, IDirect3DVertexBuffer9**, HANDLE*) override
    {
        return D3DERR_NOTAVAILABLE;
    }
    HRESULT CreateIndexBuffer(UINT, DWORD, D3DFORMAT, D3DPOOL, IDirect3DIndexBuffer9**, HANDLE*) override
    {
        return D3DERR_NOTAVAILABLE;
    }
    HRESULT UpdateSurface(IDirect3DSurface9*, const RECT*, IDirect3DSurface9*, const POINT*) override
    {
        return D3DERR_NOTAVAILABLE;
    }
    HRESULT UpdateTexture(IDirect3DBaseTexture9*, IDirect3DBaseTexture9*) override { return D3DERR_NOTAVAILABLE; }
    HRESULT GetRenderTargetData(IDirect3DSurface9*, IDirect3DSurface9*) override { return D3DERR_NOTAVAILABLE; }
    HRESULT CreateOffscreenPlainSurface(UINT, UINT, D3DFORMAT, D3DPOOL, IDirect3DSurface9**, HANDLE*) override
    {
        return D3DERR_NOTAVAILABLE;
    }
    HRESULT BeginScene() override { return D3DERR_NOTAVAILABLE; }
    HRESULT EndScene() override { return D3DERR_NOTAVAILABLE; }
    HRESULT Clear(DWORD, const D3DRECT*, DWORD, D3DCOLOR, float, DWORD) override { return D3DERR_NOTAVAILABLE; }
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE, const D3DMATRIX*) override { return D3DERR_NOTAVAILABLE; }
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE, D3DMATRIX*) override { return D3DERR_NOTAVAILABLE; }
    HRESULT SetViewport(const D3DVIEWPORT9*) override { return D3DERR_NOTAVAILABLE; }
    HRESULT GetViewport(D3DVIEWPORT9*) override { return D3DERR_NOTAVAILABLE; }
    HRESULT SetMaterial(const D3DMATERIAL9*) override { return D3DERR_NOTAVAILABLE; }
    HRESULT GetMaterial(D3DMATERIAL9*) override { return D3DERR_NOTAVAILABLE; }
    HRESULT SetLight(DWORD, const D3DLIGHT9*) override { return D3DERR_NOTAVAILABLE; }
    HRESULT GetLight(DWORD, D3DLIGHT9*) override { return D3DERR_NOTAVAILABLE; }
    HRESULT LightEnable(DWORD, BOOL) override { return D3DERR_NOTAVAILABLE; }
    HRESULT GetLightEnable(DWORD, BOOL*) override { return D3DERR_NOTAVAILABLE; }
    HRESULT SetRenderState(D3DRENDERSTATETYPE, DWORD) override { return D3DERR_NOTAVAILABLE; }
    HRESULT GetRenderState(D3DRENDERSTATETYPE, DWORD*) override { return D3DERR_NOTAVAILABLE; }
    HRESULT GetTexture(DWORD, IDirect3DBaseTexture9**) override { return D3DERR_NOTAVAILABLE; }
    HRESULT SetTexture(DWORD, IDirect3DBaseTexture9*) override { return D3DERR_NOTAVAILABLE; }
    HRESULT GetTextureStageState(DWORD, D3DTEXTURESTAGESTATETYPE, DWORD*) override { return D3DERR_NOTAVAILABLE; }
    HRESULT SetTextureStageState(DWORD, D3DTEXTURESTAGESTATETYPE, DWORD) override { return D3DERR_NOTAVAILABLE; }
    HRESULT GetSamplerState(DWORD, D3DSAMPLERSTATETYPE, DWORD*) override { return D3DERR_NOTAVAILABLE; }
    HRESULT SetSamplerState(DWORD, D3DSAMPLERSTATETYPE, DWORD) override { return D3DERR_NOTAVAILABLE; }
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE, UINT, UINT) override { return D3DERR_NOTAVAILABLE; }
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE, INT, UINT, UINT, UINT, UINT) override { return D3DERR_NOTAVAILABLE; }
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE, UINT, const void*, UINT) override { return D3DERR_NOTAVAILABLE; }
    HRESULT DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE, UINT, UINT, UINT, const void*, D3DFORMAT, const void*,
                                   UINT) override
    {
        return D3DERR_NOTAVAILABLE;
    }
    HRESULT SetFVF(DWORD) override { return D3DERR_NOTAVAILABLE; }
    HRESULT GetFVF(DWORD*) override { return D3DERR_NOTAVAILABLE; }
    HRESULT SetStreamSource(UINT, IDirect3DVertexBuffer9*, UINT, UINT) override { return D3DERR_NOTAVAILABLE; }
    HRESULT GetStreamSource(UINT, IDirect3DVertexBuffer9**, UINT*, UINT*) override { return D3DERR_NOTAVAILABLE; }
    HRESULT SetIndices(IDirect3DIndexBuffer9*) override { return D3DERR_NOTAVAILABLE; }
    HRESULT GetIndices(IDirect3DIndexBuffer9**) override { return D3DERR_NOTAVAILABLE; }

private:
    ULONG references_ = 1;
};

}  // namespace quorvane::tests
