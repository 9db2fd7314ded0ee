// Circles a person draws, as geometry: a circle of the sphere, its image on the plane (a circle,
// or a straight line when it passes through the projection centre), the circle whose image is a
// given circle of the plane, and the angles at which two circles and their images cross.
//
// A circle is kept on the unit sphere (the Earth) and projected as the same circle scaled to the
// projection sphere of radius r (projection_geometry.h), where the projection is exactly
// stereographic: so its image is exactly a circle or a line, and crossing angles are kept.
// Plane points are given by their world x and z; the plane is y = -r.
#pragma once

#include "scene/double_vector.h"

#include <optional>

// The points of the unit sphere at angle `radius` (radians, in (0, pi/2]) from the unit vector
// `centre`: the circle's spherical centre.
struct SphereCircle {
    DoubleVector centre;
    double radius;
};

struct PlanePoint {
    double x, z;
};

// A circle of the plane, or (isLine) the straight line of the points p with p . normal = offset.
struct PlaneCurve {
    bool isLine;
    PlanePoint centre;
    double radius;
    PlanePoint normal;  // unit
    double offset;
};

// The circle about one point of the sphere through another (both taken as directions from the
// origin); none when they coincide.
std::optional<SphereCircle> CircleAbout(const DoubleVector& centre, const DoubleVector& through);

// The image on the plane of the circle's point on the projection sphere: a unit vector u of the
// unit sphere stands for r u.
std::optional<PlanePoint> ImageOfDirection(const DoubleVector& direction);

// The circle of the sphere whose image is the circle of the plane about centre; none for a radius
// that is not positive.
std::optional<SphereCircle> CircleOfImage(const PlanePoint& centre, double radius);

// The image of a circle: where its points go on the plane.
PlaneCurve ImageOfCircle(const SphereCircle& circle);

// The point of the circle at turn (radians) around it, from a fixed starting point.
DoubleVector PointOfCircle(const SphereCircle& circle, double turn);

// The angles between two circles where they cross, in degrees from 0 to 90: on the sphere,
// between their tangents at a crossing, and on the plane, between their images' tangents at that
// crossing's image. None when they do not cross (or only touch, or are the same circle).
struct CrossingAngles {
    double onSphere;
    double inImage;
};
std::optional<CrossingAngles> AnglesOfCrossing(const SphereCircle& first, const SphereCircle& second);
