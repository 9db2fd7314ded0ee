// The read-back of what a device drew: GetBackBuffer + GetRenderTargetData + LockRect.
#pragma once

#include <d3d9.h>

#include <vector>

namespace quorvane::tests {

// The width x height back buffer of `device` as 0xAARRGGBB pixels, top row first (empty on failure).
std::vector<DWORD> ReadBackBuffer(IDirect3DDevice9* device, UINT width, UINT height);

}  // namespace quorvane::tests
