// Pictures the fixed-function pipeline draws, read back pixel by pixel: clearing, pixel
// centres, depth, culling, alpha test and blending, clipping at w = 0, lines.
#include "back_buffer.h"
#include "device_test.h"
#include "scene_helpers.h"

namespace quorvane::tests {
namespace {

struct ColoredVertex {
    float x, y, z;
    D3DCOLOR diffuse;
};
constexpr DWORD coloredFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE;

class RenderTest : public DeviceTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(DeviceTest::SetUp());
        ASSERT_EQ(device()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0), D3D_OK);
        ASSERT_EQ(device()->BeginScene(), D3D_OK);
    }

    // An axis-aligned rectangle in screen pixels, [x0, x1) x [y0, y1) by Direct3D 9's rules.
    HRESULT DrawRect(float x0, float y0, float x1, float y1, float z, D3DCOLOR color)
    {
        ScreenVertex quad[] = {
            {x0, y0, z, 1, color}, {x1, y0, z, 1, color}, {x0, y1, z, 1, color}, {x1, y1, z, 1, color}};
        device()->SetFVF(screenFvf);
        return device()->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(ScreenVertex));
    }

    std::vector<DWORD> Finish()
    {
        EXPECT_EQ(device()->EndScene(), D3D_OK);
        return ReadBackBuffer();
    }
};

TEST_F(RenderTest, ClearFillsTheViewportOrTheGivenRectangles)
{
    device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF336699, 1.0f, 0);
    D3DRECT rect{10, 5, 20, 8};
    device()->Clear(1, &rect, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0);
    D3DVIEWPORT9 corner{40, 30, 4, 4, 0.0f, 1.0f};
    device()->SetViewport(&corner);
    device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0);
    std::vector<DWORD> pixels = Finish();
    ASSERT_FALSE(pixels.empty());
    EXPECT_EQ(At(pixels, 0, 0), 0xFF336699u);
    EXPECT_EQ(At(pixels, 10, 5), 0xFFFFFFFFu);
    EXPECT_EQ(At(pixels, 19, 7), 0xFFFFFFFFu);
    EXPECT_EQ(At(pixels, 20, 7), 0xFF336699u);
    EXPECT_EQ(At(pixels, 19, 8), 0xFF336699u);
    EXPECT_EQ(At(pixels, 40, 30), 0xFF00FF00u);
    EXPECT_EQ(At(pixels, 43, 33), 0xFF00FF00u);
    EXPECT_EQ(At(pixels, 44, 33), 0xFF336699u);
    EXPECT_EQ(At(pixels, 39, 30), 0xFF336699u);
}

TEST_F(RenderTest, ScreenRectangleCoversPixelsByDirect3D9Centres)
{
    // Pixel centres lie on integer coordinates: [8, 24) x [4, 20) is exactly 16 x 16 pixels.
    ASSERT_EQ(DrawRect(8, 4, 24, 20, 0.5f, 0xFFFF0000), D3D_OK);
    std::vector<DWORD> pixels = Finish();
    ASSERT_FALSE(pixels.empty());
    int covered = 0;
    for (UINT y = 0; y < backBufferHeight; ++y)
        for (UINT x = 0; x < backBufferWidth; ++x)
            covered += Rgb(At(pixels, x, y)) == 0xFF0000u ? 1 : 0;
    EXPECT_EQ(covered, 16 * 16);
    EXPECT_EQ(Rgb(At(pixels, 8, 4)), 0xFF0000u);
    EXPECT_EQ(Rgb(At(pixels, 23, 19)), 0xFF0000u);
}

TEST_F(RenderTest, HalfPixelEdgesCoverTheCentresInside)
{
    // [40.5, 48.5) contains the centres 41 to 48; OpenGL's own centres would give 40 to 47.
    DrawRect(40.5f, 20.5f, 48.5f, 28.5f, 0.5f, 0xFF00FF00);
    std::vector<DWORD> pixels = Finish();
    ASSERT_FALSE(pixels.empty());
    EXPECT_EQ(Rgb(At(pixels, 40, 24)), 0u);
    EXPECT_EQ(Rgb(At(pixels, 41, 24)), 0x00FF00u);
    EXPECT_EQ(Rgb(At(pixels, 48, 24)), 0x00FF00u);
    EXPECT_EQ(Rgb(At(pixels, 49, 24)), 0u);
    EXPECT_EQ(Rgb(At(pixels, 44, 20)), 0u);
    EXPECT_EQ(Rgb(At(pixels, 44, 21)), 0x00FF00u);
    EXPECT_EQ(Rgb(At(pixels, 44, 28)), 0x00FF00u);
    EXPECT_EQ(Rgb(At(pixels, 44, 29)), 0u);
}

TEST_F(RenderTest, DepthTestKeepsTheNearerSurfaceOnlyWhenEnabled)
{
    DrawRect(0, 0, 32, 48, 0.2f, 0xFFFF0000);   // near, left
    DrawRect(16, 0, 48, 48, 0.8f, 0xFF00FF00);  // far, overlapping
    device()->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    DrawRect(40, 0, 64, 48, 0.9f, 0xFF0000FF);  // farther still, but no depth test
    std::vector<DWORD> pixels = Finish();
    ASSERT_FALSE(pixels.empty());
    EXPECT_EQ(Rgb(At(pixels, 20, 10)), 0xFF0000u);  // the far green one lost there
    EXPECT_EQ(Rgb(At(pixels, 36, 10)), 0x00FF00u);
    EXPECT_EQ(Rgb(At(pixels, 44, 10)), 0x0000FFu);  // drawn over the nearer green
}

TEST_F(RenderTest, DepthWritesCanBeSwitchedOff)
{
    device()->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    DrawRect(0, 0, 64, 48, 0.2f, 0xFFFF0000);
    device()->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    DrawRect(0, 0, 64, 48, 0.8f, 0xFF00FF00);
    std::vector<DWORD> pixels = Finish();
    ASSERT_FALSE(pixels.empty());
    EXPECT_EQ(Rgb(At(pixels, 30, 20)), 0x00FF00u);
}

// A triangle on the screen in clip coordinates (identity transforms, lighting off).
void DrawClipTriangle(IDirect3DDevice9* device, const ColoredVertex (&triangle)[3])
{
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetFVF(coloredFvf);
    device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle, sizeof(ColoredVertex));
}

TEST_F(RenderTest, CullingFollowsTheScreenWindingOfALeftHandedFrame)
{
    // Seen on screen (y up in clip space), left -> top -> right turns clockwise: Direct3D's
    // front face, kept by the default D3DCULL_CCW.
    const ColoredVertex clockwiseLeft[3] = {
        {-0.9f, -0.5f, 0.5f, 0xFFFF0000}, {-0.6f, 0.5f, 0.5f, 0xFFFF0000}, {-0.3f, -0.5f, 0.5f, 0xFFFF0000}};
    const ColoredVertex counterClockwiseRight[3] = {
        {0.3f, -0.5f, 0.5f, 0xFF00FF00}, {0.9f, -0.5f, 0.5f, 0xFF00FF00}, {0.6f, 0.5f, 0.5f, 0xFF00FF00}};
    DrawClipTriangle(device(), clockwiseLeft);
    DrawClipTriangle(device(), counterClockwiseRight);
    std::vector<DWORD> ccwCulled = Finish();

    device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    device()->BeginScene();
    device()->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    DrawClipTriangle(device(), clockwiseLeft);
    DrawClipTriangle(device(), counterClockwiseRight);
    std::vector<DWORD> cwCulled = Finish();

    device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    device()->BeginScene();
    device()->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    DrawClipTriangle(device(), clockwiseLeft);
    DrawClipTriangle(device(), counterClockwiseRight);
    std::vector<DWORD> noneCulled = Finish();

    ASSERT_FALSE(ccwCulled.empty());
    // Triangle centroids: left at clip (-0.6, -1/6), right at (0.6, -1/6).
    const UINT leftX = 13, rightX = 51, y = 28;
    EXPECT_EQ(Rgb(At(ccwCulled, leftX, y)), 0xFF0000u);
    EXPECT_EQ(Rgb(At(ccwCulled, rightX, y)), 0u);
    EXPECT_EQ(Rgb(At(cwCulled, leftX, y)), 0u);
    EXPECT_EQ(Rgb(At(cwCulled, rightX, y)), 0x00FF00u);
    EXPECT_EQ(Rgb(At(noneCulled, leftX, y)), 0xFF0000u);
    EXPECT_EQ(Rgb(At(noneCulled, rightX, y)), 0x00FF00u);
}

TEST_F(RenderTest, PretransformedTrianglesAreCulledByTheirScreenWinding)
{
    // Screen y grows downwards: (4,4) -> (20,4) -> (4,20) turns clockwise on screen.
    ScreenVertex clockwise[] = {
        {4, 4, 0.5f, 1, 0xFFFFFFFF}, {20, 4, 0.5f, 1, 0xFFFFFFFF}, {4, 20, 0.5f, 1, 0xFFFFFFFF}};
    ScreenVertex counterClockwise[] = {
        {40, 4, 0.5f, 1, 0xFFFFFFFF}, {40, 20, 0.5f, 1, 0xFFFFFFFF}, {56, 4, 0.5f, 1, 0xFFFFFFFF}};
    device()->SetFVF(screenFvf);
    device()->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, clockwise, sizeof(ScreenVertex));
    device()->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, counterClockwise, sizeof(ScreenVertex));
    std::vector<DWORD> pixels = Finish();
    ASSERT_FALSE(pixels.empty());
    EXPECT_EQ(Rgb(At(pixels, 8, 8)), 0xFFFFFFu);
    EXPECT_EQ(Rgb(At(pixels, 44, 8)), 0u);
}

TEST_F(RenderTest, AlphaTestDropsAlphaZeroAgainstGreaterThanZero)
{
    device()->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device()->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    device()->SetRenderState(D3DRS_ALPHAREF, 0);
    DrawRect(0, 0, 32, 48, 0.5f, 0x00FF0000);   // alpha 0: dropped
    DrawRect(32, 0, 64, 48, 0.5f, 0x01FF0000);  // alpha 1: kept
    std::vector<DWORD> pixels = Finish();
    ASSERT_FALSE(pixels.empty());
    EXPECT_EQ(Rgb(At(pixels, 16, 24)), 0u);
    EXPECT_EQ(Rgb(At(pixels, 48, 24)), 0xFF0000u);
}

TEST_F(RenderTest, AlphaTestComparesWithEveryFunction)
{
    // Alpha 127, 128 and 129 against reference 128, one column of pixels each.
    struct Case {
        D3DCMPFUNC function;
        bool passes[3];
    };
    const Case cases[] = {
        {D3DCMP_NEVER, {false, false, false}},      {D3DCMP_LESS, {true, false, false}},
        {D3DCMP_EQUAL, {false, true, false}},       {D3DCMP_LESSEQUAL, {true, true, false}},
        {D3DCMP_GREATER, {false, false, true}},     {D3DCMP_NOTEQUAL, {true, false, true}},
        {D3DCMP_GREATEREQUAL, {false, true, true}}, {D3DCMP_ALWAYS, {true, true, true}},
    };
    device()->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device()->SetRenderState(D3DRS_ALPHAREF, 128);
    for (size_t row = 0; row < std::size(cases); ++row) {
        device()->SetRenderState(D3DRS_ALPHAFUNC, cases[row].function);
        for (DWORD column = 0; column < 3; ++column) {
            DWORD alpha = 127 + column;
            DrawRect(float(column * 8), float(row * 4), float(column * 8 + 8), float(row * 4 + 4), 0.5f,
                     (alpha << 24) | 0x00FFFFFF);
        }
    }
    std::vector<DWORD> pixels = Finish();
    ASSERT_FALSE(pixels.empty());
    for (size_t row = 0; row < std::size(cases); ++row)
        for (UINT column = 0; column < 3; ++column)
            EXPECT_EQ(Rgb(At(pixels, column * 8 + 4, UINT(row) * 4 + 2)) != 0, cases[row].passes[column])
                << "function " << cases[row].function << ", alpha " << 127 + column;
}

TEST_F(RenderTest, BlendingMixesHalfTransparentColours)
{
    DrawRect(0, 0, 64, 48, 0.5f, 0xFFFF0000);
    device()->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device()->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device()->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device()->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    DrawRect(0, 0, 32, 48, 0.5f, 0x800000FF);  // half blue over red
    device()->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    device()->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    DrawRect(32, 0, 64, 48, 0.5f, 0xFF00FF00);  // additive green over red
    std::vector<DWORD> pixels = Finish();
    ASSERT_FALSE(pixels.empty());
    DWORD mixed = At(pixels, 16, 24);
    EXPECT_NEAR(Red(mixed), 127, 1);
    EXPECT_EQ(Green(mixed), 0);
    EXPECT_NEAR(Blue(mixed), 128, 1);
    EXPECT_EQ(Rgb(At(pixels, 48, 24)), 0xFFFF00u);
}

TEST_F(RenderTest, TriangleCrossingWZeroDrawsOnlyItsPartInFrontOfTheCamera)
{
    // A floor triangle at y = -1 that reaches behind the camera (view z < 0, so w < 0) through
    // a perspective projection with w = view z and the near plane at z = 0.5.
    const float zn = 0.5f, zf = 10.0f;
    D3DMATRIX projection{};
    projection._11 = 1.0f;
    projection._22 = 1.0f;
    projection._33 = zf / (zf - zn);
    projection._34 = 1.0f;
    projection._43 = -zn * zf / (zf - zn);
    device()->SetTransform(D3DTS_PROJECTION, &projection);
    device()->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    const ColoredVertex floor[3] = {
        {-1.0f, -1.0f, 2.0f, 0xFFFFFFFF}, {1.0f, -1.0f, 2.0f, 0xFFFFFFFF}, {0.0f, -1.0f, -2.0f, 0xFFFFFFFF}};
    DrawClipTriangle(device(), floor);
    std::vector<DWORD> pixels = Finish();
    ASSERT_FALSE(pixels.empty());
    // The visible part lies at y/w = -1/z <= -0.5: the lowest quarter of the picture. The part
    // behind the camera would project into the upper half if it were not clipped away.
    for (UINT y = 0; y < backBufferHeight * 3 / 4 - 1; ++y)
        for (UINT x = 0; x < backBufferWidth; ++x)
            ASSERT_EQ(Rgb(At(pixels, x, y)), 0u) << x << ", " << y;
    // Row 0.8 * height is at y/w = -0.6, z = 1/0.6, where the triangle spans x/w in +-0.55.
    EXPECT_EQ(Rgb(At(pixels, backBufferWidth / 2, UINT(backBufferHeight * 0.8f))), 0xFFFFFFu);
    EXPECT_EQ(Rgb(At(pixels, 2, UINT(backBufferHeight * 0.8f))), 0u);
}

TEST_F(RenderTest, PretransformedLineStripLandsOnTheGivenPixels)
{
    ScreenVertex strip[] = {{4, 4, 0.5f, 1, 0xFFFFFFFF}, {20, 4, 0.5f, 1, 0xFFFFFFFF}, {20, 12, 0.5f, 1, 0xFFFFFFFF}};
    device()->SetFVF(screenFvf);
    ASSERT_EQ(device()->DrawPrimitiveUP(D3DPT_LINESTRIP, 2, strip, sizeof(ScreenVertex)), D3D_OK);
    ScreenVertex list[] = {{30, 30, 0.5f, 1, 0xFF00FF00},
                           {40, 30, 0.5f, 1, 0xFF00FF00},
                           {30, 40, 0.5f, 1, 0xFF00FF00},
                           {30, 44, 0.5f, 1, 0xFF00FF00}};
    ASSERT_EQ(device()->DrawPrimitiveUP(D3DPT_LINELIST, 2, list, sizeof(ScreenVertex)), D3D_OK);
    std::vector<DWORD> pixels = Finish();
    ASSERT_FALSE(pixels.empty());
    std::vector<std::pair<UINT, UINT>> expected;
    for (UINT x = 4; x <= 20; ++x)
        expected.push_back({x, 4});
    for (UINT y = 5; y <= 12; ++y)
        expected.push_back({20, y});
    for (UINT x = 30; x <= 40; ++x)
        expected.push_back({x, 30});
    for (UINT y = 40; y <= 44; ++y)
        expected.push_back({30, y});
    for (auto [x, y] : expected)
        EXPECT_NE(Rgb(At(pixels, x, y)), 0u) << x << ", " << y;
    int lit = 0;
    for (UINT y = 0; y < backBufferHeight; ++y)
        for (UINT x = 0; x < backBufferWidth; ++x)
            lit += Rgb(At(pixels, x, y)) != 0 ? 1 : 0;
    EXPECT_EQ(lit, int(expected.size()));  // nothing beside the lines
}

TEST_F(RenderTest, LastPixelOffLeavesTheEndOfALineOut)
{
    device()->SetRenderState(D3DRS_LASTPIXEL, FALSE);
    ScreenVertex line[] = {{4, 4, 0.5f, 1, 0xFFFFFFFF}, {20, 4, 0.5f, 1, 0xFFFFFFFF}};
    device()->SetFVF(screenFvf);
    device()->DrawPrimitiveUP(D3DPT_LINESTRIP, 1, line, sizeof(ScreenVertex));
    std::vector<DWORD> pixels = Finish();
    ASSERT_FALSE(pixels.empty());
    EXPECT_NE(Rgb(At(pixels, 19, 4)), 0u);
    EXPECT_EQ(Rgb(At(pixels, 20, 4)), 0u);
}

TEST_F(RenderTest, FlatShadingTakesTheFirstVertexColour)
{
    device()->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_FLAT);
    ScreenVertex triangle[] = {{0, 0, 0.5f, 1, 0xFF0000FF}, {64, 0, 0.5f, 1, 0xFFFF0000}, {0, 48, 0.5f, 1, 0xFF00FF00}};
    device()->SetFVF(screenFvf);
    device()->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle, sizeof(ScreenVertex));
    std::vector<DWORD> pixels = Finish();
    ASSERT_FALSE(pixels.empty());
    EXPECT_EQ(Rgb(At(pixels, 30, 5)), 0x0000FFu);
    EXPECT_EQ(Rgb(At(pixels, 5, 30)), 0x0000FFu);
}

}  // namespace
}  // namespace quorvane::tests
