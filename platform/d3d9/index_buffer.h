// IDirect3DIndexBuffer9: 16- or 32-bit indices.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "d3d9/buffer_resource.h"

namespace quorvane::d3d9 {

// Index `i` of the 16- or 32-bit indices at `data`.
inline UINT ReadIndex(const BYTE* data, size_t i, UINT indexSize)
{
    if (indexSize == 2) {
        WORD value;
        std::memcpy(&value, data + i * 2, 2);
        return value;
    }
    UINT value;
    std::memcpy(&value, data + i * 4, 4);
    return value;
}

class IndexBuffer final : public BufferResource<IDirect3DIndexBuffer9> {
public:
    static HRESULT Create(Device* device, UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                          IDirect3DIndexBuffer9** buffer);

    HRESULT GetDesc(D3DINDEXBUFFER_DESC* desc) override;

    D3DFORMAT Format() const { return format_; }
    UINT IndexSize() const { return format_ == D3DFMT_INDEX32 ? 4 : 2; }

    struct Range {
        UINT lowest;
        UINT highest;
    };
    // The lowest and highest of `count` (> 0) indices from index `start`, which must lie in the
    // buffer; remembered until the buffer is next locked for writing, so that a mesh drawn
    // every frame is not read again.
    Range IndexRange(UINT start, UINT count);

private:
    IndexBuffer(Device* device, UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool);
    bool Implements(REFIID riid) const override;

    struct RememberedRange {
        UINT start;
        UINT count;
        Range range;
    };
    static constexpr size_t rangesKept = 16;

    D3DFORMAT format_;
    std::vector<RememberedRange> ranges_;
    std::uint64_t rangesVersion_ = 0;  // the storage version the ranges were read from
};

}  // namespace quorvane::d3d9
