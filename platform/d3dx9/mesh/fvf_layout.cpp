#include "d3dx9/mesh/fvf_layout.h"

#include <algorithm>
#include <cstring>

namespace quorvane::d3dx9 {

bool DescribeFvf(DWORD fvf, FvfLayout& layout)
{
    layout = FvfLayout{};
    layout.fvf = fvf;
    constexpr DWORD known = D3DFVF_POSITION_MASK | D3DFVF_NORMAL | D3DFVF_PSIZE | D3DFVF_DIFFUSE | D3DFVF_SPECULAR |
                            D3DFVF_TEXCOUNT_MASK | 0xFFFF0000u;
    if ((fvf & ~known) != 0) {
        return false;
    }
    switch (fvf & D3DFVF_POSITION_MASK) {
    case D3DFVF_XYZ: layout.positionSize = 12; break;
    case D3DFVF_XYZW: layout.positionSize = 16; break;
    default: return false;  // meshes hold untransformed, unblended positions
    }
    UINT offset = layout.positionSize;
    const auto take = [&](DWORD bit, int& field, UINT size) {
        if (fvf & bit) {
            field = static_cast<int>(offset);
            offset += size;
        }
    };
    take(D3DFVF_NORMAL, layout.normal, 12);
    take(D3DFVF_PSIZE, layout.pointSize, 4);
    take(D3DFVF_DIFFUSE, layout.diffuse, 4);
    take(D3DFVF_SPECULAR, layout.specular, 4);
    layout.textureCount = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (layout.textureCount > 8) {
        return false;
    }
    for (UINT i = 0; i < layout.textureCount; ++i) {
        static constexpr UINT sizes[4] = {8, 12, 16, 4};  // D3DFVF_TEXTUREFORMAT2, 3, 4, 1
        layout.textureSize[i] = sizes[(fvf >> (16 + 2 * i)) & 3];
        layout.texture[i] = static_cast<int>(offset);
        offset += layout.textureSize[i];
    }
    if (layout.textureCount < 8 && (fvf >> (16 + 2 * layout.textureCount)) != 0) {
        return false;  // sizes declared for coordinate sets that do not exist
    }
    layout.stride = offset;
    return true;
}

namespace {

void CopyComponent(const BYTE* source, int from, UINT fromSize, BYTE* target, int to, UINT toSize)
{
    if (to == FvfLayout::absent) {
        return;
    }
    std::memset(target + to, 0, toSize);
    if (from != FvfLayout::absent) {
        std::memcpy(target + to, source + from, std::min(fromSize, toSize));
    }
}

}  // namespace

void ConvertVertex(const FvfLayout& from, const BYTE* source, const FvfLayout& to, BYTE* target)
{
    CopyComponent(source, 0, from.positionSize, target, 0, to.positionSize);
    CopyComponent(source, from.normal, 12, target, to.normal, 12);
    CopyComponent(source, from.pointSize, 4, target, to.pointSize, 4);
    CopyComponent(source, from.diffuse, 4, target, to.diffuse, 4);
    CopyComponent(source, from.specular, 4, target, to.specular, 4);
    for (UINT i = 0; i < to.textureCount; ++i) {
        const int fromOffset = i < from.textureCount ? from.texture[i] : FvfLayout::absent;
        CopyComponent(source, fromOffset, from.textureSize[i], target, to.texture[i], to.textureSize[i]);
    }
}

}  // namespace quorvane::d3dx9
