// IDirect3DIndexBuffer9: 16- or 32-bit indices.
#pragma once

#include "d3d9/buffer_resource.h"

namespace quorvane::d3d9 {

class IndexBuffer final : public BufferResource<IDirect3DIndexBuffer9> {
public:
    static HRESULT Create(Device* device, UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                          IDirect3DIndexBuffer9** buffer);

    HRESULT GetDesc(D3DINDEXBUFFER_DESC* desc) override;

    D3DFORMAT Format() const { return format_; }
    UINT IndexSize() const { return format_ == D3DFMT_INDEX32 ? 4 : 2; }

private:
    IndexBuffer(Device* device, UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool);
    bool Implements(REFIID riid) const override;

    D3DFORMAT format_;
};

}  // namespace quorvane::d3d9
