// Rays against the sphere and the plane. The sums are done in double precision: near the
// projection centre an image lies thousands of radii away, and the difference of heights that
// decides how far is tiny.
#include "scene/ray_picking.h"

#include "scene/angles.h"
#include "scene/camera.h"
#include "scene/double_vector.h"
#include "scene/projection_geometry.h"
#include "scene/screen_mapping.h"
#include "scene/stereographic_projection.h"

#include <algorithm>
#include <cmath>

namespace {

// Where the line o + t u crosses the unit sphere: the entering and leaving t.
struct Crossings {
    double entering;
    double leaving;
};

// None when the line misses the sphere.
std::optional<Crossings> UnitSphereCrossings(const DoubleVector& origin, const DoubleVector& direction)
{
    const double a = Dot(direction, direction);
    const double b = Dot(origin, direction);
    const double underRoot = b * b - a * (Dot(origin, origin) - 1.0);
    if (underRoot < 0.0)
        return std::nullopt;
    const double root = std::sqrt(underRoot);
    return Crossings{(-b - root) / a, (-b + root) / a};
}

// A column of the view matrix's rotation: one of the camera's axes (right, up, forward) in world
// space.
D3DXVECTOR3 ViewColumn(const D3DXMATRIX& view, int column)
{
    return D3DXVECTOR3(view.m[0][column], view.m[1][column], view.m[2][column]);
}

}  // namespace

D3DXVECTOR3 ProjectionCentre()
{
    return Narrow(ProjectionCentrePoint());
}

EyeRay EyeRayThroughPixel(const D3DXMATRIX& view, const D3DXMATRIX& projection, int x, int y, UINT width, UINT height)
{
    const D3DXVECTOR3 right = ViewColumn(view, 0), up = ViewColumn(view, 1), forward = ViewColumn(view, 2);
    // The view's translation is the eye carried into view space: minus its coordinates on the axes.
    const D3DXVECTOR3 eye = -(right * view._41 + up * view._42 + forward * view._43);
    // Through the pixel at depth 1: the projection scales x and y by _11 and _22 before the divide.
    const ScreenPoint ndc = DeviceCoordinatesOfPixel(x, y, width, height);
    D3DXVECTOR3 direction = right * (ndc.x / projection._11) + up * (ndc.y / projection._22) + forward;
    D3DXVec3Normalize(&direction, &direction);
    return EyeRay{eye, direction, forward};
}

float DepthAlong(const EyeRay& ray, const D3DXVECTOR3& point)
{
    return static_cast<float>(Dot(Widen(point) - Widen(ray.origin), Widen(ray.viewAxis)));
}

std::optional<D3DXVECTOR3> HitEarth(const EyeRay& ray)
{
    const DoubleVector origin = Widen(ray.origin), direction = Widen(ray.direction);
    const std::optional<Crossings> crossings = UnitSphereCrossings(origin, direction);
    if (!crossings || crossings->leaving < 0.0)
        return std::nullopt;  // missed, or the sphere is behind the eye
    return Narrow(origin + std::max(crossings->entering, 0.0) * direction);
}

std::optional<D3DXVECTOR3> HitProjectionPlane(const EyeRay& ray)
{
    if (!(ray.direction.y < 0.0f))
        return std::nullopt;
    const double t = (-projectionRadius - static_cast<double>(ray.origin.y)) / ray.direction.y;
    if (t < 0.0)
        return std::nullopt;  // the eye is below the plane
    return Narrow(Widen(ray.origin) + t * Widen(ray.direction));
}

std::optional<D3DXVECTOR3> ImageOnPlane(const D3DXVECTOR3& point)
{
    const std::optional<DoubleVector> image = ProjectToPlane(Widen(point));
    if (!image)
        return std::nullopt;
    return Narrow(*image);
}

D3DXVECTOR3 SpherePointOfImage(const D3DXVECTOR3& image)
{
    const DoubleVector centre = ProjectionCentrePoint();
    const DoubleVector towardsImage = Widen(image) - centre;
    // C is inside the sphere: the line through it always crosses the sphere.
    return Narrow(centre + UnitSphereCrossings(centre, towardsImage)->leaving * towardsImage);
}

std::optional<RayPoints> PickRayPoints(const EyeRay& ray, bool earthShown)
{
    if (earthShown) {
        if (const std::optional<D3DXVECTOR3> onEarth = HitEarth(ray))
            return RayPoints{*onEarth, ImageOnPlane(*onEarth)};
    }
    const std::optional<D3DXVECTOR3> onPlane = HitProjectionPlane(ray);
    if (!onPlane || DepthAlong(ray, *onPlane) > cameraFarPlane)
        return std::nullopt;  // the sky, or the plane beyond what the camera draws
    return RayPoints{SpherePointOfImage(*onPlane), *onPlane};
}

LatitudeLongitude PlaceOnEarth(const D3DXVECTOR3& point, const D3DXQUATERNION& orientation)
{
    // The orientation's matrix R carries a model point m to m R; its transpose carries back.
    D3DXMATRIX rotation;
    D3DXMatrixRotationQuaternion(&rotation, &orientation);
    const DoubleVector world = Widen(point);
    const auto row = [&](int i) { return DoubleVector{rotation.m[i][0], rotation.m[i][1], rotation.m[i][2]}; };
    const DoubleVector m{Dot(world, row(0)), Dot(world, row(1)), Dot(world, row(2))};
    const double horizontal = std::hypot(m.x, m.z);
    return LatitudeLongitude{std::atan2(m.y, horizontal) * radiansToDegrees, std::atan2(m.x, -m.z) * radiansToDegrees};
}
