// Where each component of a flexible-vertex-format vertex lies.
#pragma once

#include <d3d9.h>

namespace quorvane::d3dx9 {

struct FvfLayout {
    static constexpr int absent = -1;
    DWORD fvf = 0;
    UINT stride = 0;
    UINT positionSize = 0;  // bytes of the position (12 for D3DFVF_XYZ)
    int normal = absent;
    int pointSize = absent;
    int diffuse = absent;
    int specular = absent;
    UINT textureCount = 0;
    int texture[8] = {absent, absent, absent, absent, absent, absent, absent, absent};
    UINT textureSize[8] = {};  // bytes of each texture coordinate set
};

// False for formats without an untransformed position or with bits this layout does not know.
bool DescribeFvf(DWORD fvf, FvfLayout& layout);

// Copies the components two layouts share from one vertex to another; components only the
// target has are zeroed.
void ConvertVertex(const FvfLayout& from, const BYTE* source, const FvfLayout& to, BYTE* target);

}  // namespace quorvane::d3dx9
