// The graticule through a recording device: which circles are drawn, where, in which colour
// and order, and what odd settings do.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <new>
#include <vector>

#include "recording_device.h"
#include "scene/circle_buffer.h"
#include "scene/guide_lines.h"
#include "scene/line_material.h"

// Lets a case make the circle buffer's allocation fail.
namespace {
bool failNothrowArrayAllocation = false;
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    if (failNothrowArrayAllocation)
        return nullptr;
    try {
        return ::operator new[](size);
    } catch (...) {
        return nullptr;
    }
}

namespace quorvane::tests {
namespace {

const D3DCOLORVALUE latitudeColor{0.0f, 1.0f, 0.0f, 1.0f};
const D3DCOLORVALUE longitudeColor{0.0f, 0.0f, 1.0f, 1.0f};
const D3DCOLORVALUE redLineColor{1.0f, 0.0f, 0.0f, 0.5f};
constexpr float liftedImageY = -0.990099f + 0.01f;

struct Settings {
    BOOL showLatitudeLines = TRUE;
    int latitudeLineInterval = 15;
    BOOL showLongitudeLines = TRUE;
    int longitudeLineInterval = 15;
    int lineDensity = 100;
    D3DXMATRIX earthRotation{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

RecordingDevice Draw(const Settings& s)
{
    RecordingDevice device;
    DrawGuideLines(&device, s.showLatitudeLines, s.latitudeLineInterval, s.showLongitudeLines, s.longitudeLineInterval,
                   s.lineDensity, s.earthRotation, latitudeColor, longitudeColor, redLineColor);
    return device;
}

bool SameColor(const D3DCOLORVALUE& a, const D3DCOLORVALUE& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

std::vector<D3DXVECTOR3> WorldPoints(const RecordedDraw& draw)
{
    const D3DXMATRIX world(draw.world);
    std::vector<D3DXVECTOR3> points;
    for (std::size_t i = 0; i < draw.VertexCount(); ++i) {
        const CircleVertex& v = draw.VertexAt<CircleVertex>(i);
        const D3DXVECTOR3 model(v.x, v.y, v.z);
        D3DXVECTOR3 p;
        D3DXVec3TransformCoord(&p, &model, &world);
        points.push_back(p);
    }
    return points;
}

// A circle on the sphere, told by its shape: a latitude circle (constant y) or a great circle
// through the poles. Degrees are the signed latitude or the longitude of the first meridian.
struct Circle {
    bool latitude;
    int degrees;
    bool operator==(const Circle& o) const { return latitude == o.latitude && degrees == o.degrees; }
};
std::ostream& operator<<(std::ostream& out, const Circle& c)
{
    return out << (c.latitude ? "latitude " : "longitude ") << c.degrees;
}
Circle Lat(int degrees)
{
    return {true, degrees};
}
Circle Lon(int degrees)
{
    return {false, degrees};
}

int Degrees(double radians)
{
    return static_cast<int>(std::lround(radians * 180.0 / 3.14159265358979));
}

// Identifies a circle drawn on the sphere (Earth upright); it must lie 0.01 outside the unit sphere.
Circle IdentifySphereCircle(const RecordedDraw& draw)
{
    const std::vector<D3DXVECTOR3> points = WorldPoints(draw);
    double minY = 1e9, maxY = -1e9;
    for (const D3DXVECTOR3& p : points) {
        EXPECT_NEAR(1.01f, D3DXVec3Length(&p), 1e-5f);
        minY = std::min<double>(minY, p.y);
        maxY = std::max<double>(maxY, p.y);
    }
    if (maxY - minY < 1e-5)
        return Lat(Degrees(std::asin(minY / 1.01)));
    return Lon(Degrees(std::atan2(-points[0].z, points[0].x)));
}

// The image draw must show, 0.01 above the plane y = -r, the stereographic images of the unit
// sphere's points under the circle of the sphere draw: X = 2x / (1 - 1.01y), Z = 2z / (1 - 1.01y).
void ExpectImageOf(const RecordedDraw& sphereDraw, const RecordedDraw& planeDraw)
{
    const std::vector<D3DXVECTOR3> sphere = WorldPoints(sphereDraw), plane = WorldPoints(planeDraw);
    ASSERT_EQ(sphere.size(), plane.size());
    for (std::size_t i = 0; i < sphere.size(); ++i) {
        const D3DXVECTOR3 unit = sphere[i] / 1.01f;
        const double denominator = 1.0 - 1.01 * unit.y;
        if (denominator < 0.05)
            continue;  // too close to the projection centre to compare
        const double scale = 1.0 + std::fabs(2.0 / denominator);
        EXPECT_NEAR(2.0 * unit.x / denominator, plane[i].x, 2e-5 * scale) << "vertex " << i;
        EXPECT_NEAR(liftedImageY, plane[i].y, 1e-5) << "vertex " << i;
        EXPECT_NEAR(2.0 * unit.z / denominator, plane[i].z, 2e-5 * scale) << "vertex " << i;
    }
}

// The circles drawn, in order, each checked as a pair: its image first, then the sphere circle.
std::vector<Circle> DrawnCircles(const RecordingDevice& device)
{
    std::vector<Circle> circles;
    EXPECT_EQ(0u, device.draws.size() % 2);
    for (std::size_t i = 0; i + 1 < device.draws.size(); i += 2) {
        circles.push_back(IdentifySphereCircle(device.draws[i + 1]));
        SCOPED_TRACE(testing::Message() << "image of " << circles.back());
        ExpectImageOf(device.draws[i + 1], device.draws[i]);
    }
    return circles;
}

std::vector<Circle> LatitudeCircles(std::initializer_list<int> northern)
{
    std::vector<Circle> circles;
    for (int degrees : northern) {
        circles.push_back(Lat(degrees));
        if (degrees != 0)
            circles.push_back(Lat(-degrees));
    }
    return circles;
}

std::vector<Circle> GreatCircles(int interval)
{
    std::vector<Circle> circles;
    for (int degrees = 0; degrees < 180; degrees += interval)
        circles.push_back(Lon(degrees));
    return circles;
}

std::vector<Circle> Concat(std::vector<Circle> a, const std::vector<Circle>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(GuideLines, DefaultsDraw46StripsOf100Segments)
{
    const RecordingDevice device = Draw(Settings{});
    ASSERT_EQ(46u, device.draws.size());
    for (const RecordedDraw& draw : device.draws) {
        EXPECT_EQ(D3DPT_LINESTRIP, draw.type);
        EXPECT_EQ(100u, draw.primitiveCount);
        EXPECT_EQ(32u, draw.stride);
        EXPECT_EQ(0x112u, draw.fvf);
        // The circle closes on its first vertex, (1, 0, 0); normals and texture stay zero.
        const CircleVertex& first = draw.VertexAt<CircleVertex>(0);
        const CircleVertex& last = draw.VertexAt<CircleVertex>(100);
        EXPECT_EQ(1.0f, first.x);
        EXPECT_NEAR(1.0f, last.x, 1e-5f);
        EXPECT_NEAR(0.0f, std::hypot(last.y, last.z), 1e-5f);
        EXPECT_EQ(0.0f, first.nx + first.ny + first.nz + first.u + first.v);
    }
    const std::vector<RecordedCall> textures = device.CallsOf(CallKind::SetTexture);
    ASSERT_EQ(1u, textures.size());
    EXPECT_EQ(0u, textures[0].value);
    EXPECT_EQ(nullptr, textures[0].texture);
    EXPECT_EQ(CallKind::SetFVF, device.calls.front().kind);
}

TEST(GuideLines, DefaultCirclesInDrawOrder)
{
    const RecordingDevice device = Draw(Settings{});
    const std::vector<Circle> expected = Concat(LatitudeCircles({0, 15, 30, 45, 60, 75}), GreatCircles(15));
    // Each latitude: image, sphere, then the mirrored image and sphere (checked pairwise).
    EXPECT_EQ(expected, DrawnCircles(device));
}

TEST(GuideLines, EquatorAndItsImageUseTheRedLineColour)
{
    const RecordingDevice device = Draw(Settings{});
    std::vector<D3DCOLORVALUE> order;
    for (const RecordedCall& call : device.CallsOf(CallKind::SetMaterial))
        order.push_back(call.material.Emissive);
    ASSERT_EQ(4u, order.size());
    EXPECT_TRUE(SameColor(latitudeColor, order[0]));
    EXPECT_TRUE(SameColor(redLineColor, order[1]));
    EXPECT_TRUE(SameColor(latitudeColor, order[2]));
    EXPECT_TRUE(SameColor(longitudeColor, order[3]));

    for (std::size_t i = 0; i < device.draws.size(); ++i) {
        const D3DCOLORVALUE expected = i < 2 ? redLineColor : i < 22 ? latitudeColor : longitudeColor;
        EXPECT_TRUE(SameColor(expected, device.draws[i].material.Emissive)) << "draw " << i;
        EXPECT_EQ(expected.a, device.draws[i].material.Diffuse.a) << "draw " << i;
    }
}

TEST(GuideLines, LatitudeIntervals)
{
    const struct {
        int interval;
        std::vector<Circle> circles;
    } cases[] = {
        {90, LatitudeCircles({0})},      {30, LatitudeCircles({0, 30, 60})}, {20, LatitudeCircles({0, 20, 40, 60, 80})},
        {89, LatitudeCircles({0, 89})},  {-15, LatitudeCircles({0})},        {0, LatitudeCircles({0})},
        {INT_MAX, LatitudeCircles({0})}, {INT_MIN, LatitudeCircles({0})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "latitude interval " << c.interval);
        Settings s;
        s.showLongitudeLines = FALSE;
        s.latitudeLineInterval = c.interval;
        EXPECT_EQ(c.circles, DrawnCircles(Draw(s)));
    }
}

TEST(GuideLines, LongitudeIntervals)
{
    const struct {
        int interval;
        std::vector<Circle> circles;
    } cases[] = {
        {180, GreatCircles(180)}, {500, GreatCircles(180)}, {50, GreatCircles(50)},       {30, GreatCircles(30)},
        {-1, GreatCircles(180)},  {0, GreatCircles(180)},   {INT_MIN, GreatCircles(180)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "longitude interval " << c.interval);
        Settings s;
        s.showLatitudeLines = FALSE;
        s.longitudeLineInterval = c.interval;
        EXPECT_EQ(c.circles, DrawnCircles(Draw(s)));
    }
}

TEST(GuideLines, OneDegreeIntervalsDrawEveryCircle)
{
    Settings s;
    s.latitudeLineInterval = 1;
    s.longitudeLineInterval = 1;
    s.lineDensity = 4;
    // 1 equator + 2 * 89 latitudes and 180 great circles, each twice.
    EXPECT_EQ(2u * (1 + 2 * 89 + 180), Draw(s).draws.size());
}

TEST(GuideLines, HiddenLatitudeLinesLeaveOnlyGreatCircles)
{
    Settings s;
    s.showLatitudeLines = FALSE;
    const RecordingDevice device = Draw(s);
    EXPECT_EQ(GreatCircles(15), DrawnCircles(device));
    const std::vector<RecordedCall> materials = device.CallsOf(CallKind::SetMaterial);
    ASSERT_EQ(1u, materials.size());
    EXPECT_TRUE(SameColor(longitudeColor, materials[0].material.Emissive));
}

TEST(GuideLines, HiddenLongitudeLinesLeaveOnlyLatitudes)
{
    Settings s;
    s.showLongitudeLines = FALSE;
    EXPECT_EQ(LatitudeCircles({0, 15, 30, 45, 60, 75}), DrawnCircles(Draw(s)));
}

TEST(GuideLines, NothingWhenBothFamiliesAreHidden)
{
    Settings s;
    s.showLatitudeLines = FALSE;
    s.showLongitudeLines = FALSE;
    EXPECT_TRUE(Draw(s).calls.empty());
    s.lineDensity = 0;
    EXPECT_TRUE(Draw(s).calls.empty());
}

TEST(GuideLines, LineDensityIsKeptBetween4And10000Segments)
{
    const struct {
        int density;
        UINT segments;
    } cases[] = {{1, 4},  {2, 4},    {3, 4},       {4, 4},         {5, 5},         {100, 100},
                 {-1, 4}, {-100, 4}, {INT_MIN, 4}, {10000, 10000}, {10001, 10000}, {INT_MAX, 10000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "line density " << c.density);
        Settings s;
        s.lineDensity = c.density;
        const RecordingDevice device = Draw(s);
        ASSERT_EQ(46u, device.draws.size());
        EXPECT_EQ(c.segments, device.draws[0].primitiveCount);
        EXPECT_EQ(c.segments + 1, device.draws[0].VertexCount());
    }
}

TEST(GuideLines, FourSegmentCircleIsASquareOnTheCircle)
{
    Settings s;
    s.lineDensity = 2;
    s.showLongitudeLines = FALSE;
    const RecordingDevice device = Draw(s);
    const D3DXVECTOR3 expected[] = {{1, 0, 0}, {0, 0, -1}, {-1, 0, 0}, {0, 0, 1}, {1, 0, 0}};
    for (int i = 0; i < 5; ++i) {
        const CircleVertex& v = device.draws[0].VertexAt<CircleVertex>(i);
        EXPECT_NEAR(expected[i].x, v.x, 1e-5f);
        EXPECT_NEAR(expected[i].y, v.y, 1e-5f);
        EXPECT_NEAR(expected[i].z, v.z, 1e-5f);
    }
}

TEST(GuideLines, TheEarthRotationTurnsCirclesImagesAndMirrors)
{
    Settings s;
    s.showLongitudeLines = FALSE;
    s.latitudeLineInterval = 45;
    const D3DXVECTOR3 axis(1, 0, 0);
    D3DXMatrixRotationAxis(&s.earthRotation, &axis, 0.5f);
    const RecordingDevice device = Draw(s);
    ASSERT_EQ(6u, device.draws.size());
    // The circles follow the Earth's axis, now tilted in the yz plane; the southern circle is
    // mirrored in the Earth's own frame, before its rotation.
    const D3DXVECTOR3 pole(0, std::cos(0.5f), std::sin(0.5f));
    const int latitudes[] = {0, 45, -45};
    for (int i = 0; i < 3; ++i) {
        const float height = 1.01f * std::sin(latitudes[i] * 3.14159f / 180);
        for (const D3DXVECTOR3& p : WorldPoints(device.draws[2 * i + 1]))
            EXPECT_NEAR(height, D3DXVec3Dot(&p, &pole), 1e-5f) << "latitude " << latitudes[i];
        ExpectImageOf(device.draws[2 * i + 1], device.draws[2 * i]);
    }
}

TEST(GuideLines, AllocationFailureDrawsNothing)
{
    failNothrowArrayAllocation = true;
    const RecordingDevice device = Draw(Settings{});
    failNothrowArrayAllocation = false;
    EXPECT_TRUE(device.calls.empty());
}

TEST(LineMaterial, EmissiveColourWithAlphaEverywhere)
{
    const D3DCOLORVALUE color = ColorValueFromArgb(0x80FF4000);
    EXPECT_FLOAT_EQ(1.0f, color.r);
    EXPECT_FLOAT_EQ(64 / 255.0f, color.g);
    EXPECT_FLOAT_EQ(0.0f, color.b);
    EXPECT_FLOAT_EQ(128 / 255.0f, color.a);

    const D3DMATERIAL9 m = lineMaterial(color);
    EXPECT_TRUE(SameColor(color, m.Emissive));
    for (const D3DCOLORVALUE& black : {m.Diffuse, m.Ambient, m.Specular})
        EXPECT_TRUE(SameColor(D3DCOLORVALUE{0, 0, 0, color.a}, black));
    EXPECT_EQ(0.0f, m.Power);
}

}  // namespace
}  // namespace quorvane::tests
