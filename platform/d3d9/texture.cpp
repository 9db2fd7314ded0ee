#include "d3d9/texture.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "d3d9/device.h"
#include "d3d9/lock_region.h"
#include "d3d9/surface.h"

namespace quorvane::d3d9 {

namespace {

constexpr UINT maxTextureSize = 8192;   // the usual Direct3D 9 hardware limit
constexpr UINT maxScratchSize = 16384;  // scratch textures are not bound by the hardware

HRESULT CheckUsage(DWORD usage, D3DPOOL pool)
{
    constexpr DWORD known = D3DUSAGE_RENDERTARGET | D3DUSAGE_DEPTHSTENCIL | D3DUSAGE_DYNAMIC | D3DUSAGE_AUTOGENMIPMAP;
    if (usage & ~known)
        return D3DERR_INVALIDCALL;
    if (usage & (D3DUSAGE_RENDERTARGET | D3DUSAGE_DEPTHSTENCIL))
        return D3DERR_NOTAVAILABLE;  // no SetRenderTarget in this subset
    if ((usage & D3DUSAGE_DYNAMIC) && pool == D3DPOOL_MANAGED)
        return D3DERR_INVALIDCALL;
    if ((usage & D3DUSAGE_AUTOGENMIPMAP) && pool != D3DPOOL_DEFAULT && pool != D3DPOOL_MANAGED)
        return D3DERR_INVALIDCALL;
    return D3D_OK;
}

}  // namespace

HRESULT Texture::Create(Device* device, UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                        D3DPOOL pool, IDirect3DTexture9** texture)
{
    if (texture == nullptr)
        return D3DERR_INVALIDCALL;
    *texture = nullptr;
    const FormatInfo* info = FindFormat(format);
    UINT maxSize = pool == D3DPOOL_SCRATCH ? maxScratchSize : maxTextureSize;
    if (width == 0 || height == 0 || width > maxSize || height > maxSize || !info || info->depth)
        return D3DERR_INVALIDCALL;
    if (pool != D3DPOOL_DEFAULT && pool != D3DPOOL_MANAGED && pool != D3DPOOL_SYSTEMMEM && pool != D3DPOOL_SCRATCH)
        return D3DERR_INVALIDCALL;
    if (HRESULT hr = CheckUsage(usage, pool); FAILED(hr))
        return hr;
    UINT chain = FullMipChainLength(width, height);
    if (usage & D3DUSAGE_AUTOGENMIPMAP) {
        if (levels > 1)
            return D3DERR_INVALIDCALL;
        levels = 1;  // the application sees one level; OpenGL keeps the rest
    }
    if (levels == 0)
        levels = chain;
    if (levels > chain)
        return D3DERR_INVALIDCALL;

    Texture* created = nullptr;
    try {
        created = new Texture(device, width, height, levels, usage, *info, pool);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    if ((pool == D3DPOOL_DEFAULT || pool == D3DPOOL_MANAGED) && !created->CreateGLTexture()) {
        created->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *texture = created;
    return D3D_OK;
}

Texture::Texture(Device* device, UINT width, UINT height, UINT levels, DWORD usage, const FormatInfo& format,
                 D3DPOOL pool)
    : Resource(device, D3DRTYPE_TEXTURE, pool, 1), format_(&format), usage_(usage), levels_(levels)
{
    for (UINT i = 0; i < levels; ++i) {
        Level& level = levels_[i];
        level.width = std::max(width >> i, 1u);
        level.height = std::max(height >> i, 1u);
        level.pitch = RowPitch(format, level.width);
        level.surface = Surface::CreateLevel(this, i);
    }
}

Texture::~Texture()
{
    for (Level& level : levels_)
        delete level.surface;
    if (glTexture_ && OwningDevice()->MakeCurrent())
        glDeleteTextures(1, &glTexture_);
}

bool Texture::Implements(REFIID riid) const
{
    return Resource::Implements(riid) || SameIid(riid, IID_IDirect3DBaseTexture9) ||
           SameIid(riid, IID_IDirect3DTexture9);
}

bool Texture::KeepsMemory() const
{
    return Pool() != D3DPOOL_DEFAULT || (usage_ & D3DUSAGE_DYNAMIC);
}

bool Texture::Lockable() const
{
    return KeepsMemory();
}

bool Texture::CreateGLTexture()
{
    if (!OwningDevice()->MakeCurrent())
        return false;
    while (glGetError() != GL_NO_ERROR) {
    }
    glGenTextures(1, &glTexture_);
    glBindTexture(GL_TEXTURE_2D, glTexture_);
    bool autoGenerate = (usage_ & D3DUSAGE_AUTOGENMIPMAP) != 0;
    UINT glLevels = autoGenerate ? FullMipChainLength(levels_[0].width, levels_[0].height) : UINT(levels_.size());
    const GLCapabilities& caps = OwningDevice()->Capabilities();
    GLLayout layout = TextureLayout(*format_, caps);
    std::vector<BYTE> converted;
    for (UINT i = 0; i < glLevels; ++i) {
        GLsizei w = GLsizei(std::max(levels_[0].width >> i, 1u));
        GLsizei h = GLsizei(std::max(levels_[0].height >> i, 1u));
        // A managed or dynamic texture's memory starts out as zeros, and so does OpenGL's copy.
        const BYTE* bits = i < levels_.size() && KeepsMemory() ? Touch(i).memory.data() : nullptr;
        GLint rowLength = 0;
        const void* upload =
            UploadBits(*format_, caps, bits, bits ? levels_[i].pitch : 0, UINT(w), UINT(h), converted, rowLength);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, rowLength);
        glTexImage2D(GL_TEXTURE_2D, GLint(i), GLint(layout.internalFormat), w, h, 0, layout.pixelFormat,
                     layout.pixelType, upload);
    }
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, GLint(glLevels - 1));
    // Expanded texels already read as the format's swizzle says.
    if (caps.textureSwizzle)
        glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, format_->swizzle);
    return glGetError() == GL_NO_ERROR;
}

DWORD Texture::GetLevelCount()
{
    return DWORD(levels_.size());
}

HRESULT Texture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc)
{
    if (level >= levels_.size() || desc == nullptr)
        return D3DERR_INVALIDCALL;
    return levels_[level].surface->GetDesc(desc);
}

HRESULT Texture::GetSurfaceLevel(UINT level, IDirect3DSurface9** surface)
{
    if (surface == nullptr)
        return D3DERR_INVALIDCALL;
    *surface = nullptr;
    if (level >= levels_.size())
        return D3DERR_INVALIDCALL;
    levels_[level].surface->AddRef();
    *surface = levels_[level].surface;
    return D3D_OK;
}

HRESULT Texture::LockRect(UINT level, D3DLOCKED_RECT* lockedRect, const RECT* rect, DWORD flags)
{
    if (lockedRect == nullptr)
        return D3DERR_INVALIDCALL;
    *lockedRect = D3DLOCKED_RECT{};
    RECT region;
    if (level >= levels_.size() || !Lockable() || !KnownLockFlags(flags))
        return D3DERR_INVALIDCALL;
    Level& l = levels_[level];
    if (l.locked || !ResolveRect(rect, l.width, l.height, region))
        return D3DERR_INVALIDCALL;
    if (!(flags & D3DLOCK_READONLY))
        MakePendingLevels();
    Touch(level);
    l.locked = true;
    l.lockedRect = region;
    l.lockFlags = flags;
    lockedRect->Pitch = INT(l.pitch);
    lockedRect->pBits = l.memory.data() + size_t(region.top) * l.pitch + size_t(region.left) * format_->bytesPerPixel;
    return D3D_OK;
}

HRESULT Texture::UnlockRect(UINT level)
{
    if (level >= levels_.size() || !levels_[level].locked)
        return D3DERR_INVALIDCALL;
    Level& l = levels_[level];
    l.locked = false;
    if (!(l.lockFlags & D3DLOCK_READONLY)) {
        const BYTE* bits =
            l.memory.data() + size_t(l.lockedRect.top) * l.pitch + size_t(l.lockedRect.left) * format_->bytesPerPixel;
        CopyToGL(level, l.lockedRect, bits, l.pitch);
    }
    return D3D_OK;
}

const BYTE* Texture::LevelBits(UINT level)
{
    return KeepsMemory() ? Touch(level).memory.data() : nullptr;
}

BYTE* Texture::LevelMemory(UINT level)
{
    if (!KeepsMemory())
        return nullptr;
    MakePendingLevels();
    Level& l = Touch(level);
    l.glStale = true;  // whoever asked may write (GetRenderTargetData does)
    return l.memory.data();
}

void Texture::WriteRect(UINT level, const RECT& rect, const BYTE* bits, UINT pitch)
{
    Level& l = levels_[level];
    if (KeepsMemory()) {
        MakePendingLevels();
        Touch(level);
        size_t rowBytes = size_t(rect.right - rect.left) * format_->bytesPerPixel;
        for (LONG y = rect.top; y < rect.bottom; ++y)
            std::memcpy(&l.memory[size_t(y) * l.pitch + size_t(rect.left) * format_->bytesPerPixel],
                        bits + size_t(y - rect.top) * pitch, rowBytes);
    }
    CopyToGL(level, rect, bits, pitch);
}

void Texture::DeferLevels(LevelFill fill)
{
    if (!KeepsMemory() || levels_.size() < 2)
        return;
    Touch(0);
    fill_ = std::move(fill);
    firstPending_ = 1;
    if (glTexture_)
        MakePendingLevels();  // OpenGL samples every level
}

HRESULT DeferLowerLevels(IDirect3DTexture9* texture, LevelFill fill)
{
    auto* own = dynamic_cast<Texture*>(texture);
    if (own == nullptr)
        return D3DERR_INVALIDCALL;
    own->DeferLevels(std::move(fill));
    return D3D_OK;
}

Texture::Level& Texture::Touch(UINT level)
{
    if (fill_ && level >= firstPending_) {
        while (firstPending_ <= level)
            MakeDeferredLevel(firstPending_++);
        if (firstPending_ == levels_.size())
            fill_ = nullptr;
    }
    Level& l = levels_[level];
    if (l.memory.empty())
        l.memory.assign(size_t{l.pitch} * l.height, 0);
    return l;
}

void Texture::MakeDeferredLevel(UINT level)
{
    Level& l = levels_[level];
    const Level& above = levels_[level - 1];
    l.memory.resize(size_t{l.pitch} * l.height);
    fill_(level, l.memory.data(), l.pitch, above.memory.data(), above.pitch);
    CopyToGL(level, RECT{0, 0, LONG(l.width), LONG(l.height)}, l.memory.data(), l.pitch);
}

void Texture::MakePendingLevels()
{
    if (fill_)
        Touch(UINT(levels_.size() - 1));
}

GLuint Texture::DrawingTexture()
{
    if (Pool() == D3DPOOL_SYSTEMMEM) {
        if (!glTexture_) {
            if (!CreateGLTexture()) {
                glDeleteTextures(1, &glTexture_);
                glTexture_ = 0;
            }
            for (Level& level : levels_)
                level.glStale = false;
        } else {
            UploadStaleLevels();
        }
    }
    return glTexture_;
}

void Texture::CopyToGL(UINT level, const RECT& rect, const BYTE* bits, UINT pitch)
{
    if (!glTexture_)
        return;
    if (Pool() == D3DPOOL_SYSTEMMEM)
        levels_[level].glStale = true;
    else
        Upload(level, rect, bits, pitch);
}

void Texture::UploadStaleLevels()
{
    for (UINT i = 0; i < levels_.size(); ++i) {
        Level& l = levels_[i];
        if (!l.glStale || l.locked)
            continue;
        l.glStale = false;
        Upload(i, RECT{0, 0, LONG(l.width), LONG(l.height)}, Touch(i).memory.data(), l.pitch);
    }
}

void Texture::Upload(UINT level, const RECT& rect, const BYTE* bits, UINT pitch)
{
    if (!OwningDevice()->MakeCurrent())
        return;
    const GLCapabilities& caps = OwningDevice()->Capabilities();
    GLLayout layout = TextureLayout(*format_, caps);
    std::vector<BYTE> converted;
    GLint rowLength = 0;
    const void* upload = UploadBits(*format_, caps, bits, pitch, UINT(rect.right - rect.left),
                                    UINT(rect.bottom - rect.top), converted, rowLength);
    glBindTexture(GL_TEXTURE_2D, glTexture_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, rowLength);
    glTexSubImage2D(GL_TEXTURE_2D, GLint(level), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                    layout.pixelFormat, layout.pixelType, upload);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    if (usage_ & D3DUSAGE_AUTOGENMIPMAP)
        glGenerateMipmap(GL_TEXTURE_2D);
}

}  // namespace quorvane::d3d9
