// A circle of the sphere is symmetric about the vertical plane through the projection's axis and
// its centre; so is its image. The circle's two points in that plane are the ends of a diameter,
// and so are their images: the image's centre lies midway between them. Going back from the
// plane the same holds: the preimages of a plane circle's two points on the line from the foot
// point through its centre span a diameter of the sphere circle.
#include "scene/circle_geometry.h"

#include "scene/angles.h"
#include "scene/projection_geometry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double radius = projectionRadius;
constexpr double tiny = 1e-12;

double Length(const DoubleVector& v)
{
    return std::sqrt(Dot(v, v));
}

DoubleVector Unit(const DoubleVector& v)
{
    return (1.0 / Length(v)) * v;
}

// The horizontal unit direction (in x and z) of a vector; +x for a vertical one.
PlanePoint HorizontalDirection(double x, double z)
{
    const double length = std::hypot(x, z);
    return length > tiny ? PlanePoint{x / length, z / length} : PlanePoint{1.0, 0.0};
}

// The angle in degrees between two unoriented directions, from 0 to 90.
double LineAngle(double dot, double lengths)
{
    return std::acos(std::clamp(std::abs(dot) / lengths, 0.0, 1.0)) * radiansToDegrees;
}

// The normal of a plane curve at one of its points (a circle's radius there, a line's normal).
PlanePoint NormalAt(const PlaneCurve& curve, const PlanePoint& point)
{
    if (curve.isLine)
        return curve.normal;
    return PlanePoint{point.x - curve.centre.x, point.z - curve.centre.z};
}

}  // namespace

std::optional<SphereCircle> CircleAbout(const DoubleVector& centre, const DoubleVector& through)
{
    const DoubleVector c = Unit(centre), p = Unit(through);
    const double angle = std::acos(std::clamp(Dot(c, p), -1.0, 1.0));
    if (!(angle > tiny))
        return std::nullopt;
    // Beyond a quarter turn it is the same circle about the opposite point.
    if (angle > std::numbers::pi / 2.0)
        return SphereCircle{-1.0 * c, std::numbers::pi - angle};
    return SphereCircle{c, angle};
}

std::optional<PlanePoint> ImageOfDirection(const DoubleVector& direction)
{
    const std::optional<DoubleVector> image = ProjectToPlane(radius * Unit(direction));
    if (!image)
        return std::nullopt;
    return PlanePoint{image->x, image->z};
}

std::optional<SphereCircle> CircleOfImage(const PlanePoint& centre, double imageRadius)
{
    if (!(imageRadius > 0.0))
        return std::nullopt;
    const PlanePoint h = HorizontalDirection(centre.x, centre.z);
    const double along = std::hypot(centre.x, centre.z);
    const auto preimage = [&](double s) {
        return Unit(ProjectionSpherePointOfImage(DoubleVector{s * h.x, -radius, s * h.z}));
    };
    const DoubleVector inner = preimage(along - imageRadius), outer = preimage(along + imageRadius);
    const DoubleVector sum = inner + outer;
    if (Length(sum) < 1e-9) {
        // A great circle: its plane holds the diameter and the normal of the symmetry plane.
        return SphereCircle{Unit(Cross(inner, DoubleVector{-h.z, 0.0, h.x})), std::numbers::pi / 2.0};
    }
    const DoubleVector c = Unit(sum);
    return SphereCircle{c, std::acos(std::clamp(Dot(c, inner), -1.0, 1.0))};
}

PlaneCurve ImageOfCircle(const SphereCircle& circle)
{
    const DoubleVector& c = circle.centre;
    const PlanePoint h = HorizontalDirection(c.x, c.z);
    // In the symmetry plane, with coordinates a along h and b up: the centre, the direction a
    // quarter turn from it, and the two ends of the diameter.
    const double ca = c.x * h.x + c.z * h.z, cb = c.y;
    const double cosine = std::cos(circle.radius), sine = std::sin(circle.radius);
    double ends[2] = {0.0, 0.0};
    int atCentre = -1;  // the end at the projection centre, if any
    for (int i = 0; i < 2; ++i) {
        const double side = i == 0 ? 1.0 : -1.0;
        const double a = cosine * ca - side * sine * cb, b = cosine * cb + side * sine * ca;
        const double depth = 1.0 - b;  // how far the end lies under the top, on the unit sphere
        if (depth < 1e-12)
            atCentre = i;
        else
            ends[i] = 2.0 * radius * a / depth;
    }
    PlaneCurve curve{};
    if (atCentre >= 0) {
        curve.isLine = true;
        curve.normal = h;
        curve.offset = ends[1 - atCentre];
        return curve;
    }
    const double middle = (ends[0] + ends[1]) / 2.0;
    curve.centre = PlanePoint{middle * h.x, middle * h.z};
    curve.radius = std::abs(ends[0] - ends[1]) / 2.0;
    return curve;
}

DoubleVector PointOfCircle(const SphereCircle& circle, double turn)
{
    const DoubleVector& c = circle.centre;
    const DoubleVector seed = std::abs(c.y) < 0.9 ? DoubleVector{0.0, 1.0, 0.0} : DoubleVector{1.0, 0.0, 0.0};
    const DoubleVector u = Unit(Cross(c, seed)), v = Cross(c, u);
    const double sine = std::sin(circle.radius);
    return std::cos(circle.radius) * c + (sine * std::cos(turn)) * u + (sine * std::sin(turn)) * v;
}

std::optional<CrossingAngles> AnglesOfCrossing(const SphereCircle& first, const SphereCircle& second)
{
    // A crossing u = a c1 + b c2 + g (c1 x c2) with u . c1 = cos r1, u . c2 = cos r2, |u| = 1.
    const DoubleVector &c1 = first.centre, &c2 = second.centre;
    const double k = Dot(c1, c2), apart = 1.0 - k * k;
    if (apart < 1e-12)
        return std::nullopt;  // the same centre or opposite ones: the same circle or none in common
    const double h1 = std::cos(first.radius), h2 = std::cos(second.radius);
    const double a = (h1 - k * h2) / apart, b = (h2 - k * h1) / apart;
    const double g2 = (1.0 - (a * a + b * b + 2.0 * a * b * k)) / apart;
    if (g2 < 1e-12)
        return std::nullopt;  // apart, or touching
    const DoubleVector normal = Cross(c1, c2), base = a * c1 + b * c2;
    const double g = std::sqrt(g2);
    const DoubleVector one = base + g * normal, other = base - g * normal;
    // The crossing farther from the projection centre, whose image is the better defined.
    const DoubleVector u = one.y < other.y ? one : other;

    const DoubleVector t1 = Cross(c1, u), t2 = Cross(c2, u);
    CrossingAngles angles{};
    angles.onSphere = LineAngle(Dot(t1, t2), Length(t1) * Length(t2));
    const PlanePoint image = *ImageOfDirection(u);
    const PlanePoint n1 = NormalAt(ImageOfCircle(first), image), n2 = NormalAt(ImageOfCircle(second), image);
    angles.inImage = LineAngle(n1.x * n2.x + n1.z * n2.z, std::hypot(n1.x, n1.z) * std::hypot(n2.x, n2.z));
    return angles;
}
