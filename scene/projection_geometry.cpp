// F and its inverse on the projection sphere, in double precision: near C an image lies
// thousands of radii away, and the difference of heights that decides how far is tiny.
#include "scene/projection_geometry.h"

namespace {

constexpr double radius = projectionRadius;

}  // namespace

DoubleVector ProjectionCentrePoint()
{
    return DoubleVector{0.0, radius, 0.0};
}

DoubleVector ProjectionFootPoint()
{
    return DoubleVector{0.0, -radius, 0.0};
}

double ImageStretch(double y)
{
    return 2.0 * radius / (radius - y);
}

std::optional<DoubleVector> ProjectToPlane(const DoubleVector& point)
{
    if (!(radius - point.y > 0.0))
        return std::nullopt;
    const DoubleVector centre = ProjectionCentrePoint();
    return centre + ImageStretch(point.y) * (point - centre);
}

DoubleVector ProjectionSpherePointOfImage(const DoubleVector& image)
{
    // |C + t v| = r with v = Q - C = (X, -2r, Z) has the roots t = 0 (C itself) and
    // t = -2 C.v / v.v = 4r^2 / v.v.
    const DoubleVector centre = ProjectionCentrePoint();
    const DoubleVector towards = image - centre;
    const double t = 4.0 * radius * radius / Dot(towards, towards);
    return centre + t * towards;
}
