// Picking for the projection rays against values worked out by hand: the eye's ray through a
// pixel of the start view, the sphere and plane it meets, a sphere point and its image both ways,
// and the place a point names on the turned Earth, as the help overlay writes it.
#include <gtest/gtest.h>

#include "scene/camera.h"
#include "scene/help_overlay.h"
#include "scene/ray_picking.h"
#include "scene/stereographic_projection.h"

namespace {

constexpr float r = 0.990099f;

void ExpectNear(const D3DXVECTOR3& expected, const D3DXVECTOR3& actual, float tolerance = 1e-4f)
{
    EXPECT_NEAR(expected.x, actual.x, tolerance);
    EXPECT_NEAR(expected.y, actual.y, tolerance);
    EXPECT_NEAR(expected.z, actual.z, tolerance);
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
    ExpectNear(D3DXVECTOR3(0, 0, -1), front->onSphere);
    ExpectNear(D3DXVECTOR3(0, -r, -2), *front->onPlane);
    EXPECT_FALSE(PickAt(512, 384, false));  // without the Earth: level, 0.99 above the plane
    // 136 pixels lower the ray falls by 0.2044780 a unit and passes 2.0 from the Earth's centre:
    // it meets the plane at z = -10 + r / 0.2044780, and the matrix carries P back there.
    const std::optional<RayPoints> plane = PickAt(512, 520);
    ASSERT_TRUE(plane && plane->onPlane);
    ExpectNear(D3DXVECTOR3(0, -r, -5.157920f), *plane->onPlane);
    D3DXVECTOR3 image;
    D3DXVec3TransformCoord(&image, &plane->onSphere, &StereographicMatrix);
    ExpectNear(*plane->onPlane, image, 1e-3f);
    EXPECT_FALSE(PickAt(0, 0));  // the sky
}

TEST(RayPicking, PointsOfTheSphereAndTheirImagesBothWays)
{
    const struct {
        D3DXVECTOR3 sphere, image;
    } pairs[] = {
        {{1, 0, 0}, {2, -r, 0}},
        {{0, -1, 0}, {0, -r, 0}},  // the bottom point lies under the plane, beyond its image
        {{0.6f, -0.8f, 0}, {0.663717f, -r, 0}},
        {{0.8f, 0.6f, 0}, {4.060914f, -r, 0}},
        {{0, 0.99f, -0.1410674f}, {0, -r, -2821.347f}},  // 0.0001 under the centre: far beyond the far plane
    };
    for (const auto& pair : pairs) {
        const std::optional<D3DXVECTOR3> image = ImageOnPlane(pair.sphere);
        ASSERT_TRUE(image);
        ExpectNear(pair.image, *image, 2e-4f * std::max(1.0f, std::abs(pair.image.z)));
        ExpectNear(pair.sphere, SpherePointOfImage(pair.image), 1e-5f);
    }
    EXPECT_FALSE(ImageOnPlane(D3DXVECTOR3(0, 0.995f, -0.0998749f)));  // above the centre
}

TEST(RayPicking, APlaceIsNamedInTheEarthsFrameAfterItsTurns)
{
    const struct {
        int dx, dy;
        double latitude, longitude;
        const wchar_t* text;
    } turns[] = {
        {0, 0, 0, 0, L"P(0.0°N, 0.0°E)"},
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
