// A texture that survives device resets: the decoded image stays in system memory (the source)
// and a copy of its first level in the device's default pool, the one that is drawn, is dropped
// when the device is lost and made again after the reset.
#pragma once

#include "graphics/device_object.h"
#include "resources/texture_key.h"

#include <d3d9.h>
#include <windows.h>

class TextureRegistry;

class Texture final : public DeviceObject {
public:
    // A texture of registry under key, holding its own reference to source (a system-memory or
    // scratch texture) and its default-pool copy. S_FALSE with *texture set on success; the
    // caller inserts it into the registry. E_INVALIDARG for a missing argument, E_OUTOFMEMORY,
    // or SetSource's failure, with nothing made.
    static HRESULT Create(IDirect3DTexture9* source, TextureRegistry* registry, Texture** texture,
                          const TextureKey& key);

    ~Texture() override;

    // Drops the default-pool copy (it must go before the device is reset).
    void OnLostDevice() override;
    // Makes the copy again; a failure leaves the texture without one until the next reset.
    void OnResetDevice() override;

    // Lets go of both images, then takes source under key and copies it. E_FAIL for a source
    // outside the system-memory and scratch pools. A null source leaves the texture empty.
    HRESULT SetSource(IDirect3DTexture9* source, const TextureKey& key);

    // Makes the default-pool copy of the source's first level: same size and format, one level.
    // A copy made before a failing step stays.
    HRESULT Restore();

    // What drawing binds: the default-pool copy, or the source while there is no copy (between
    // a lost device and a successful reset), so that the picture still shows.
    IDirect3DTexture9* DrawTexture() const { return videoTexture != nullptr ? videoTexture : sourceTexture; }

    TextureKey key;
    IDirect3DTexture9* videoTexture = nullptr;   // D3DPOOL_DEFAULT, one level; null while lost
    IDirect3DTexture9* sourceTexture = nullptr;  // D3DPOOL_SYSTEMMEM or D3DPOOL_SCRATCH

private:
    explicit Texture(TextureRegistry* registry);
    void ReleaseImages();
};
