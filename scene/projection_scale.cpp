// The scale factors of the central projection from C = (0, r, 0) onto the plane y = -r.
//
// A point P = (x, y, z) goes to F(P) = C + s (P - C) with s = 2r / (r - y) (projection_geometry.h).
// Moving P by a tangent t changes the image by dF = s (t + (P - C) t_y / (r - y)).
//  - Across the vertical plane through the axis and P (t_y = 0): dF = s t, so the horizontal
//    scale is s = 2r / (r - y).
//  - Along that plane, with P at angular distance a from the bottom point (y = -cos a), the image
//    lies 2r sin a / (r + cos a) from the axis; its derivative by a is the radial scale
//    2r (1 + r cos a) / (r + cos a)^2 = 2r (1 - r y) / (r - y)^2.
// The two are the principal scales (the map is symmetric about the axis). Their ratio is
// (1 - r y) / (r - y) = 1 + (1 - r)(1 + y) / (r - y): for r = 1 (C on the sphere) the projection
// would be the true stereographic one, conformal with k = 2 / (1 - y). Ours projects the unit
// Earth from 1 - r = 0.0099 inside its top, so it is conformal only at the bottom point; it
// stretches 1 % more along the radial direction at the equator (y = 0) and without bound as P
// nears C's height.
#include "scene/projection_scale.h"

#include "scene/angles.h"
#include "scene/double_vector.h"
#include "scene/projection_geometry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double radius = projectionRadius;

// The image of a point below C, in the plane's x and z.
struct PlanePoint {
    double x, z;
};
PlanePoint Image(const DoubleVector& p)
{
    const double s = ImageStretch(p.y);
    return PlanePoint{s * p.x, s * p.z};
}

// A unit vector perpendicular to the unit vector c.
DoubleVector Perpendicular(const DoubleVector& c)
{
    const DoubleVector seed = std::abs(c.y) < 0.9 ? DoubleVector{0.0, 1.0, 0.0} : DoubleVector{1.0, 0.0, 0.0};
    const DoubleVector cross = Cross(c, seed);
    const double length = std::sqrt(Dot(cross, cross));
    return DoubleVector{cross.x / length, cross.y / length, cross.z / length};
}

}  // namespace

ProjectionScale ScaleAtHeight(double y)
{
    const double depth = radius - y;
    const double horizontal = ImageStretch(y);
    const double radial = 2.0 * radius * (1.0 - radius * y) / (depth * depth);
    return ProjectionScale{radial, horizontal, std::sqrt(radial * horizontal), radial * horizontal};
}

D3DXVECTOR3 ImageOfDirection(const D3DXVECTOR3& point, const D3DXVECTOR3& tangent)
{
    const DoubleVector p = Widen(point), t = Widen(tangent);
    const double depth = radius - p.y;
    const double s = ImageStretch(p.y);
    const double lean = t.y / depth;  // how fast the line from C sweeps along P - C
    return D3DXVECTOR3(static_cast<float>(s * (t.x + p.x * lean)), 0.0f, static_cast<float>(s * (t.z + p.z * lean)));
}

double ImageAngleDegrees(const D3DXVECTOR3& point, const D3DXVECTOR3& first, const D3DXVECTOR3& second)
{
    const D3DXVECTOR3 a = ImageOfDirection(point, first), b = ImageOfDirection(point, second);
    const double dot = double(a.x) * b.x + double(a.z) * b.z;
    const double lengths = std::hypot(a.x, a.z) * std::hypot(b.x, b.z);
    return std::acos(std::clamp(dot / lengths, -1.0, 1.0)) * radiansToDegrees;
}

std::optional<ImageRadii> CircleImageRadii(const D3DXVECTOR3& centre, double angularRadius, unsigned samples)
{
    const DoubleVector c = Widen(centre);
    const PlanePoint middle = Image(c);
    // The radial line's direction; any one for a circle about the bottom point.
    const double out = std::hypot(middle.x, middle.z);
    const PlanePoint along = out > 1e-12 ? PlanePoint{middle.x / out, middle.z / out} : PlanePoint{1.0, 0.0};
    const DoubleVector u = Perpendicular(c);
    const DoubleVector v = Cross(c, u);
    double lowAlong = 1e300, highAlong = -1e300, lowAcross = 1e300, highAcross = -1e300;
    for (unsigned i = 0; i < samples; ++i) {
        const double turn = 360.0 * degreesToRadians * i / samples;
        const double cu = std::cos(turn) * std::sin(angularRadius), cv = std::sin(turn) * std::sin(angularRadius);
        const double cc = std::cos(angularRadius);
        const DoubleVector p = cc * c + cu * u + cv * v;
        if (!(p.y < radius))
            return std::nullopt;
        const PlanePoint q = Image(p);
        const double a = q.x * along.x + q.z * along.z, b = q.z * along.x - q.x * along.z;
        lowAlong = std::min(lowAlong, a);
        highAlong = std::max(highAlong, a);
        lowAcross = std::min(lowAcross, b);
        highAcross = std::max(highAcross, b);
    }
    return ImageRadii{(highAlong - lowAlong) / 2.0, (highAcross - lowAcross) / 2.0};
}
