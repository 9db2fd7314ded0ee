// The triangle-list operations behind the X-file loader and Optimize: which faces meet across an
// edge, and the vertex-cache order that must keep every face once.
#include "d3dx9/mesh/mesh_algorithms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace quorvane::tests {
namespace {

using meshops::noNeighbour;

// Faces 0 and 1 share edge (1, 2); face 2 shares it too but comes third; face 3 meets face 0
// across (0, 1) wound the same way; face 4 is degenerate along (5, 5).
const std::vector<std::uint32_t> fan = {0, 1, 2, /**/ 2, 1, 3, /**/ 1, 2, 4, /**/ 0, 1, 6, /**/ 5, 5, 7};

TEST(MeshAlgorithms, AnEdgeJoinsItsFirstTwoFacesWhateverTheirWinding)
{
    const std::vector<std::uint32_t> adjacency = meshops::ComputeAdjacency(fan.data(), 5, nullptr);
    const std::vector<std::uint32_t> expected = {
        3,           1,           noNeighbour,  // (0,1) with face 3, (1,2) with face 1
        0,           noNeighbour, noNeighbour,  // (2,1) with face 0
        noNeighbour, noNeighbour, noNeighbour,  // (1,2) again: its first two faces are taken
        0,           noNeighbour, noNeighbour,  // (0,1) wound like face 0's
        noNeighbour, noNeighbour, noNeighbour,  // degenerate
    };
    EXPECT_EQ(adjacency, expected);
}

TEST(MeshAlgorithms, VerticesWithOnePointIdShareTheirEdges)
{
    // Two triangles over a seam: vertices 3 and 4 repeat points 1 and 2 (other texture
    // coordinates, the same place).
    const std::vector<std::uint32_t> indices = {0, 1, 2, /**/ 4, 3, 5};
    const std::vector<std::uint32_t> points = {0, 1, 2, 1, 2, 5};
    EXPECT_EQ(meshops::ComputeAdjacency(indices.data(), 2, points.data()),
              (std::vector<std::uint32_t>{noNeighbour, 1, noNeighbour, 0, noNeighbour, noNeighbour}));
    EXPECT_EQ(meshops::ComputeAdjacency(indices.data(), 2, nullptr), std::vector<std::uint32_t>(6, noNeighbour));
}

// A grid of quads with one triangle repeated: the order changes, the faces do not, and each
// attribute's faces stay in that attribute's range.
TEST(MeshAlgorithms, CacheOrderKeepsEveryFaceOnceWithinItsAttribute)
{
    constexpr std::uint32_t side = 20;
    std::vector<std::uint32_t> indices;
    for (std::uint32_t y = 0; y < side; ++y) {
        for (std::uint32_t x = 0; x < side; ++x) {
            const std::uint32_t v = y * (side + 1) + x;
            indices.insert(indices.end(), {v, v + 1, v + side + 1, v + 1, v + side + 2, v + side + 1});
        }
    }
    indices.insert(indices.end(), {0, 1, side + 1});  // the first triangle once more
    const std::size_t faceCount = indices.size() / 3;
    std::vector<std::uint32_t> attributes(faceCount);
    for (std::size_t face = 0; face < faceCount; ++face)
        attributes[face] = face < faceCount / 2 ? 0 : 1;
    std::vector<std::uint32_t> order = meshops::SortFacesByAttribute(attributes.data(), faceCount);

    meshops::ReorderForVertexCache(indices.data(), attributes.data(), order, (side + 1) * (side + 1));
    std::vector<std::uint32_t> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    for (std::uint32_t face = 0; face < faceCount; ++face)
        ASSERT_EQ(sorted[face], face);
    for (std::size_t i = 0; i < faceCount; ++i)
        EXPECT_EQ(attributes[order[i]], i < faceCount / 2 ? 0u : 1u) << i;
    EXPECT_NE(order, meshops::SortFacesByAttribute(attributes.data(), faceCount));
}

}  // namespace
}  // namespace quorvane::tests
