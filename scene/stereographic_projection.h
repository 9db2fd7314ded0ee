// The stereographic projection of the scene as one constant homogeneous matrix.
//
// Appended to a world matrix, StereographicMatrix carries a world point (x, y, z) to
// (2.02x, 1.01y - 1, 2.02z, 1.01 - 1.0201y); after the rasteriser's divide by the fourth
// component that is the central projection from K = (0, r, 0) onto the plane y = -r, with
// r = projectionRadius = 1 / 1.01. For the sphere of radius r about the origin this is exactly
// the stereographic projection from its top pole onto the tangent plane at its bottom pole.
// Points at y = r have no image (fourth component 0); points above it lie behind the centre
// and are clipped.
#pragma once

#include <d3dx9.h>
#include <windows.h>

constexpr float projectionRadius = 1.0f / 1.01f;

extern const D3DXMATRIX StereographicMatrix;
