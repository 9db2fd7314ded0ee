// RotateAboutAxis and CameraBasis.
#include <gtest/gtest.h>

#include <cmath>

#include "scene/vector_helpers.h"

namespace {

void ExpectNear(const D3DXVECTOR3& expected, const D3DXVECTOR3& actual, float tolerance = 1e-6f)
{
    EXPECT_NEAR(expected.x, actual.x, tolerance);
    EXPECT_NEAR(expected.y, actual.y, tolerance);
    EXPECT_NEAR(expected.z, actual.z, tolerance);
}

TEST(RotateAboutAxis, TurnsRightHandedAboutTheAxis)
{
    const float a = 0.4f;
    const D3DXVECTOR3 y(0, 1, 0), x(1, 0, 0);
    D3DXVECTOR3 out;
    EXPECT_EQ(RotateAboutAxis(&x, &y, a, &out), &out);
    ExpectNear(D3DXVECTOR3(std::cos(a), 0, -std::sin(a)), out);
    const D3DXVECTOR3 back(0, 0, -1);
    RotateAboutAxis(&back, &y, a, &out);
    ExpectNear(D3DXVECTOR3(-std::sin(a), 0, -std::cos(a)), out);
    RotateAboutAxis(&y, &x, a, &out);
    ExpectNear(D3DXVECTOR3(0, std::cos(a), std::sin(a)), out);
}

TEST(RotateAboutAxis, MissingOrZeroInputs)
{
    const D3DXVECTOR3 point(1, 2, 3), axis(0, 1, 0), zero(0, 0, 0);
    EXPECT_EQ(RotateAboutAxis(&point, &axis, 1.0f, nullptr), nullptr);

    D3DXVECTOR3 out(9, 9, 9);
    EXPECT_EQ(RotateAboutAxis(nullptr, &axis, 1.0f, &out), &out);
    EXPECT_TRUE(out == zero);

    RotateAboutAxis(&point, &zero, 1.0f, &out);
    EXPECT_TRUE(out == point);
    out = zero;
    RotateAboutAxis(&point, nullptr, 1.0f, &out);
    EXPECT_TRUE(out == point);
}

TEST(RotateAboutAxis, AxisLengthDoesNotMatter)
{
    const D3DXVECTOR3 point(1, 0, 0), longAxis(0, 5, 0);
    D3DXVECTOR3 out;
    RotateAboutAxis(&point, &longAxis, 3.14159f / 2, &out);
    ExpectNear(D3DXVECTOR3(0, 0, -1), out, 1e-5f);

    const D3DXVECTOR3 slanted(1, 2, -2), unitSlanted(1.0f / 3, 2.0f / 3, -2.0f / 3), other(0.3f, -0.7f, 2.0f);
    D3DXVECTOR3 fromLong, fromUnit;
    RotateAboutAxis(&other, &slanted, 2.5f, &fromLong);
    RotateAboutAxis(&other, &unitSlanted, 2.5f, &fromUnit);
    ExpectNear(fromUnit, fromLong);
    EXPECT_NEAR(D3DXVec3Length(&other), D3DXVec3Length(&fromLong), 1e-6f);
}

TEST(RotateAboutAxis, PointOnTheAxisStays)
{
    const D3DXVECTOR3 axis(1, 1, 0), onAxis(-2, -2, 0);
    for (float angle : {0.3f, 1.7f, -4.0f, 3.14159f}) {
        D3DXVECTOR3 out;
        RotateAboutAxis(&onAxis, &axis, angle, &out);
        ExpectNear(onAxis, out, 1e-6f);
    }
}

TEST(RotateAboutAxis, InPlaceGivesTheSameAsSeparateVectors)
{
    const D3DXVECTOR3 axis(0.2f, 0.9f, -0.4f);
    D3DXVECTOR3 point(1.5f, -0.5f, 2.0f), separate;
    RotateAboutAxis(&point, &axis, 0.8f, &separate);
    EXPECT_EQ(RotateAboutAxis(&point, &axis, 0.8f, &point), &point);
    EXPECT_TRUE(point == separate);

    // The axis itself may be rotated in place too: it stays where it is.
    D3DXVECTOR3 selfAxis(0, 2, 0);
    RotateAboutAxis(&selfAxis, &selfAxis, 1.0f, &selfAxis);
    ExpectNear(D3DXVECTOR3(0, 2, 0), selfAxis);
}

TEST(CameraBasis, ForwardAndRightAreHorizontalUnitVectors)
{
    D3DXVECTOR3 forward, right;
    CameraBasis(0.0f, &forward, &right);
    ExpectNear(D3DXVECTOR3(0, 0, -1), forward);
    ExpectNear(D3DXVECTOR3(1, 0, 0), right);

    const float a = 3.14159f / 2;
    CameraBasis(a, &forward, &right);
    ExpectNear(D3DXVECTOR3(-1, 0, 0), forward, 1e-5f);
    ExpectNear(D3DXVECTOR3(0, 0, -1), right, 1e-5f);

    CameraBasis(2.0f, &forward, &right);
    ExpectNear(D3DXVECTOR3(-std::sin(2.0f), 0, -std::cos(2.0f)), forward);
    ExpectNear(D3DXVECTOR3(std::cos(2.0f), 0, -std::sin(2.0f)), right);
    EXPECT_NEAR(0.0f, D3DXVec3Dot(&forward, &right), 1e-6f);
}

}  // namespace
