// Checks for the rectangles and ranges that Lock, LockRect and UpdateSurface take.
#pragma once

#include <d3d9.h>

namespace quorvane::d3d9 {

// The rectangle to lock or copy: the whole surface for null, otherwise `rect` when it is
// non-empty and inside width x height. False for anything else (D3DERR_INVALIDCALL).
bool ResolveRect(const RECT* rect, UINT width, UINT height, RECT& resolved);

// The lock flags Direct3D 9 knows for surfaces and buffers.
bool KnownLockFlags(DWORD flags);

}  // namespace quorvane::d3d9
