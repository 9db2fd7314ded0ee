// The projection rays: for the point under the mouse pointer, the straight line from the
// projection centre C through the point P of the Earth to its image P' on the plane, a cross at
// P and at P' and a dot at C. Switched with F7 and the view menu; off at start and never saved.
#pragma once

#include "scene/ray_picking.h"

#include <d3dx9.h>
#include <windows.h>

#include <optional>

// What the rays show for the pointer (client coordinates) in a width x height picture seen through view and
// projection; none over the sky. earthShown: whether the Earth is drawn, and so can be pointed at.
std::optional<RayPoints> PickUnderPointer(POINT pointer, const D3DXMATRIX& view, const D3DXMATRIX& projection,
                                          UINT width, UINT height, bool earthShown);

// Draws the line C-P-P' in yellow with lighting off and the depth test on (the Earth hides the
// part inside it), ending at the far plane when P' lies beyond it; then the crosses and the dot
// on top of everything. view and projection are those the frame is drawn with.
//
// Leaves behind: lighting and the depth test on, texture stage 0 empty, the FVF of pre-transformed
// vertices, the world matrix the identity.
void DrawProjectionRay(IDirect3DDevice9* device, const RayPoints& points, const D3DXMATRIX& view,
                       const D3DXMATRIX& projection, UINT width, UINT height);
