// A texture's two images: the kept source and the default-pool copy drawn from it.
#include "resources/texture.h"

#include "graphics/com_reference.h"
#include "resources/texture_registry.h"

#include <new>
#include <utility>

Texture::Texture(TextureRegistry* registry) : DeviceObject(registry)
{
}

Texture::~Texture()
{
    key = boost::blank();
    ReleaseImages();
}

HRESULT Texture::Create(IDirect3DTexture9* source, TextureRegistry* registry, Texture** texture, const TextureKey& key)
{
    if (source == nullptr || registry == nullptr || texture == nullptr)
        return E_INVALIDARG;
    Texture* created = new (std::nothrow) Texture(registry);
    if (created == nullptr)
        return E_OUTOFMEMORY;
    HRESULT hr = E_OUTOFMEMORY;
    try {
        hr = created->SetSource(source, key);
    } catch (const std::bad_alloc&) {
    }
    if (FAILED(hr)) {
        delete created;
        return hr;
    }
    *texture = created;
    return S_FALSE;
}

void Texture::OnLostDevice()
{
    if (videoTexture != nullptr)
        std::exchange(videoTexture, nullptr)->Release();
}

void Texture::OnResetDevice()
{
    Restore();
}

void Texture::ReleaseImages()
{
    OnLostDevice();
    if (sourceTexture != nullptr)
        std::exchange(sourceTexture, nullptr)->Release();
}

HRESULT Texture::SetSource(IDirect3DTexture9* source, const TextureKey& newKey)
{
    key = boost::blank();
    ReleaseImages();
    key = newKey;
    if (source == nullptr)
        return S_OK;
    D3DSURFACE_DESC desc{};
    if (HRESULT hr = source->GetLevelDesc(0, &desc); FAILED(hr))
        return hr;
    if (desc.Pool != D3DPOOL_SYSTEMMEM && desc.Pool != D3DPOOL_SCRATCH)
        return E_FAIL;
    source->AddRef();
    sourceTexture = source;
    return Restore();
}

HRESULT Texture::Restore()
{
    OnLostDevice();
    if (sourceTexture == nullptr)
        return E_FAIL;
    D3DSURFACE_DESC desc{};
    if (HRESULT hr = sourceTexture->GetLevelDesc(0, &desc); FAILED(hr))
        return hr;
    ComReference<IDirect3DDevice9> device;
    if (HRESULT hr = sourceTexture->GetDevice(device.Out()); FAILED(hr))
        return hr;
    if (HRESULT hr =
            device->CreateTexture(desc.Width, desc.Height, 1, 0, desc.Format, D3DPOOL_DEFAULT, &videoTexture, nullptr);
        FAILED(hr))
        return hr;
    ComReference<IDirect3DSurface9> from;
    ComReference<IDirect3DSurface9> to;
    if (HRESULT hr = sourceTexture->GetSurfaceLevel(0, from.Out()); FAILED(hr))
        return hr;
    if (HRESULT hr = videoTexture->GetSurfaceLevel(0, to.Out()); FAILED(hr))
        return hr;
    return device->UpdateSurface(from.Get(), nullptr, to.Get(), nullptr);
}
