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

constexpr const wchar_t* earthFileName = L"mdl\\EarthMap_2500x1250.jpg";

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

}  // namespace

D3DXFONT_DESCW OverlayFontDescription()
{
    D3DXFONT_DESCW description{};
    description.Height = 24;
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
                                bool pureDevice)
{
    OutputDebugStringW(L"CDrawDevice::Initialize()\r\n");
    ReleaseSceneResources();
    RefPtr<CResetDeviceHandler> handler = new (std::nothrow) CResetHandler(&SceneResources);
    if (!handler)
        return E_OUTOFMEMORY;
    if (HRESULT hr = Create(direct3D, std::move(reader), focusWindow, parameters, std::move(handler), multithreaded,
                            pureDevice, false);
        FAILED(hr))
        return hr;

    CDrawDevice* drawDevice = SceneResources.drawDevice;
    if (drawDevice == nullptr || drawDevice->device == nullptr)
        return E_FAIL;
    if (HRESULT hr = CreateOverlayFont(drawDevice->device); FAILED(hr))
        return hr;
    if (!CreateDefaultTexture(drawDevice, &SceneResources.whiteTexture))
        return E_FAIL;
    if (!drawDevice->GetSphereMesh(defaultSet, &SceneResources.sphereMesh))
        return E_FAIL;
    if (!drawDevice->GetTexture(defaultSet, earthFileName, &SceneResources.earthTexture))
        return E_FAIL;
    return S_OK;
}
