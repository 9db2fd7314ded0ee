// Where the parts of a flexible-vertex-format (FVF) vertex lie.
#pragma once

#include <d3d9.h>

namespace quorvane::d3d9 {

struct VertexLayout {
    UINT size = 0;                // bytes per vertex
    bool pretransformed = false;  // D3DFVF_XYZRHW: screen x, y, z and 1/w
    int positionComponents = 0;   // 3 (XYZ) or 4 (XYZRHW)
    int normalOffset = -1;        // -1: absent
    int diffuseOffset = -1;
    int specularOffset = -1;
    UINT textureSets = 0;
    int textureOffsets[8] = {};
    int textureComponents[8] = {};
};

// False for formats this subset does not draw (blend weights, XYZW, point size, no position).
bool DecodeFvf(DWORD fvf, VertexLayout& layout);

// Whether `fvf` is a format Direct3D knows at all (SetFVF answers D3DERR_INVALIDCALL otherwise).
bool IsValidFvf(DWORD fvf);

}  // namespace quorvane::d3d9
