#include "d3d9/primitive_rewrite.h"

#include <array>

namespace quorvane::d3d9 {

namespace {

using Triangle = std::array<UINT, 3>;

bool IsTriangle(D3DPRIMITIVETYPE type)
{
    return type == D3DPT_TRIANGLELIST || type == D3DPT_TRIANGLESTRIP || type == D3DPT_TRIANGLEFAN;
}

// Each triangle in its winding order starting at the vertex Direct3D's flat shading reads (the
// vertex OpenGL's first-vertex convention names): a strip's odd triangles are wound i+1, i, i+2,
// a fan's are 0, i+1, i+2 with i+1 the one that colours them.
std::vector<Triangle> Triangles(D3DPRIMITIVETYPE type, const std::vector<UINT>& v)
{
    std::vector<Triangle> triangles;
    if (type == D3DPT_TRIANGLELIST) {
        for (size_t i = 0; i + 2 < v.size(); i += 3)
            triangles.push_back({v[i], v[i + 1], v[i + 2]});
    } else if (type == D3DPT_TRIANGLESTRIP) {
        for (size_t i = 0; i + 2 < v.size(); ++i)
            triangles.push_back(i % 2 == 0 ? Triangle{v[i], v[i + 1], v[i + 2]} : Triangle{v[i], v[i + 2], v[i + 1]});
    } else {
        for (size_t i = 1; i + 1 < v.size(); ++i)
            triangles.push_back({v[i], v[i + 1], v[0]});
    }
    return triangles;
}

}  // namespace

bool NeedsRewrite(const GLCapabilities& caps, D3DPRIMITIVETYPE type, DWORD fillMode, bool flat, INT baseVertex)
{
    if (baseVertex != 0 && !caps.baseVertex)
        return true;
    if (flat && !caps.provokingVertex && type != D3DPT_POINTLIST)
        return true;
    return IsTriangle(type) && fillMode != D3DFILL_SOLID && !caps.polygonMode;
}

RewrittenDraw RewriteDraw(D3DPRIMITIVETYPE type, const std::vector<UINT>& v, DWORD fillMode, bool flat)
{
    RewrittenDraw draw;
    std::vector<UINT>& out = draw.indices;
    switch (type) {
    case D3DPT_POINTLIST:
        draw.mode = GL_POINTS;
        out = v;
        return draw;
    case D3DPT_LINELIST:
    case D3DPT_LINESTRIP: {
        draw.mode = GL_LINES;
        size_t step = type == D3DPT_LINELIST ? 2 : 1;
        for (size_t i = 0; i + 1 < v.size(); i += step) {
            out.push_back(flat ? v[i + 1] : v[i]);
            out.push_back(flat ? v[i] : v[i + 1]);
        }
        return draw;
    }
    default: break;
    }
    for (const Triangle& t : Triangles(type, v)) {
        if (fillMode == D3DFILL_POINT) {
            draw.mode = GL_POINTS;
            out.insert(out.end(), t.begin(), t.end());
        } else if (fillMode == D3DFILL_WIREFRAME) {
            draw.mode = GL_LINES;
            // With the last vertex colouring a line, two edges end at the first vertex.
            const UINT edges[6] = {t[1], t[0], t[1], t[2], t[2], t[0]};
            if (flat)
                out.insert(out.end(), edges, edges + 6);
            else
                out.insert(out.end(), {t[0], t[1], t[1], t[2], t[2], t[0]});
        } else {
            draw.mode = GL_TRIANGLES;
            if (flat)
                out.insert(out.end(), {t[1], t[2], t[0]});
            else
                out.insert(out.end(), t.begin(), t.end());
        }
    }
    return draw;
}

}  // namespace quorvane::d3d9
