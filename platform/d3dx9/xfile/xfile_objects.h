// The objects of an X file as parsed, before they are merged into one MeshDescription.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "d3dx9/mesh/mesh_description.h"
#include "d3dx9/xfile/xfile_tokenizer.h"

namespace quorvane::xfile {

// Row-vector 4x4 matrix, m[row * 4 + column], as FrameTransformMatrix stores it.
using Matrix4 = std::array<float, 16>;
constexpr Matrix4 identityMatrix = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
Matrix4 Multiply(const Matrix4& a, const Matrix4& b);  // a applied first

// One Mesh object with its children, indices checked against its own arrays.
struct FileMesh {
    std::vector<float> positions;                      // x, y, z per position
    std::vector<std::uint32_t> faceStarts;             // face f has corners [faceStarts[f], faceStarts[f + 1])
    std::vector<std::uint32_t> corners;                // position index per face corner
    std::size_t faceListBegin = XTokenizer::noOffset;  // where the face list lies in a text file
    std::size_t faceListEnd = XTokenizer::noOffset;
    bool hasNormals = false;
    std::vector<float> normals;                // x, y, z per normal
    std::vector<std::uint32_t> normalCorners;  // normal index per face corner
    bool hasTextureCoordinates = false;
    std::vector<float> textureCoordinates;  // u, v per position
    bool hasMaterialList = false;
    std::vector<std::uint32_t> faceMaterials;  // per face
    std::vector<XMaterial> materials;
    Matrix4 world = identityMatrix;  // product of the enclosing frames' transforms

    std::size_t PositionCount() const { return positions.size() / 3; }
    std::size_t FaceCount() const { return faceStarts.empty() ? 0 : faceStarts.size() - 1; }
};

// The triangles (fans of its polygons) of `source` taken alone with a vertex per position, as the
// merge gives them for a mesh whose normals follow its positions: indices into `mesh` and a
// material of 0 each, or the file's when its material list is read.
void AppendFaces(const FileMesh& source, const std::vector<std::uint32_t>& cornerVertices, std::uint32_t vertexBase,
                 std::uint32_t materialBase, MeshDescription& mesh);

// Merges the meshes (fan triangulation, vertices split where a position has several normals,
// frames applied, materials concatenated) into `mesh`; arrays it can take over whole are moved.
XFileError MergeMeshes(std::vector<FileMesh>&& meshes, MeshDescription& mesh);

}  // namespace quorvane::xfile
