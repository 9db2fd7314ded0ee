// IDirect3DVertexBuffer9.
#pragma once

#include "buffer_storage.h"
#include "resource.h"

namespace quorvane::d3d9 {

class VertexBuffer final : public Resource<IDirect3DVertexBuffer9> {
public:
    static HRESULT Create(Device* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                          IDirect3DVertexBuffer9** buffer);

    HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) override;
    HRESULT Unlock() override;
    HRESULT GetDesc(D3DVERTEXBUFFER_DESC* desc) override;

    const BufferStorage& Storage() const { return storage_; }

private:
    VertexBuffer(Device* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool);
    bool Implements(REFIID riid) const override;

    BufferStorage storage_;
    DWORD usage_;
    DWORD fvf_;
};

}  // namespace quorvane::d3d9
