// What vertex and index buffers share: their bytes (BufferStorage), Lock and Unlock on them,
// and the steps of their creation around each kind's own argument.
#pragma once

#include <new>

#include "d3d9/buffer_storage.h"
#include "d3d9/resource.h"

namespace quorvane::d3d9 {

// The arguments both kinds check alike: a length, known usages, a pool that holds buffers.
HRESULT CheckBufferArguments(UINT length, DWORD usage, D3DPOOL pool);
// Whether buffers in `pool` have an OpenGL buffer besides their bytes in memory.
bool HasGLBuffer(D3DPOOL pool);

template <class Interface>
class BufferResource : public Resource<Interface> {
public:
    HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) override
    {
        return storage_.Lock(offset, size, data, flags);
    }
    HRESULT Unlock() override { return storage_.Unlock(); }

    const BufferStorage& Storage() const { return storage_; }
    BufferStorage& Storage() { return storage_; }

protected:
    BufferResource(Device* device, D3DRESOURCETYPE type, UINT length, DWORD usage, D3DPOOL pool)
        : Resource<Interface>(device, type, pool, 1),
          storage_(device, length, type == D3DRTYPE_INDEXBUFFER ? GL_ELEMENT_ARRAY_BUFFER : GL_ARRAY_BUFFER),
          usage_(usage)
    {
    }

    DWORD Usage() const { return usage_; }

    // Checks the shared arguments, then the kind's own (`kindArgumentValid`: its FVF or index
    // format), builds the buffer with `make` and gives it its OpenGL buffer (of its kind: vertices or indices).
    template <class Make>
    static HRESULT CreateBuffer(UINT length, DWORD usage, D3DPOOL pool, bool kindArgumentValid, Make make,
                                Interface** buffer)
    {
        if (buffer == nullptr)
            return D3DERR_INVALIDCALL;
        *buffer = nullptr;
        if (HRESULT hr = CheckBufferArguments(length, usage, pool); FAILED(hr))
            return hr;
        if (!kindArgumentValid)
            return D3DERR_INVALIDCALL;
        BufferResource* created = nullptr;
        try {
            created = make();
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        if (HasGLBuffer(pool) && !created->storage_.CreateGLBuffer()) {
            created->Release();
            return D3DERR_OUTOFVIDEOMEMORY;
        }
        *buffer = created;
        return D3D_OK;
    }

private:
    BufferStorage storage_;
    DWORD usage_;
};

}  // namespace quorvane::d3d9
