// IDirect3DTexture9: a 2D texture with its mipmap levels. Where the texels live depends on the
// pool: scratch textures in memory only; system-memory textures in memory, with an OpenGL copy
// made when they are first drawn; default-pool textures in OpenGL only (a dynamic one also keeps
// a memory copy to lock); managed textures in both. A memory-keeping texture allocates a level's
// memory when something first touches the level.
#pragma once

#include <memory>
#include <vector>

#include "d3d9/deferred_levels.h"
#include "d3d9/formats.h"
#include "d3d9/resource.h"

namespace quorvane::d3d9 {

class Surface;

class Texture final : public Resource<IDirect3DTexture9> {
public:
    static HRESULT Create(Device* device, UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                          D3DPOOL pool, IDirect3DTexture9** texture);
    ~Texture() override;

    // IDirect3DBaseTexture9
    DWORD GetLevelCount() override;
    // IDirect3DTexture9
    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
    HRESULT GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) override;
    HRESULT LockRect(UINT level, D3DLOCKED_RECT* lockedRect, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect(UINT level) override;

    // For the device and the level surfaces.
    const FormatInfo& Format() const { return *format_; }
    DWORD Usage() const { return usage_; }
    // The OpenGL texture a draw samples, or 0 when it cannot be made. A system-memory texture
    // makes its copy at the first draw and refreshes the levels written since the last one.
    GLuint DrawingTexture();
    UINT LevelWidth(UINT level) const { return levels_[level].width; }
    UINT LevelHeight(UINT level) const { return levels_[level].height; }
    bool LevelLocked(UINT level) const { return levels_[level].locked; }
    // The level's bytes in memory to read, or null when it lives only in OpenGL.
    const BYTE* LevelBits(UINT level);
    // The same to write into: every deferred level is made first.
    BYTE* LevelMemory(UINT level);
    UINT LevelPitch(UINT level) const { return levels_[level].pitch; }
    // Writes a rectangle of a level from memory laid out with `pitch` (UpdateSurface,
    // UpdateTexture): into the memory copy and into OpenGL, whichever the texture has.
    void WriteRect(UINT level, const RECT& rect, const BYTE* bits, UINT pitch);

    // The levels below the top are made by `fill` when needed (deferred_levels.h).
    void DeferLevels(LevelFill fill);

private:
    struct Level {
        UINT width = 0;
        UINT height = 0;
        UINT pitch = 0;
        std::vector<BYTE> memory;
        bool locked = false;
        RECT lockedRect{};
        DWORD lockFlags = 0;
        Surface* surface = nullptr;  // owned; counts its references on the texture
        bool glStale = false;        // system memory: written since OpenGL's copy was made
    };

    Texture(Device* device, UINT width, UINT height, UINT levels, DWORD usage, const FormatInfo& format, D3DPOOL pool);
    bool Implements(REFIID riid) const override;
    bool KeepsMemory() const;
    bool Lockable() const;
    bool CreateGLTexture();
    // Makes sure `level` has memory, made by the deferred fill (with the levels above it)
    // when it is pending. Memory-keeping textures only.
    Level& Touch(UINT level);
    void MakeDeferredLevel(UINT level);
    void MakePendingLevels();
    // Brings OpenGL's copy of a rectangle up to date: at once, or for a system-memory texture
    // at its next draw.
    void CopyToGL(UINT level, const RECT& rect, const BYTE* bits, UINT pitch);
    void Upload(UINT level, const RECT& rect, const BYTE* bits, UINT pitch);
    void UploadStaleLevels();

    const FormatInfo* format_;
    DWORD usage_;
    std::vector<Level> levels_;
    GLuint glTexture_ = 0;
    LevelFill fill_;         // set while levels are pending
    UINT firstPending_ = 0;  // with fill_: levels from here down are not made yet
};

}  // namespace quorvane::d3d9
