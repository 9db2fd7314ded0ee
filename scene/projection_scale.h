// How the drawn projection stretches the Earth: the local scale factors at a point of the unit
// sphere, the images of tangent directions, and the size of a small circle's image.
//
// The projection is the central one of StereographicMatrix, from C = (0, r, 0) onto the plane
// y = -r, applied to the unit sphere; r = projectionRadius. All points are in world space.
#pragma once

#include <d3dx9.h>
#include <windows.h>

#include <optional>

// The scale at a point P = (x, y, z) of the unit sphere below C (y < r).
struct ProjectionScale {
    double radial;      // along the vertical plane through the projection's axis and P
    double horizontal;  // across it, along the horizontal circle through P
    double linear;      // k: the geometric mean of the two
    double area;        // k squared: the product of the two
};
ProjectionScale ScaleAtHeight(double y);

// The image of a direction tangent to the unit sphere at P (y < r): the derivative of the
// projection along it, a horizontal vector.
D3DXVECTOR3 ImageOfDirection(const D3DXVECTOR3& point, const D3DXVECTOR3& tangent);

// The angle in degrees between the images of two tangent directions at P.
double ImageAngleDegrees(const D3DXVECTOR3& point, const D3DXVECTOR3& first, const D3DXVECTOR3& second);

// A closed curve's image measured in the plane: half its extent along the line from the
// projection's foot point (0, -r, 0) through the image of its centre, and half its extent across
// that line.
struct ImageRadii {
    double radial;
    double across;
};

// The image radii of the small circle of angularRadius (radians) about the unit vector centre,
// measured on samples points of it; none when a point of the circle has no image.
std::optional<ImageRadii> CircleImageRadii(const D3DXVECTOR3& centre, double angularRadius, unsigned samples);
