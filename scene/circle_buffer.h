// The one unit circle every guide line is drawn from: n straight segments (n + 1 vertices, the
// last closing on the first) about an axis through the origin, placed by world matrices.
#pragma once

#include <memory>

#include <d3dx9.h>
#include <windows.h>

// Vertex layout D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1, 32 bytes. Only the position is
// used; normal and texture coordinate stay zero.
struct CircleVertex {
    float x, y, z;
    float nx, ny, nz;
    float u, v;
};
constexpr DWORD circleVertexFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;
static_assert(sizeof(CircleVertex) == 32, "circle vertices are 32 bytes");

// Segments per circle for a line density from the settings. 0 is not handled here (it selects
// the projected-lines variant). Below 4, negative included, gives 4: a circle needs at least a
// square. Above maxCircleSegments gives maxCircleSegments.
constexpr int minCircleSegments = 4;
constexpr int maxCircleSegments = 10000;
unsigned CircleSegmentCount(int lineDensity);

class CircleBuffer {
public:
    // Allocates segments + 1 vertices; on allocation failure the buffer stays empty.
    explicit CircleBuffer(unsigned segments);

    bool IsEmpty() const { return vertices_ == nullptr; }
    unsigned SegmentCount() const { return segments_; }
    const CircleVertex* Vertices() const { return vertices_.get(); }

    // Vertex j becomes (1, 0, 0) turned about axis by 2 * 3.14159 * j / n. About (0, 1, 0)
    // that is the unit circle in the xz plane; about (0, 0, 1) the great circle in the xy plane.
    void Fill(const D3DXVECTOR3& axis);

private:
    unsigned segments_;
    std::unique_ptr<CircleVertex[]> vertices_;
};
