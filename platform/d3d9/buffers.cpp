// The vertex and index buffers: thin wrappers over BufferStorage.
#include <new>

#include "index_buffer.h"
#include "vertex_buffer.h"
#include "vertex_layout.h"

namespace quorvane::d3d9 {

namespace {

constexpr DWORD kBufferUsages = D3DUSAGE_WRITEONLY | D3DUSAGE_SOFTWAREPROCESSING | D3DUSAGE_DONOTCLIP |
                                D3DUSAGE_POINTS | D3DUSAGE_DYNAMIC;

HRESULT CheckBuffer(UINT length, DWORD usage, D3DPOOL pool)
{
    if (length == 0 || (usage & ~kBufferUsages))
        return D3DERR_INVALIDCALL;
    if (pool != D3DPOOL_DEFAULT && pool != D3DPOOL_MANAGED && pool != D3DPOOL_SYSTEMMEM)
        return D3DERR_INVALIDCALL;
    if ((usage & D3DUSAGE_DYNAMIC) && pool == D3DPOOL_MANAGED)
        return D3DERR_INVALIDCALL;
    return D3D_OK;
}

bool InGL(D3DPOOL pool)
{
    return pool == D3DPOOL_DEFAULT || pool == D3DPOOL_MANAGED;
}

}  // namespace

HRESULT VertexBuffer::Create(Device* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                             IDirect3DVertexBuffer9** buffer)
{
    if (buffer == nullptr)
        return D3DERR_INVALIDCALL;
    *buffer = nullptr;
    if (HRESULT hr = CheckBuffer(length, usage, pool); FAILED(hr))
        return hr;
    if (fvf != 0 && !IsValidFvf(fvf))
        return D3DERR_INVALIDCALL;
    VertexBuffer* created = nullptr;
    try {
        created = new VertexBuffer(device, length, usage, fvf, pool);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    if (InGL(pool) && !created->storage_.CreateGLBuffer(GL_ARRAY_BUFFER)) {
        created->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *buffer = created;
    return D3D_OK;
}

VertexBuffer::VertexBuffer(Device* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool)
    : Resource(device, D3DRTYPE_VERTEXBUFFER, pool, 1), storage_(device, length), usage_(usage), fvf_(fvf)
{
}

bool VertexBuffer::Implements(REFIID riid) const
{
    return Resource::Implements(riid) || SameIid(riid, IID_IDirect3DVertexBuffer9);
}

HRESULT VertexBuffer::Lock(UINT offset, UINT size, void** data, DWORD flags)
{
    return storage_.Lock(offset, size, data, flags);
}

HRESULT VertexBuffer::Unlock()
{
    return storage_.Unlock();
}

HRESULT VertexBuffer::GetDesc(D3DVERTEXBUFFER_DESC* desc)
{
    if (desc == nullptr)
        return D3DERR_INVALIDCALL;
    *desc = D3DVERTEXBUFFER_DESC{D3DFMT_VERTEXDATA, D3DRTYPE_VERTEXBUFFER, usage_, Pool(), storage_.Length(), fvf_};
    return D3D_OK;
}

HRESULT IndexBuffer::Create(Device* device, UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                            IDirect3DIndexBuffer9** buffer)
{
    if (buffer == nullptr)
        return D3DERR_INVALIDCALL;
    *buffer = nullptr;
    if (HRESULT hr = CheckBuffer(length, usage, pool); FAILED(hr))
        return hr;
    if (format != D3DFMT_INDEX16 && format != D3DFMT_INDEX32)
        return D3DERR_INVALIDCALL;
    IndexBuffer* created = nullptr;
    try {
        created = new IndexBuffer(device, length, usage, format, pool);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    if (InGL(pool) && !created->storage_.CreateGLBuffer(GL_ELEMENT_ARRAY_BUFFER)) {
        created->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *buffer = created;
    return D3D_OK;
}

IndexBuffer::IndexBuffer(Device* device, UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool)
    : Resource(device, D3DRTYPE_INDEXBUFFER, pool, 1), storage_(device, length), usage_(usage), format_(format)
{
}

bool IndexBuffer::Implements(REFIID riid) const
{
    return Resource::Implements(riid) || SameIid(riid, IID_IDirect3DIndexBuffer9);
}

HRESULT IndexBuffer::Lock(UINT offset, UINT size, void** data, DWORD flags)
{
    return storage_.Lock(offset, size, data, flags);
}

HRESULT IndexBuffer::Unlock()
{
    return storage_.Unlock();
}

HRESULT IndexBuffer::GetDesc(D3DINDEXBUFFER_DESC* desc)
{
    if (desc == nullptr)
        return D3DERR_INVALIDCALL;
    *desc = D3DINDEXBUFFER_DESC{format_, D3DRTYPE_INDEXBUFFER, usage_, Pool(), storage_.Length()};
    return D3D_OK;
}

}  // namespace quorvane::d3d9
