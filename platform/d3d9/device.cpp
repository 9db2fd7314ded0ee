// The device's life: creation, references, the swap chain, Reset, Present, loss and resource
// creation. The copies between surfaces are in device_copies.cpp, drawing in device_draw.cpp,
// states in device_state_access.cpp.
#include "d3d9/device.h"

#include <new>

#include "d3d9/direct3d9.h"
#include "d3d9/heap_warmup.h"
#include "d3d9/index_buffer.h"
#include "d3d9/present_parameters.h"
#include "d3d9/resource.h"
#include "d3d9/simulation.h"
#include "d3d9/surface.h"
#include "d3d9/texture.h"
#include "d3d9/vertex_buffer.h"
#include "user32/presentation.h"

namespace quorvane::d3d9 {

namespace {

constexpr DWORD vertexProcessingFlags =
    D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MIXED_VERTEXPROCESSING;
constexpr UINT availableTextureMemory = 512u << 20;
constexpr std::size_t warmHeapBytes = std::size_t{64} << 20;

bool ExactlyOneVertexProcessing(DWORD flags)
{
    DWORD vp = flags & vertexProcessingFlags;
    return vp != 0 && (vp & (vp - 1)) == 0;
}

D3DVIEWPORT9 FullViewport(UINT width, UINT height)
{
    return D3DVIEWPORT9{0, 0, width, height, 0.0f, 1.0f};
}

}  // namespace

HRESULT Device::Create(Direct3D9* direct3D, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                       D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device)
{
    if (!ExactlyOneVertexProcessing(behaviorFlags))
        return D3DERR_INVALIDCALL;
    if ((behaviorFlags & D3DCREATE_PUREDEVICE) && !(behaviorFlags & D3DCREATE_HARDWARE_VERTEXPROCESSING))
        return D3DERR_INVALIDCALL;
    if (focusWindow && !IsWindow(focusWindow))
        return D3DERR_INVALIDCALL;
    HWND window = parameters->hDeviceWindow ? parameters->hDeviceWindow : focusWindow;
    if (!window || !IsWindow(window) || (!parameters->Windowed && !focusWindow))
        return D3DERR_INVALIDCALL;
    D3DPRESENT_PARAMETERS completed = *parameters;
    if (HRESULT hr = CompletePresentParameters(completed, window); FAILED(hr))
        return hr;

    // The driver loads on one core for a while: the heap a new device fills is mapped meanwhile.
    WarmHeapOnce(warmHeapBytes);
    display::GLContext* context = user32::CreateGLContextFor(window);
    if (!context)
        return D3DERR_NOTAVAILABLE;
    D3DDEVICE_CREATION_PARAMETERS creation{D3DADAPTER_DEFAULT, type, focusWindow, behaviorFlags};
    Device* created = new (std::nothrow) Device(direct3D, creation, context);
    if (!created) {
        display::CurrentDriver().DestroyGLContext(context);
        return E_OUTOFMEMORY;
    }
    if (created->MakeCurrent())
        created->caps_ = ReadGLCapabilities();
    if (!created->caps_.Sufficient() || !created->pipeline_.Create(created->caps_)) {
        created->Release();
        return D3DERR_NOTAVAILABLE;
    }
    if (HRESULT hr = created->ApplyPresentationMode(completed); FAILED(hr)) {
        created->Release();
        return hr;
    }
    if (!created->BuildSwapChain(completed)) {
        created->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    created->RestoreDefaultState();
    *parameters = completed;
    *device = created;
    return D3D_OK;
}

Device::Device(Direct3D9* direct3D, const D3DDEVICE_CREATION_PARAMETERS& creation, display::GLContext* context)
    : direct3D_(direct3D), creation_(creation), context_(context)
{
    direct3D_->AddRef();
    RegisterDevice(this);
}

Device::~Device()
{
    UnregisterDevice(this);
    display::Driver& driver = display::CurrentDriver();
    if (MakeCurrent()) {
        UnbindAll();
        ReleaseSwapChain();
        pipeline_.Destroy();
    }
    driver.DestroyGLContext(context_);
    if (fullScreenWindow_)
        user32::LeaveFullScreen(fullScreenWindow_);
    direct3D_->Release();
}

bool Device::Implements(REFIID riid) const
{
    return SameIid(riid, IID_IDirect3DDevice9);
}

bool Device::MakeCurrent()
{
    return display::CurrentDriver().MakeCurrent(context_);
}

void Device::CountLiveResource(D3DPOOL pool, int delta)
{
    liveResources_ += delta;
    if (pool == D3DPOOL_DEFAULT)
        liveDefaultResources_ += delta;
}

void Device::SimulateLoss()
{
    cooperation_ = Cooperation::Lost;
}

void Device::SimulateResettable()
{
    if (cooperation_ == Cooperation::Lost)
        cooperation_ = Cooperation::NotReset;
}

HWND Device::PresentationWindow() const
{
    return parameters_.hDeviceWindow ? parameters_.hDeviceWindow : creation_.hFocusWindow;
}

bool Device::BuildSwapChain(const D3DPRESENT_PARAMETERS& parameters)
{
    if (!MakeCurrent())
        return false;
    D3DFORMAT depth = parameters.EnableAutoDepthStencil ? parameters.AutoDepthStencilFormat : D3DFMT_UNKNOWN;
    if (!target_.Create(parameters.BackBufferWidth, parameters.BackBufferHeight, parameters.BackBufferFormat, depth,
                        caps_))
        return false;
    backBuffer_ = Surface::CreateBackBuffer(this, parameters.BackBufferWidth, parameters.BackBufferHeight,
                                            parameters.BackBufferFormat);
    parameters_ = parameters;
    return true;
}

void Device::ReleaseSwapChain()
{
    if (backBuffer_)
        backBuffer_->ReleasePrivateRef();
    backBuffer_ = nullptr;
    target_.Destroy();
}

HRESULT Device::ApplyPresentationMode(const D3DPRESENT_PARAMETERS& parameters)
{
    if (parameters.Windowed) {
        if (fullScreenWindow_)
            user32::LeaveFullScreen(fullScreenWindow_);
        fullScreenWindow_ = nullptr;
        return D3D_OK;
    }
    display::Mode mode{parameters.BackBufferWidth, parameters.BackBufferHeight, parameters.FullScreen_RefreshRateInHz};
    if (!user32::EnterFullScreen(creation_.hFocusWindow, mode))
        return D3DERR_INVALIDCALL;
    fullScreenWindow_ = creation_.hFocusWindow;
    return D3D_OK;
}

void Device::UnbindAll()
{
    for (Texture*& texture : state_.textures) {
        if (texture)
            texture->ReleasePrivateRef();
        texture = nullptr;
    }
    for (StreamSource& stream : state_.streams) {
        if (stream.buffer)
            stream.buffer->ReleasePrivateRef();
        stream = StreamSource{};
    }
    if (state_.indices)
        state_.indices->ReleasePrivateRef();
    state_.indices = nullptr;
}

void Device::RestoreDefaultState()
{
    UnbindAll();
    state_ = DefaultDeviceState(parameters_.EnableAutoDepthStencil != FALSE,
                                FullViewport(parameters_.BackBufferWidth, parameters_.BackBufferHeight));
}

HRESULT Device::TestCooperativeLevel()
{
    switch (cooperation_) {
    case Cooperation::Lost: return D3DERR_DEVICELOST;
    case Cooperation::NotReset: return D3DERR_DEVICENOTRESET;
    default: return D3D_OK;
    }
}

UINT Device::GetAvailableTextureMem()
{
    return availableTextureMemory;
}

HRESULT Device::GetDirect3D(IDirect3D9** direct3D)
{
    return HandOut(direct3D_, direct3D);
}

HRESULT Device::GetDisplayMode(UINT swapChain, D3DDISPLAYMODE* mode)
{
    if (swapChain != 0 || mode == nullptr)
        return D3DERR_INVALIDCALL;
    return direct3D_->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, mode);
}

HRESULT Device::GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* parameters)
{
    if (parameters == nullptr)
        return D3DERR_INVALIDCALL;
    *parameters = creation_;
    return D3D_OK;
}

HRESULT Device::Reset(D3DPRESENT_PARAMETERS* parameters)
{
    if (parameters == nullptr)
        return D3DERR_INVALIDCALL;
    if (cooperation_ == Cooperation::Lost)
        return D3DERR_DEVICELOST;
    // A failed Reset leaves the device waiting for another one, as Direct3D does.
    auto fail = [&](HRESULT hr) {
        cooperation_ = Cooperation::NotReset;
        return hr;
    };
    HWND window = parameters->hDeviceWindow ? parameters->hDeviceWindow : creation_.hFocusWindow;
    if (!IsWindow(window) || (!parameters->Windowed && !creation_.hFocusWindow))
        return fail(D3DERR_INVALIDCALL);
    D3DPRESENT_PARAMETERS completed = *parameters;
    if (HRESULT hr = CompletePresentParameters(completed, window); FAILED(hr))
        return fail(D3DERR_INVALIDCALL);
    if (liveDefaultResources_ > 0)
        return fail(D3DERR_INVALIDCALL);  // default-pool resources must be released first

    inScene_ = false;
    UnbindAll();
    ReleaseSwapChain();
    if (FAILED(ApplyPresentationMode(completed)))
        return fail(D3DERR_INVALIDCALL);
    if (CurrentSimulation().failReset || !BuildSwapChain(completed))
        return fail(D3DERR_OUTOFVIDEOMEMORY);
    RestoreDefaultState();
    *parameters = completed;
    cooperation_ = Cooperation::Operational;
    return D3D_OK;
}

HRESULT Device::Present(const RECT* sourceRect, const RECT* destRect, HWND destWindowOverride,
                        const _RGNDATA* dirtyRegion)
{
    if (cooperation_ != Cooperation::Operational)
        return D3DERR_DEVICELOST;
    if (inScene_)
        return D3DERR_INVALIDCALL;
    if (sourceRect || destRect || dirtyRegion) {
        // Only a copy swap effect takes rectangles; this subset presents whole frames.
        return parameters_.SwapEffect == D3DSWAPEFFECT_COPY ? D3DERR_NOTAVAILABLE : D3DERR_INVALIDCALL;
    }
    HWND window = destWindowOverride ? destWindowOverride : PresentationWindow();
    if (!IsWindow(window) || !MakeCurrent())
        return D3DERR_INVALIDCALL;
    // The display may compose in this very context: what it changed is set again before the next draw.
    pipeline_.ForgetContextState();
    if (!user32::PresentFrame(window, target_.Framebuffer(), target_.Width(), target_.Height()))
        return D3DERR_INVALIDCALL;
    ++presentedFrames_;
    return D3D_OK;
}

HRESULT Device::GetBackBuffer(UINT swapChain, UINT backBuffer, D3DBACKBUFFER_TYPE type, IDirect3DSurface9** surface)
{
    if (surface == nullptr)
        return D3DERR_INVALIDCALL;
    *surface = nullptr;
    if (swapChain != 0 || backBuffer >= parameters_.BackBufferCount || type != D3DBACKBUFFER_TYPE_MONO || !backBuffer_)
        return D3DERR_INVALIDCALL;
    if (backBuffer > 0)
        return D3DERR_NOTAVAILABLE;  // one drawable back buffer, whatever the count
    backBuffer_->AddRef();
    *surface = backBuffer_;
    return D3D_OK;
}

HRESULT Device::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                              IDirect3DTexture9** texture, HANDLE* sharedHandle)
{
    if (sharedHandle != nullptr)
        return D3DERR_INVALIDCALL;  // shared resources are Direct3D 9Ex's
    return Texture::Create(this, width, height, levels, usage, format, pool, texture);
}

HRESULT Device::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool, IDirect3DVertexBuffer9** buffer,
                                   HANDLE* sharedHandle)
{
    if (sharedHandle != nullptr)
        return D3DERR_INVALIDCALL;
    return VertexBuffer::Create(this, length, usage, fvf, pool, buffer);
}

HRESULT Device::CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                  IDirect3DIndexBuffer9** buffer, HANDLE* sharedHandle)
{
    if (sharedHandle != nullptr)
        return D3DERR_INVALIDCALL;
    return IndexBuffer::Create(this, length, usage, format, pool, buffer);
}

HRESULT Device::CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                            IDirect3DSurface9** surface, HANDLE* sharedHandle)
{
    if (sharedHandle != nullptr)
        return D3DERR_INVALIDCALL;
    return Surface::CreatePlain(this, width, height, format, pool, surface);
}

}  // namespace quorvane::d3d9
