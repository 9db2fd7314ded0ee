// The stereographic matrix: the images of known points, the plane every image lies in, the
// points without an image, and how turning the Earth moves the image.
#include <gtest/gtest.h>

#include <cmath>

#include "scene/ray_picking.h"
#include "scene/stereographic_projection.h"

namespace {

constexpr float imageY = -0.990099f;

D3DXVECTOR3 Image(const D3DXVECTOR3& world)
{
    D3DXVECTOR3 image;
    D3DXVec3TransformCoord(&image, &world, &StereographicMatrix);
    return image;
}

void ExpectNear(const D3DXVECTOR3& expected, const D3DXVECTOR3& actual, float tolerance)
{
    EXPECT_NEAR(expected.x, actual.x, tolerance);
    EXPECT_NEAR(expected.y, actual.y, tolerance);
    EXPECT_NEAR(expected.z, actual.z, tolerance);
}

TEST(StereographicMatrix, HoldsTheExactConstants)
{
    const D3DXMATRIX expected(2.02f, 0, 0, 0, 0, 1.01f, 0, -1.0201f, 0, 0, 2.02f, 0, 0, -1.0f, 0, 1.01f);
    EXPECT_TRUE(StereographicMatrix == expected);
    EXPECT_FLOAT_EQ(1.0f / 1.01f, projectionRadius);
}

TEST(StereographicMatrix, MapsTheTablePointsToTheirImages)
{
    const struct {
        D3DXVECTOR3 world, image;
    } table[] = {
        {{1, 0, 0}, {2.0f, imageY, 0}},
        {{0, -1, 0}, {0, imageY, 0}},
        {{0.6f, -0.8f, 0}, {0.663717f, imageY, 0}},
        {{0.8f, 0.6f, 0}, {4.060914f, imageY, 0}},
        {{0, 0.5f, 0.866025f}, {0, imageY, 3.499093f}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(testing::Message() << "world (" << row.world.x << ", " << row.world.y << ", " << row.world.z
                                        << ")");
        const float tolerance = 2e-6f * (1.0f + std::fabs(row.image.x) + std::fabs(row.image.z));
        ExpectNear(row.image, Image(row.world), tolerance);
        // The rays' own sums, both ways: the points are on the unit sphere.
        ExpectNear(row.image, ImageOnPlane(row.world).value_or(row.world), tolerance);
        ExpectNear(row.world, SpherePointOfImage(row.image), 1e-5f);
    }
}

TEST(StereographicMatrix, EveryImageLiesOnThePlaneWhateverTheOrientation)
{
    const D3DXVECTOR3 axes[] = {{1, 0, 0}, {0.3f, 1, -0.2f}, {-1, 2, 3}, {0, 0, 1}};
    for (const D3DXVECTOR3& axis : axes) {
        for (float angle : {0.5f, 1.9f, -2.7f}) {
            D3DXQUATERNION q;
            D3DXQuaternionRotationAxis(&q, &axis, angle);
            D3DXMATRIX rotation, world;
            D3DXMatrixRotationQuaternion(&rotation, &q);
            D3DXMatrixMultiply(&world, &rotation, &StereographicMatrix);
            // Points of the unit sphere every 10 degrees of latitude and longitude.
            for (int lat = -80; lat <= 80; lat += 10) {
                for (int lon = 0; lon < 360; lon += 10) {
                    const float phi = lat * 3.14159f / 180, lambda = lon * 3.14159f / 180;
                    const D3DXVECTOR3 p(std::cos(phi) * std::cos(lambda), std::sin(phi),
                                        std::cos(phi) * std::sin(lambda));
                    D3DXVECTOR4 h;
                    D3DXVec3Transform(&h, &p, &world);
                    // Float rounding grows as the point nears the centre's height (w -> 0).
                    const float tolerance = 1e-6f + 1e-6f / std::fabs(h.w);
                    EXPECT_NEAR(imageY, h.y / h.w, tolerance) << "lat " << lat << " lon " << lon << " w " << h.w;
                }
            }
        }
    }
}

TEST(StereographicMatrix, PointsAtTheCentreHeightHaveNoImage)
{
    for (const D3DXVECTOR3& p : {D3DXVECTOR3(0, projectionRadius, 0), D3DXVECTOR3(0.1f, projectionRadius, -0.05f),
                                 D3DXVECTOR3(5, projectionRadius, 7)}) {
        D3DXVECTOR4 h;
        D3DXVec3Transform(&h, &p, &StereographicMatrix);
        EXPECT_NEAR(0.0f, h.w, 1e-7f);
    }
    // Above the centre (the cap around the top, within about 8 degrees) w turns negative,
    // so the pipeline clips those points instead of drawing them beyond the plane.
    D3DXVECTOR4 top;
    const D3DXVECTOR3 northPole(0, 1, 0);
    D3DXVec3Transform(&top, &northPole, &StereographicMatrix);
    EXPECT_LT(top.w, 0.0f);
    const float capEdge = 8.0f * 3.14159f / 180;
    const D3DXVECTOR3 outsideCap(std::sin(capEdge + 0.01f), std::cos(capEdge + 0.01f), 0);
    D3DXVec3Transform(&top, &outsideCap, &StereographicMatrix);
    EXPECT_GT(top.w, 0.0f);
}

TEST(StereographicMatrix, LatitudeCirclesMapToCirclesAboutTheAxis)
{
    for (int lat : {0, 15, -30, 60, 75}) {
        const double phi = lat * 3.14159 / 180;
        const double expectedRadius = 2 * std::cos(phi) / (1 - 1.01 * std::sin(phi));
        for (int lon = 0; lon < 360; lon += 45) {
            const double lambda = lon * 3.14159 / 180;
            const D3DXVECTOR3 p(float(std::cos(phi) * std::cos(lambda)), float(std::sin(phi)),
                                float(std::cos(phi) * std::sin(lambda)));
            const D3DXVECTOR3 image = Image(p);
            EXPECT_NEAR(expectedRadius, std::hypot(image.x, image.z), 2e-5 * expectedRadius) << "lat " << lat;
        }
    }
}

TEST(StereographicMatrix, HalfTurnAboutTheVerticalMirrorsTheImage)
{
    const D3DXVECTOR3 vertical(0, 1, 0);
    D3DXMATRIX halfTurn, world;
    D3DXMatrixRotationAxis(&halfTurn, &vertical, 3.14159265f);
    D3DXMatrixMultiply(&world, &halfTurn, &StereographicMatrix);
    for (const D3DXVECTOR3& p :
         {D3DXVECTOR3(0.6f, -0.8f, 0), D3DXVECTOR3(0.3f, 0.2f, -0.9f), D3DXVECTOR3(-0.5f, 0.7f, 0.5f)}) {
        const D3DXVECTOR3 before = Image(p);
        D3DXVECTOR3 after;
        D3DXVec3TransformCoord(&after, &p, &world);
        ExpectNear(D3DXVECTOR3(-before.x, before.y, -before.z), after, 1e-5f);
    }
}

}  // namespace
