// Rotation of a point about an axis, and the camera's horizontal basis.
#include "scene/vector_helpers.h"

#include <cmath>

namespace {

struct Vector {
    double x, y, z;
};

Vector operator+(Vector a, Vector b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vector operator-(Vector a, Vector b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vector operator*(double s, Vector v)
{
    return {s * v.x, s * v.y, s * v.z};
}
double Dot(Vector a, Vector b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vector Cross(Vector a, Vector b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

}  // namespace

D3DXVECTOR3* RotateAboutAxis(const D3DXVECTOR3* point, const D3DXVECTOR3* axis, float angle, D3DXVECTOR3* out)
{
    if (out == nullptr)
        return nullptr;
    if (point == nullptr) {
        *out = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
        return out;
    }
    if (axis == nullptr || (axis->x == 0.0f && axis->y == 0.0f && axis->z == 0.0f)) {
        *out = *point;
        return out;
    }

    D3DXVECTOR3 unitAxis;
    D3DXVec3Normalize(&unitAxis, axis);
    const Vector n{unitAxis.x, unitAxis.y, unitAxis.z};
    const Vector v{point->x, point->y, point->z};

    // Split the point into its part along the axis, which stays, and the part across it,
    // which turns in the plane spanned by itself and n x across.
    const Vector along = Dot(v, n) * n;
    const Vector across = v - along;
    const Vector turned = Cross(n, across);
    const double a = angle;
    const Vector result = along + std::cos(a) * across + std::sin(a) * turned;

    *out = D3DXVECTOR3(static_cast<float>(result.x), static_cast<float>(result.y), static_cast<float>(result.z));
    return out;
}

void CameraBasis(float azimuth, D3DXVECTOR3* forward, D3DXVECTOR3* right)
{
    const D3DXVECTOR3 vertical(0.0f, 1.0f, 0.0f);
    const D3DXVECTOR3 towardsCamera(0.0f, 0.0f, -1.0f);
    const D3DXVECTOR3 sideways(1.0f, 0.0f, 0.0f);
    RotateAboutAxis(&towardsCamera, &vertical, azimuth, forward);
    RotateAboutAxis(&sideways, &vertical, azimuth, right);
}
