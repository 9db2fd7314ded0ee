// The Earth's orientation and the orbiting camera: process-wide state moved by mouse drags
// and the wheel, read by the frame render.
//
// The camera orbits the origin on a sphere of radius cameraDistance and always looks at the
// origin; with azimuth a and elevation b its eye is
// cameraDistance * (-sin a cos b, sin b, -cos a cos b). The Earth turns about its centre; its
// orientation is a unit quaternion that is never renormalised.
#pragma once

#include <d3dx9.h>
#include <windows.h>

extern D3DXQUATERNION earthOrientation;  // identity at start
extern float cameraAzimuth;              // radians, unbounded
extern float cameraElevation;            // radians, 0 at start, [0.01, 1.55] after the first orbit drag
extern float cameraDistance;             // 10 at start; the wheel keeps it in [2.1, 100]

// A left drag by (dx, dy) pixels (x to the right, y downwards): turns the Earth by -dy/100 rad
// about the camera's horizontal right axis, then by -dx/100 rad about the world's vertical
// axis. Both axes are fixed in the world.
void DragRotateEarth(int dx, int dy);

// A right drag by (dx, dy) pixels: azimuth grows by dx/100 rad, elevation by dy/100 rad,
// and the elevation is kept in [0.01, 1.55].
void DragOrbitCamera(int dx, int dy);

// The wheel: delta in 120ths of a notch, positive forward (towards the Earth). One notch divides
// the distance by 1.2 (forward) or multiplies it by 1.2 (back); finer deltas move by the same
// ratio's fraction, in the same direction. The distance is kept in [2.1, 100].
void MoveCameraByWheel(int delta);

// The view matrix of the camera and its eye point (eye may be null).
void BuildViewMatrix(D3DXMATRIX* view, D3DXVECTOR3* eye);

constexpr float cameraFarPlane = 1000.0f;  // distance along the view axis beyond which nothing is drawn

// The camera's perspective for a picture of aspectRatio (width / height): a vertical field of
// view of 60 degrees, the near plane at 1 and the far plane at cameraFarPlane.
void BuildProjectionMatrix(float aspectRatio, D3DXMATRIX* projection);

// The Earth upright and the camera where the program starts them: level with the equator,
// 10 in front of the Earth.
void ResetEarthAndCamera();
