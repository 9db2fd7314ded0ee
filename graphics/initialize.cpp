// Start-up of the picture: the draw device, the font, the white texture, the sphere and the
// Earth, recorded in SceneResources.
#include "graphics/draw_device.h"

#include "graphics/com_reference.h"
#include "graphics/scene_resources.h"
#include "resources/texture.h"
#include "resources/texture_registry.h"

#include <cstring>
#include <new>

namespace {

constexpr const wchar_t* earthFileName = L"mdl\\" QUORVANE_EARTH_IMAGE;

// A 1 x 1 system-memory texture whose texel is opaque white.
HRESULT CreateWhiteSource(IDirect3DDevice9* device, IDirect3DTexture9** source)
{
    ComReference<IDirect3DTexture9> texture;
    if (HRESULT hr = device->CreateTexture(1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, texture.Out(), nullptr);
        FAILED(hr))
        return hr;
    D3DLOCKED_RECT locked{};
    if (HRESULT hr = texture->LockRect(0, &locked, nullptr, D3DLOCK_DISCARD); FAILED(hr))
        return hr;
    std::memset(locked.pBits, 0, static_cast<std::size_t>(locked.Pitch));
    *static_cast<DWORD*>(locked.pBits) = 0xFFFFFFFF;
    texture->UnlockRect(0);
    *source = texture.Detach();
    return S_OK;
}

HRESULT CreateOverlayFont(IDirect3DDevice9* device)
{
    OutputDebugStringW(L"Set Font\r\n");
    const D3DXFONT_DESCW description = OverlayFontDescription();
    return D3DXCreateFontIndirectW(device, &description, &SceneResources.font);
}

// What the device step is made from: Initialize's arguments.
struct DeviceInputs {
    HWND focusWindow;
    const D3DPRESENT_PARAMETERS& parameters;
    RefPtr<CFileReaderBase4>& reader;
    IDirect3D9* direct3D;
    bool multithreaded;
    bool pureDevice;
};

HRESULT CreateDevice(const DeviceInputs& in)
{
    RefPtr<CResetDeviceHandler> handler = new (std::nothrow) CDrawDevice::CResetHandler(&SceneResources);
    if (!handler)
        return E_OUTOFMEMORY;
    if (HRESULT hr = CDrawDevice::Create(in.direct3D, std::move(in.reader), in.focusWindow, in.parameters,
                                         std::move(handler), in.multithreaded, in.pureDevice, false);
        FAILED(hr))
        return hr;
    const CDrawDevice* drawDevice = SceneResources.drawDevice;
    return drawDevice != nullptr && drawDevice->device != nullptr ? S_OK : E_FAIL;
}

HRESULT Succeeded(BOOL done)
{
    return done ? S_OK : E_FAIL;
}

// One step on SceneResources; every step after the first finds the draw device made.
HRESULT RunStep(StartupStep step, const DeviceInputs& inputs)
{
    CDrawDevice* drawDevice = SceneResources.drawDevice;
    constexpr const wchar_t* set = CDrawDevice::defaultSet;
    switch (step) {
    case StartupStep::Device: return CreateDevice(inputs);
    case StartupStep::Font: return CreateOverlayFont(drawDevice->device);
    case StartupStep::WhiteTexture: return Succeeded(CreateDefaultTexture(drawDevice, &SceneResources.whiteTexture));
    case StartupStep::Sphere: return Succeeded(drawDevice->GetSphereMesh(set, &SceneResources.sphereMesh));
    case StartupStep::EarthTexture:
        return Succeeded(drawDevice->GetTexture(set, earthFileName, &SceneResources.earthTexture));
    }
    return E_FAIL;
}

}  // namespace

D3DXFONT_DESCW OverlayFontDescription()
{
    D3DXFONT_DESCW description{};
    description.Height = overlayFontHeight;
    description.Width = 8;
    description.Weight = FW_THIN;
    description.MipLevels = 1;
    description.Italic = FALSE;
    description.CharSet = ANSI_CHARSET;
    description.OutputPrecision = OUT_DEFAULT_PRECIS;
    description.Quality = DEFAULT_QUALITY;
    description.PitchAndFamily = FF_DECORATIVE | DEFAULT_PITCH;
    return description;  // FaceName empty: the system's choice
}

BOOL CreateDefaultTexture(CDrawDevice* drawDevice, Texture** texture)
{
    if (drawDevice == nullptr || drawDevice->device == nullptr || texture == nullptr)
        return FALSE;
    ComReference<IDirect3DTexture9> source;
    if (FAILED(CreateWhiteSource(drawDevice->device, source.Out())))
        return FALSE;
    TextureRegistry* registry = drawDevice->FindTextureRegistry(CDrawDevice::defaultSet);
    if (registry == nullptr)
        return FALSE;
    const INT number = ++registry->nextNumber;
    Texture* white = nullptr;
    if (FAILED(Texture::Create(source.Get(), registry, &white, number)))
        return FALSE;
    if (!registry->Insert(white)) {
        delete white;
        return FALSE;
    }
    *texture = white;
    return TRUE;
}

HRESULT CDrawDevice::Initialize(HWND focusWindow, const D3DPRESENT_PARAMETERS& parameters,
                                RefPtr<CFileReaderBase4> reader, IDirect3D9* direct3D, bool multithreaded,
                                bool pureDevice, StartupProgress* progress)
{
    OutputDebugStringW(L"CDrawDevice::Initialize()\r\n");
    ReleaseSceneResources();
    const DeviceInputs inputs{focusWindow, parameters, reader, direct3D, multithreaded, pureDevice};
    for (const StartupStep step : startupSteps) {
        if (HRESULT hr = RunStep(step, inputs); FAILED(hr)) {
            if (progress != nullptr)
                progress->failed = step;
            return hr;
        }
        if (progress != nullptr && progress->stepDone)
            progress->stepDone(step);
    }
    return S_OK;
}
