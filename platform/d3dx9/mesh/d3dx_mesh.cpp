#include "d3dx9/mesh/d3dx_mesh.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <numeric>
#include <type_traits>
#include <utility>

#include "d3dx9/mesh/mesh_algorithms.h"

namespace quorvane::d3dx9 {
namespace {

constexpr DWORD maxIndex16 = 0xFFFF;

D3DPOOL VertexPool(DWORD options)
{
    return (options & D3DXMESH_VB_SYSTEMMEM) ? D3DPOOL_SYSTEMMEM
           : (options & D3DXMESH_VB_MANAGED) ? D3DPOOL_MANAGED
                                             : D3DPOOL_DEFAULT;
}

D3DPOOL IndexPool(DWORD options)
{
    return (options & D3DXMESH_IB_SYSTEMMEM) ? D3DPOOL_SYSTEMMEM
           : (options & D3DXMESH_IB_MANAGED) ? D3DPOOL_MANAGED
                                             : D3DPOOL_DEFAULT;
}

DWORD CommonUsage(DWORD options)
{
    return ((options & D3DXMESH_DONOTCLIP) ? D3DUSAGE_DONOTCLIP : 0) |
           ((options & D3DXMESH_POINTS) ? D3DUSAGE_POINTS : 0);
}

DWORD VertexUsage(DWORD options)
{
    return CommonUsage(options) | ((options & D3DXMESH_VB_WRITEONLY) ? D3DUSAGE_WRITEONLY : 0) |
           ((options & D3DXMESH_VB_DYNAMIC) ? D3DUSAGE_DYNAMIC : 0) |
           ((options & D3DXMESH_VB_SOFTWAREPROCESSING) ? D3DUSAGE_SOFTWAREPROCESSING : 0);
}

DWORD IndexUsage(DWORD options)
{
    return CommonUsage(options) | ((options & D3DXMESH_IB_WRITEONLY) ? D3DUSAGE_WRITEONLY : 0) |
           ((options & D3DXMESH_IB_DYNAMIC) ? D3DUSAGE_DYNAMIC : 0) |
           ((options & D3DXMESH_IB_SOFTWAREPROCESSING) ? D3DUSAGE_SOFTWAREPROCESSING : 0);
}

// Creation options this implementation understands (the optimisation flags are Optimize's).
constexpr DWORD knownOptions = D3DXMESH_32BIT | D3DXMESH_DONOTCLIP | D3DXMESH_POINTS | D3DXMESH_SYSTEMMEM |
                               D3DXMESH_MANAGED | D3DXMESH_WRITEONLY | D3DXMESH_DYNAMIC | D3DXMESH_SOFTWAREPROCESSING |
                               D3DXMESH_USEHWONLY;

// Union-find over vertex indices, for grouping vertices at (nearly) the same position.
class PointGroups {
public:
    explicit PointGroups(std::size_t count) : parent_(count) { std::iota(parent_.begin(), parent_.end(), 0u); }
    std::uint32_t Find(std::uint32_t v)
    {
        while (parent_[v] != v) {
            parent_[v] = parent_[parent_[v]];
            v = parent_[v];
        }
        return v;
    }
    void Join(std::uint32_t a, std::uint32_t b)
    {
        a = Find(a);
        b = Find(b);
        if (a != b) {
            parent_[std::max(a, b)] = std::min(a, b);
        }
    }

private:
    std::vector<std::uint32_t> parent_;
};

}  // namespace

HRESULT Mesh::Create(DWORD numFaces, DWORD numVertices, DWORD options, DWORD fvf, IDirect3DDevice9* device, Mesh** mesh)
{
    if (mesh == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *mesh = nullptr;
    FvfLayout layout;
    if (device == nullptr || numFaces == 0 || numVertices == 0 || (options & ~knownOptions) != 0 ||
        !DescribeFvf(fvf, layout)) {
        return D3DERR_INVALIDCALL;
    }
    // The buffers' byte lengths are UINTs.
    const std::uint64_t indexSize = (options & D3DXMESH_32BIT) ? 4 : 2;
    if ((!(options & D3DXMESH_32BIT) && numVertices > maxIndex16 + 1) ||
        std::uint64_t{numFaces} * 3 * indexSize > UINT32_MAX ||
        std::uint64_t{numVertices} * layout.stride > UINT32_MAX) {
        return D3DERR_INVALIDCALL;
    }
    Mesh* created = new (std::nothrow) Mesh(device, numFaces, numVertices, options, layout);
    if (created == nullptr) {
        return E_OUTOFMEMORY;
    }
    if (HRESULT hr = created->CreateBuffers(); FAILED(hr)) {
        created->Release();
        return hr;
    }
    *mesh = created;
    return D3D_OK;
}

Mesh::Mesh(IDirect3DDevice9* device, DWORD numFaces, DWORD numVertices, DWORD options, const FvfLayout& layout)
    : device_(device), numFaces_(numFaces), numVertices_(numVertices), options_(options), layout_(layout)
{
    device_->AddRef();
}

Mesh::~Mesh()
{
    SafeRelease(vertexBuffer_);
    SafeRelease(indexBuffer_);
    SafeRelease(device_);
}

bool Mesh::Implements(REFIID riid) const
{
    return SameIid(riid, IID_ID3DXBaseMesh) || SameIid(riid, IID_ID3DXMesh);
}

HRESULT Mesh::CreateBuffers()
{
    try {
        attributes_.assign(numFaces_, 0);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    const UINT vertexBytes = numVertices_ * layout_.stride;
    const UINT indexBytes = numFaces_ * 3 * ((options_ & D3DXMESH_32BIT) ? 4 : 2);
    if (HRESULT hr = device_->CreateVertexBuffer(vertexBytes, VertexUsage(options_), layout_.fvf, VertexPool(options_),
                                                 &vertexBuffer_, nullptr);
        FAILED(hr)) {
        return hr;
    }
    return device_->CreateIndexBuffer(indexBytes, IndexUsage(options_),
                                      (options_ & D3DXMESH_32BIT) ? D3DFMT_INDEX32 : D3DFMT_INDEX16,
                                      IndexPool(options_), &indexBuffer_, nullptr);
}

HRESULT Mesh::GetDevice(LPDIRECT3DDEVICE9* device)
{
    return HandOut(device_, device);
}

HRESULT Mesh::GetVertexBuffer(LPDIRECT3DVERTEXBUFFER9* vertexBuffer)
{
    if (HRESULT hr = FinishContent(); FAILED(hr)) {
        return hr;
    }
    return HandOut(vertexBuffer_, vertexBuffer);
}

HRESULT Mesh::GetIndexBuffer(LPDIRECT3DINDEXBUFFER9* indexBuffer)
{
    if (HRESULT hr = FinishContent(); FAILED(hr)) {
        return hr;
    }
    return HandOut(indexBuffer_, indexBuffer);
}

HRESULT Mesh::LockVertexBuffer(DWORD flags, LPVOID* data)
{
    if (HRESULT hr = FinishContent(); FAILED(hr)) {
        return hr;
    }
    if (data == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    return vertexBuffer_->Lock(0, 0, data, flags);
}

HRESULT Mesh::UnlockVertexBuffer()
{
    return vertexBuffer_->Unlock();
}

HRESULT Mesh::LockIndexBuffer(DWORD flags, LPVOID* data)
{
    if (HRESULT hr = FinishContent(); FAILED(hr)) {
        return hr;
    }
    if (data == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    return indexBuffer_->Lock(0, 0, data, flags);
}

HRESULT Mesh::UnlockIndexBuffer()
{
    return indexBuffer_->Unlock();
}

HRESULT Mesh::LockAttributeBuffer(DWORD flags, DWORD** data)
{
    if (HRESULT hr = FinishContent(); FAILED(hr)) {
        return hr;
    }
    if (data == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    // Attributes written through the lock may no longer match the table.
    if ((flags & D3DLOCK_READONLY) == 0) {
        attributeTable_.clear();
    }
    *data = attributes_.data();
    return D3D_OK;
}

HRESULT Mesh::UnlockAttributeBuffer()
{
    return D3D_OK;
}

HRESULT Mesh::GetAttributeTable(D3DXATTRIBUTERANGE* table, DWORD* tableSize)
{
    if (HRESULT hr = FinishContent(); FAILED(hr)) {
        return hr;
    }
    if (table == nullptr && tableSize == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    if (table != nullptr) {
        std::copy(attributeTable_.begin(), attributeTable_.end(), table);
    }
    if (tableSize != nullptr) {
        *tableSize = static_cast<DWORD>(attributeTable_.size());
    }
    return D3D_OK;
}

HRESULT Mesh::SetAttributeTable(const D3DXATTRIBUTERANGE* table, DWORD tableSize)
{
    if (HRESULT hr = FinishContent(); FAILED(hr)) {
        return hr;
    }
    if (table == nullptr && tableSize != 0) {
        return D3DERR_INVALIDCALL;
    }
    for (DWORD i = 0; i < tableSize; ++i) {
        const D3DXATTRIBUTERANGE& range = table[i];
        if (std::uint64_t{range.FaceStart} + range.FaceCount > numFaces_ ||
            std::uint64_t{range.VertexStart} + range.VertexCount > numVertices_) {
            return D3DERR_INVALIDCALL;
        }
    }
    attributeTable_.assign(table, table + tableSize);
    return D3D_OK;
}

HRESULT Mesh::Read(MeshArrays& arrays)
{
    if (HRESULT hr = FinishContent(); FAILED(hr)) {
        return hr;
    }
    void* vertices = nullptr;
    if (HRESULT hr = vertexBuffer_->Lock(0, 0, &vertices, D3DLOCK_READONLY); FAILED(hr)) {
        return hr;
    }
    const auto* vertexBytes = static_cast<const BYTE*>(vertices);
    arrays.vertices.assign(vertexBytes, vertexBytes + std::size_t{numVertices_} * layout_.stride);
    vertexBuffer_->Unlock();
    return ReadFaces(arrays);
}

HRESULT Mesh::ReadFaces(MeshArrays& arrays)
{
    if (HRESULT hr = FinishContent(); FAILED(hr)) {
        return hr;
    }
    void* indices = nullptr;
    if (HRESULT hr = indexBuffer_->Lock(0, 0, &indices, D3DLOCK_READONLY); FAILED(hr)) {
        return hr;
    }
    const std::size_t indexCount = std::size_t{numFaces_} * 3;
    if (options_ & D3DXMESH_32BIT) {
        const auto* wide = static_cast<const std::uint32_t*>(indices);
        arrays.indices.assign(wide, wide + indexCount);
    } else {
        const auto* narrow = static_cast<const std::uint16_t*>(indices);
        arrays.indices.assign(narrow, narrow + indexCount);
    }
    indexBuffer_->Unlock();
    arrays.attributes.assign(attributes_.begin(), attributes_.end());
    arrays.table = attributeTable_;
    return D3D_OK;
}

HRESULT Mesh::Write(const MeshArrays& arrays)
{
    if (HRESULT hr = FinishContent(); FAILED(hr)) {
        return hr;
    }
    if (arrays.vertices.size() != std::size_t{numVertices_} * layout_.stride ||
        arrays.indices.size() != std::size_t{numFaces_} * 3 || arrays.attributes.size() != numFaces_) {
        return D3DERR_INVALIDCALL;
    }
    void* vertices = nullptr;
    if (HRESULT hr = vertexBuffer_->Lock(0, 0, &vertices, 0); FAILED(hr)) {
        return hr;
    }
    std::memcpy(vertices, arrays.vertices.data(), arrays.vertices.size());
    vertexBuffer_->Unlock();
    if (HRESULT hr = WriteFaces(arrays.indices.data(), arrays.attributes.data()); FAILED(hr)) {
        return hr;
    }
    attributeTable_ = arrays.table;
    return D3D_OK;
}

HRESULT Mesh::WriteFaces(const std::uint32_t* indices, const std::uint32_t* attributes)
{
    if (HRESULT hr = FinishContent(); FAILED(hr)) {
        return hr;
    }
    void* locked = nullptr;
    if (HRESULT hr = indexBuffer_->Lock(0, 0, &locked, 0); FAILED(hr)) {
        return hr;
    }
    const std::size_t indexCount = std::size_t{numFaces_} * 3;
    if (options_ & D3DXMESH_32BIT) {
        std::memcpy(locked, indices, indexCount * 4);
    } else {
        std::copy(indices, indices + indexCount, static_cast<std::uint16_t*>(locked));  // below 0x10000
    }
    indexBuffer_->Unlock();
    attributes_.assign(attributes, attributes + numFaces_);
    attributeTable_.clear();
    return D3D_OK;
}

HRESULT Mesh::WriteFacesInOrder(const MeshArrays& source, const std::vector<std::uint32_t>& faceOrder,
                                const std::vector<std::uint32_t>& oldToNew, bool withTable)
{
    void* locked = nullptr;
    if (HRESULT hr = indexBuffer_->Lock(0, 0, &locked, 0); FAILED(hr)) {
        return hr;
    }
    // The attributes in their new order; the mesh's own buffer holds them as DWORDs.
    std::vector<std::uint32_t> attributes(numFaces_);
    const auto write = [&](auto* indices) {
        using Index = std::remove_pointer_t<decltype(indices)>;
        for (std::size_t face = 0; face < numFaces_; ++face) {
            const std::uint32_t* corners = &source.indices[std::size_t{faceOrder[face]} * 3];
            for (int corner = 0; corner < 3; ++corner) {
                indices[face * 3 + corner] = static_cast<Index>(oldToNew[corners[corner]]);  // fits the buffer
            }
            attributes[face] = source.attributes[faceOrder[face]];
        }
        attributeTable_.clear();
        if (withTable) {
            for (const meshops::AttributeRange& range :
                 meshops::ComputeAttributeRanges(indices, attributes.data(), numFaces_)) {
                attributeTable_.push_back(
                    {range.attributeId, range.faceStart, range.faceCount, range.vertexStart, range.vertexCount});
            }
        }
    };
    if (options_ & D3DXMESH_32BIT) {
        write(static_cast<std::uint32_t*>(locked));
    } else {
        write(static_cast<std::uint16_t*>(locked));
    }
    indexBuffer_->Unlock();
    attributes_.assign(attributes.begin(), attributes.end());
    return D3D_OK;
}

HRESULT Mesh::CopyVertices(const BYTE* source, const std::vector<DWORD>& sourceVertexOf)
{
    void* to = nullptr;
    if (HRESULT hr = vertexBuffer_->Lock(0, 0, &to, 0); FAILED(hr)) {
        return hr;
    }
    auto* toBytes = static_cast<BYTE*>(to);
    for (std::size_t v = 0; v < numVertices_; ++v) {
        std::memcpy(toBytes + v * layout_.stride, source + std::size_t{sourceVertexOf[v]} * layout_.stride,
                    layout_.stride);
    }
    vertexBuffer_->Unlock();
    return D3D_OK;
}

HRESULT Mesh::FinishContent()
{
    if (!pendingContent_) {
        return D3D_OK;
    }
    const std::function<HRESULT()> write = std::exchange(pendingContent_, nullptr);
    return write();
}

HRESULT Mesh::DrawFaces(DWORD faceStart, DWORD faceCount, DWORD vertexStart, DWORD vertexCount)
{
    return device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, vertexStart, vertexCount, faceStart * 3, faceCount);
}

HRESULT Mesh::DrawSubset(DWORD attribId)
{
    if (HRESULT hr = FinishContent(); FAILED(hr)) {
        return hr;
    }
    HRESULT hr = device_->SetFVF(layout_.fvf);
    if (SUCCEEDED(hr)) {
        hr = device_->SetStreamSource(0, vertexBuffer_, 0, layout_.stride);
    }
    if (SUCCEEDED(hr)) {
        hr = device_->SetIndices(indexBuffer_);
    }
    if (FAILED(hr)) {
        return hr;
    }
    if (!attributeTable_.empty()) {
        for (const D3DXATTRIBUTERANGE& range : attributeTable_) {
            if (range.AttribId == attribId && range.FaceCount > 0) {
                if (HRESULT drawn = DrawFaces(range.FaceStart, range.FaceCount, range.VertexStart, range.VertexCount);
                    FAILED(drawn)) {
                    return drawn;
                }
            }
        }
        return D3D_OK;
    }
    // Not attribute-sorted: draw every run of faces carrying the attribute.
    MeshArrays arrays;
    if (HRESULT read = Read(arrays); FAILED(read)) {
        return read;
    }
    for (const meshops::AttributeRange& run :
         meshops::ComputeAttributeRanges(arrays.indices.data(), arrays.attributes.data(), numFaces_)) {
        if (run.attributeId == attribId) {
            if (HRESULT drawn = DrawFaces(run.faceStart, run.faceCount, run.vertexStart, run.vertexCount);
                FAILED(drawn)) {
                return drawn;
            }
        }
    }
    return D3D_OK;
}

HRESULT Mesh::CloneMeshFVF(DWORD options, DWORD fvf, LPDIRECT3DDEVICE9 device, LPD3DXMESH* cloneMesh)
{
    if (HRESULT hr = FinishContent(); FAILED(hr)) {
        return hr;
    }
    if (cloneMesh == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *cloneMesh = nullptr;
    Mesh* clone = nullptr;
    if (HRESULT hr = Create(numFaces_, numVertices_, options, fvf, device, &clone); FAILED(hr)) {
        return hr;
    }
    MeshArrays arrays;
    HRESULT hr = Read(arrays);
    if (SUCCEEDED(hr)) {
        std::vector<BYTE> converted(std::size_t{numVertices_} * clone->layout_.stride);
        for (std::size_t v = 0; v < numVertices_; ++v) {
            ConvertVertex(layout_, &arrays.vertices[v * layout_.stride], clone->layout_,
                          &converted[v * clone->layout_.stride]);
        }
        arrays.vertices = std::move(converted);
        hr = clone->Write(arrays);
        clone->pendingOrder_ = pendingOrder_;  // same faces, same vertex count
    }
    if (FAILED(hr)) {
        clone->Release();
        return hr;
    }
    *cloneMesh = clone;
    return D3D_OK;
}

HRESULT Mesh::GenerateAdjacency(FLOAT epsilon, DWORD* adjacency)
{
    if (HRESULT hr = FinishContent(); FAILED(hr)) {
        return hr;
    }
    if (adjacency == nullptr || !(epsilon >= 0)) {
        return D3DERR_INVALIDCALL;
    }
    MeshArrays arrays;
    if (HRESULT hr = Read(arrays); FAILED(hr)) {
        return hr;
    }
    // Vertices closer than epsilon in every coordinate count as one point: sweep along x.
    const auto position = [&](std::uint32_t v, int axis) {
        float value;
        std::memcpy(&value, &arrays.vertices[std::size_t{v} * layout_.stride + axis * 4], 4);
        return value;
    };
    std::vector<std::uint32_t> byX(numVertices_);
    std::iota(byX.begin(), byX.end(), 0u);
    std::sort(byX.begin(), byX.end(),
              [&](std::uint32_t a, std::uint32_t b) { return position(a, 0) < position(b, 0); });
    PointGroups groups(numVertices_);
    for (std::size_t i = 0; i < byX.size(); ++i) {
        for (std::size_t j = i + 1; j < byX.size() && position(byX[j], 0) - position(byX[i], 0) <= epsilon; ++j) {
            if (std::fabs(position(byX[j], 1) - position(byX[i], 1)) <= epsilon &&
                std::fabs(position(byX[j], 2) - position(byX[i], 2)) <= epsilon) {
                groups.Join(byX[i], byX[j]);
            }
        }
    }
    std::vector<std::uint32_t> pointIds(numVertices_);
    for (std::uint32_t v = 0; v < numVertices_; ++v) {
        pointIds[v] = groups.Find(v);
    }
    const std::vector<std::uint32_t> computed =
        meshops::ComputeAdjacency(arrays.indices.data(), numFaces_, pointIds.data());
    std::copy(computed.begin(), computed.end(), adjacency);
    return D3D_OK;
}

}  // namespace quorvane::d3dx9

extern "C" HRESULT WINAPI D3DXCreateMeshFVF(DWORD NumFaces, DWORD NumVertices, DWORD Options, DWORD FVF,
                                            LPDIRECT3DDEVICE9 pD3DDevice, LPD3DXMESH* ppMesh)
{
    if (ppMesh == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    quorvane::d3dx9::Mesh* mesh = nullptr;
    const HRESULT hr = quorvane::d3dx9::Mesh::Create(NumFaces, NumVertices, Options, FVF, pD3DDevice, &mesh);
    *ppMesh = mesh;
    return hr;
}
