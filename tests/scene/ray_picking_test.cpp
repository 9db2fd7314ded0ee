// Picking for the projection rays against values worked out by hand: the eye's ray through a
// pixel of the start view, the sphere and plane it meets, a point near the projection centre and
// its far image, and the place a point names on the turned Earth, as the help overlay writes it.
#include <gtest/gtest.h>

#include "scene/camera.h"
#include "scene/help_overlay.h"
#include "scene/ray_picking.h"
#include "scene/stereographic_projection.h"

namespace {

constexpr float r = 0.990099f;

// How far apart two points are.
float Gap(D3DXVECTOR3 a, const D3DXVECTOR3& b)
{
    a -= b;
    return D3DXVec3Length(&a);
}

// What the pointer at a pixel of a 1024 x 768 picture of the start view points at.
std::optional<RayPoints> PickAt(int x, int y, bool earthShown = true)
{
    ResetEarthAndCamera();
    D3DXMATRIX view, projection;
    BuildViewMatrix(&view, nullptr);
    BuildProjectionMatrix(1024.0f / 768.0f, &projection);
    return PickRayPoints(EyeRayThroughPixel(view, projection, x, y, 1024, 768), earthShown);
}

TEST(RayPicking, PointsOnTheEarthOnThePlaneAndAtTheSky)
{
    // The centre: the Earth's front point, and its image 2 in front of the Earth's foot.
    const std::optional<RayPoints> front = PickAt(512, 384);
    ASSERT_TRUE(front && front->onPlane);
    EXPECT_LT(Gap(D3DXVECTOR3(0, 0, -1), front->onSphere) + Gap(D3DXVECTOR3(0, -r, -2), *front->onPlane), 1e-4f);
    EXPECT_FALSE(PickAt(512, 384, false));  // without the Earth: level, 0.99 above the plane
    // 136 pixels lower the ray falls by 0.2044780 a unit and passes 2.0 from the Earth's centre:
    // it meets the plane at z = -10 + r / 0.2044780, and the matrix carries P back there.
    const std::optional<RayPoints> plane = PickAt(512, 520);
    ASSERT_TRUE(plane && plane->onPlane);
    EXPECT_LT(Gap(D3DXVECTOR3(0, -r, -5.157920f), *plane->onPlane), 1e-4f);
    D3DXVECTOR3 image;
    D3DXVec3TransformCoord(&image, &plane->onSphere, &StereographicMatrix);
    EXPECT_LT(Gap(*plane->onPlane, image), 1e-3f);
    EXPECT_FALSE(PickAt(0, 0));  // the sky
}

// 0.0001 under the centre the image lies far beyond the far plane, and comes back; above the
// centre there is none.
TEST(RayPicking, APointNearTheCentreHasAFarImage)
{
    const D3DXVECTOR3 nearCentre(0, 0.99f, -0.1410674f), image(0, -r, -2821.347f);
    EXPECT_LT(Gap(image, ImageOnPlane(nearCentre).value_or(nearCentre)), 0.6f);  // 2e-4 of the distance
    EXPECT_LT(Gap(nearCentre, SpherePointOfImage(image)), 1e-5f);
    EXPECT_FALSE(ImageOnPlane(D3DXVECTOR3(0, 0.995f, -0.0998749f)));
}

TEST(RayPicking, APlaceIsNamedInTheEarthsFrameAfterItsTurns)
{
    const struct {
        int dx, dy;
        double latitude, longitude;
        const wchar_t* text;
    } turns[] = {
        {100, 0, 0, -57.295780, L"P(0.0°N, 57.3°W)"},  // a radian westwards comes to the front
        {0, 50, 28.647890, 0, L"P(28.6°N, 0.0°E)"},
        {100, 50, 15.012794, -60.599207, L"P(15.0°N, 60.6°W)"},
    };
    for (const auto& turn : turns) {
        ResetEarthAndCamera();
        DragRotateEarth(turn.dx, turn.dy);
        const LatitudeLongitude place = PlaceOnEarth(D3DXVECTOR3(0, 0, -1), earthOrientation);
        EXPECT_NEAR(place.latitude, turn.latitude, 1e-3) << turn.dx << "," << turn.dy;
        EXPECT_NEAR(place.longitude, turn.longitude, 1e-3) << turn.dx << "," << turn.dy;
        EXPECT_EQ(PlaceText(place), turn.text);
    }
    EXPECT_EQ(PlaceText({-0.04, -179.96}), L"P(0.0°N, 180.0°W)");  // -0.04 rounds to 0.0, north
    ResetEarthAndCamera();
}

}  // namespace
