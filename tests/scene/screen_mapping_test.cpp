// Pixels and device coordinates: the picture's corners and centre, both ways, and a world point
// seen through a matrix.
#include <gtest/gtest.h>

#include "scene/screen_mapping.h"

namespace {

TEST(ScreenMapping, CornersAndCentreMapBothWays)
{
    const struct {
        int x, y;
        float ndcX, ndcY;
    } cases[] = {{0, 0, -1.0f, 1.0f}, {640, 480, 1.0f, -1.0f}, {320, 240, 0.0f, 0.0f}, {160, 360, -0.5f, -0.5f}};
    const D3DVIEWPORT9 viewport{0, 0, 640, 480, 0.0f, 1.0f};
    for (const auto& c : cases) {
        const ScreenPoint ndc = DeviceCoordinatesOfPixel(c.x, c.y, 640, 480);
        EXPECT_FLOAT_EQ(ndc.x, c.ndcX) << c.x << "," << c.y;
        EXPECT_FLOAT_EQ(ndc.y, c.ndcY) << c.x << "," << c.y;
        const ScreenPoint pixel = PixelOfDeviceCoordinates(c.ndcX, c.ndcY, viewport);
        EXPECT_FLOAT_EQ(pixel.x, static_cast<float>(c.x));
        EXPECT_FLOAT_EQ(pixel.y, static_cast<float>(c.y));
    }
    // A viewport's corner moves every pixel with it.
    const ScreenPoint moved = PixelOfDeviceCoordinates(-1.0f, 1.0f, D3DVIEWPORT9{10, 20, 100, 50, 0.0f, 1.0f});
    EXPECT_FLOAT_EQ(moved.x, 10.0f);
    EXPECT_FLOAT_EQ(moved.y, 20.0f);
}

TEST(ScreenMapping, AWorldPointShowsWhereItsClipCoordinatesSayAndNotBehindTheEye)
{
    D3DXMATRIX halfScale;
    D3DXMatrixScaling(&halfScale, 0.5f, 0.5f, 1.0f);
    const std::optional<ScreenPoint> shown = PixelOfWorldPoint(D3DXVECTOR3(1.0f, 1.0f, 0.0f), halfScale, 200, 100);
    ASSERT_TRUE(shown);
    EXPECT_FLOAT_EQ(shown->x, 150.0f);
    EXPECT_FLOAT_EQ(shown->y, 25.0f);
    D3DXMATRIX behind = halfScale;
    behind._44 = -1.0f;  // w negative: the point lies behind the eye
    EXPECT_FALSE(PixelOfWorldPoint(D3DXVECTOR3(1.0f, 1.0f, 0.0f), behind, 200, 100));
}

}  // namespace
