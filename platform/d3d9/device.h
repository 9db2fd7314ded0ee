// IDirect3DDevice9 on OpenGL 3.3 core or OpenGL ES 3.0: one GL context per device, the back buffer in a
// framebuffer object, drawing through the fixed-function pipeline (pipeline.h).
#pragma once

#include <d3d9.h>

#include "com/com_object.h"
#include "d3d9/device_state.h"
#include "d3d9/gl_capabilities.h"
#include "d3d9/pipeline.h"
#include "d3d9/render_target.h"
#include "d3d9/vertex_layout.h"
#include "display/display.h"

namespace quorvane::d3d9 {

class Direct3D9;
class Surface;
class Texture;

// Device loss as Direct3D 9 reports it through TestCooperativeLevel.
enum class Cooperation {
    Operational,
    Lost,      // D3DERR_DEVICELOST: nothing can be done yet
    NotReset,  // D3DERR_DEVICENOTRESET: Reset will bring it back
};

class Device final : public ComObject<IDirect3DDevice9> {
public:
    // Checks and completes the present parameters (zero sizes, unknown back-buffer format),
    // then builds the device.
    static HRESULT Create(Direct3D9* direct3D, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                          D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device);

    // IDirect3DDevice9
    HRESULT TestCooperativeLevel() override;
    UINT GetAvailableTextureMem() override;
    HRESULT GetDirect3D(IDirect3D9** direct3D) override;
    HRESULT GetDisplayMode(UINT swapChain, D3DDISPLAYMODE* mode) override;
    HRESULT GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* parameters) override;
    HRESULT Reset(D3DPRESENT_PARAMETERS* parameters) override;
    HRESULT Present(const RECT* sourceRect, const RECT* destRect, HWND destWindowOverride,
                    const _RGNDATA* dirtyRegion) override;
    HRESULT GetBackBuffer(UINT swapChain, UINT backBuffer, D3DBACKBUFFER_TYPE type,
                          IDirect3DSurface9** surface) override;
    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                          IDirect3DTexture9** texture, HANDLE* sharedHandle) override;
    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool, IDirect3DVertexBuffer9** buffer,
                               HANDLE* sharedHandle) override;
    HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool, IDirect3DIndexBuffer9** buffer,
                              HANDLE* sharedHandle) override;
    HRESULT UpdateSurface(IDirect3DSurface9* source, const RECT* sourceRect, IDirect3DSurface9* destination,
                          const POINT* destPoint) override;
    HRESULT UpdateTexture(IDirect3DBaseTexture9* source, IDirect3DBaseTexture9* destination) override;
    HRESULT GetRenderTargetData(IDirect3DSurface9* renderTarget, IDirect3DSurface9* destination) override;
    HRESULT CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                        IDirect3DSurface9** surface, HANDLE* sharedHandle) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
    HRESULT SetViewport(const D3DVIEWPORT9* viewport) override;
    HRESULT GetViewport(D3DVIEWPORT9* viewport) override;
    HRESULT SetMaterial(const D3DMATERIAL9* material) override;
    HRESULT GetMaterial(D3DMATERIAL9* material) override;
    HRESULT SetLight(DWORD index, const D3DLIGHT9* light) override;
    HRESULT GetLight(DWORD index, D3DLIGHT9* light) override;
    HRESULT LightEnable(DWORD index, BOOL enable) override;
    HRESULT GetLightEnable(DWORD index, BOOL* enable) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
    HRESULT GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) override;
    HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override;
    HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
    HRESULT GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) override;
    HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override;
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex, UINT minVertexIndex, UINT numVertices,
                                 UINT startIndex, UINT primitiveCount) override;
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertexData,
                            UINT vertexStride) override;
    HRESULT DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minVertexIndex, UINT numVertices, UINT primitiveCount,
                                   const void* indexData, D3DFORMAT indexFormat, const void* vertexData,
                                   UINT vertexStride) override;
    HRESULT SetFVF(DWORD fvf) override;
    HRESULT GetFVF(DWORD* fvf) override;
    HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset, UINT stride) override;
    HRESULT GetStreamSource(UINT stream, IDirect3DVertexBuffer9** buffer, UINT* offset, UINT* stride) override;
    HRESULT SetIndices(IDirect3DIndexBuffer9* indices) override;
    HRESULT GetIndices(IDirect3DIndexBuffer9** indices) override;

    // For the device's resources.
    bool MakeCurrent();
    void CountLiveResource(D3DPOOL pool, int delta);
    // The resources alive now (every pool) and the frames presented since creation (platform/testing).
    int LiveResourceCount() const { return liveResources_; }
    unsigned PresentedFrames() const { return presentedFrames_; }
    const RenderTarget& BackBufferTarget() const { return target_; }
    D3DFORMAT BackBufferFormat() const { return parameters_.BackBufferFormat; }
    // What the device's context can do, read when the device was made.
    const GLCapabilities& Capabilities() const { return caps_; }

    // The shader programs' counts; starts the next count of programs used (platform/testing).
    ProgramCounts TakeProgramCounts() { return pipeline_.TakeProgramCounts(); }

    // Simulated device loss (platform/testing).
    void SimulateLoss();
    void SimulateResettable();

private:
    Device(Direct3D9* direct3D, const D3DDEVICE_CREATION_PARAMETERS& creation, display::GLContext* context);
    ~Device() override;
    bool Implements(REFIID riid) const override;

    bool BuildSwapChain(const D3DPRESENT_PARAMETERS& parameters);
    void ReleaseSwapChain();
    void RestoreDefaultState();
    void UnbindAll();
    HWND PresentationWindow() const;
    HRESULT ApplyPresentationMode(const D3DPRESENT_PARAMETERS& parameters);

    // Drawing (device_draw.cpp).
    HRESULT CheckDrawable(D3DPRIMITIVETYPE type, UINT primitiveCount, VertexLayout& layout) const;
    HRESULT PrepareDraw(const VertexLayout& layout);  // S_FALSE: nothing to draw into
    // `indexMemory`: the indices in memory, read when the context needs the draw rewritten.
    void IssueDraw(D3DPRIMITIVETYPE type, UINT vertexCount, GLenum indexType, size_t indexOffset, GLint baseVertex,
                   const void* indexMemory = nullptr);

    Direct3D9* direct3D_;
    D3DDEVICE_CREATION_PARAMETERS creation_;
    D3DPRESENT_PARAMETERS parameters_{};
    display::GLContext* context_;
    GLCapabilities caps_;
    HWND fullScreenWindow_ = nullptr;  // the window Direct3D took to full screen
    RenderTarget target_;
    Surface* backBuffer_ = nullptr;  // private reference
    Pipeline pipeline_;
    DeviceState state_;
    Cooperation cooperation_ = Cooperation::Operational;
    bool inScene_ = false;
    int liveDefaultResources_ = 0;
    int liveResources_ = 0;
    unsigned presentedFrames_ = 0;
};

}  // namespace quorvane::d3d9
