// Fixed-function vertex lighting as Direct3D 9 computes it: emissive + ambient +
// diffuse·max(N·L, 0), the light direction normalised, normals carried by the inverse
// transpose of world·view and normalised only when asked.
#include <cmath>

#include "back_buffer.h"
#include "device_test.h"
#include "scene_helpers.h"

namespace quorvane::tests {
namespace {

static_assert(meshFvf == 0x112);

D3DCOLORVALUE Color(float r, float g, float b, float a = 1.0f)
{
    return D3DCOLORVALUE{r, g, b, a};
}

int ToByte(float value)
{
    return int(std::lround(std::fmin(std::fmax(value, 0.0f), 1.0f) * 255.0f));
}

class LightingTest : public DeviceTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(DeviceTest::SetUp());
        device()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        device()->SetFVF(meshFvf);
        device()->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    }

    // A large triangle in clip space (identity transforms unless a test sets the world) with
    // one normal, covering the picture's centre.
    void DrawTriangle(float nx, float ny, float nz, float scale = 1.0f)
    {
        float z = 0.5f / scale;
        MeshVertex triangle[] = {{{-0.9f / scale, -0.9f / scale, z}, {nx, ny, nz}, {0, 0}},
                                 {{0.0f, 0.9f / scale, z}, {nx, ny, nz}, {0, 0}},
                                 {{0.9f / scale, -0.9f / scale, z}, {nx, ny, nz}, {0, 0}}};
        device()->BeginScene();
        EXPECT_EQ(device()->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle, sizeof(MeshVertex)), D3D_OK);
        device()->EndScene();
    }

    DWORD Centre() { return At(ReadBackBuffer(), backBufferWidth / 2, backBufferHeight / 2); }
};

TEST_F(LightingTest, EmissiveOnlyMaterialIsExactlyItsEmissiveColour)
{
    D3DMATERIAL9 material{};
    material.Diffuse = Color(1, 1, 1);
    material.Emissive = Color(64 / 255.0f, 128 / 255.0f, 192 / 255.0f);
    device()->SetMaterial(&material);
    // No light is enabled and the ambient light is black: only emissive remains.
    DrawTriangle(0, 0, -1);
    EXPECT_EQ(Rgb(Centre()), 0x4080C0u);
}

struct LitScene {
    D3DMATERIAL9 material{};
    D3DLIGHT9 light{};
    DWORD ambient = 0xFF202020;
};

LitScene MakeLitScene()
{
    LitScene scene;
    scene.material.Diffuse = Color(0.5f, 0.25f, 1.0f);
    scene.material.Ambient = Color(0.2f, 0.4f, 0.6f);
    scene.material.Emissive = Color(0.1f, 0.05f, 0.0f);
    scene.light.Type = D3DLIGHT_DIRECTIONAL;
    scene.light.Diffuse = Color(1, 1, 1);
    scene.light.Ambient = Color(0.25f, 0.25f, 0.25f);
    scene.light.Direction = D3DVECTOR{1.0f, -1.0f, 1.0f};  // not normalised, as the program sets it
    return scene;
}

// emissive + ambient·(global ambient + light ambient) + diffuse·max(N·L, 0), per channel.
DWORD ExpectedLitColour(const LitScene& scene, float nDotL)
{
    float global = float(scene.ambient & 0xFF) / 255.0f;
    auto channel = [&](float emissive, float ambient, float diffuse) {
        return ToByte(emissive + ambient * (global + scene.light.Ambient.r) + diffuse * std::fmax(nDotL, 0.0f));
    };
    const D3DMATERIAL9& m = scene.material;
    return DWORD(channel(m.Emissive.r, m.Ambient.r, m.Diffuse.r) << 16 |
                 channel(m.Emissive.g, m.Ambient.g, m.Diffuse.g) << 8 |
                 channel(m.Emissive.b, m.Ambient.b, m.Diffuse.b));
}

void ExpectColourNear(DWORD actual, DWORD expected)
{
    EXPECT_NEAR(Red(actual), Red(expected), 1) << std::hex << actual << " vs " << expected;
    EXPECT_NEAR(Green(actual), Green(expected), 1) << std::hex << actual << " vs " << expected;
    EXPECT_NEAR(Blue(actual), Blue(expected), 1) << std::hex << actual << " vs " << expected;
}

class LitTriangleTest : public LightingTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(LightingTest::SetUp());
        device()->SetMaterial(&scene_.material);
        device()->SetLight(0, &scene_.light);
        device()->LightEnable(0, TRUE);
        device()->SetRenderState(D3DRS_AMBIENT, scene_.ambient);
    }

    LitScene scene_ = MakeLitScene();
};

TEST_F(LitTriangleTest, FacingTheLightAddsDiffuseWithTheNormalisedDirection)
{
    // N = (0, 0, -1) faces the camera; L = -(1, -1, 1)/sqrt(3), so N·L = 1/sqrt(3).
    DrawTriangle(0, 0, -1);
    ExpectColourNear(Rgb(Centre()), ExpectedLitColour(scene_, 1.0f / std::sqrt(3.0f)));
}

TEST_F(LitTriangleTest, FacingAwayKeepsOnlyEmissiveAndAmbient)
{
    DrawTriangle(0, 0, 1);
    ExpectColourNear(Rgb(Centre()), ExpectedLitColour(scene_, 0.0f));
}

TEST_F(LitTriangleTest, ScaledNormalsStayScaledUnlessNormalizeNormalsIsOn)
{
    // A world scaling by 2 carries normals by its inverse transpose: they shrink to half length.
    D3DMATRIX world = Identity();
    world._11 = world._22 = world._33 = 2.0f;
    device()->SetTransform(D3DTS_WORLD, &world);
    DrawTriangle(0, 0, -1, 2.0f);
    ExpectColourNear(Rgb(Centre()), ExpectedLitColour(scene_, 0.5f / std::sqrt(3.0f)));

    device()->SetRenderState(D3DRS_NORMALIZENORMALS, TRUE);
    DrawTriangle(0, 0, -1, 2.0f);
    ExpectColourNear(Rgb(Centre()), ExpectedLitColour(scene_, 1.0f / std::sqrt(3.0f)));
}

TEST_F(LitTriangleTest, TheViewMatrixTurnsTheLightWithTheCamera)
{
    // Lights are given in world space. Turning the view 180 degrees about y makes the camera
    // look along -z; the triangle is placed in front of it and its normal faces the camera.
    D3DMATRIX view = Identity();
    view._11 = -1.0f;
    view._33 = -1.0f;
    device()->SetTransform(D3DTS_VIEW, &view);
    MeshVertex triangle[] = {{{0.9f, -0.9f, -0.5f}, {0, 0, 1}, {0, 0}},
                             {{0.0f, 0.9f, -0.5f}, {0, 0, 1}, {0, 0}},
                             {{-0.9f, -0.9f, -0.5f}, {0, 0, 1}, {0, 0}}};
    device()->BeginScene();
    device()->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle, sizeof(MeshVertex));
    device()->EndScene();
    // World N = (0, 0, 1); L = (-1, 1, -1)/sqrt(3): N·L < 0, the light is behind the surface.
    ExpectColourNear(Rgb(Centre()), ExpectedLitColour(scene_, 0.0f));
}

TEST_F(LightingTest, LightingOffUsesTheVertexColourOrWhite)
{
    device()->SetRenderState(D3DRS_LIGHTING, FALSE);
    DrawTriangle(0, 0, -1);
    EXPECT_EQ(Rgb(Centre()), 0xFFFFFFu);  // no diffuse in the vertex: white
}

TEST_F(LightingTest, DisabledLightContributesNothing)
{
    LitScene scene = MakeLitScene();
    device()->SetMaterial(&scene.material);
    device()->SetLight(0, &scene.light);
    device()->LightEnable(0, FALSE);
    DrawTriangle(0, 0, -1);
    const D3DMATERIAL9& m = scene.material;
    EXPECT_EQ(Rgb(Centre()), DWORD(ToByte(m.Emissive.r) << 16 | ToByte(m.Emissive.g) << 8 | ToByte(m.Emissive.b)));
}

}  // namespace
}  // namespace quorvane::tests
