// IDirect3DSurface9, in its three kinds: an off-screen plain surface (its pixels in memory,
// whatever the pool), a level of a texture (a view of the texture's level; it counts its
// references on the texture, as Direct3D's do) and the device's back buffer (in OpenGL).
#pragma once

#include <vector>

#include "d3d9/formats.h"
#include "d3d9/resource.h"

namespace quorvane::d3d9 {

class Texture;

class Surface final : public Resource<IDirect3DSurface9> {
public:
    enum class Kind {
        Plain,
        TextureLevel,
        BackBuffer
    };

    static HRESULT CreatePlain(Device* device, UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                               IDirect3DSurface9** surface);
    // Parts of other objects, created without public references.
    static Surface* CreateLevel(Texture* texture, UINT level);
    static Surface* CreateBackBuffer(Device* device, UINT width, UINT height, D3DFORMAT format);

    // IUnknown: a texture level counts on its texture.
    ULONG AddRef() override;
    ULONG Release() override;

    // IDirect3DSurface9
    HRESULT GetContainer(REFIID riid, void** container) override;
    HRESULT GetDesc(D3DSURFACE_DESC* desc) override;
    HRESULT LockRect(D3DLOCKED_RECT* lockedRect, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect() override;

    // For the device.
    Kind SurfaceKind() const { return kind_; }
    Texture* Container() const { return container_; }
    UINT Level() const { return level_; }
    UINT Width() const { return width_; }
    UINT Height() const { return height_; }
    const FormatInfo& Format() const { return *format_; }
    bool Locked() const;
    // The pixels in memory to read, or null when they live only in OpenGL.
    const BYTE* Bits();
    // The same to write into.
    BYTE* Memory();
    UINT Pitch() const;
    // Writes a rectangle from memory laid out with `pitch` (UpdateSurface's destination).
    void WriteRect(const RECT& rect, const BYTE* bits, UINT pitch);

private:
    Surface(Device* device, Kind kind, D3DPOOL pool, DWORD usage, UINT width, UINT height, const FormatInfo& format,
            Texture* container, UINT level);
    bool Implements(REFIID riid) const override;

    Kind kind_;
    DWORD usage_;
    UINT width_;
    UINT height_;
    const FormatInfo* format_;
    Texture* container_;
    UINT level_;
    // Plain surfaces only.
    UINT pitch_ = 0;
    std::vector<BYTE> memory_;
    bool locked_ = false;
};

}  // namespace quorvane::d3d9
