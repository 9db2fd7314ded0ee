#include "scene_helpers.h"

#include <cmath>

namespace quorvane::tests {

namespace {

constexpr float pi = 3.14159265f;

}  // namespace

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

SphereMesh UvSphere(int slices, int stacks)
{
    SphereMesh mesh;
    for (int stack = 0; stack <= stacks; ++stack) {
        float theta = pi * float(stack) / float(stacks);
        for (int slice = 0; slice <= slices; ++slice) {
            float phi = 2.0f * pi * float(slice) / float(slices);
            float x = std::sin(theta) * std::cos(phi), y = std::cos(theta), z = std::sin(theta) * std::sin(phi);
            mesh.vertices.push_back({x, y, z, x, y, z, float(slice) / float(slices), float(stack) / float(stacks)});
        }
    }
    for (int stack = 0; stack < stacks; ++stack)
        for (int slice = 0; slice < slices; ++slice) {
            WORD a = WORD(stack * (slices + 1) + slice), b = WORD(a + 1), c = WORD(a + slices + 1), d = WORD(c + 1);
            mesh.indices.insert(mesh.indices.end(), {a, b, c, b, d, c});
        }
    return mesh;
}

}  // namespace quorvane::tests
