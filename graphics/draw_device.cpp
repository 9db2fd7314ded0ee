// The draw device's life: creation with its fallback order, the viewport, closing, and the
// lost/reset protocol.
#include "graphics/draw_device.h"

#include "graphics/scene_resources.h"
#include "resources/file_reader4.h"
#include "resources/mesh_registry.h"
#include "resources/texture_registry.h"

#include <new>

namespace {

struct CreationAttempt {
    D3DDEVTYPE type;
    DWORD vertexProcessing;
};

// Tried in this order; the first device made ends the sequence.
constexpr CreationAttempt creationAttempts[] = {
    {D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING},
    {D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
    {D3DDEVTYPE_REF, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
};

SIZE ClientSize(HWND window)
{
    RECT client{};
    if (window == nullptr || !GetClientRect(window, &client))
        return SIZE{0, 0};
    return SIZE{client.right - client.left, client.bottom - client.top};
}

}  // namespace

D3DPRESENT_PARAMETERS WindowPresentParameters(HWND window)
{
    const SIZE client = ClientSize(window);
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = static_cast<UINT>(client.cx);
    parameters.BackBufferHeight = static_cast<UINT>(client.cy);
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.BackBufferCount = 1;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.hDeviceWindow = window;
    parameters.Windowed = TRUE;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D16;
    return parameters;
}

HRESULT CDrawDevice::Create(IDirect3D9* direct3D, RefPtr<CFileReaderBase4> reader, HWND focusWindow,
                            const D3DPRESENT_PARAMETERS& parameters, RefPtr<CResetDeviceHandler> resetHandler,
                            bool multithreaded, bool pureDevice, bool referenceOnly)
{
    if (direct3D == nullptr)
        return E_INVALIDARG;
    auto* drawDevice = new (std::nothrow) CDrawDevice();
    if (drawDevice == nullptr)
        return E_OUTOFMEMORY;
    HRESULT hr = drawDevice->Open(direct3D, std::move(reader), focusWindow, parameters, std::move(resetHandler),
                                  multithreaded, pureDevice, referenceOnly);
    if (FAILED(hr)) {
        delete drawDevice;
        return hr;
    }
    SceneResources.drawDevice = drawDevice;
    return S_OK;
}

CDrawDevice::CDrawDevice() = default;

CDrawDevice::~CDrawDevice()
{
    Close();
}

HRESULT CDrawDevice::Open(IDirect3D9* direct3D, RefPtr<CFileReaderBase4> reader, HWND window,
                          const D3DPRESENT_PARAMETERS& parameters, RefPtr<CResetDeviceHandler> resetHandler,
                          bool multithreaded, bool pureDevice, bool referenceOnly)
{
    Close();
    if (direct3D == nullptr)
        return E_FAIL;
    HRESULT hr = E_OUTOFMEMORY;
    try {
        if (!reader)
            reader = new CFileReader4(L"");
        resetHandler_ = std::move(resetHandler);
        focusWindow = window;
        presentParameters = parameters;
        const DWORD behaviorFlags =
            (multithreaded ? D3DCREATE_MULTITHREADED : 0) | (pureDevice ? D3DCREATE_PUREDEVICE : 0);
        hr = CreateDevice(direct3D, behaviorFlags, referenceOnly);
        if (SUCCEEDED(hr))
            hr = SetInitialViewport();
        if (SUCCEEDED(hr)) {
            savedWindowState.Capture(focusWindow);
            OpenResourceSet(defaultSet, reader);
            statesDirty = TRUE;
            hr = S_OK;
        }
    } catch (const std::bad_alloc&) {
        hr = E_OUTOFMEMORY;
    }
    if (FAILED(hr))
        Close();
    return hr;
}

HRESULT CDrawDevice::CreateDevice(IDirect3D9* direct3D, DWORD behaviorFlags, bool referenceOnly)
{
    HRESULT hr = E_FAIL;
    for (const CreationAttempt& attempt : creationAttempts) {
        if (referenceOnly && attempt.type != D3DDEVTYPE_REF)
            continue;
        hr = direct3D->CreateDevice(D3DADAPTER_DEFAULT, attempt.type, focusWindow,
                                    behaviorFlags | attempt.vertexProcessing, &presentParameters, &device);
        if (SUCCEEDED(hr))
            return hr;
        device = nullptr;
    }
    return hr;
}

// The whole back buffer; a size the parameters leave at 0 comes from the client area.
HRESULT CDrawDevice::SetInitialViewport()
{
    D3DVIEWPORT9 initial{0, 0, presentParameters.BackBufferWidth, presentParameters.BackBufferHeight, 0.0f, 1.0f};
    if (initial.Width == 0 || initial.Height == 0) {
        const SIZE client = ClientSize(focusWindow);
        if (initial.Width == 0)
            initial.Width = static_cast<DWORD>(client.cx);
        if (initial.Height == 0)
            initial.Height = static_cast<DWORD>(client.cy);
    }
    if (HRESULT hr = device->SetViewport(&initial); FAILED(hr))
        return hr;
    viewport = initial;
    return S_OK;
}

void SavedWindowState::Capture(HWND captured)
{
    Clear();
    window = captured;
    if (captured == nullptr)
        return;
    GetWindowRect(captured, &rectangle);
    menu = GetMenu(captured);
    style = GetWindowLongW(captured, GWL_STYLE);
    extendedStyle = GetWindowLongW(captured, GWL_EXSTYLE);
}

void CDrawDevice::Close()
{
    resetHandler_.Reset();
    CloseResourceSets();
    if (device != nullptr) {
        device->Release();
        device = nullptr;
    }
    presentParameters = D3DPRESENT_PARAMETERS{};
    focusWindow = nullptr;
    viewport = D3DVIEWPORT9{};
    statesDirty = FALSE;
    savedWindowState.Clear();
}

// A windowed back buffer whose size is left to the window cannot be made while the window has
// no client area in that dimension.
bool CDrawDevice::HasEmptyBackBuffer() const
{
    if (!presentParameters.Windowed)
        return false;
    const HWND window = presentParameters.hDeviceWindow != nullptr ? presentParameters.hDeviceWindow : focusWindow;
    const SIZE client = ClientSize(window);
    return (presentParameters.BackBufferWidth == 0 && client.cx <= 0) ||
           (presentParameters.BackBufferHeight == 0 && client.cy <= 0);
}

HRESULT CDrawDevice::Reset()
{
    if (device == nullptr)
        return CO_E_NOTINITIALIZED;
    if (HasEmptyBackBuffer())
        return D3DERR_DEVICELOST;
    NotifyLost();
    const HRESULT hr = device->Reset(&presentParameters);
    NotifyReset();
    statesDirty = TRUE;
    return hr;
}

bool CDrawDevice::GetDevice(IDirect3DDevice9** out) const
{
    if (out == nullptr)
        return false;
    *out = device;
    if (device == nullptr)
        return false;
    device->AddRef();
    return true;
}

float CDrawDevice::GetAspectRatio() const
{
    LONG width = static_cast<LONG>(presentParameters.BackBufferWidth);
    LONG height = static_cast<LONG>(presentParameters.BackBufferHeight);
    if (width == 0 || height == 0) {
        const SIZE client = ClientSize(focusWindow);
        width = client.cx;
        height = client.cy;
    }
    if (width <= 0 || height <= 0)
        return 1.0f;  // nothing to show: any finite ratio serves
    return static_cast<float>(width) / static_cast<float>(height);
}

bool IsDrawDeviceWindowed(BOOL* windowed)
{
    if (windowed == nullptr)
        return false;
    *windowed = FALSE;
    if (SceneResources.drawDevice == nullptr)
        return false;
    *windowed = SceneResources.drawDevice->presentParameters.Windowed;
    return true;
}
