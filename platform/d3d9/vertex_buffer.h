// IDirect3DVertexBuffer9.
#pragma once

#include "d3d9/buffer_resource.h"

namespace quorvane::d3d9 {

class VertexBuffer final : public BufferResource<IDirect3DVertexBuffer9> {
public:
    static HRESULT Create(Device* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                          IDirect3DVertexBuffer9** buffer);

    HRESULT GetDesc(D3DVERTEXBUFFER_DESC* desc) override;

private:
    VertexBuffer(Device* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool);
    bool Implements(REFIID riid) const override;

    DWORD fvf_;
};

}  // namespace quorvane::d3d9
