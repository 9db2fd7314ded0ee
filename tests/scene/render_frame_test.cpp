// Whole frames of the viewer through the headless display, probed where the geometry puts each
// element: the stand-in Earth is one flat colour, so every textured pixel shows it.
#include "app/settings.h"
#include "graphics/draw_device.h"
#include "graphics/scene_resources.h"
#include "resources/texture_registry.h"
#include "scene/camera.h"
#include "scene/session_state.h"
#include "temp_directory.h"
#include "viewer_data.h"
#include "viewer_scene.h"

#include <quorvane_testing.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace quorvane::tests {
namespace {

constexpr DWORD black = 0xFF000000;
constexpr DWORD white = 0xFFFFFFFF;
constexpr DWORD shadowGrey = 0xFF4F4F4F;
constexpr DWORD red = 0xFFFF0000;
constexpr float degree = 3.14159f / 180.0f;

// A model point on the unit sphere at a longitude and latitude in degrees.
D3DXVECTOR3 SpherePoint(float longitude, float latitude)
{
    const float lon = longitude * degree;
    const float lat = latitude * degree;
    return D3DXVECTOR3(std::cos(lat) * std::sin(lon), std::sin(lat), -std::cos(lat) * std::cos(lon));
}

class RenderFrameTest : public testing::Test {
protected:
    void SetUp() override
    {
        WriteSmallViewerData(dir.Path());
        ASSERT_EQ(scene.Initialize(new CFileReader4(dir.WidePath("Data").c_str())), S_OK);
    }

    // The pixel a world point falls on, checked to lie inside the window.
    DWORD At(const std::vector<DWORD>& frame, const D3DXVECTOR3& world) const
    {
        const POINT p = scene.ScreenPoint(world);
        EXPECT_TRUE(p.x >= 0 && p.y >= 0 && p.x < LONG(scene.Width()) && p.y < LONG(scene.Height()));
        return scene.At(frame, p.x, p.y);
    }

    // Whether some pixel within `radius` of where a world point falls has the colour.
    bool ColorNear(const std::vector<DWORD>& frame, const D3DXVECTOR3& world, DWORD color, int radius = 2) const
    {
        const POINT p = scene.ScreenPoint(world);
        for (int y = p.y - radius; y <= p.y + radius; ++y) {
            for (int x = p.x - radius; x <= p.x + radius; ++x) {
                if (scene.At(frame, x, y) == color)
                    return true;
            }
        }
        return false;
    }

    TempDirectory dir;
    ViewerScene scene{640, 480};
};

// The help texts sit in the top-left corner: lines at 8, 32, 56, 80 and the eye position at 104,
// each 24 pixels high.
constexpr int helpBottom = 128;

struct HelpPixels {
    int white = 0;
    int whiteBesideShadow = 0;  // exactly the shadow's grey to the right
    int whiteBesideDarker = 0;  // anything but a grey at least as light as the shadow's
    int linesWithText = 0;
};

// Grey (R = G = B) at least as light as the shadow: the shadow under the text's edge, partly
// covered by the white text.
bool ShadowOrLighterGrey(DWORD pixel)
{
    const DWORD r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    return r == g && g == b && r >= (shadowGrey & 0xFF);
}

HelpPixels CountHelpPixels(const ViewerScene& scene, const std::vector<DWORD>& frame)
{
    HelpPixels count;
    for (int line = 0; line < 5; ++line) {
        bool any = false;
        for (int y = 8 + 24 * line; y < 8 + 24 * (line + 1); ++y) {
            for (int x = 0; x + 1 < int(scene.Width()); ++x) {
                if (scene.At(frame, x, y) != white)
                    continue;
                any = true;
                ++count.white;
                count.whiteBesideShadow += scene.At(frame, x + 1, y) == shadowGrey;
                count.whiteBesideDarker += !ShadowOrLighterGrey(scene.At(frame, x + 1, y));
            }
        }
        count.linesWithText += any;
    }
    return count;
}

TEST_F(RenderFrameTest, DefaultViewShowsTheTexturedEarthWithItsRimOnBlack)
{
    const std::vector<DWORD> frame = scene.Frame();
    ASSERT_FALSE(frame.empty());
    // Above the horizon, away from the Earth and the texts: the background.
    EXPECT_EQ(scene.At(frame, 0, 0), black);
    EXPECT_EQ(scene.At(frame, int(scene.Width()) - 1, 0), black);
    EXPECT_EQ(scene.At(frame, int(scene.Width()) - 1, helpBottom + 10), black);
    // Between the guide lines (every 15 degrees) the Earth shows its texture, fully lit.
    EXPECT_TRUE(NearColor(At(frame, SpherePoint(7.5f, 7.5f)), standInEarthColor));
    EXPECT_TRUE(NearColor(At(frame, SpherePoint(-37.5f, 22.5f)), standInEarthColor));
    // Just outside the limb, up and to the right, inside the sphere 1.1 times the Earth's size.
    const D3DXVECTOR3 rim(1.055f * std::cos(45 * degree), 1.055f * std::sin(45 * degree), 0.0f);
    EXPECT_EQ(At(frame, rim), white);

    ViewerSettings.showEarthOutline = FALSE;
    EXPECT_EQ(At(scene.Frame(), rim), black);
    ViewerSettings.showEarthOutline = TRUE;
    ViewerSettings.showEarth = FALSE;
    const std::vector<DWORD> withoutEarth = scene.Frame();
    EXPECT_EQ(At(withoutEarth, rim), black);
    EXPECT_FALSE(NearColor(At(withoutEarth, SpherePoint(7.5f, 7.5f)), standInEarthColor));
}

TEST_F(RenderFrameTest, HelpTextIsWhiteWithAGreyShadowOnePixelToTheRight)
{
    const HelpPixels shown = CountHelpPixels(scene, scene.Frame());
    EXPECT_EQ(shown.linesWithText, 5);  // four help lines and the eye position
    EXPECT_GT(shown.white, 200);
    EXPECT_GT(shown.whiteBesideShadow, 0);
    EXPECT_EQ(shown.whiteBesideDarker, 0);  // the shadow is under every stroke's right edge

    ViewerSettings.showHelp = FALSE;
    EXPECT_EQ(CountHelpPixels(scene, scene.Frame()).white, 0);
}

TEST_F(RenderFrameTest, WithoutAFontTheHelpIsLeftOut)
{
    SceneResources.font->Release();
    SceneResources.font = nullptr;
    const std::vector<DWORD> frame = scene.Frame();
    EXPECT_EQ(CountHelpPixels(scene, frame).white, 0);
    EXPECT_TRUE(NearColor(At(frame, SpherePoint(7.5f, 7.5f)), standInEarthColor));
}

class ElevatedViewTest : public RenderFrameTest {
protected:
    void SetUp() override
    {
        RenderFrameTest::SetUp();
        DragOrbitCamera(0, 80);  // 0.8 rad above the equator's plane
    }
};

// The equator's image is the circle of radius 2 about the axis, 0.01 above the plane; probed
// half-way between two meridians' images.
TEST_F(ElevatedViewTest, TheEquatorsImageIsRedOnThePlaneAndHiddenByAlphaZero)
{
    const D3DXVECTOR3 ring = ImagePoint(SpherePoint(82.5f, 0.0f), 0.01f);
    EXPECT_NEAR(std::hypot(ring.x, ring.z), 2.0f, 1e-4f);
    ASSERT_GT(scene.ScreenPoint(ring).y, helpBottom);
    EXPECT_TRUE(ColorNear(scene.Frame(), ring, red));

    ViewerSettings.redLineColor = 0x00FF0000;
    const std::vector<DWORD> frame = scene.Frame();
    EXPECT_FALSE(ColorNear(frame, ring, red));
    EXPECT_TRUE(NearColor(At(frame, ring), standInEarthColor));
}

// A circle of 30 degrees about (1, 0, 0): its image is the circle about (2.286536, 0) of radius
// 1.143268 (ends 2r cos30 / (1 -+ sin30)), where its centre's image (2r, 0) is dotted and the
// image's centre crossed; on the Earth it passes (cos30, 0, -sin30) lifted by 1.01.
TEST_F(ElevatedViewTest, ADrawnCirclesImageIsTheCircleWorkedOutOnThePlane)
{
    ViewerSettings.showHelp = FALSE;
    const double y = -1.0 / 1.01 + 0.01;
    const auto plane = [y](double radius, double degrees) {
        const double t = degrees * degree;
        return D3DXVECTOR3(float(2.286536 + radius * std::cos(t)), float(y), float(radius * std::sin(t)));
    };
    const DWORD cyan = DrawnCircleColor(0);
    const D3DXVECTOR3 onEarth(0.874686f, 0.0f, -0.505f);
    const D3DXVECTOR3 dot(1.980198f, float(y), 0.0f);
    for (bool drawn : {false, true}) {
        if (drawn)
            AddDrawnCircle(ViewerSession.circles, SphereCircle{{1, 0, 0}, 30 * degree});
        const std::vector<DWORD> frame = scene.Frame();
        for (double degrees : {-120.0, -90.0, -60.0, 0.0, 60.0, 90.0, 120.0}) {
            EXPECT_EQ(ColorNear(frame, plane(1.143268, degrees), cyan, 1), drawn) << degrees;
            EXPECT_FALSE(ColorNear(frame, plane(0.9, degrees), cyan, 1)) << degrees;  // not a wider one
        }
        EXPECT_EQ(ColorNear(frame, plane(0.0, 0.0), cyan, 1), drawn);  // the cross
        EXPECT_EQ(ColorNear(frame, dot, cyan, 1), drawn);
        EXPECT_EQ(ColorNear(frame, onEarth, cyan, 1), drawn);
    }
}

TEST_F(ElevatedViewTest, WithEveryFlagOffOnlyTheEarthsImageShowsOnBlack)
{
    ViewerSettings.showEarth = FALSE;
    ViewerSettings.showEarthOutline = FALSE;
    ViewerSettings.showLatitudeLines = FALSE;
    ViewerSettings.showLongitudeLines = FALSE;
    ViewerSettings.showHelp = FALSE;
    const std::vector<DWORD> frame = scene.Frame();
    ASSERT_FALSE(frame.empty());
    int image = 0;
    int other = 0;
    for (DWORD pixel : frame) {
        image += NearColor(pixel, standInEarthColor);
        other += pixel != black && !NearColor(pixel, standInEarthColor);
    }
    EXPECT_EQ(other, 0);
    EXPECT_GT(image, int(frame.size() / 4));
    // The south pole's image lies right under the Earth's centre.
    EXPECT_TRUE(NearColor(At(frame, ImagePoint(D3DXVECTOR3(0, -1, 0))), standInEarthColor));
}

// A device made lost, then resettable, is reset by the next frame, which applies the fixed
// states again; a frame without a reset does not.
TEST_F(RenderFrameTest, ALostDeviceIsResetAtTheNextFrameAndTheFixedStatesAppliedOnce)
{
    IDirect3DDevice9* device = SceneResources.drawDevice->device;
    scene.Frame();
    DWORD function = 0;
    device->GetRenderState(D3DRS_ALPHAFUNC, &function);
    EXPECT_EQ(function, DWORD(D3DCMP_GREATER));
    EXPECT_FALSE(SceneResources.drawDevice->statesDirty);

    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_ALWAYS);
    scene.Frame();
    device->GetRenderState(D3DRS_ALPHAFUNC, &function);
    EXPECT_EQ(function, DWORD(D3DCMP_ALWAYS));  // not applied again

    test_controls::LoseDevice(device);
    scene.Frame();  // lost: drawn to, not reset
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICELOST);
    test_controls::MakeDeviceResettable(device);
    const std::vector<DWORD> frame = scene.Frame();
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
    device->GetRenderState(D3DRS_ALPHAFUNC, &function);
    EXPECT_EQ(function, DWORD(D3DCMP_GREATER));
    EXPECT_TRUE(NearColor(At(frame, SpherePoint(7.5f, 7.5f)), standInEarthColor));
    EXPECT_GT(CountHelpPixels(scene, frame).white, 200);  // the font survived the reset
}

TEST_F(RenderFrameTest, WithoutItsDefaultPoolCopyATextureDrawsFromSystemMemory)
{
    const std::vector<DWORD> before = scene.Frame();
    SceneResources.drawDevice->FindTextureRegistry(L"default")->OnLostDevice();
    ASSERT_EQ(SceneResources.earthTexture->videoTexture, nullptr);
    const std::vector<DWORD> after = scene.Frame();
    EXPECT_TRUE(NearColor(At(after, SpherePoint(7.5f, 7.5f)), standInEarthColor));
    EXPECT_TRUE(before == after);
}

}  // namespace
}  // namespace quorvane::tests
