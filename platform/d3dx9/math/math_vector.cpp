// D3DX9 vector functions: normalisation and transformation of row vectors by 4x4 matrices.
#include <d3dx9math.h>

extern "C" {

// A zero vector has no direction; D3DX answers it with the zero vector.
D3DXVECTOR3* WINAPI D3DXVec3Normalize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV)
{
    const FLOAT length = D3DXVec3Length(pV);
    if (length == 0.0f) {
        *pOut = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    } else {
        *pOut = D3DXVECTOR3(pV->x / length, pV->y / length, pV->z / length);
    }
    return pOut;
}

D3DXVECTOR4* WINAPI D3DXVec4Transform(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV, const D3DXMATRIX* pM)
{
    const D3DXVECTOR4 v = *pV;
    const D3DXMATRIX& m = *pM;
    *pOut = D3DXVECTOR4(
        v.x * m._11 + v.y * m._21 + v.z * m._31 + v.w * m._41, v.x * m._12 + v.y * m._22 + v.z * m._32 + v.w * m._42,
        v.x * m._13 + v.y * m._23 + v.z * m._33 + v.w * m._43, v.x * m._14 + v.y * m._24 + v.z * m._34 + v.w * m._44);
    return pOut;
}

// The point (x, y, z, 1) times the matrix.
D3DXVECTOR4* WINAPI D3DXVec3Transform(D3DXVECTOR4* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM)
{
    const D3DXVECTOR4 v(pV->x, pV->y, pV->z, 1.0f);
    return D3DXVec4Transform(pOut, &v, pM);
}

// The point (x, y, z, 1) times the matrix, divided by the resulting w. A point whose w is 0
// has no image; the division then gives infinities or NaNs, as in D3DX.
D3DXVECTOR3* WINAPI D3DXVec3TransformCoord(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM)
{
    D3DXVECTOR4 h;
    D3DXVec3Transform(&h, pV, pM);
    *pOut = D3DXVECTOR3(h.x / h.w, h.y / h.w, h.z / h.w);
    return pOut;
}

}  // extern "C"
