// Line colours and materials.
#include "scene/line_material.h"

#include "graphics/emissive_material.h"

D3DCOLORVALUE ColorValueFromArgb(D3DCOLOR argb)
{
    const auto channel = [argb](int shift) { return static_cast<float>(((argb >> shift) & 0xFF) / 255.0); };
    return D3DCOLORVALUE{channel(16), channel(8), channel(0), channel(24)};
}

D3DMATERIAL9 lineMaterial(const D3DCOLORVALUE& color)
{
    return EmissiveMaterial(color);
}
