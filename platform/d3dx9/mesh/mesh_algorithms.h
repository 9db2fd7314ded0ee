// Operations on triangle lists in plain memory, shared by the X-file loader and the D3DX
// mesh object: adjacency, vertex normals, attribute ranges, vertex-cache order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorvane::meshops {

constexpr std::uint32_t noNeighbour = 0xFFFFFFFF;
constexpr std::uint32_t droppedVertex = 0xFFFFFFFF;

// Three entries per face: the face across edge (v0, v1), (v1, v2) and (v2, v0), or
// noNeighbour. Vertices with the same point id count as one (null: the vertex index is the id).
// An edge shared by more than two faces joins only the first two.
std::vector<std::uint32_t> ComputeAdjacency(const std::uint32_t* indices, std::size_t faceCount,
                                            const std::uint32_t* pointIds);

// Vertex normals as the angle-weighted average of the normals of the faces that use the vertex
// (faces clockwise in a left-handed frame). With `mergeEqualPositions`, vertices at exactly the
// same position share one normal. Positions are the first three floats of each vertex.
void ComputeVertexNormals(std::uint8_t* vertices, std::size_t vertexCount, std::size_t stride, std::size_t normalOffset,
                          const std::uint32_t* indices, std::size_t faceCount, bool mergeEqualPositions);

// D3DXATTRIBUTERANGE's fields.
struct AttributeRange {
    std::uint32_t attributeId = 0;
    std::uint32_t faceStart = 0;
    std::uint32_t faceCount = 0;
    std::uint32_t vertexStart = 0;
    std::uint32_t vertexCount = 0;
};

// One range per maximal run of equal attributes, in face order.
std::vector<AttributeRange> ComputeAttributeRanges(const std::uint32_t* indices, const std::uint32_t* attributes,
                                                   std::size_t faceCount);
std::vector<AttributeRange> ComputeAttributeRanges(const std::uint16_t* indices, const std::uint32_t* attributes,
                                                   std::size_t faceCount);

// Face order with faces stably sorted by attribute.
std::vector<std::uint32_t> SortFacesByAttribute(const std::uint32_t* attributes, std::size_t faceCount);

// Reorders the faces of `faceOrder` for the post-transform vertex cache, each run of equal
// attributes within its own range (meshoptimizer's order).
void ReorderForVertexCache(const std::uint32_t* indices, const std::uint32_t* attributes,
                           std::vector<std::uint32_t>& faceOrder, std::size_t vertexCount);

// Numbers the vertices in order of first use by the faces in `faceOrder`: oldToNew gets the
// new number of each vertex, droppedVertex for unused ones. Returns how many are used.
std::uint32_t NumberVerticesByFirstUse(const std::uint32_t* indices, const std::vector<std::uint32_t>& faceOrder,
                                       std::size_t vertexCount, std::vector<std::uint32_t>& oldToNew);

}  // namespace quorvane::meshops
