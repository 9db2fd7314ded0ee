// D3DX vector, plane and quaternion functions against hand-computed values.
#include <cmath>

#include "math_expect.h"

namespace quorvane::tests {
namespace {

const float h = std::sqrt(0.5f);  // sin 45 degrees = cos 45 degrees

void ExpectQuaternionNear(const D3DXQUATERNION& expected, const D3DXQUATERNION& actual)
{
    EXPECT_NEAR(expected.x, actual.x, mathTolerance);
    EXPECT_NEAR(expected.y, actual.y, mathTolerance);
    EXPECT_NEAR(expected.z, actual.z, mathTolerance);
    EXPECT_NEAR(expected.w, actual.w, mathTolerance);
}

TEST(D3DXVector, NormalizeGivesAUnitVectorAndZeroForZero)
{
    const D3DXVECTOR3 v(3, 4, 0);
    D3DXVECTOR3 out;
    EXPECT_EQ(D3DXVec3Normalize(&out, &v), &out);
    ExpectVectorNear(D3DXVECTOR3(0.6f, 0.8f, 0), out);

    const D3DXVECTOR3 zero(0, 0, 0);
    out = D3DXVECTOR3(7, 7, 7);
    D3DXVec3Normalize(&out, &zero);
    EXPECT_TRUE(out == zero);

    D3DXVECTOR3 inPlace(0, -2, 0);
    D3DXVec3Normalize(&inPlace, &inPlace);
    ExpectVectorNear(D3DXVECTOR3(0, -1, 0), inPlace);
}

TEST(D3DXVector, TransformsAreRowVectorTimesMatrix)
{
    // A projective matrix: w' = z, and a translation that only a point (w = 1) feels.
    const D3DXMATRIX m(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 1, 10, 20, 30, 0);
    const D3DXVECTOR3 point(2, 4, 2);

    D3DXVECTOR4 homogeneous;
    EXPECT_EQ(D3DXVec3Transform(&homogeneous, &point, &m), &homogeneous);
    EXPECT_TRUE(homogeneous == D3DXVECTOR4(12, 24, 32, 2));

    D3DXVECTOR3 divided;
    EXPECT_EQ(D3DXVec3TransformCoord(&divided, &point, &m), &divided);
    ExpectVectorNear(D3DXVECTOR3(6, 12, 16), divided);

    const D3DXVECTOR4 direction(2, 4, 2, 0);
    D3DXVECTOR4 out;
    EXPECT_EQ(D3DXVec4Transform(&out, &direction, &m), &out);
    EXPECT_TRUE(out == D3DXVECTOR4(2, 4, 2, 2));
}

TEST(D3DXVector, TransformsMayWriteOverTheirInput)
{
    D3DXMATRIX rotation;
    const D3DXVECTOR3 yAxis(0, 1, 0);
    D3DXMatrixRotationAxis(&rotation, &yAxis, D3DX_PI / 2);
    D3DXVECTOR3 v(1, 0, 0);
    D3DXVec3TransformCoord(&v, &v, &rotation);
    ExpectVectorNear(D3DXVECTOR3(0, 0, -1), v);

    D3DXVECTOR4 w(1, 0, 0, 1);
    D3DXVec4Transform(&w, &w, &rotation);
    EXPECT_NEAR(-1.0f, w.z, mathTolerance);
    EXPECT_NEAR(0.0f, w.x, mathTolerance);
}

TEST(D3DXVector, OperatorsAndInlineHelpers)
{
    const D3DXVECTOR3 a(1, 2, 3), b(4, 5, 6);
    EXPECT_TRUE(a + b == D3DXVECTOR3(5, 7, 9));
    EXPECT_TRUE(b - a == D3DXVECTOR3(3, 3, 3));
    EXPECT_TRUE(2.0f * a == a * 2.0f);
    EXPECT_TRUE(-a == D3DXVECTOR3(-1, -2, -3));
    EXPECT_FLOAT_EQ(32.0f, D3DXVec3Dot(&a, &b));
    D3DXVECTOR3 cross;
    D3DXVec3Cross(&cross, &a, &b);
    EXPECT_TRUE(cross == D3DXVECTOR3(-3, 6, -3));
    D3DXVec3Cross(&cross, &cross, &cross);
    EXPECT_TRUE(cross == D3DXVECTOR3(0, 0, 0));
    const D3DXVECTOR3 threeFour(3, 4, 0);
    EXPECT_FLOAT_EQ(5.0f, D3DXVec3Length(&threeFour));
    EXPECT_FLOAT_EQ(25.0f, D3DXVec3LengthSq(&threeFour));
}

TEST(D3DXPlane, FromPointNormalKeepsTheNormalAsGiven)
{
    const D3DXVECTOR3 point(1, 2, 3), normal(0, 2, 0);
    D3DXPLANE plane;
    EXPECT_EQ(D3DXPlaneFromPointNormal(&plane, &point, &normal), &plane);
    EXPECT_TRUE(plane == D3DXPLANE(0, 2, 0, -4));
}

TEST(D3DXPlane, NormalizeScalesAllFourAndZeroStaysZero)
{
    D3DXPLANE plane(0, 3, 4, -10);
    EXPECT_EQ(D3DXPlaneNormalize(&plane, &plane), &plane);
    EXPECT_NEAR(0.6f, plane.b, mathTolerance);
    EXPECT_NEAR(0.8f, plane.c, mathTolerance);
    EXPECT_NEAR(-2.0f, plane.d, mathTolerance);

    const D3DXPLANE degenerate(0, 0, 0, 5);
    D3DXPLANE out;
    D3DXPlaneNormalize(&out, &degenerate);
    EXPECT_TRUE(out == D3DXPLANE(0, 0, 0, 0));
}

TEST(D3DXQuaternion, RotationAxisIsHalfAngleAboutTheUnitAxis)
{
    const D3DXVECTOR3 axis(0, 0, 3);
    D3DXQUATERNION q;
    EXPECT_EQ(D3DXQuaternionRotationAxis(&q, &axis, D3DX_PI / 2), &q);
    ExpectQuaternionNear(D3DXQUATERNION(0, 0, h, h), q);
}

TEST(D3DXQuaternion, MultiplyIsTheFirstRotationFollowedByTheSecond)
{
    const D3DXVECTOR3 xAxis(1, 0, 0), yAxis(0, 1, 0);
    D3DXQUATERNION first, second, product;
    D3DXQuaternionRotationAxis(&first, &xAxis, D3DX_PI / 2);
    D3DXQuaternionRotationAxis(&second, &yAxis, D3DX_PI / 2);
    EXPECT_EQ(D3DXQuaternionMultiply(&product, &first, &second), &product);
    ExpectQuaternionNear(D3DXQUATERNION(0.5f, 0.5f, -0.5f, 0.5f), product);

    // About x, y goes to z; then about y, z goes to x.
    D3DXMATRIX m;
    D3DXMatrixRotationQuaternion(&m, &product);
    D3DXVECTOR3 v(0, 1, 0);
    D3DXVec3TransformCoord(&v, &v, &m);
    ExpectVectorNear(D3DXVECTOR3(1, 0, 0), v);

    // The same as the product of the two rotation matrices in that order.
    D3DXMATRIX a, b, ab;
    D3DXMatrixRotationQuaternion(&a, &first);
    D3DXMatrixRotationQuaternion(&b, &second);
    D3DXMatrixMultiply(&ab, &a, &b);
    ExpectMatrixNear(ab, m);
    EXPECT_TRUE(first * second == product);
}

TEST(D3DXQuaternion, MultiplyMayWriteOverEitherInput)
{
    const D3DXQUATERNION q(0.1f, 0.2f, 0.3f, 0.9f), p(-0.4f, 0.5f, 0.1f, 0.7f);
    D3DXQUATERNION expected;
    D3DXQuaternionMultiply(&expected, &q, &p);
    D3DXQUATERNION left = q, right = p;
    D3DXQuaternionMultiply(&left, &left, &p);
    D3DXQuaternionMultiply(&right, &q, &right);
    EXPECT_TRUE(left == expected);
    EXPECT_TRUE(right == expected);
    D3DXQUATERNION viaOperator = q;
    viaOperator *= p;
    EXPECT_TRUE(viaOperator == expected);
}

TEST(D3DXQuaternion, IdentityLeavesEveryRotationAlone)
{
    D3DXQUATERNION identity, product;
    D3DXQuaternionIdentity(&identity);
    const D3DXQUATERNION q(0.1f, 0.2f, 0.3f, 0.9f);
    D3DXQuaternionMultiply(&product, &identity, &q);
    ExpectQuaternionNear(q, product);
    D3DXMATRIX m;
    D3DXMatrixRotationQuaternion(&m, &identity);
    EXPECT_TRUE(D3DXMatrixIsIdentity(&m));
}

}  // namespace
}  // namespace quorvane::tests
