#include "d3dx9/d3dx_buffer.h"

#include <new>

namespace quorvane::d3dx9 {

Buffer* Buffer::Create(DWORD size)
{
    std::unique_ptr<unsigned char[]> bytes(new (std::nothrow) unsigned char[size == 0 ? 1 : size]());
    if (!bytes) {
        return nullptr;
    }
    return new (std::nothrow) Buffer(std::move(bytes), size);
}

}  // namespace quorvane::d3dx9

extern "C" HRESULT WINAPI D3DXCreateBuffer(DWORD NumBytes, LPD3DXBUFFER* ppBuffer)
{
    if (ppBuffer == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *ppBuffer = quorvane::d3dx9::Buffer::Create(NumBytes);
    return *ppBuffer != nullptr ? D3D_OK : E_OUTOFMEMORY;
}
