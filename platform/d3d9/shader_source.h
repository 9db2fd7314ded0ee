// The GLSL of the fixed-function pipeline. One source, compiled in a few variants selected by
// defines: PRETRANSFORMED (D3DFVF_XYZRHW vertices skip transform and lighting) and FLAT
// (D3DSHADE_FLAT: the first vertex's colours for the whole primitive).
#pragma once

namespace quorvane::d3d9 {

extern const char* const fixedFunctionVertexShader;
extern const char* const fixedFunctionFragmentShader;

}  // namespace quorvane::d3d9
