// Turns the parsed Mesh objects into one triangle mesh: fans for polygons, one vertex per
// (position, normal) pair, frame transforms applied, materials concatenated in file order.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <unordered_map>

#include "d3dx9/xfile/xfile_objects.h"

namespace quorvane::xfile {

Matrix4 Multiply(const Matrix4& a, const Matrix4& b)
{
    Matrix4 product{};
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) {
                sum += a[row * 4 + k] * b[k * 4 + column];
            }
            product[row * 4 + column] = sum;
        }
    }
    return product;
}

// Each polygon as a fan of triangles over cornerVertices (relative to vertexBase).
void AppendFaces(const FileMesh& source, const std::vector<std::uint32_t>& cornerVertices, std::uint32_t vertexBase,
                 std::uint32_t materialBase, MeshDescription& mesh)
{
    if (source.faceStarts.empty()) {
        return;
    }
    // A face of n corners is n - 2 triangles: the arrays grow once, then are written in place.
    const std::size_t faceCount = source.faceStarts.size() - 1;
    std::size_t triangle = mesh.attributes.size();
    mesh.attributes.resize(triangle + source.faceStarts.back() - 2 * faceCount);
    mesh.indices.resize(mesh.attributes.size() * 3);
    for (std::size_t face = 0; face < faceCount; ++face) {
        const std::uint32_t first = source.faceStarts[face];
        const std::uint32_t end = source.faceStarts[face + 1];
        const std::uint32_t attribute =
            source.hasMaterialList ? materialBase + source.faceMaterials[face] : materialBase;
        for (std::uint32_t corner = first + 1; corner + 1 < end; ++corner, ++triangle) {
            std::uint32_t* const indices = &mesh.indices[triangle * 3];
            indices[0] = vertexBase + cornerVertices[first];
            indices[1] = vertexBase + cornerVertices[corner];
            indices[2] = vertexBase + cornerVertices[corner + 1];
            mesh.attributes[triangle] = attribute;
        }
    }
}

namespace {

// Transforms points by a frame matrix and normals by the inverse transpose of its 3x3 part.
class FrameTransform {
public:
    explicit FrameTransform(const Matrix4& m) : m_(m), identity_(m == identityMatrix)
    {
        // Cofactors of the 3x3 part: the inverse transpose up to the factor 1/det, which the
        // renormalisation makes irrelevant except for its sign (a mirroring frame).
        const auto at = [&](int row, int column) { return m[row * 4 + column]; };
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 3; ++column) {
                const int r0 = (row + 1) % 3;
                const int r1 = (row + 2) % 3;
                const int c0 = (column + 1) % 3;
                const int c1 = (column + 2) % 3;
                cofactor_[row * 3 + column] = at(r0, c0) * at(r1, c1) - at(r0, c1) * at(r1, c0);
            }
        }
        const float determinant = at(0, 0) * cofactor_[0] + at(0, 1) * cofactor_[1] + at(0, 2) * cofactor_[2];
        sign_ = determinant < 0 ? -1.0f : 1.0f;
    }

    void Point(const float* in, float* out) const
    {
        if (identity_) {
            out[0] = in[0], out[1] = in[1], out[2] = in[2];
            return;
        }
        for (int column = 0; column < 3; ++column) {
            out[column] = in[0] * m_[column] + in[1] * m_[4 + column] + in[2] * m_[8 + column] + m_[12 + column];
        }
    }

    void Normal(const float* in, float* out) const
    {
        if (identity_) {
            out[0] = in[0], out[1] = in[1], out[2] = in[2];
            return;
        }
        float n[3];
        for (int column = 0; column < 3; ++column) {
            n[column] =
                sign_ * (in[0] * cofactor_[column] + in[1] * cofactor_[3 + column] + in[2] * cofactor_[6 + column]);
        }
        const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        const float scale = length > 0 && std::isfinite(length) ? 1.0f / length : 0.0f;
        out[0] = n[0] * scale, out[1] = n[1] * scale, out[2] = n[2] * scale;
    }

private:
    Matrix4 m_;
    bool identity_;
    float cofactor_[9] = {};
    float sign_ = 1;
};

// Assigns output vertices to (position, normal) pairs. A position keeps its own index for
// the first normal it is used with; each further normal gets a vertex appended at the end.
class VertexSplitter {
public:
    explicit VertexSplitter(std::size_t positionCount) : firstNormal_(positionCount, unassigned) {}

    // Returns the vertex index (relative to the mesh) and whether it is new.
    std::uint32_t VertexFor(std::uint32_t position, std::uint32_t normal, std::uint32_t& nextVertex, bool& added)
    {
        added = false;
        if (firstNormal_[position] == unassigned || firstNormal_[position] == normal) {
            firstNormal_[position] = normal;
            return position;
        }
        const std::uint64_t key = std::uint64_t{position} << 32 | normal;
        const auto [entry, inserted] = extra_.try_emplace(key, nextVertex);
        if (inserted) {
            ++nextVertex;
            added = true;
        }
        return entry->second;
    }

    // The normal of a position's own vertex; UINT32_MAX when no face uses the position.
    std::uint32_t FirstNormal(std::uint32_t position) const { return firstNormal_[position]; }

private:
    static constexpr std::uint32_t unassigned = UINT32_MAX;
    std::vector<std::uint32_t> firstNormal_;
    std::unordered_map<std::uint64_t, std::uint32_t> extra_;
};

// Writes vertex `vertex` of `mesh`, whose arrays are sized for it already.
void WriteVertex(const FileMesh& source, const FrameTransform& transform, std::uint32_t position, std::uint32_t normal,
                 std::uint32_t pointBase, std::size_t vertex, MeshDescription& mesh)
{
    transform.Point(&source.positions[std::size_t{position} * 3], &mesh.positions[vertex * 3]);
    if (mesh.hasNormals) {
        float* n = &mesh.normals[vertex * 3];
        if (source.hasNormals && normal != UINT32_MAX) {
            transform.Normal(&source.normals[std::size_t{normal} * 3], n);
        } else {
            n[0] = n[1] = n[2] = 0.0f;
        }
    }
    if (mesh.hasTextureCoordinates) {
        const float* uv =
            source.hasTextureCoordinates ? &source.textureCoordinates[std::size_t{position} * 2] : nullptr;
        mesh.textureCoordinates[vertex * 2] = uv ? uv[0] : 0.0f;
        mesh.textureCoordinates[vertex * 2 + 1] = uv ? uv[1] : 0.0f;
    }
    mesh.pointIds[vertex] = pointBase + position;
}

// Room for `count` more vertices in every array the mesh has.
void GrowVertices(MeshDescription& mesh, std::size_t count)
{
    const std::size_t total = mesh.VertexCount() + count;
    mesh.positions.resize(total * 3);
    mesh.normals.resize(mesh.hasNormals ? total * 3 : 0);
    mesh.textureCoordinates.resize(mesh.hasTextureCoordinates ? total * 2 : 0);
    mesh.pointIds.resize(total);
}

// A mesh outside any transforming frame whose every corner uses the normal of its position's own
// index (as files with one normal per position have it): its vertices are its positions, in
// order, each with the normal and texture coordinates of the same index.
bool VerticesArePositions(const FileMesh& source)
{
    return source.world == identityMatrix && (!source.hasNormals || (source.normals.size() == source.positions.size() &&
                                                                     source.normalCorners == source.corners));
}

// The arrays of such a mesh taken over as they are; a position no face uses gets the zero normal
// a vertex without a normal has.
void TakeVertexArrays(FileMesh& source, MeshDescription& mesh)
{
    const std::size_t positionCount = source.PositionCount();
    if (source.hasNormals) {
        std::vector<bool> used(positionCount, false);
        for (const std::uint32_t position : source.corners) {
            used[position] = true;
        }
        for (std::size_t position = 0; position < positionCount; ++position) {
            if (!used[position]) {
                std::fill_n(&source.normals[position * 3], 3, 0.0f);
            }
        }
    }
    mesh.positions = std::move(source.positions);
    mesh.normals = std::move(source.normals);
    mesh.textureCoordinates = std::move(source.textureCoordinates);
    mesh.pointIds.resize(positionCount);
    std::iota(mesh.pointIds.begin(), mesh.pointIds.end(), 0u);
}

// Appends one file mesh; `pointBase` and `materialBase` place its positions and materials
// after those of the meshes before it.
// False when the frames move a position beyond the range of floats.
bool AppendMesh(const FileMesh& source, std::uint32_t pointBase, std::uint32_t materialBase, MeshDescription& mesh)
{
    const FrameTransform transform(source.world);
    const auto vertexBase = static_cast<std::uint32_t>(mesh.VertexCount());
    const auto positionCount = static_cast<std::uint32_t>(source.PositionCount());

    // Every position gets its vertex first, in file order; its normal is filled in below
    // from the first corner that uses it.
    VertexSplitter splitter(positionCount);
    std::vector<std::uint32_t> cornerVertices(source.corners.size());
    std::vector<std::pair<std::uint32_t, std::uint32_t>> extraVertices;  // (position, normal)
    std::uint32_t nextVertex = positionCount;
    for (std::size_t corner = 0; corner < source.corners.size(); ++corner) {
        const std::uint32_t position = source.corners[corner];
        if (!source.hasNormals) {
            cornerVertices[corner] = position;
            continue;
        }
        const std::uint32_t normal = source.normalCorners[corner];
        bool added = false;
        cornerVertices[corner] = splitter.VertexFor(position, normal, nextVertex, added);
        if (added) {
            extraVertices.emplace_back(position, normal);
        }
    }
    GrowVertices(mesh, positionCount + extraVertices.size());
    for (std::uint32_t position = 0; position < positionCount; ++position) {
        WriteVertex(source, transform, position, splitter.FirstNormal(position), pointBase, vertexBase + position,
                    mesh);
    }
    std::size_t vertex = std::size_t{vertexBase} + positionCount;
    for (const auto& [position, normal] : extraVertices) {
        WriteVertex(source, transform, position, normal, pointBase, vertex++, mesh);
    }

    AppendFaces(source, cornerVertices, vertexBase, materialBase, mesh);
    return std::all_of(mesh.positions.begin() + static_cast<std::ptrdiff_t>(vertexBase) * 3, mesh.positions.end(),
                       [](float coordinate) { return std::isfinite(coordinate); });
}

// A mesh without a material list, in a file where other meshes have one, draws with this.
XMaterial DefaultMaterial()
{
    XMaterial material;
    material.faceColor[0] = material.faceColor[1] = material.faceColor[2] = material.faceColor[3] = 1.0f;
    return material;
}

}  // namespace

XFileError MergeMeshes(std::vector<FileMesh>&& meshes, MeshDescription& mesh)
{
    mesh = MeshDescription{};
    std::uint64_t totalVertices = 0;
    std::uint64_t totalTriangles = 0;  // an upper bound: one per corner
    std::size_t fanTriangles = 0;      // the exact count: a fan of n - 2 per polygon of n corners
    bool anyMaterials = false;
    for (const FileMesh& source : meshes) {
        mesh.hasNormals = mesh.hasNormals || source.hasNormals;
        mesh.hasTextureCoordinates = mesh.hasTextureCoordinates || source.hasTextureCoordinates;
        anyMaterials = anyMaterials || source.hasMaterialList;
        totalVertices += source.PositionCount() + (source.hasNormals ? source.corners.size() : 0);
        totalTriangles += source.corners.size();
        fanTriangles += source.corners.size() - 2 * source.FaceCount();
    }
    if (totalTriangles == 0) {
        return XFileError::noMesh;
    }
    if (totalVertices >= UINT32_MAX || totalTriangles >= UINT32_MAX / 3) {
        return XFileError::badData;
    }

    mesh.indices.reserve(fanTriangles * 3);
    mesh.attributes.reserve(fanTriangles);
    if (meshes.size() == 1 && VerticesArePositions(meshes.front())) {
        TakeVertexArrays(meshes.front(), mesh);
        AppendFaces(meshes.front(), meshes.front().corners, 0, 0, mesh);
        mesh.materials = std::move(meshes.front().materials);
        return XFileError::none;
    }
    std::uint32_t pointBase = 0;
    for (const FileMesh& source : meshes) {
        const auto materialBase = static_cast<std::uint32_t>(mesh.materials.size());
        if (!AppendMesh(source, pointBase, materialBase, mesh)) {
            mesh = MeshDescription{};
            return XFileError::badData;
        }
        pointBase += static_cast<std::uint32_t>(source.PositionCount());
        if (source.hasMaterialList) {
            mesh.materials.insert(mesh.materials.end(), source.materials.begin(), source.materials.end());
        } else if (anyMaterials) {
            mesh.materials.push_back(DefaultMaterial());
        }
    }
    return XFileError::none;
}

}  // namespace quorvane::xfile
