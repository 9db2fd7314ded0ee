// D3DX9 matrix functions for placing objects: products, scaling, translation, rotations and
// reflection. Matrices act on row vectors, so a product A * B applies A first.
#include <d3dx9math.h>

extern "C" {

// Works on copies of both inputs, so pOut may be either of them.
D3DXMATRIX* WINAPI D3DXMatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2)
{
    const D3DXMATRIX a = *pM1;
    const D3DXMATRIX b = *pM2;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            pOut->m[row][col] = a.m[row][0] * b.m[0][col] + a.m[row][1] * b.m[1][col] + a.m[row][2] * b.m[2][col] +
                                a.m[row][3] * b.m[3][col];
        }
    }
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixScaling(D3DXMATRIX* pOut, FLOAT sx, FLOAT sy, FLOAT sz)
{
    *pOut = D3DXMATRIX(sx, 0, 0, 0, 0, sy, 0, 0, 0, 0, sz, 0, 0, 0, 0, 1);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixTranslation(D3DXMATRIX* pOut, FLOAT x, FLOAT y, FLOAT z)
{
    *pOut = D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1);
    return pOut;
}

// The turn by Angle about the axis through the origin (normalised first). Looking from the
// axis' tip towards the origin the turn is clockwise, which is Direct3D's left-handed sense:
// about +y, +x moves towards -z.
D3DXMATRIX* WINAPI D3DXMatrixRotationAxis(D3DXMATRIX* pOut, const D3DXVECTOR3* pV, FLOAT Angle)
{
    D3DXVECTOR3 n;
    D3DXVec3Normalize(&n, pV);
    const FLOAT s = sinf(Angle);
    const FLOAT c = cosf(Angle);
    const FLOAT t = 1.0f - c;
    *pOut = D3DXMATRIX(t * n.x * n.x + c, t * n.x * n.y + s * n.z, t * n.x * n.z - s * n.y, 0, t * n.y * n.x - s * n.z,
                       t * n.y * n.y + c, t * n.y * n.z + s * n.x, 0, t * n.z * n.x + s * n.y, t * n.z * n.y - s * n.x,
                       t * n.z * n.z + c, 0, 0, 0, 0, 1);
    return pOut;
}

// The rotation of a unit quaternion; the quaternion is used as given, not normalised.
D3DXMATRIX* WINAPI D3DXMatrixRotationQuaternion(D3DXMATRIX* pOut, const D3DXQUATERNION* pQ)
{
    const FLOAT x = pQ->x, y = pQ->y, z = pQ->z, w = pQ->w;
    *pOut = D3DXMATRIX(1.0f - 2.0f * (y * y + z * z), 2.0f * (x * y + z * w), 2.0f * (x * z - y * w), 0,
                       2.0f * (x * y - z * w), 1.0f - 2.0f * (x * x + z * z), 2.0f * (y * z + x * w), 0,
                       2.0f * (x * z + y * w), 2.0f * (y * z - x * w), 1.0f - 2.0f * (x * x + y * y), 0, 0, 0, 0, 1);
    return pOut;
}

// The mirror through the plane, which is normalised first.
D3DXMATRIX* WINAPI D3DXMatrixReflect(D3DXMATRIX* pOut, const D3DXPLANE* pPlane)
{
    D3DXPLANE p;
    D3DXPlaneNormalize(&p, pPlane);
    *pOut = D3DXMATRIX(1.0f - 2.0f * p.a * p.a, -2.0f * p.b * p.a, -2.0f * p.c * p.a, 0, -2.0f * p.a * p.b,
                       1.0f - 2.0f * p.b * p.b, -2.0f * p.c * p.b, 0, -2.0f * p.a * p.c, -2.0f * p.b * p.c,
                       1.0f - 2.0f * p.c * p.c, 0, -2.0f * p.a * p.d, -2.0f * p.b * p.d, -2.0f * p.c * p.d, 1);
    return pOut;
}

}  // extern "C"
