// The pieces of a scene like the viewer's that tests and benchmarks draw: matrices, a textured UV
// sphere and coloured line vertices, and the copy of such data into a vertex or index buffer.
#pragma once

#include <d3d9.h>

#include <cstring>
#include <vector>

namespace quorvane::tests {

// D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1
struct MeshVertex {
    float x, y, z, nx, ny, nz, u, v;
};
// D3DFVF_XYZ | D3DFVF_DIFFUSE
struct LineVertex {
    float x, y, z;
    D3DCOLOR color;
};

struct SphereMesh {
    std::vector<MeshVertex> vertices;
    std::vector<WORD> indices;  // a triangle list
};

D3DMATRIX Identity();

// Left-handed perspective projection for a width x height picture.
D3DMATRIX Perspective(float halfFovY, UINT width, UINT height, float zNear, float zFar);

// A UV sphere of radius 1 with u running once around the y axis, its triangles clockwise seen
// from outside (left-handed): front faces under D3DCULL_CCW.
SphereMesh UvSphere(int slices, int stacks);

// Copies `items` to the start of a vertex or index buffer (Lock, memcpy, Unlock).
template <class Buffer, class Item>
void CopyToBuffer(Buffer* buffer, const std::vector<Item>& items)
{
    void* data = nullptr;
    buffer->Lock(0, 0, &data, 0);
    std::memcpy(data, items.data(), items.size() * sizeof(Item));
    buffer->Unlock();
}

}  // namespace quorvane::tests
