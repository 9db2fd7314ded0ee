// Where the guide-line circles go: the four world matrices that put the unit circles on the
// Earth or on the projection plane, the placement of each latitude and longitude circle, and
// the whole-degree steps between circles.
#pragma once

#include <d3dx9.h>
#include <windows.h>

// With R the Earth's orientation, S = scaling by 1.01 (lines 0.01 outside the unit sphere),
// M = StereographicMatrix, T = translation (0, 0.01, 0) (image lines 0.01 above the Earth image)
// and F the mirror y -> -y in model space:
struct GuideLineWorlds {
    D3DXMATRIX sphere;        // R * S
    D3DXMATRIX plane;         // R * M * T
    D3DXMATRIX sphereMirror;  // F * R * S
    D3DXMATRIX planeMirror;   // F * R * M * T
};
GuideLineWorlds BuildGuideLineWorlds(const D3DXMATRIX& earthRotation);

// Degrees to radians with the scene's 3.14159 for pi, in double precision, rounded to float.
float DegreesToRadians(double degrees);

// The unit circle in the xz plane carried to the circle of latitude `degrees` on the unit
// sphere: scaling (cos, 1, cos) then translation (0, sin, 0).
D3DXMATRIX LatitudePlacement(int degrees);

// The great circle in the xy plane turned by `degrees` about the vertical axis; it carries the
// meridians at that longitude and 180 degrees further.
D3DXMATRIX LongitudePlacement(int degrees);

// The step between circles of a family drawn from 0 up to (not including) limit degrees.
// A zero or negative interval draws the 0-degree circle alone, as an interval of limit or
// more does; no interval makes the loop run away.
unsigned CircleStep(int intervalDegrees, unsigned limitDegrees);

constexpr unsigned latitudeLimitDegrees = 90;    // the poles are never drawn as circles
constexpr unsigned longitudeLimitDegrees = 180;  // each great circle carries two meridians
