#include "d3d9/matrix_math.h"

#include <cmath>
#include <cstring>

namespace quorvane::d3d9 {

Matrix4 ToMatrix4(const D3DMATRIX& matrix)
{
    Matrix4 result;
    std::memcpy(result.m, &matrix.m[0][0], sizeof result.m);
    return result;
}

Matrix4 Multiply(const Matrix4& a, const Matrix4& b)
{
    Matrix4 result;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += a.m[row * 4 + k] * b.m[k * 4 + column];
            result.m[row * 4 + column] = sum;
        }
    }
    return result;
}

Matrix4 Multiply(const D3DMATRIX& a, const D3DMATRIX& b)
{
    return Multiply(ToMatrix4(a), ToMatrix4(b));
}

Matrix4 Multiply(const Matrix4& a, const D3DMATRIX& b)
{
    return Multiply(a, ToMatrix4(b));
}

Matrix3 InverseTranspose3x3(const Matrix4& matrix)
{
    auto at = [&](int row, int column) { return matrix.m[row * 4 + column]; };
    // Cofactors of the 3 x 3 part; the inverse transpose is the cofactor matrix over the
    // determinant.
    float c[9];
    c[0] = at(1, 1) * at(2, 2) - at(1, 2) * at(2, 1);
    c[1] = at(1, 2) * at(2, 0) - at(1, 0) * at(2, 2);
    c[2] = at(1, 0) * at(2, 1) - at(1, 1) * at(2, 0);
    c[3] = at(0, 2) * at(2, 1) - at(0, 1) * at(2, 2);
    c[4] = at(0, 0) * at(2, 2) - at(0, 2) * at(2, 0);
    c[5] = at(0, 1) * at(2, 0) - at(0, 0) * at(2, 1);
    c[6] = at(0, 1) * at(1, 2) - at(0, 2) * at(1, 1);
    c[7] = at(0, 2) * at(1, 0) - at(0, 0) * at(1, 2);
    c[8] = at(0, 0) * at(1, 1) - at(0, 1) * at(1, 0);
    float determinant = at(0, 0) * c[0] + at(0, 1) * c[1] + at(0, 2) * c[2];
    Matrix3 result{};
    if (determinant == 0.0f || !std::isfinite(determinant))
        return result;
    for (int i = 0; i < 9; ++i)
        result.m[i] = c[i] / determinant;
    return result;
}

Vector3 TransformPoint(const D3DVECTOR& p, const Matrix4& m)
{
    return {p.x * m.m[0] + p.y * m.m[4] + p.z * m.m[8] + m.m[12], p.x * m.m[1] + p.y * m.m[5] + p.z * m.m[9] + m.m[13],
            p.x * m.m[2] + p.y * m.m[6] + p.z * m.m[10] + m.m[14]};
}

Vector3 TransformDirection(const D3DVECTOR& d, const Matrix4& m)
{
    return {d.x * m.m[0] + d.y * m.m[4] + d.z * m.m[8], d.x * m.m[1] + d.y * m.m[5] + d.z * m.m[9],
            d.x * m.m[2] + d.y * m.m[6] + d.z * m.m[10]};
}

Vector3 Normalize(const Vector3& v)
{
    float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (length == 0.0f)
        return v;
    return {v.x / length, v.y / length, v.z / length};
}

}  // namespace quorvane::d3d9
