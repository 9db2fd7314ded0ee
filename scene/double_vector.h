// The scene's double-precision vector: sums whose float rounding would show (a point turned about
// an axis, a ray's crossing with the sphere far from the eye) are done in it, and the result is
// rounded to float once.
#pragma once

#include <d3dx9.h>

struct DoubleVector {
    double x, y, z;
};

inline DoubleVector Widen(const D3DXVECTOR3& v)
{
    return {v.x, v.y, v.z};
}

inline D3DXVECTOR3 Narrow(const DoubleVector& v)
{
    return D3DXVECTOR3(static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z));
}

inline DoubleVector operator+(const DoubleVector& a, const DoubleVector& b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

inline DoubleVector operator-(const DoubleVector& a, const DoubleVector& b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

inline DoubleVector operator*(double s, const DoubleVector& v)
{
    return {s * v.x, s * v.y, s * v.z};
}

inline double Dot(const DoubleVector& a, const DoubleVector& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

inline DoubleVector Cross(const DoubleVector& a, const DoubleVector& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
