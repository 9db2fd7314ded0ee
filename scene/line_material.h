// Colours of the guide lines: packed ARGB to floats, and the material that shows a line in
// exactly its colour.
#pragma once

#include <d3d9.h>
#include <windows.h>

// Each byte of a packed ARGB colour (alpha in bits 24-31, blue in bits 0-7) divided by 255.
D3DCOLORVALUE ColorValueFromArgb(D3DCOLOR argb);

// The material for a line of the given colour: emissive (r, g, b, a) and black diffuse, ambient
// and specular carrying the alpha. Under lighting the line shows exactly the emissive colour,
// and its alpha is the diffuse alpha, so blending and the alpha test see the colour's alpha.
D3DMATERIAL9 lineMaterial(const D3DCOLORVALUE& color);
