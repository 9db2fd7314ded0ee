// D3DX9 quaternion functions. A unit quaternion (x, y, z, w) = (sin(a/2) n, cos(a/2)) stands
// for the turn by a about the unit axis n, in the same sense as D3DXMatrixRotationAxis.
#include <d3dx9math.h>

extern "C" {

D3DXQUATERNION* WINAPI D3DXQuaternionRotationAxis(D3DXQUATERNION* pOut, const D3DXVECTOR3* pV, FLOAT Angle)
{
    D3DXVECTOR3 axis;
    D3DXVec3Normalize(&axis, pV);
    const FLOAT s = sinf(Angle / 2.0f);
    *pOut = D3DXQUATERNION(s * axis.x, s * axis.y, s * axis.z, cosf(Angle / 2.0f));
    return pOut;
}

// The rotation Q1 followed by Q2: the Hamilton product Q2 * Q1.
D3DXQUATERNION* WINAPI D3DXQuaternionMultiply(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1,
                                              const D3DXQUATERNION* pQ2)
{
    const D3DXQUATERNION q = *pQ1;
    const D3DXQUATERNION p = *pQ2;
    *pOut =
        D3DXQUATERNION(p.w * q.x + p.x * q.w + p.y * q.z - p.z * q.y, p.w * q.y - p.x * q.z + p.y * q.w + p.z * q.x,
                       p.w * q.z + p.x * q.y - p.y * q.x + p.z * q.w, p.w * q.w - p.x * q.x - p.y * q.y - p.z * q.z);
    return pOut;
}

}  // extern "C"
