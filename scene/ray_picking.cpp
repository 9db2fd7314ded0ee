// Rays against the sphere and the plane. The sums are done in double precision: near the
// projection centre an image lies thousands of radii away, and the difference of heights that
// decides how far is tiny.
#include "scene/ray_picking.h"

#include "scene/camera.h"
#include "scene/stereographic_projection.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double radiansToDegrees = 180.0 / std::numbers::pi;

struct Vector {
    double x, y, z;
};

Vector Widen(const D3DXVECTOR3& v)
{
    return {v.x, v.y, v.z};
}

D3DXVECTOR3 Narrow(const Vector& v)
{
    return D3DXVECTOR3(static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z));
}

double Dot(const Vector& a, const Vector& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// a + t * b
Vector Along(const Vector& a, double t, const Vector& b)
{
    return {a.x + t * b.x, a.y + t * b.y, a.z + t * b.z};
}

Vector Difference(const Vector& a, const Vector& b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

// Where the line o + t u crosses the unit sphere: the entering and leaving t.
struct Crossings {
    double entering;
    double leaving;
};

// None when the line misses the sphere.
std::optional<Crossings> UnitSphereCrossings(const Vector& origin, const Vector& direction)
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
    return D3DXVECTOR3(0.0f, projectionRadius, 0.0f);
}

EyeRay EyeRayThroughPixel(const D3DXMATRIX& view, const D3DXMATRIX& projection, int x, int y, UINT width, UINT height)
{
    const D3DXVECTOR3 right = ViewColumn(view, 0), up = ViewColumn(view, 1), forward = ViewColumn(view, 2);
    // The view's translation is the eye carried into view space: minus its coordinates on the axes.
    const D3DXVECTOR3 eye = -(right * view._41 + up * view._42 + forward * view._43);
    // Through the pixel at depth 1: the projection scales x and y by _11 and _22 before the divide.
    const float ndcX = 2.0f * static_cast<float>(x) / static_cast<float>(width) - 1.0f;
    const float ndcY = 1.0f - 2.0f * static_cast<float>(y) / static_cast<float>(height);
    D3DXVECTOR3 direction = right * (ndcX / projection._11) + up * (ndcY / projection._22) + forward;
    D3DXVec3Normalize(&direction, &direction);
    return EyeRay{eye, direction, forward};
}

float DepthAlong(const EyeRay& ray, const D3DXVECTOR3& point)
{
    return static_cast<float>(Dot(Difference(Widen(point), Widen(ray.origin)), Widen(ray.viewAxis)));
}

std::optional<D3DXVECTOR3> HitEarth(const EyeRay& ray)
{
    const Vector origin = Widen(ray.origin), direction = Widen(ray.direction);
    const std::optional<Crossings> crossings = UnitSphereCrossings(origin, direction);
    if (!crossings || crossings->leaving < 0.0)
        return std::nullopt;  // missed, or the sphere is behind the eye
    return Narrow(Along(origin, std::max(crossings->entering, 0.0), direction));
}

std::optional<D3DXVECTOR3> HitProjectionPlane(const EyeRay& ray)
{
    if (!(ray.direction.y < 0.0f))
        return std::nullopt;
    const double t = (-projectionRadius - static_cast<double>(ray.origin.y)) / ray.direction.y;
    if (t < 0.0)
        return std::nullopt;  // the eye is below the plane
    return Narrow(Along(Widen(ray.origin), t, Widen(ray.direction)));
}

std::optional<D3DXVECTOR3> ImageOnPlane(const D3DXVECTOR3& point)
{
    const double r = projectionRadius;
    const Vector centre = Widen(ProjectionCentre());
    const double below = r - point.y;  // how far the point lies under C
    if (!(below > 0.0))
        return std::nullopt;
    return Narrow(Along(centre, 2.0 * r / below, Difference(Widen(point), centre)));
}

D3DXVECTOR3 SpherePointOfImage(const D3DXVECTOR3& image)
{
    const Vector centre = Widen(ProjectionCentre());
    const Vector towardsImage = Difference(Widen(image), centre);
    // C is inside the sphere: the line through it always crosses the sphere.
    return Narrow(Along(centre, UnitSphereCrossings(centre, towardsImage)->leaving, towardsImage));
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
    const Vector world = Widen(point);
    const auto row = [&](int i) { return Vector{rotation.m[i][0], rotation.m[i][1], rotation.m[i][2]}; };
    const Vector m{Dot(world, row(0)), Dot(world, row(1)), Dot(world, row(2))};
    const double horizontal = std::hypot(m.x, m.z);
    return LatitudeLongitude{std::atan2(m.y, horizontal) * radiansToDegrees, std::atan2(m.x, -m.z) * radiansToDegrees};
}
