// The material that shows exactly one colour under lighting, whatever the lights.
#pragma once

#include <d3d9.h>

// Emissive color; diffuse, ambient and specular black but carrying color's alpha, so that
// blending and the alpha test see it.
inline D3DMATERIAL9 EmissiveMaterial(const D3DCOLORVALUE& color)
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
