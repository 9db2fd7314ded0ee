// The drawn projection's geometry in one place: the radius r of the sphere it is exactly
// stereographic for, the lifts that keep lines off the surfaces they lie on, and the image of a
// point. The matrix (StereographicMatrix), the rays, the scale readout and the drawn circles all
// take it from here.
//
// The projection is the central one from C = (0, r, 0) onto the plane y = -r: a point P below C
// goes to F(P) = C + s (P - C) with s = 2r / (r - y), since the plane lies 2r below C. For the
// sphere of radius r about the origin that is the stereographic projection from its top pole
// onto the tangent plane at its bottom pole, which keeps circles circles and angles equal. The
// Earth (radius 1) is drawn through the same map, with C 1 - r = 0.0099 inside its top.
#pragma once

#include "scene/double_vector.h"
#include "scene/stereographic_projection.h"

#include <optional>

// Lines on the Earth are drawn at sphereLineLift times their point of the unit sphere, so that
// they stay in front of its faces; the images of lines imageLineLift above the plane, over the
// Earth's image.
constexpr float sphereLineLift = 1.01f;
constexpr float imageLineLift = 0.01f;

// The projection centre C and the plane's foot point under it, (0, -r, 0).
DoubleVector ProjectionCentrePoint();
DoubleVector ProjectionFootPoint();

// s = 2r / (r - y): how far along C to P (as a multiple of P - C) the plane lies, for a point at
// height y below C.
double ImageStretch(double y);

// F(P); none for a point at or above C's height, which lies on no line from C down to the plane.
std::optional<DoubleVector> ProjectToPlane(const DoubleVector& point);

// The inverse of F on the sphere of radius r: the point of that sphere other than C whose image
// is the point of the plane.
DoubleVector ProjectionSpherePointOfImage(const DoubleVector& image);
