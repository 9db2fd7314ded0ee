// Copies between surfaces: memory to OpenGL (UpdateSurface, UpdateTexture) and the back buffer
// back to memory (GetRenderTargetData).
#include "d3d9/device.h"

#include <cstring>
#include <utility>
#include <vector>

#include "d3d9/lock_region.h"
#include "d3d9/surface.h"
#include "d3d9/texture.h"

namespace quorvane::d3d9 {

namespace {

// One of this device's surfaces, or null for anything else.
Surface* OwnSurface(IDirect3DSurface9* surface, Device* device)
{
    auto* own = dynamic_cast<Surface*>(surface);
    return own && own->OwningDevice() == device ? own : nullptr;
}

Texture* OwnTexture(IDirect3DBaseTexture9* texture, Device* device)
{
    auto* own = dynamic_cast<Texture*>(texture);
    return own && own->OwningDevice() == device ? own : nullptr;
}

}  // namespace

HRESULT Device::UpdateSurface(IDirect3DSurface9* sourceSurface, const RECT* sourceRect,
                              IDirect3DSurface9* destinationSurface, const POINT* destPoint)
{
    Surface* source = OwnSurface(sourceSurface, this);
    Surface* destination = OwnSurface(destinationSurface, this);
    if (!source || !destination || source == destination)
        return D3DERR_INVALIDCALL;
    if (source->Pool() != D3DPOOL_SYSTEMMEM || destination->Pool() != D3DPOOL_DEFAULT)
        return D3DERR_INVALIDCALL;
    if (source->Format().format != destination->Format().format || source->Locked() || destination->Locked())
        return D3DERR_INVALIDCALL;
    RECT from;
    if (!ResolveRect(sourceRect, source->Width(), source->Height(), from))
        return D3DERR_INVALIDCALL;
    POINT at = destPoint ? *destPoint : POINT{0, 0};  // no point: the origin
    RECT to{at.x, at.y, at.x + (from.right - from.left), at.y + (from.bottom - from.top)};
    RECT checked;
    if (!ResolveRect(&to, destination->Width(), destination->Height(), checked))
        return D3DERR_INVALIDCALL;

    const BYTE* bits =
        source->Bits() + size_t(from.top) * source->Pitch() + size_t(from.left) * source->Format().bytesPerPixel;
    if (destination->SurfaceKind() == Surface::Kind::BackBuffer) {
        if (!MakeCurrent())
            return D3DERR_INVALIDCALL;
        const FormatInfo& format = source->Format();
        GLLayout layout = TextureLayout(format, caps_);
        std::vector<BYTE> converted;
        GLint rowLength = 0;
        const void* upload = UploadBits(format, caps_, bits, source->Pitch(), UINT(to.right - to.left),
                                        UINT(to.bottom - to.top), converted, rowLength);
        // ES takes into the X8R8G8B8 back buffer's RGB8 texture only RGB bytes.
        if (!caps_.bgraLayouts && parameters_.BackBufferFormat == D3DFMT_X8R8G8B8) {
            for (size_t i = 0; i * 4 < converted.size(); ++i)
                std::memmove(&converted[i * 3], &converted[i * 4], 3);
            layout.pixelFormat = GL_RGB;
        }
        glBindTexture(GL_TEXTURE_2D, target_.ColorTexture());
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, rowLength);
        glTexSubImage2D(GL_TEXTURE_2D, 0, to.left, to.top, to.right - to.left, to.bottom - to.top, layout.pixelFormat,
                        layout.pixelType, upload);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        return D3D_OK;
    }
    destination->WriteRect(to, bits, source->Pitch());
    return D3D_OK;
}

HRESULT Device::UpdateTexture(IDirect3DBaseTexture9* sourceTexture, IDirect3DBaseTexture9* destinationTexture)
{
    Texture* source = OwnTexture(sourceTexture, this);
    Texture* destination = OwnTexture(destinationTexture, this);
    if (!source || !destination || source->Pool() != D3DPOOL_SYSTEMMEM || destination->Pool() != D3DPOOL_DEFAULT)
        return D3DERR_INVALIDCALL;
    if (source->Format().format != destination->Format().format ||
        source->LevelWidth(0) != destination->LevelWidth(0) || source->LevelHeight(0) != destination->LevelHeight(0) ||
        source->GetLevelCount() < destination->GetLevelCount())
        return D3DERR_INVALIDCALL;
    for (UINT level = 0; level < destination->GetLevelCount(); ++level) {
        if (source->LevelLocked(level) || destination->LevelLocked(level))
            return D3DERR_INVALIDCALL;
    }
    for (UINT level = 0; level < destination->GetLevelCount(); ++level) {
        RECT whole{0, 0, LONG(source->LevelWidth(level)), LONG(source->LevelHeight(level))};
        destination->WriteRect(level, whole, source->LevelBits(level), source->LevelPitch(level));
    }
    return D3D_OK;
}

HRESULT Device::GetRenderTargetData(IDirect3DSurface9* renderTargetSurface, IDirect3DSurface9* destinationSurface)
{
    Surface* renderTarget = OwnSurface(renderTargetSurface, this);
    Surface* destination = OwnSurface(destinationSurface, this);
    if (!renderTarget || !destination || renderTarget->SurfaceKind() != Surface::Kind::BackBuffer)
        return D3DERR_INVALIDCALL;
    if (destination->Pool() != D3DPOOL_SYSTEMMEM || destination->Locked() || !destination->Memory())
        return D3DERR_INVALIDCALL;
    if (destination->Width() != renderTarget->Width() || destination->Height() != renderTarget->Height() ||
        destination->Format().format != renderTarget->Format().format)
        return D3DERR_INVALIDCALL;
    if (cooperation_ != Cooperation::Operational)
        return D3DERR_DEVICELOST;
    if (!MakeCurrent())
        return D3DERR_DRIVERINTERNALERROR;
    const FormatInfo& format = destination->Format();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, target_.Framebuffer());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, GLint(destination->Pitch() / format.bytesPerPixel));
    if (caps_.bgraLayouts) {
        glReadPixels(0, 0, GLsizei(destination->Width()), GLsizei(destination->Height()), format.pixelFormat,
                     format.pixelType, destination->Memory());
    } else {
        // The back buffer formats are B, G, R, A bytes: read as RGBA, then red and blue swap places.
        glReadPixels(0, 0, GLsizei(destination->Width()), GLsizei(destination->Height()), GL_RGBA, GL_UNSIGNED_BYTE,
                     destination->Memory());
        for (UINT y = 0; y < destination->Height(); ++y) {
            BYTE* row = destination->Memory() + size_t{y} * destination->Pitch();
            for (UINT x = 0; x < destination->Width(); ++x)
                std::swap(row[x * 4], row[x * 4 + 2]);
        }
    }
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    return D3D_OK;
}

}  // namespace quorvane::d3d9
