// D3DX matrix functions against hand-computed matrices.
#include <cmath>

#include "math_expect.h"

namespace quorvane::tests {
namespace {

D3DXVECTOR3 Transform(const D3DXVECTOR3& point, const D3DXMATRIX& m)
{
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &point, &m);
    return out;
}

TEST(D3DXMatrix, TypesHaveTheDirect3DLayout)
{
    static_assert(sizeof(D3DXMATRIX) == sizeof(D3DMATRIX) && sizeof(D3DXMATRIX) == 64);
    static_assert(sizeof(D3DXVECTOR3) == 12 && sizeof(D3DXVECTOR4) == 16);
    static_assert(sizeof(D3DXQUATERNION) == 16 && sizeof(D3DXPLANE) == 16);
    const D3DXMATRIX m(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    EXPECT_EQ(m._23, 7.0f);
    EXPECT_EQ(m.m[2][1], 10.0f);
    EXPECT_EQ(m(3, 0), 13.0f);
    EXPECT_EQ(static_cast<const float*>(m)[5], 6.0f);
}

TEST(D3DXMatrix, MultiplyAppliesTheFirstMatrixFirst)
{
    D3DXMATRIX translate, scale, translateThenScale, scaleThenTranslate;
    D3DXMatrixTranslation(&translate, 1, 0, 0);
    D3DXMatrixScaling(&scale, 2, 3, 4);
    EXPECT_EQ(D3DXMatrixMultiply(&translateThenScale, &translate, &scale), &translateThenScale);
    D3DXMatrixMultiply(&scaleThenTranslate, &scale, &translate);

    ExpectVectorNear(D3DXVECTOR3(4, 3, 4), Transform(D3DXVECTOR3(1, 1, 1), translateThenScale));
    ExpectVectorNear(D3DXVECTOR3(3, 3, 4), Transform(D3DXVECTOR3(1, 1, 1), scaleThenTranslate));
    ExpectMatrixNear(translateThenScale, translate * scale);
}

TEST(D3DXMatrix, MultiplyMayWriteOverEitherInput)
{
    const D3DXMATRIX a(1, 2, 0, 0, 0, 1, 3, 0, 4, 0, 1, 0, 1, 2, 3, 1);
    const D3DXMATRIX b(0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 2, 0, 5, 6, 7, 1);
    D3DXMATRIX expected;
    D3DXMatrixMultiply(&expected, &a, &b);
    // Row 1 of a * b by hand: (1, 2, 0, 0) * b = (0 - 2, 1 + 0, 0, 0).
    EXPECT_FLOAT_EQ(expected._11, -2.0f);
    EXPECT_FLOAT_EQ(expected._12, 1.0f);

    D3DXMATRIX left = a, right = b;
    D3DXMatrixMultiply(&left, &left, &b);
    D3DXMatrixMultiply(&right, &a, &right);
    ExpectMatrixNear(expected, left, 0.0f);
    ExpectMatrixNear(expected, right, 0.0f);

    D3DXMATRIX square = a, squared;
    D3DXMatrixMultiply(&squared, &a, &a);
    D3DXMatrixMultiply(&square, &square, &square);
    ExpectMatrixNear(squared, square, 0.0f);
}

TEST(D3DXMatrix, ScalingTranslationAndIdentity)
{
    D3DXMATRIX m;
    D3DXMatrixScaling(&m, 2, 3, 4);
    ExpectMatrixNear(D3DXMATRIX(2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1), m, 0.0f);
    D3DXMatrixTranslation(&m, 5, 6, 7);
    ExpectMatrixNear(D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 6, 7, 1), m, 0.0f);
    EXPECT_FALSE(D3DXMatrixIsIdentity(&m));
    EXPECT_EQ(D3DXMatrixIdentity(&m), &m);
    EXPECT_TRUE(D3DXMatrixIsIdentity(&m));
}

TEST(D3DXMatrix, RotationAxisTurnsClockwiseSeenFromTheAxisTip)
{
    const float angle = 0.7f;
    D3DXMATRIX m;
    const D3DXVECTOR3 yAxis(0, 5, 0);  // any length
    D3DXMatrixRotationAxis(&m, &yAxis, angle);
    ExpectVectorNear(D3DXVECTOR3(std::cos(angle), 0, -std::sin(angle)), Transform(D3DXVECTOR3(1, 0, 0), m));
    ExpectVectorNear(D3DXVECTOR3(std::sin(angle), 0, std::cos(angle)), Transform(D3DXVECTOR3(0, 0, 1), m));

    const D3DXVECTOR3 zAxis(0, 0, 1);
    D3DXMatrixRotationAxis(&m, &zAxis, D3DX_PI / 2);
    ExpectVectorNear(D3DXVECTOR3(0, 1, 0), Transform(D3DXVECTOR3(1, 0, 0), m));

    // A diagonal axis: the turn by 120 degrees about (1, 1, 1) cycles the coordinate axes.
    const D3DXVECTOR3 diagonal(1, 1, 1);
    D3DXMatrixRotationAxis(&m, &diagonal, 2 * D3DX_PI / 3);
    ExpectVectorNear(D3DXVECTOR3(0, 1, 0), Transform(D3DXVECTOR3(1, 0, 0), m), 1e-6f);
    ExpectVectorNear(D3DXVECTOR3(0, 0, 1), Transform(D3DXVECTOR3(0, 1, 0), m), 1e-6f);
}

TEST(D3DXMatrix, RotationQuaternionByHand)
{
    // 90 degrees about z: (0, 0, sin 45, cos 45).
    const float h = std::sqrt(0.5f);
    const D3DXQUATERNION q(0, 0, h, h);
    D3DXMATRIX m;
    EXPECT_EQ(D3DXMatrixRotationQuaternion(&m, &q), &m);
    ExpectMatrixNear(D3DXMATRIX(0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1), m);

    // 180 degrees about x: y -> -y, z -> -z.
    const D3DXQUATERNION flip(1, 0, 0, 0);
    D3DXMatrixRotationQuaternion(&m, &flip);
    ExpectMatrixNear(D3DXMATRIX(1, 0, 0, 0, 0, -1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1), m);
}

TEST(D3DXMatrix, RotationQuaternionAgreesWithRotationAxis)
{
    const D3DXVECTOR3 axis(1, -2, 3);
    D3DXQUATERNION q;
    D3DXQuaternionRotationAxis(&q, &axis, 1.3f);
    D3DXMATRIX fromQuaternion, fromAxis;
    D3DXMatrixRotationQuaternion(&fromQuaternion, &q);
    D3DXMatrixRotationAxis(&fromAxis, &axis, 1.3f);
    ExpectMatrixNear(fromAxis, fromQuaternion, 1e-6f);
}

TEST(D3DXMatrix, ReflectNormalisesThePlane)
{
    const D3DXVECTOR3 origin(0, 0, 0), up(0, 1, 0);
    D3DXPLANE equatorial;
    D3DXPlaneFromPointNormal(&equatorial, &origin, &up);
    D3DXMATRIX m;
    EXPECT_EQ(D3DXMatrixReflect(&m, &equatorial), &m);
    ExpectMatrixNear(D3DXMATRIX(1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1), m, 0.0f);

    // The plane y = 1 given unnormalised as 2y - 2 = 0: y -> 2 - y.
    const D3DXPLANE shifted(0, 2, 0, -2);
    D3DXMatrixReflect(&m, &shifted);
    ExpectMatrixNear(D3DXMATRIX(1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1, 0, 0, 2, 0, 1), m);
    ExpectVectorNear(D3DXVECTOR3(3, -3, 7), Transform(D3DXVECTOR3(3, 5, 7), m));

    // The plane x = z through the origin swaps x and z.
    const D3DXPLANE diagonal(1, 0, -1, 0);
    D3DXMatrixReflect(&m, &diagonal);
    ExpectVectorNear(D3DXVECTOR3(3, 5, 1), Transform(D3DXVECTOR3(1, 5, 3), m));
}

TEST(D3DXMatrix, LookAtLHFromTheFrontAndFromTheSide)
{
    D3DXMATRIX m;
    const D3DXVECTOR3 front(0, 0, -10), origin(0, 0, 0), up(0, 1, 0);
    EXPECT_EQ(D3DXMatrixLookAtLH(&m, &front, &origin, &up), &m);
    ExpectMatrixNear(D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 10, 1), m);

    // From +x looking back: view z is world -x, view x is world +z (left-handed).
    const D3DXVECTOR3 side(10, 0, 0);
    D3DXMatrixLookAtLH(&m, &side, &origin, &up);
    ExpectMatrixNear(D3DXMATRIX(0, 0, -1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 10, 1), m);
    ExpectVectorNear(D3DXVECTOR3(0, 0, 0), Transform(side, m));

    // An up vector that is not perpendicular to the view direction is straightened.
    const D3DXVECTOR3 above(0, 10, -10), tiltedUp(0, 1, 0);
    D3DXMatrixLookAtLH(&m, &above, &origin, &tiltedUp);
    ExpectVectorNear(D3DXVECTOR3(0, 0, std::sqrt(200.0f)), Transform(origin, m), 1e-5f);
    const float h = std::sqrt(0.5f);
    ExpectVectorNear(D3DXVECTOR3(0, h, h), D3DXVECTOR3(m._12, m._22, m._32));  // view up in world
}

TEST(D3DXMatrix, PerspectiveFovLHMapsDepthToZeroOne)
{
    D3DXMATRIX m;
    EXPECT_EQ(D3DXMatrixPerspectiveFovLH(&m, D3DX_PI / 2, 2.0f, 1.0f, 101.0f), &m);
    ExpectMatrixNear(D3DXMATRIX(0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1.01f, 1, 0, 0, -1.01f, 0), m);
    EXPECT_NEAR(0.0f, Transform(D3DXVECTOR3(0, 0, 1), m).z, 1e-6f);
    EXPECT_NEAR(1.0f, Transform(D3DXVECTOR3(0, 0, 101), m).z, 1e-6f);
    // A point on the upper edge of the 90-degree field of view lands on y = 1.
    EXPECT_NEAR(1.0f, Transform(D3DXVECTOR3(0, 5, 5), m).y, 1e-6f);

    // The viewer's own projection: the float just below 60 degrees, near 1, far 1000.
    D3DXMatrixPerspectiveFovLH(&m, 1.0471967f, 4.0f / 3.0f, 1.0f, 1000.0f);
    const double yScale = 1.0 / std::tan(double(1.0471967f) / 2);  // 1.7320524, not quite sqrt(3)
    EXPECT_NEAR(yScale, m._22, 1e-6);
    EXPECT_NEAR(yScale * 0.75, m._11, 1e-6);
    EXPECT_NEAR(1000.0f / 999.0f, m._33, 1e-6f);
    EXPECT_NEAR(-1000.0f / 999.0f, m._43, 1e-6f);
}

TEST(D3DXMatrix, OperatorsMatchTheFunctions)
{
    const D3DXMATRIX a(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    D3DXMATRIX b;
    D3DXMatrixTranslation(&b, 1, 2, 3);
    D3DXMATRIX product;
    D3DXMatrixMultiply(&product, &a, &b);
    D3DXMATRIX c = a;
    c *= b;
    EXPECT_TRUE(c == product);
    EXPECT_TRUE((a + a) == a * 2.0f);
    EXPECT_TRUE((a - a) == a * 0.0f);
    EXPECT_TRUE(-a == a * -1.0f);
    EXPECT_TRUE(a != b);
}

}  // namespace
}  // namespace quorvane::tests
