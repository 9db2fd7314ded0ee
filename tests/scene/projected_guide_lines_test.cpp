// The screen-space guide lines of line density 0, through a recording device.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "recording_device.h"
#include "scene/camera.h"
#include "scene/guide_lines.h"

namespace quorvane::tests {
namespace {

struct ScreenVertex {
    float x, y, z, rhw;
    D3DCOLOR diffuse, specular;
    float u, v;
};

const D3DCOLORVALUE latitudeColor{0.0f, 1.0f, 0.0f, 1.0f};
const D3DCOLORVALUE longitudeColor{0.0f, 0.0f, 1.0f, 1.0f};
const D3DCOLORVALUE redLineColor{1.0f, 0.0f, 0.0f, 0.5f};
constexpr D3DCOLOR latitudeArgb = 0xFF00FF00, longitudeArgb = 0xFF0000FF, redLineArgb = 0x80FF0000;
constexpr float liftedImageY = -0.990099f + 0.01f;

class ProjectedGuideLines : public testing::Test {
protected:
    void SetUp() override
    {
        // The camera 10 units away, 0.5 rad above the equatorial plane, as the frame sets it.
        const D3DXVECTOR3 eye(0, 10 * std::sin(0.5f), -10 * std::cos(0.5f)), origin(0, 0, 0);
        const D3DXVECTOR3 up(0, std::cos(0.5f), std::sin(0.5f));
        D3DXMatrixLookAtLH(&view, &eye, &origin, &up);
        BuildProjectionMatrix(800.0f / 600.0f, &projection);
        device.SetTransform(D3DTS_VIEW, &view);
        device.SetTransform(D3DTS_PROJECTION, &projection);
        device.calls.clear();
        D3DXMatrixIdentity(&earth);
    }

    void Draw(int latitudeInterval = 15, int longitudeInterval = 15, BOOL showLatitudes = TRUE,
              BOOL showLongitudes = TRUE)
    {
        DrawGuideLines(&device, showLatitudes, latitudeInterval, showLongitudes, longitudeInterval, 0, earth,
                       latitudeColor, longitudeColor, redLineColor);
    }

    // Where a world point appears on the screen, by the Direct3D viewport mapping.
    D3DXVECTOR3 Screen(const D3DXVECTOR3& world) const
    {
        const D3DXMATRIX viewProjection = view * projection;
        D3DXVECTOR3 ndc;
        D3DXVec3TransformCoord(&ndc, &world, &viewProjection);
        return D3DXVECTOR3((ndc.x + 1) * 400, (1 - ndc.y) * 300, ndc.z);
    }

    std::vector<const RecordedDraw*> DrawsIn(D3DCOLOR color) const
    {
        std::vector<const RecordedDraw*> result;
        for (const RecordedDraw& draw : device.draws)
            if (draw.VertexAt<ScreenVertex>(0).diffuse == color)
                result.push_back(&draw);
        return result;
    }

    RecordingDevice device;
    D3DXMATRIX view, projection, earth;
};

TEST_F(ProjectedGuideLines, DrawsPretransformedStripsWithIdentityViewAndProjection)
{
    Draw();
    ASSERT_FALSE(device.draws.empty());
    for (const RecordedDraw& draw : device.draws) {
        EXPECT_EQ(D3DPT_LINESTRIP, draw.type);
        EXPECT_EQ(32u, draw.stride);
        EXPECT_EQ(static_cast<DWORD>(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1), draw.fvf);
        EXPECT_LE(draw.VertexCount(), 361u);
    }
    // View and projection: identity just before the first draw, restored after the last.
    const D3DXMATRIX identity(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    std::vector<RecordedCall> transforms = device.CallsOf(CallKind::SetTransform);
    ASSERT_EQ(4u, transforms.size());
    EXPECT_EQ(static_cast<DWORD>(D3DTS_VIEW), transforms[0].value);
    EXPECT_TRUE(D3DXMATRIX(transforms[0].matrix) == identity);
    EXPECT_EQ(static_cast<DWORD>(D3DTS_PROJECTION), transforms[1].value);
    EXPECT_TRUE(D3DXMATRIX(transforms[1].matrix) == identity);
    EXPECT_TRUE(D3DXMATRIX(transforms[2].matrix) == view);
    EXPECT_TRUE(D3DXMATRIX(transforms[3].matrix) == projection);
    // Nothing but draws between the identity matrices and the restored ones.
    std::size_t firstDraw = device.calls.size(), lastDraw = 0;
    for (std::size_t i = 0; i < device.calls.size(); ++i) {
        if (device.calls[i].kind != CallKind::DrawPrimitiveUP)
            continue;
        firstDraw = std::min(firstDraw, i);
        lastDraw = i;
    }
    ASSERT_GE(firstDraw, 2u);
    EXPECT_EQ(CallKind::SetTransform, device.calls[firstDraw - 1].kind);
    EXPECT_EQ(CallKind::SetTransform, device.calls[firstDraw - 2].kind);
    EXPECT_EQ(lastDraw + 3, device.calls.size());
    EXPECT_EQ(lastDraw - firstDraw + 1, device.draws.size());
}

TEST_F(ProjectedGuideLines, EquatorImageIsTheRadiusTwoCircleOnScreen)
{
    Draw();
    const std::vector<const RecordedDraw*> equator = DrawsIn(redLineArgb);
    ASSERT_EQ(1u, equator.size());  // entirely in view: one closed strip
    const RecordedDraw& strip = *equator[0];

    // The expected curve, finely sampled.
    std::vector<D3DXVECTOR3> curve;
    for (int i = 0; i <= 3600; ++i) {
        const double t = i * 3.14159265358979 / 1800;
        curve.push_back(Screen(D3DXVECTOR3(float(2 * std::cos(t)), liftedImageY, float(-2 * std::sin(t)))));
    }
    for (std::size_t i = 0; i < strip.VertexCount(); ++i) {
        const ScreenVertex& v = strip.VertexAt<ScreenVertex>(i);
        double nearest = std::numeric_limits<double>::max();
        float depth = 0;
        for (const D3DXVECTOR3& c : curve) {
            const double d = std::hypot(c.x - v.x, c.y - v.y);
            if (d < nearest)
                nearest = d, depth = c.z;
        }
        EXPECT_LT(nearest, 0.5) << "vertex " << i;
        EXPECT_NEAR(depth, v.z, 1e-4f) << "vertex " << i;
        EXPECT_GT(v.rhw, 0.0f);
    }
    const ScreenVertex& first = strip.VertexAt<ScreenVertex>(0);
    const ScreenVertex& last = strip.VertexAt<ScreenVertex>(strip.VertexCount() - 1);
    EXPECT_NEAR(first.x, last.x, 0.01f);
    EXPECT_NEAR(first.y, last.y, 0.01f);
}

TEST_F(ProjectedGuideLines, KeptSamplesAreSpreadOutByTheDistanceFilter)
{
    Draw();
    // Squared distance in normalised device coordinates at least 4 / max(width, height),
    // except for the last vertex of a strip, which ends it where the line ends.
    const float minimum = 4.0f / 800.0f;
    for (const RecordedDraw& draw : device.draws) {
        for (std::size_t i = 1; i + 1 < draw.VertexCount(); ++i) {
            const ScreenVertex& a = draw.VertexAt<ScreenVertex>(i - 1);
            const ScreenVertex& b = draw.VertexAt<ScreenVertex>(i);
            const float dx = (b.x - a.x) / 400, dy = (b.y - a.y) / 300;
            EXPECT_GE(dx * dx + dy * dy, minimum * 0.999f);
        }
    }
    // Fewer vertices than samples: the equator's image is about 190 pixels wide here.
    EXPECT_LT(DrawsIn(redLineArgb)[0]->VertexCount(), 100u);
}

TEST_F(ProjectedGuideLines, ClipsWhatIsBehindTheCameraOrTheProjectionCentre)
{
    // Tilt the Earth so that latitude circles pass above the projection centre, and look from
    // close by so that large images reach behind the camera.
    const D3DXVECTOR3 axis(1, 0, 0);
    D3DXMatrixRotationAxis(&earth, &axis, 1.2f);
    Draw(10, 10);
    ASSERT_FALSE(device.draws.empty());
    std::size_t latitudeStrips = 0;
    for (const RecordedDraw& draw : device.draws) {
        for (std::size_t i = 0; i < draw.VertexCount(); ++i) {
            const ScreenVertex& v = draw.VertexAt<ScreenVertex>(i);
            ASSERT_TRUE(std::isfinite(v.x) && std::isfinite(v.y));
            EXPECT_GT(v.rhw, 0.0f);
            EXPECT_GE(v.z, 0.0f);
            EXPECT_LE(v.z, 1.0f);
        }
        if (draw.VertexAt<ScreenVertex>(0).diffuse == latitudeArgb)
            ++latitudeStrips;
    }
    // 16 latitude circles besides the equator; the broken ones make more strips.
    EXPECT_GT(latitudeStrips, 16u);
}

TEST_F(ProjectedGuideLines, LatitudesOfBothHemispheresInTheirColours)
{
    Draw(30, 90);
    // -60, -30, 30, 60 in the latitude colour, the equator in red, two great circles.
    EXPECT_EQ(1u, DrawsIn(redLineArgb).size());
    EXPECT_EQ(4u, DrawsIn(latitudeArgb).size());
    EXPECT_FALSE(DrawsIn(longitudeArgb).empty());
}

TEST_F(ProjectedGuideLines, NonPositiveIntervalsDrawOnlyTheZeroCircles)
{
    Draw(0, 0);
    EXPECT_EQ(1u, DrawsIn(redLineArgb).size());
    EXPECT_TRUE(DrawsIn(latitudeArgb).empty());
    const std::size_t oneGreatCircle = DrawsIn(longitudeArgb).size();
    EXPECT_GE(oneGreatCircle, 1u);

    device.draws.clear();
    Draw(-15, -15);
    EXPECT_EQ(1u, DrawsIn(redLineArgb).size());
    EXPECT_TRUE(DrawsIn(latitudeArgb).empty());
    EXPECT_EQ(oneGreatCircle, DrawsIn(longitudeArgb).size());
}

TEST_F(ProjectedGuideLines, NothingWithoutAViewport)
{
    device.failGetViewport = true;
    Draw();
    EXPECT_TRUE(device.calls.empty());
}

}  // namespace
}  // namespace quorvane::tests
