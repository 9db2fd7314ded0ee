// The pieces of a scene like the viewer's that tests and benchmarks draw: matrices, the Earth's
// UV sphere as the data tool makes it and coloured line vertices, and the copy of such data into
// a vertex or index buffer.
#pragma once

#include <d3d9.h>
#include <d3dx9.h>

#include <cstring>
#include <vector>

#include "uv_sphere.h"

namespace quorvane::tests {

// The program's mesh vertex, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1: position, normal, texture
// coordinates, as the data tool writes them.
using MeshVertex = data::SphereVertex;
static_assert(sizeof(MeshVertex) == 8 * sizeof(float));
constexpr DWORD meshFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;
// D3DFVF_XYZRHW | D3DFVF_DIFFUSE: a vertex already in screen pixels.
struct ScreenVertex {
    float x, y, z, rhw;
    D3DCOLOR diffuse;
};
constexpr DWORD screenFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;
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

// The data tool's UV sphere (data/uv_sphere.h: the Greenwich meridian towards -z, east to the
// right seen from there, u = 0 at longitude -180, v = 0 at the north pole, faces clockwise seen
// from outside, front faces under D3DCULL_CCW), its polygons split into a triangle list.
SphereMesh EarthSphere(int slices, int stacks);

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
