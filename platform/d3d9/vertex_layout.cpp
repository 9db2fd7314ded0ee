#include "d3d9/vertex_layout.h"

namespace quorvane::d3d9 {

namespace {

constexpr DWORD knownBits = D3DFVF_POSITION_MASK | D3DFVF_NORMAL | D3DFVF_PSIZE | D3DFVF_DIFFUSE | D3DFVF_SPECULAR |
                            D3DFVF_TEXCOUNT_MASK | D3DFVF_LASTBETA_UBYTE4 | D3DFVF_LASTBETA_D3DCOLOR | 0xFFFF0000u;

int TextureCoordinateCount(DWORD fvf, UINT set)
{
    switch ((fvf >> (16 + 2 * set)) & 3) {
    case D3DFVF_TEXTUREFORMAT1: return 1;
    case D3DFVF_TEXTUREFORMAT3: return 3;
    case D3DFVF_TEXTUREFORMAT4: return 4;
    default: return 2;
    }
}

}  // namespace

bool IsValidFvf(DWORD fvf)
{
    if (fvf & ~knownBits)
        return false;
    return ((fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT) <= 8;
}

bool DecodeFvf(DWORD fvf, VertexLayout& layout)
{
    layout = VertexLayout{};
    if (!IsValidFvf(fvf) || (fvf & (D3DFVF_PSIZE | D3DFVF_LASTBETA_UBYTE4 | D3DFVF_LASTBETA_D3DCOLOR)))
        return false;
    UINT offset = 0;
    switch (fvf & D3DFVF_POSITION_MASK) {
    case D3DFVF_XYZ: layout.positionComponents = 3; break;
    case D3DFVF_XYZRHW:
        layout.positionComponents = 4;
        layout.pretransformed = true;
        break;
    default: return false;
    }
    offset += 4 * static_cast<UINT>(layout.positionComponents);
    if (fvf & D3DFVF_NORMAL) {
        if (layout.pretransformed)
            return false;  // Direct3D rejects normals on transformed vertices
        layout.normalOffset = static_cast<int>(offset);
        offset += 12;
    }
    if (fvf & D3DFVF_DIFFUSE) {
        layout.diffuseOffset = static_cast<int>(offset);
        offset += 4;
    }
    if (fvf & D3DFVF_SPECULAR) {
        layout.specularOffset = static_cast<int>(offset);
        offset += 4;
    }
    layout.textureSets = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    for (UINT set = 0; set < layout.textureSets; ++set) {
        layout.textureOffsets[set] = static_cast<int>(offset);
        layout.textureComponents[set] = TextureCoordinateCount(fvf, set);
        offset += 4 * static_cast<UINT>(layout.textureComponents[set]);
    }
    layout.size = offset;
    return true;
}

}  // namespace quorvane::d3d9
