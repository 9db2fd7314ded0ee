// ID3DXMesh::Optimize: faces sorted by attribute and reordered for the vertex cache,
// vertices renumbered in order of first use with unused ones dropped.
#include <algorithm>
#include <cstring>
#include <memory>
#include <numeric>

#include "d3dx9/d3dx_buffer.h"
#include "d3dx9/mesh/d3dx_mesh.h"
#include "d3dx9/mesh/mesh_algorithms.h"

namespace quorvane::d3dx9 {
namespace {

// The D3DXMESH_* creation options within Optimize's flags; the D3DXMESHOPT_* flags lie above.
constexpr DWORD meshOptionBits = D3DXMESHOPT_DEVICEINDEPENDENT - 1;
constexpr DWORD knownOptimizeFlags = D3DXMESHOPT_DEVICEINDEPENDENT | D3DXMESHOPT_COMPACT | D3DXMESHOPT_ATTRSORT |
                                     D3DXMESHOPT_VERTEXCACHE | D3DXMESHOPT_STRIPREORDER | D3DXMESHOPT_IGNOREVERTS |
                                     D3DXMESHOPT_DONOTSPLIT;

bool IndicesInRange(const MeshArrays& arrays, std::size_t vertexCount)
{
    return std::all_of(arrays.indices.begin(), arrays.indices.end(),
                       [&](std::uint32_t index) { return index < vertexCount; });
}

// How many of the vertices the faces use.
std::uint32_t CountUsedVertices(const std::vector<std::uint32_t>& indices, std::size_t vertexCount)
{
    std::vector<bool> used(vertexCount, false);
    std::uint32_t count = 0;
    for (const std::uint32_t index : indices) {
        count += used[index] ? 0 : 1;
        used[index] = true;
    }
    return count;
}

}  // namespace

const std::vector<std::uint32_t>* Mesh::PendingOrderFor(const MeshArrays& source) const
{
    return pendingOrder_ != nullptr ? pendingOrder_->OrderFor(source.indices, source.attributes, numVertices_)
                                    : nullptr;
}

HRESULT Mesh::WriteOptimized(const OptimizedContent& content, const std::vector<std::uint32_t>& faceOrder,
                             std::vector<DWORD>& newToOldVertex)
{
    std::vector<std::uint32_t> oldToNew;
    if (content.compact) {
        meshops::NumberVerticesByFirstUse(content.source.indices.data(), faceOrder, content.sourceVertexCount,
                                          oldToNew);
    } else {
        oldToNew.resize(content.sourceVertexCount);
        std::iota(oldToNew.begin(), oldToNew.end(), 0u);
    }
    newToOldVertex.assign(numVertices_, 0);
    for (std::uint32_t v = 0; v < content.sourceVertexCount; ++v) {
        if (oldToNew[v] != meshops::droppedVertex) {
            newToOldVertex[oldToNew[v]] = v;
        }
    }
    if (HRESULT written = CopyVertices(content.sourceVertices.data(), newToOldVertex); FAILED(written)) {
        return written;
    }
    return WriteFacesInOrder(content.source, faceOrder, oldToNew, content.sort);
}

HRESULT Mesh::Optimize(DWORD flags, const DWORD* adjacencyIn, DWORD* adjacencyOut, DWORD* faceRemap,
                       LPD3DXBUFFER* vertexRemap, LPD3DXMESH* optimizedMesh)
{
    if (optimizedMesh == nullptr || (flags & ~(meshOptionBits | knownOptimizeFlags)) != 0 ||
        ((flags & D3DXMESHOPT_VERTEXCACHE) && (flags & D3DXMESHOPT_STRIPREORDER))) {
        return D3DERR_INVALIDCALL;
    }
    *optimizedMesh = nullptr;
    if (vertexRemap != nullptr) {
        *vertexRemap = nullptr;
    }
    MeshArrays source;  // without vertices: those are taken as they are below
    if (HRESULT hr = ReadFaces(source); FAILED(hr)) {
        return hr;
    }
    if (!IndicesInRange(source, numVertices_)) {
        return D3DXERR_INVALIDMESH;
    }

    // Reordering for the cache implies sorting by attribute, and both imply compaction.
    const bool reorder = (flags & (D3DXMESHOPT_VERTEXCACHE | D3DXMESHOPT_STRIPREORDER)) != 0;
    const bool sort = reorder || (flags & D3DXMESHOPT_ATTRSORT) != 0;
    const bool compact = (sort || (flags & D3DXMESHOPT_COMPACT) != 0) && (flags & D3DXMESHOPT_IGNOREVERTS) == 0;

    // The new mesh is made before the face order is asked for (it may still be worked out on the
    // second thread): how many vertices it keeps does not depend on the order.
    const std::uint32_t keptVertices = compact ? CountUsedVertices(source.indices, numVertices_) : numVertices_;
    DWORD options = flags & meshOptionBits;
    if (keptVertices > 0x10000) {
        options |= D3DXMESH_32BIT;  // 16-bit indices cannot reach every vertex
    }
    Mesh* created = nullptr;
    if (HRESULT hr = Create(numFaces_, keptVertices, options, layout_.fvf, device_, &created); FAILED(hr)) {
        return hr;
    }
    const auto release = [](Mesh* mesh) { mesh->Release(); };
    std::unique_ptr<Mesh, decltype(release)> optimized(created, release);

    OptimizedContent content;
    content.sourceVertexCount = numVertices_;
    content.compact = compact;
    content.sort = sort;
    {
        void* vertices = nullptr;
        if (HRESULT hr = vertexBuffer_->Lock(0, 0, &vertices, D3DLOCK_READONLY); FAILED(hr)) {
            return hr;
        }
        const auto* bytes = static_cast<const BYTE*>(vertices);
        content.sourceVertices.assign(bytes, bytes + std::size_t{numVertices_} * layout_.stride);
        vertexBuffer_->Unlock();
    }
    content.source = std::move(source);

    // The order still being worked out in the background, and no remap asked for: the new mesh
    // is written when it is first used, by which time the caller has done other work (the
    // program loads the mesh's textures) and the order is most likely there.
    const bool remapsAsked = faceRemap != nullptr || adjacencyOut != nullptr || vertexRemap != nullptr;
    if (reorder && !remapsAsked && pendingOrder_ != nullptr &&
        pendingOrder_->StartedFrom(content.source.indices, content.source.attributes, numVertices_)) {
        Mesh* target = optimized.get();
        optimized->pendingContent_ = [target, order = pendingOrder_, content = std::move(content)]() {
            std::vector<DWORD> newToOldVertex;
            const std::vector<std::uint32_t>* faceOrder =
                order->OrderFor(content.source.indices, content.source.attributes, content.sourceVertexCount);
            if (faceOrder != nullptr) {
                return target->WriteOptimized(content, *faceOrder, newToOldVertex);
            }
            return target->WriteOptimized(
                content,
                VertexCacheFaceOrder(content.source.indices, content.source.attributes, content.sourceVertexCount),
                newToOldVertex);
        };
        *optimizedMesh = optimized.release();
        return D3D_OK;
    }

    // The order of the new faces: the one worked out in the background when there is one.
    std::vector<std::uint32_t> ownOrder;
    const std::vector<std::uint32_t>* pendingOrder = reorder ? PendingOrderFor(content.source) : nullptr;
    if (pendingOrder == nullptr) {
        if (reorder) {
            ownOrder = VertexCacheFaceOrder(content.source.indices, content.source.attributes, numVertices_);
        } else if (sort) {
            ownOrder = meshops::SortFacesByAttribute(content.source.attributes.data(), numFaces_);
        } else {
            ownOrder.resize(numFaces_);
            std::iota(ownOrder.begin(), ownOrder.end(), 0u);
        }
    }
    const std::vector<std::uint32_t>& faceOrder = pendingOrder != nullptr ? *pendingOrder : ownOrder;
    std::vector<DWORD> newToOldVertex;
    if (HRESULT written = optimized->WriteOptimized(content, faceOrder, newToOldVertex); FAILED(written)) {
        return written;
    }

    if (faceRemap != nullptr) {
        std::copy(faceOrder.begin(), faceOrder.end(), faceRemap);
    }
    if (adjacencyOut != nullptr) {
        std::vector<std::uint32_t> oldToNewFace(numFaces_);
        for (std::uint32_t newFace = 0; newFace < numFaces_; ++newFace) {
            oldToNewFace[faceOrder[newFace]] = newFace;
        }
        std::vector<DWORD> adjacency(std::size_t{numFaces_} * 3);
        if (adjacencyIn != nullptr) {
            std::copy(adjacencyIn, adjacencyIn + adjacency.size(), adjacency.begin());
        } else {
            GenerateAdjacency(0.0f, adjacency.data());
        }
        for (std::uint32_t newFace = 0; newFace < numFaces_; ++newFace) {
            for (int edge = 0; edge < 3; ++edge) {
                const DWORD neighbour = adjacency[std::size_t{faceOrder[newFace]} * 3 + edge];
                adjacencyOut[std::size_t{newFace} * 3 + edge] =
                    neighbour < numFaces_ ? oldToNewFace[neighbour] : meshops::noNeighbour;
            }
        }
    }
    if (vertexRemap != nullptr) {
        Buffer* remap = Buffer::Create(keptVertices * sizeof(DWORD));
        if (remap == nullptr) {
            return E_OUTOFMEMORY;
        }
        std::memcpy(remap->GetBufferPointer(), newToOldVertex.data(), newToOldVertex.size() * sizeof(DWORD));
        *vertexRemap = remap;
    }
    *optimizedMesh = optimized.release();
    return D3D_OK;
}

}  // namespace quorvane::d3dx9
