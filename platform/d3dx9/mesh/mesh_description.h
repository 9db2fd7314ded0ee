// A triangle mesh in plain arrays: what the X-file parser produces and what the D3DX mesh
// object is built from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quorvane::xfile {

// A Material object as the file gives it.
struct XMaterial {
    float faceColor[4] = {0, 0, 0, 0};  // r, g, b, a
    float power = 0;
    float specular[3] = {0, 0, 0};
    float emissive[3] = {0, 0, 0};
    std::string textureFilename;  // narrow, as in the file; empty when the material names none
};

// Every Mesh of a file merged into one, in world coordinates.
struct MeshDescription {
    bool hasNormals = false;
    bool hasTextureCoordinates = false;
    std::vector<float> positions;           // x, y, z per vertex
    std::vector<float> normals;             // x, y, z per vertex when hasNormals
    std::vector<float> textureCoordinates;  // u, v per vertex when hasTextureCoordinates
    // Per vertex: the file position it was made from. Vertices split because a position has
    // several normals share it, so that adjacency follows the file's topology.
    std::vector<std::uint32_t> pointIds;
    std::vector<std::uint32_t> indices;     // three per triangle, clockwise front faces
    std::vector<std::uint32_t> attributes;  // material (subset) per triangle
    std::vector<XMaterial> materials;       // in declaration order; empty when the file declares none

    std::size_t VertexCount() const { return positions.size() / 3; }
    std::size_t TriangleCount() const { return attributes.size(); }
};

}  // namespace quorvane::xfile
