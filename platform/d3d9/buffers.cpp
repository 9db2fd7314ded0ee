// The vertex and index buffers: thin wrappers over BufferStorage.
#include <algorithm>

#include "d3d9/index_buffer.h"
#include "d3d9/vertex_buffer.h"
#include "d3d9/vertex_layout.h"

namespace quorvane::d3d9 {

namespace {

constexpr DWORD bufferUsages =
    D3DUSAGE_WRITEONLY | D3DUSAGE_SOFTWAREPROCESSING | D3DUSAGE_DONOTCLIP | D3DUSAGE_POINTS | D3DUSAGE_DYNAMIC;

}  // namespace

HRESULT CheckBufferArguments(UINT length, DWORD usage, D3DPOOL pool)
{
    if (length == 0 || (usage & ~bufferUsages))
        return D3DERR_INVALIDCALL;
    if (pool != D3DPOOL_DEFAULT && pool != D3DPOOL_MANAGED && pool != D3DPOOL_SYSTEMMEM)
        return D3DERR_INVALIDCALL;
    if ((usage & D3DUSAGE_DYNAMIC) && pool == D3DPOOL_MANAGED)
        return D3DERR_INVALIDCALL;
    return D3D_OK;
}

bool HasGLBuffer(D3DPOOL pool)
{
    return pool == D3DPOOL_DEFAULT || pool == D3DPOOL_MANAGED;
}

HRESULT VertexBuffer::Create(Device* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                             IDirect3DVertexBuffer9** buffer)
{
    return CreateBuffer(
        length, usage, pool, fvf == 0 || IsValidFvf(fvf),
        [&] { return new VertexBuffer(device, length, usage, fvf, pool); }, buffer);
}

VertexBuffer::VertexBuffer(Device* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool)
    : BufferResource(device, D3DRTYPE_VERTEXBUFFER, length, usage, pool), fvf_(fvf)
{
}

bool VertexBuffer::Implements(REFIID riid) const
{
    return Resource::Implements(riid) || SameIid(riid, IID_IDirect3DVertexBuffer9);
}

HRESULT VertexBuffer::GetDesc(D3DVERTEXBUFFER_DESC* desc)
{
    if (desc == nullptr)
        return D3DERR_INVALIDCALL;
    *desc = D3DVERTEXBUFFER_DESC{D3DFMT_VERTEXDATA, D3DRTYPE_VERTEXBUFFER, Usage(), Pool(), Storage().Length(), fvf_};
    return D3D_OK;
}

HRESULT IndexBuffer::Create(Device* device, UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                            IDirect3DIndexBuffer9** buffer)
{
    return CreateBuffer(
        length, usage, pool, format == D3DFMT_INDEX16 || format == D3DFMT_INDEX32,
        [&] { return new IndexBuffer(device, length, usage, format, pool); }, buffer);
}

IndexBuffer::IndexBuffer(Device* device, UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool)
    : BufferResource(device, D3DRTYPE_INDEXBUFFER, length, usage, pool), format_(format)
{
}

IndexBuffer::Range IndexBuffer::IndexRange(UINT start, UINT count)
{
    if (rangesVersion_ != Storage().Version()) {
        ranges_.clear();
        rangesVersion_ = Storage().Version();
    }
    for (const RememberedRange& remembered : ranges_) {
        if (remembered.start == start && remembered.count == count)
            return remembered.range;
    }
    Range range{~0u, 0};
    const BYTE* bytes = Storage().Bytes() + size_t(start) * IndexSize();
    for (UINT i = 0; i < count; ++i) {
        UINT value = ReadIndex(bytes, i, IndexSize());
        range.lowest = std::min(range.lowest, value);
        range.highest = std::max(range.highest, value);
    }
    if (ranges_.size() == rangesKept)
        ranges_.erase(ranges_.begin());
    ranges_.push_back({start, count, range});
    return range;
}

bool IndexBuffer::Implements(REFIID riid) const
{
    return Resource::Implements(riid) || SameIid(riid, IID_IDirect3DIndexBuffer9);
}

HRESULT IndexBuffer::GetDesc(D3DINDEXBUFFER_DESC* desc)
{
    if (desc == nullptr)
        return D3DERR_INVALIDCALL;
    *desc = D3DINDEXBUFFER_DESC{format_, D3DRTYPE_INDEXBUFFER, Usage(), Pool(), Storage().Length()};
    return D3D_OK;
}

}  // namespace quorvane::d3d9
