// The little matrix arithmetic the pipeline needs, in Direct3D's row-vector convention: a
// point p transforms as p·M, and Multiply(A, B) applies A first.
#pragma once

#include <d3d9types.h>

namespace quorvane::d3d9 {

struct Matrix4 {
    float m[16];  // row-major, like D3DMATRIX
};

struct Matrix3 {
    float m[9];  // row-major
};

struct Vector3 {
    float x, y, z;
};

Matrix4 ToMatrix4(const D3DMATRIX& matrix);
Matrix4 Multiply(const Matrix4& a, const Matrix4& b);
Matrix4 Multiply(const D3DMATRIX& a, const D3DMATRIX& b);
Matrix4 Multiply(const Matrix4& a, const D3DMATRIX& b);

// The inverse transpose of the upper 3 x 3 part, which carries normals; a singular matrix
// gives zeros (such a transform flattens everything, so no normal survives it anyway).
Matrix3 InverseTranspose3x3(const Matrix4& matrix);

Vector3 TransformPoint(const D3DVECTOR& point, const Matrix4& matrix);
Vector3 TransformDirection(const D3DVECTOR& direction, const Matrix4& matrix);
Vector3 Normalize(const Vector3& v);

}  // namespace quorvane::d3d9
