// The seam through which D3DX's texture loader hands a texture the levels below its top, to be
// made only when they are used. It is the one d3d9 header D3DX includes besides <d3d9.h>.
//
// The texture owns the policy: a pending level is made by the loader's fill from the level
// above it when something first reads it (LockRect, GetSurfaceLevel's surface, a copy from it),
// and every pending level is made before anything writes to any level, so that they all come
// from the top level as the loader left it. A texture with OpenGL storage (managed, dynamic)
// makes them at once, since OpenGL samples every level. The loader owns only the filter.
#pragma once

#include <d3d9.h>

#include <functional>

namespace quorvane::d3d9 {

// Makes `level` into `bits` (its rows `pitch` bytes apart) from the level above it, already made:
// `above`, its rows `abovePitch` bytes apart.
using LevelFill = std::function<void(UINT level, BYTE* bits, UINT pitch, const BYTE* above, UINT abovePitch)>;

// Levels 1 and below of `texture` are made by `fill` when needed (nothing to do for a texture of
// one level or one that keeps no memory). D3DERR_INVALIDCALL for a texture not made by this
// Direct3D implementation.
HRESULT DeferLowerLevels(IDirect3DTexture9* texture, LevelFill fill);

}  // namespace quorvane::d3d9
