#include "scene_helpers.h"

#include <cmath>

namespace quorvane::tests {

D3DMATRIX Identity()
{
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

D3DMATRIX Perspective(float halfFovY, UINT width, UINT height, float zNear, float zFar)
{
    float yScale = 1.0f / std::tan(halfFovY);
    D3DMATRIX m{};
    m._11 = yScale * height / width;
    m._22 = yScale;
    m._33 = zFar / (zFar - zNear);
    m._34 = 1.0f;
    m._43 = -zNear * zFar / (zFar - zNear);
    return m;
}

SphereMesh EarthSphere(int slices, int stacks)
{
    const data::UvSphere sphere = data::MakeUvSphere(slices, stacks);
    SphereMesh mesh{sphere.vertices, {}};
    for (const std::vector<std::uint32_t>& face : sphere.faces) {
        // A fan from the first corner keeps the face's winding.
        for (std::size_t corner = 2; corner < face.size(); ++corner) {
            mesh.indices.insert(mesh.indices.end(), {WORD(face[0]), WORD(face[corner - 1]), WORD(face[corner])});
        }
    }
    return mesh;
}

}  // namespace quorvane::tests
