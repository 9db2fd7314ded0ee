// Two small geometric helpers of the scene: turning a point about an axis through the origin,
// and the camera's horizontal reference directions for a given azimuth.
#pragma once

#include <d3dx9.h>
#include <windows.h>

// Turns point about axis (any non-zero length) by angle radians, right-handed about the axis
// in the vector sense: about (0, 1, 0), (1, 0, 0) goes to (cos a, 0, -sin a). The arithmetic is
// done in double precision and rounded to float once. out may be the same vector as point.
// Returns out; null when out is null. A null point gives (0, 0, 0); a null or zero axis leaves
// the point unchanged.
D3DXVECTOR3* RotateAboutAxis(const D3DXVECTOR3* point, const D3DXVECTOR3* axis, float angle, D3DXVECTOR3* out);

// For the camera azimuth (radians): forward = (-sin a, 0, -cos a), the direction from the
// origin towards the camera before elevation, and right = (cos a, 0, -sin a), the axis of the
// elevation turn. Both are horizontal unit vectors.
void CameraBasis(float azimuth, D3DXVECTOR3* forward, D3DXVECTOR3* right);
