// D3DX9 plane functions. A plane (a, b, c, d) holds the points p with a*x + b*y + c*z + d = 0.
#include <d3dx9math.h>

extern "C" {

// The plane through the point with the given normal; the normal is taken as it is, not
// normalised.
D3DXPLANE* WINAPI D3DXPlaneFromPointNormal(D3DXPLANE* pOut, const D3DXVECTOR3* pPoint, const D3DXVECTOR3* pNormal)
{
    *pOut = D3DXPLANE(pNormal->x, pNormal->y, pNormal->z, -D3DXVec3Dot(pPoint, pNormal));
    return pOut;
}

// Scales the plane so that its normal (a, b, c) has length 1; a plane without a normal becomes
// all zeros.
D3DXPLANE* WINAPI D3DXPlaneNormalize(D3DXPLANE* pOut, const D3DXPLANE* pP)
{
    const D3DXPLANE p = *pP;
    const FLOAT length = sqrtf(p.a * p.a + p.b * p.b + p.c * p.c);
    if (length == 0.0f) {
        *pOut = D3DXPLANE(0.0f, 0.0f, 0.0f, 0.0f);
    } else {
        *pOut = D3DXPLANE(p.a / length, p.b / length, p.c / length, p.d / length);
    }
    return pOut;
}

}  // extern "C"
