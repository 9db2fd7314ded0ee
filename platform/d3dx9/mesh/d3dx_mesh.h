// ID3DXMesh: a triangle list in a vertex and an index buffer of the device, with one
// attribute (subset id) per face kept in memory and, once sorted, an attribute table.
#pragma once

#include <d3dx9mesh.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "com/com_object.h"
#include "d3dx9/mesh/fvf_layout.h"
#include "d3dx9/mesh/mesh_interface.h"
#include "d3dx9/mesh/pending_cache_order.h"

namespace quorvane::d3dx9 {

// The whole content of a mesh in memory: what clone and optimise work on.
struct MeshArrays {
    std::vector<BYTE> vertices;             // numVertices * stride bytes
    std::vector<std::uint32_t> indices;     // three per face, widened from 16 bits if need be
    std::vector<std::uint32_t> attributes;  // one per face
    std::vector<D3DXATTRIBUTERANGE> table;  // empty until attribute-sorted
};

class Mesh final : public MeshInterface {
public:
    static HRESULT Create(DWORD numFaces, DWORD numVertices, DWORD options, DWORD fvf, IDirect3DDevice9* device,
                          Mesh** mesh);

    // ID3DXBaseMesh
    HRESULT DrawSubset(DWORD attribId) override;
    DWORD GetNumFaces() override { return numFaces_; }
    DWORD GetNumVertices() override { return numVertices_; }
    DWORD GetFVF() override { return layout_.fvf; }
    DWORD GetNumBytesPerVertex() override { return layout_.stride; }
    DWORD GetOptions() override { return options_; }
    HRESULT GetDevice(LPDIRECT3DDEVICE9* device) override;
    HRESULT CloneMeshFVF(DWORD options, DWORD fvf, LPDIRECT3DDEVICE9 device, LPD3DXMESH* cloneMesh) override;
    HRESULT GetVertexBuffer(LPDIRECT3DVERTEXBUFFER9* vertexBuffer) override;
    HRESULT GetIndexBuffer(LPDIRECT3DINDEXBUFFER9* indexBuffer) override;
    HRESULT LockVertexBuffer(DWORD flags, LPVOID* data) override;
    HRESULT UnlockVertexBuffer() override;
    HRESULT LockIndexBuffer(DWORD flags, LPVOID* data) override;
    HRESULT UnlockIndexBuffer() override;
    HRESULT GetAttributeTable(D3DXATTRIBUTERANGE* table, DWORD* tableSize) override;
    HRESULT GenerateAdjacency(FLOAT epsilon, DWORD* adjacency) override;

    // ID3DXMesh
    HRESULT LockAttributeBuffer(DWORD flags, DWORD** data) override;
    HRESULT UnlockAttributeBuffer() override;
    HRESULT Optimize(DWORD flags, const DWORD* adjacencyIn, DWORD* adjacencyOut, DWORD* faceRemap,
                     LPD3DXBUFFER* vertexRemap, LPD3DXMESH* optimizedMesh) override;
    HRESULT SetAttributeTable(const D3DXATTRIBUTERANGE* table, DWORD tableSize) override;

    const FvfLayout& Layout() const { return layout_; }
    HRESULT Read(MeshArrays& arrays);
    // Only the indices, attributes and attribute table of Read.
    HRESULT ReadFaces(MeshArrays& arrays);
    // Replaces the content; the arrays must have this mesh's sizes.
    HRESULT Write(const MeshArrays& arrays);
    // Replaces the indices (three per face, each below the vertex count) and the attributes (one per
    // face); the attribute table is cleared.
    HRESULT WriteFaces(const std::uint32_t* indices, const std::uint32_t* attributes);
    // The faces of `source` in `faceOrder`, their vertices renumbered by `oldToNew`, written
    // straight into this mesh's buffers; with `withTable`, the attribute table of the result.
    HRESULT WriteFacesInOrder(const MeshArrays& source, const std::vector<std::uint32_t>& faceOrder,
                              const std::vector<std::uint32_t>& oldToNew, bool withTable);
    // Vertex v of this mesh becomes vertex sourceVertexOf[v] of `source`, vertices of this mesh's layout.
    HRESULT CopyVertices(const BYTE* source, const std::vector<DWORD>& sourceVertexOf);
    // The vertex-cache order worked out in the background for this mesh's content (clones share it).
    void SetPendingCacheOrder(std::shared_ptr<PendingCacheOrder> order) { pendingOrder_ = std::move(order); }

private:
    // What Optimize writes once the face order is known: `sourceVertices` (numVertices_ of them, this
    // mesh's layout) and `source`'s faces, in `faceOrder`, compacted and attribute-sorted as asked.
    struct OptimizedContent {
        MeshArrays source;  // without vertices
        std::vector<BYTE> sourceVertices;
        DWORD sourceVertexCount = 0;
        bool compact = false;
        bool sort = false;
    };
    HRESULT WriteOptimized(const OptimizedContent& content, const std::vector<std::uint32_t>& faceOrder,
                           std::vector<DWORD>& newToOldVertex);
    // Writes what is pending, if anything; every use of the content comes after it.
    HRESULT FinishContent();

    Mesh(IDirect3DDevice9* device, DWORD numFaces, DWORD numVertices, DWORD options, const FvfLayout& layout);
    ~Mesh() override;
    bool Implements(REFIID riid) const override;
    HRESULT CreateBuffers();
    HRESULT DrawFaces(DWORD faceStart, DWORD faceCount, DWORD vertexStart, DWORD vertexCount);
    // The order worked out in the background, when it was worked out for `source`, this mesh's content.
    const std::vector<std::uint32_t>* PendingOrderFor(const MeshArrays& source) const;

    IDirect3DDevice9* device_;
    DWORD numFaces_;
    DWORD numVertices_;
    DWORD options_;
    FvfLayout layout_;
    IDirect3DVertexBuffer9* vertexBuffer_ = nullptr;
    IDirect3DIndexBuffer9* indexBuffer_ = nullptr;
    std::vector<DWORD> attributes_;
    std::vector<D3DXATTRIBUTERANGE> attributeTable_;
    std::shared_ptr<PendingCacheOrder> pendingOrder_;
    // An optimised mesh whose face order was still being worked out: the writes that wait for it.
    std::function<HRESULT()> pendingContent_;
};

}  // namespace quorvane::d3dx9
