// Draws rewritten for a context that lacks glPolygonMode, glProvokingVertex or
// glDrawElementsBaseVertex (OpenGL ES 3.0): the draw's vertex numbers, base vertex added, become
// an index list of plain primitives that the context draws as Direct3D would have them drawn.
// - Flat shading takes Direct3D's first vertex of each primitive; ES takes the last one. Each
//   triangle is rotated, its winding kept, so that its first vertex comes last; each line is
//   turned round.
// - D3DFILL_WIREFRAME draws each triangle's three edges as lines, D3DFILL_POINT its three vertices
//   as points. Faces the cull mode would remove are not removed (lines have no facing), and a
//   flat wireframe edge opposite the first vertex takes its own last vertex's colour.
#pragma once

#include <d3d9.h>
#include <epoxy/gl.h>

#include <vector>

#include "d3d9/gl_capabilities.h"

namespace quorvane::d3d9 {

struct RewrittenDraw {
    GLenum mode = GL_TRIANGLES;
    std::vector<UINT> indices;
};

// Whether a draw must be rewritten in a context with `caps`: `baseVertex` is that of an indexed
// draw (0 otherwise).
bool NeedsRewrite(const GLCapabilities& caps, D3DPRIMITIVETYPE type, DWORD fillMode, bool flat, INT baseVertex);

// `vertices` are the draw's vertex numbers in order (its indices plus the base vertex, or
// 0, 1, 2... for a draw without indices).
RewrittenDraw RewriteDraw(D3DPRIMITIVETYPE type, const std::vector<UINT>& vertices, DWORD fillMode, bool flat);

}  // namespace quorvane::d3d9
