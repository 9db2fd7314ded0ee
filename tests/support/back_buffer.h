// The read-back of what a device drew (GetBackBuffer + GetRenderTargetData + LockRect) and the
// colour channels of its pixels.
#pragma once

#include <d3d9.h>

#include <vector>

namespace quorvane::tests {

// The width x height back buffer of `device` as 0xAARRGGBB pixels, top row first (empty on failure).
std::vector<DWORD> ReadBackBuffer(IDirect3DDevice9* device, UINT width, UINT height);

// Colour channels of 0xAARRGGBB.
inline int Red(DWORD c)
{
    return int((c >> 16) & 0xFF);
}
inline int Green(DWORD c)
{
    return int((c >> 8) & 0xFF);
}
inline int Blue(DWORD c)
{
    return int(c & 0xFF);
}
inline DWORD Rgb(DWORD c)
{
    return c & 0x00FFFFFF;
}

}  // namespace quorvane::tests
