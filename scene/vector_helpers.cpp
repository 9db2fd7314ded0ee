// Rotation of a point about an axis, and the camera's horizontal basis.
#include "scene/vector_helpers.h"

#include "scene/double_vector.h"

#include <cmath>

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
    const DoubleVector n = Widen(unitAxis);
    const DoubleVector v = Widen(*point);

    // Split the point into its part along the axis, which stays, and the part across it,
    // which turns in the plane spanned by itself and n x across.
    const DoubleVector along = Dot(v, n) * n;
    const DoubleVector across = v - along;
    const DoubleVector turned = Cross(n, across);
    const double a = angle;
    *out = Narrow(along + std::cos(a) * across + std::sin(a) * turned);
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
