// The camera orbit, the view it gives, and turning the Earth with left drags.
#include <gtest/gtest.h>

#include <cmath>

#include "scene/camera.h"

namespace {

// The camera state is process-wide; every case starts from the values the program starts with.
class Camera : public testing::Test {
protected:
    void SetUp() override { ResetEarthAndCamera(); }

    static D3DXVECTOR3 EarthPoint(const D3DXVECTOR3& model)
    {
        D3DXMATRIX rotation;
        D3DXMatrixRotationQuaternion(&rotation, &earthOrientation);
        D3DXVECTOR3 world;
        D3DXVec3TransformCoord(&world, &model, &rotation);
        return world;
    }
};

void ExpectNear(const D3DXVECTOR3& expected, const D3DXVECTOR3& actual, float tolerance = 1e-5f)
{
    EXPECT_NEAR(expected.x, actual.x, tolerance);
    EXPECT_NEAR(expected.y, actual.y, tolerance);
    EXPECT_NEAR(expected.z, actual.z, tolerance);
}

// The view-space direction of a world direction.
D3DXVECTOR3 ViewDirection(const D3DXMATRIX& view, const D3DXVECTOR3& direction)
{
    const D3DXVECTOR4 d(direction.x, direction.y, direction.z, 0.0f);
    D3DXVECTOR4 out;
    D3DXVec4Transform(&out, &d, &view);
    return D3DXVECTOR3(out.x, out.y, out.z);
}

TEST_F(Camera, StartsLevelWithTheEarthTenUnitsInFront)
{
    D3DXMATRIX view;
    D3DXVECTOR3 eye;
    BuildViewMatrix(&view, &eye);
    ExpectNear(D3DXVECTOR3(0, 0, -10), eye);
    const D3DXMATRIX expected(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 10, 1);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(expected.m[i / 4][i % 4], view.m[i / 4][i % 4], 1e-6f);
}

TEST_F(Camera, EyeAndUpFollowAzimuthAndElevation)
{
    cameraAzimuth = 0.8f;
    cameraElevation = 0.6f;
    cameraDistance = 4.0f;
    D3DXMATRIX view;
    D3DXVECTOR3 eye;
    BuildViewMatrix(&view, &eye);

    const float a = 0.8f, b = 0.6f;
    ExpectNear(4.0f * D3DXVECTOR3(-std::sin(a) * std::cos(b), std::sin(b), -std::cos(a) * std::cos(b)), eye);
    // The view puts the eye at its origin, looks at the world origin, and its up is the
    // closed-form up vector.
    D3DXVECTOR3 eyeInView, originInView;
    D3DXVec3TransformCoord(&eyeInView, &eye, &view);
    ExpectNear(D3DXVECTOR3(0, 0, 0), eyeInView);
    const D3DXVECTOR3 origin(0, 0, 0);
    D3DXVec3TransformCoord(&originInView, &origin, &view);
    ExpectNear(D3DXVECTOR3(0, 0, 4), originInView);
    const D3DXVECTOR3 up(std::sin(a) * std::sin(b), std::cos(b), std::cos(a) * std::sin(b));
    ExpectNear(D3DXVECTOR3(0, 1, 0), ViewDirection(view, up));
}

TEST_F(Camera, FirstOrbitDragLiftsTheElevation)
{
    DragOrbitCamera(5, 0);
    EXPECT_FLOAT_EQ(0.01f, cameraElevation);
    EXPECT_FLOAT_EQ(0.05f, cameraAzimuth);
}

TEST_F(Camera, ElevationIsClampedAtBothEnds)
{
    cameraElevation = 0.5f;
    DragOrbitCamera(0, 300);
    EXPECT_EQ(1.55f, cameraElevation);
    cameraElevation = 0.5f;
    DragOrbitCamera(0, -300);
    EXPECT_EQ(0.01f, cameraElevation);
    DragOrbitCamera(0, 20);
    EXPECT_FLOAT_EQ(0.21f, cameraElevation);
}

TEST_F(Camera, AzimuthKeepsGrowingAndTheViewRepeats)
{
    D3DXMATRIX start, later;
    DragOrbitCamera(0, 50);
    BuildViewMatrix(&start, nullptr);
    for (int i = 0; i < 100; ++i)
        DragOrbitCamera(100, 0);
    EXPECT_NEAR(100.0f, cameraAzimuth, 1e-3f);
    // 100 rad is 15 full turns and 5.75 rad; turn on to the next full turn.
    cameraAzimuth = static_cast<float>(16 * 2 * 3.14159265358979);
    BuildViewMatrix(&later, nullptr);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(start.m[i / 4][i % 4], later.m[i / 4][i % 4], 1e-4f);
}

TEST_F(Camera, HorizontalEarthDragTurnsAboutTheVertical)
{
    DragRotateEarth(100, 0);
    ExpectNear(D3DXVECTOR3(0.841471f, 0, -0.540302f), EarthPoint(D3DXVECTOR3(0, 0, -1)));
    ExpectNear(D3DXVECTOR3(0, 1, 0), EarthPoint(D3DXVECTOR3(0, 1, 0)));
}

TEST_F(Camera, VerticalEarthDragTurnsAboutTheCameraRightAxis)
{
    // Seen from the initial camera, dragging down carries the front of the Earth down.
    DragRotateEarth(0, 100);
    const D3DXVECTOR3 front = EarthPoint(D3DXVECTOR3(0, 0, -1));
    EXPECT_LT(front.y, -0.8f);
    ExpectNear(D3DXVECTOR3(1, 0, 0), EarthPoint(D3DXVECTOR3(1, 0, 0)));

    // At azimuth pi/2 the right axis is world -z: vertical drags turn about the z axis.
    earthOrientation = D3DXQUATERNION(0, 0, 0, 1);
    cameraAzimuth = 3.14159265f / 2;
    DragRotateEarth(0, 100);
    ExpectNear(D3DXVECTOR3(0, 0, 1), EarthPoint(D3DXVECTOR3(0, 0, 1)));
    const D3DXVECTOR3 turned = EarthPoint(D3DXVECTOR3(1, 0, 0));
    EXPECT_NEAR(0.0f, turned.z, 1e-5f);
    EXPECT_NEAR(std::cos(1.0f), turned.x, 1e-5f);
}

TEST_F(Camera, OneDragTurnsVerticallyFirst)
{
    DragRotateEarth(30, 40);
    const D3DXQUATERNION combined = earthOrientation;

    earthOrientation = D3DXQUATERNION(0, 0, 0, 1);
    DragRotateEarth(0, 40);
    DragRotateEarth(30, 0);
    const D3DXQUATERNION verticalFirst = earthOrientation;

    earthOrientation = D3DXQUATERNION(0, 0, 0, 1);
    DragRotateEarth(30, 0);
    DragRotateEarth(0, 40);
    const D3DXQUATERNION horizontalFirst = earthOrientation;

    EXPECT_NEAR(verticalFirst.x, combined.x, 1e-6f);
    EXPECT_NEAR(verticalFirst.y, combined.y, 1e-6f);
    EXPECT_NEAR(verticalFirst.z, combined.z, 1e-6f);
    EXPECT_NEAR(verticalFirst.w, combined.w, 1e-6f);
    const float difference = std::fabs(horizontalFirst.x - combined.x) + std::fabs(horizontalFirst.y - combined.y) +
                             std::fabs(horizontalFirst.z - combined.z);
    EXPECT_GT(difference, 0.01f);
}

TEST_F(Camera, EarthDragIgnoresTheCameraElevation)
{
    cameraElevation = 1.2f;
    DragRotateEarth(0, 100);
    // The turn is about the horizontal right axis (1, 0, 0), not the tilted camera's.
    ExpectNear(D3DXVECTOR3(1, 0, 0), EarthPoint(D3DXVECTOR3(1, 0, 0)));
}

TEST_F(Camera, OneWheelNotchDividesOrMultipliesTheDistanceByOnePointTwo)
{
    MoveCameraByWheel(120);
    EXPECT_FLOAT_EQ(cameraDistance, 10.0f / 1.2f);
    cameraDistance = 10.0f;
    MoveCameraByWheel(-120);
    EXPECT_FLOAT_EQ(cameraDistance, 12.0f);
}

// A fine-resolution wheel sends parts of a notch: forward still moves closer, by the matching
// fraction of the ratio, and two half notches make one notch.
TEST_F(Camera, PartialWheelNotchesMoveInTheirOwnDirection)
{
    MoveCameraByWheel(60);
    EXPECT_LT(cameraDistance, 10.0f);
    EXPECT_GT(cameraDistance, 10.0f / 1.2f);
    MoveCameraByWheel(60);
    EXPECT_NEAR(cameraDistance, 10.0f / 1.2f, 1e-5f);
    MoveCameraByWheel(-60);
    MoveCameraByWheel(-60);
    EXPECT_NEAR(cameraDistance, 10.0f, 1e-5f);
}

TEST_F(Camera, WheelStopsAtTheNearestAndFarthestDistance)
{
    for (int i = 0; i < 40; ++i)
        MoveCameraByWheel(120);
    EXPECT_FLOAT_EQ(cameraDistance, 2.1f);
    for (int i = 0; i < 40; ++i)
        MoveCameraByWheel(-120);
    EXPECT_FLOAT_EQ(cameraDistance, 100.0f);
    MoveCameraByWheel(0);
    EXPECT_FLOAT_EQ(cameraDistance, 100.0f);
}

}  // namespace
