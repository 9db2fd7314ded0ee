#include "back_buffer.h"

#include <cstring>

namespace quorvane::tests {

std::vector<DWORD> ReadBackBuffer(IDirect3DDevice9* device, UINT width, UINT height)
{
    std::vector<DWORD> pixels;
    IDirect3DSurface9* backBuffer = nullptr;
    IDirect3DSurface9* copy = nullptr;
    if (device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer) == D3D_OK &&
        device->CreateOffscreenPlainSurface(width, height, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &copy, nullptr) ==
            D3D_OK &&
        device->GetRenderTargetData(backBuffer, copy) == D3D_OK) {
        D3DLOCKED_RECT locked{};
        if (copy->LockRect(&locked, nullptr, D3DLOCK_READONLY) == D3D_OK) {
            pixels.resize(size_t(width) * height);
            for (UINT y = 0; y < height; ++y)
                std::memcpy(&pixels[size_t(y) * width],
                            static_cast<BYTE*>(locked.pBits) + size_t(y) * UINT(locked.Pitch), width * 4);
            copy->UnlockRect();
        }
    }
    if (copy)
        copy->Release();
    if (backBuffer)
        backBuffer->Release();
    return pixels;
}

}  // namespace quorvane::tests
