// Line colours and materials.
#include "scene/line_material.h"

D3DCOLORVALUE ColorValueFromArgb(D3DCOLOR argb)
{
    const auto channel = [argb](int shift) { return static_cast<float>(((argb >> shift) & 0xFF) / 255.0); };
    return D3DCOLORVALUE{channel(16), channel(8), channel(0), channel(24)};
}

D3DMATERIAL9 lineMaterial(const D3DCOLORVALUE& color)
{
    const D3DCOLORVALUE black{0.0f, 0.0f, 0.0f, color.a};
    D3DMATERIAL9 material{};
    material.Diffuse = black;
    material.Ambient = black;
    material.Specular = black;
    material.Emissive = color;
    material.Power = 0.0f;
    return material;
}
