#include "d3d9/surface.h"

#include <cstring>
#include <new>

#include "d3d9/lock_region.h"
#include "d3d9/texture.h"

namespace quorvane::d3d9 {

namespace {

constexpr UINT maxPlainSurfaceSize = 16384;

}  // namespace

HRESULT Surface::CreatePlain(Device* device, UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                             IDirect3DSurface9** surface)
{
    if (surface == nullptr)
        return D3DERR_INVALIDCALL;
    *surface = nullptr;
    const FormatInfo* info = FindFormat(format);
    if (width == 0 || height == 0 || width > maxPlainSurfaceSize || height > maxPlainSurfaceSize || !info ||
        info->depth)
        return D3DERR_INVALIDCALL;
    if (pool != D3DPOOL_DEFAULT && pool != D3DPOOL_SYSTEMMEM && pool != D3DPOOL_SCRATCH)
        return D3DERR_INVALIDCALL;  // Direct3D has no managed off-screen surfaces
    try {
        *surface = new Surface(device, Kind::Plain, pool, 0, width, height, *info, nullptr, 0);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return D3D_OK;
}

Surface* Surface::CreateLevel(Texture* texture, UINT level)
{
    return new Surface(texture->OwningDevice(), Kind::TextureLevel, texture->Pool(), texture->Usage(),
                       texture->LevelWidth(level), texture->LevelHeight(level), texture->Format(), texture, level);
}

Surface* Surface::CreateBackBuffer(Device* device, UINT width, UINT height, D3DFORMAT format)
{
    const FormatInfo* info = FindFormat(format);
    Surface* surface =
        new Surface(device, Kind::BackBuffer, D3DPOOL_DEFAULT, D3DUSAGE_RENDERTARGET, width, height, *info, nullptr, 0);
    surface->AddPrivateRef();  // the device's
    return surface;
}

Surface::Surface(Device* device, Kind kind, D3DPOOL pool, DWORD usage, UINT width, UINT height,
                 const FormatInfo& format, Texture* container, UINT level)
    : Resource(device, D3DRTYPE_SURFACE, pool, kind == Kind::Plain ? 1 : 0), kind_(kind), usage_(usage), width_(width),
      height_(height), format_(&format), container_(container), level_(level)
{
    if (kind == Kind::Plain) {
        pitch_ = RowPitch(format, width);
        memory_.assign(size_t{pitch_} * height, 0);
    }
}

ULONG Surface::AddRef()
{
    return container_ ? container_->AddRef() : Resource::AddRef();
}

ULONG Surface::Release()
{
    return container_ ? container_->Release() : Resource::Release();
}

bool Surface::Implements(REFIID riid) const
{
    return Resource::Implements(riid) || SameIid(riid, IID_IDirect3DSurface9);
}

HRESULT Surface::GetContainer(REFIID riid, void** container)
{
    if (container == nullptr)
        return D3DERR_INVALIDCALL;
    *container = nullptr;
    // A texture's level belongs to the texture; other surfaces belong to the device.
    if (container_)
        return container_->QueryInterface(riid, container);
    return OwningDevice()->QueryInterface(riid, container);
}

HRESULT Surface::GetDesc(D3DSURFACE_DESC* desc)
{
    if (desc == nullptr)
        return D3DERR_INVALIDCALL;
    *desc = D3DSURFACE_DESC{format_->format, D3DRTYPE_SURFACE, usage_, Pool(), D3DMULTISAMPLE_NONE, 0, width_, height_};
    return D3D_OK;
}

HRESULT Surface::LockRect(D3DLOCKED_RECT* lockedRect, const RECT* rect, DWORD flags)
{
    if (container_)
        return container_->LockRect(level_, lockedRect, rect, flags);
    if (lockedRect == nullptr)
        return D3DERR_INVALIDCALL;
    *lockedRect = D3DLOCKED_RECT{};
    RECT region;
    // The back buffer was not created lockable (no D3DPRESENTFLAG_LOCKABLE_BACKBUFFER here).
    if (kind_ != Kind::Plain || locked_ || !KnownLockFlags(flags) || !ResolveRect(rect, width_, height_, region))
        return D3DERR_INVALIDCALL;
    locked_ = true;
    lockedRect->Pitch = INT(pitch_);
    lockedRect->pBits = memory_.data() + size_t(region.top) * pitch_ + size_t(region.left) * format_->bytesPerPixel;
    return D3D_OK;
}

HRESULT Surface::UnlockRect()
{
    if (container_)
        return container_->UnlockRect(level_);
    if (!locked_)
        return D3DERR_INVALIDCALL;
    locked_ = false;
    return D3D_OK;
}

bool Surface::Locked() const
{
    return container_ ? container_->LevelLocked(level_) : locked_;
}

const BYTE* Surface::Bits()
{
    if (container_)
        return container_->LevelBits(level_);
    return memory_.empty() ? nullptr : memory_.data();
}

BYTE* Surface::Memory()
{
    if (container_)
        return container_->LevelMemory(level_);
    return memory_.empty() ? nullptr : memory_.data();
}

UINT Surface::Pitch() const
{
    return container_ ? container_->LevelPitch(level_) : pitch_;
}

void Surface::WriteRect(const RECT& rect, const BYTE* bits, UINT pitch)
{
    if (container_) {
        container_->WriteRect(level_, rect, bits, pitch);
        return;
    }
    if (memory_.empty())
        return;
    size_t rowBytes = size_t(rect.right - rect.left) * format_->bytesPerPixel;
    for (LONG y = rect.top; y < rect.bottom; ++y)
        std::memcpy(&memory_[size_t(y) * pitch_ + size_t(rect.left) * format_->bytesPerPixel],
                    bits + size_t(y - rect.top) * pitch, rowBytes);
}

}  // namespace quorvane::d3d9
