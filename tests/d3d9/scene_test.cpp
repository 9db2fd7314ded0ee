// A scene like the viewer's: the Earth's sphere as the data tool makes it, textured and lit, drawn
// from system-memory vertex and index buffers (as a D3DX mesh draws), a flattened copy of it
// without depth test, and a latitude circle as a line strip. Written to scene.png for looking at;
// probed where the geometry says.
#include <quorvane_testing.h>

#include <cmath>

#include "back_buffer.h"
#include "device_test.h"
#include "scene_helpers.h"

namespace quorvane::tests {
namespace {

constexpr UINT sceneWidth = 256;
constexpr UINT sceneHeight = 192;
constexpr float pi = 3.14159265f;
constexpr float cameraDistance = 3.5f;
constexpr float halfFov = pi / 6.0f;  // 60 degrees vertically

class SceneTest : public DeviceTest {
protected:
    SceneTest() : DeviceTest(sceneWidth, sceneHeight) {}

    // The unit sphere in system-memory vertex and index buffers.
    void BuildSphere(int slices, int stacks)
    {
        SphereMesh sphere = EarthSphere(slices, stacks);
        const std::vector<MeshVertex>& vertices = sphere.vertices;
        const std::vector<WORD>& indices = sphere.indices;
        vertexCount_ = UINT(vertices.size());
        triangleCount_ = UINT(indices.size() / 3);
        ASSERT_EQ(device()->CreateVertexBuffer(UINT(vertices.size() * sizeof(MeshVertex)), 0, 0, D3DPOOL_SYSTEMMEM,
                                               &vertices_, nullptr),
                  D3D_OK);
        ASSERT_EQ(device()->CreateIndexBuffer(UINT(indices.size() * sizeof(WORD)), 0, D3DFMT_INDEX16, D3DPOOL_SYSTEMMEM,
                                              &indices_, nullptr),
                  D3D_OK);
        CopyToBuffer(vertices_, vertices);
        CopyToBuffer(indices_, indices);
    }

    // The western hemisphere (u < 0.5) red, the eastern one blue.
    void BuildTexture()
    {
        std::vector<DWORD> texels(64 * 32);
        for (UINT i = 0; i < texels.size(); ++i) {
            texels[i] = i % 64 < 32 ? 0xFFFF0000 : 0xFF0000FF;
        }
        texture_ = MakeTexture(64, 32, texels);
    }

    void DrawSphere(const D3DMATRIX& world)
    {
        device()->SetTransform(D3DTS_WORLD, &world);
        device()->SetFVF(meshFvf);
        device()->SetTexture(0, texture_);
        device()->SetStreamSource(0, vertices_, 0, sizeof(MeshVertex));
        device()->SetIndices(indices_);
        EXPECT_EQ(device()->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, vertexCount_, 0, triangleCount_), D3D_OK);
    }

    IDirect3DTexture9* texture_ = nullptr;
    IDirect3DVertexBuffer9* vertices_ = nullptr;
    IDirect3DIndexBuffer9* indices_ = nullptr;
    UINT vertexCount_ = 0;
    UINT triangleCount_ = 0;
};

TEST_F(SceneTest, LitTexturedSphereWithItsImageAndALatitudeCircle)
{
    BuildSphere(48, 24);
    BuildTexture();
    ASSERT_NE(texture_, nullptr);
    D3DMATRIX view = Identity();
    view._43 = cameraDistance;
    D3DMATRIX projection = Perspective(halfFov, sceneWidth, sceneHeight, 1.0f, 100.0f);
    device()->SetTransform(D3DTS_VIEW, &view);
    device()->SetTransform(D3DTS_PROJECTION, &projection);
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {1, 1, 1, 1};
    light.Direction = {1, -1, 1};
    device()->SetLight(0, &light);
    device()->LightEnable(0, TRUE);
    D3DMATERIAL9 material{};
    material.Diffuse = {1, 1, 1, 1};
    material.Ambient = {1, 1, 1, 1};
    device()->SetMaterial(&material);
    device()->SetRenderState(D3DRS_AMBIENT, 0xFF404040);
    device()->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device()->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device()->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device()->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device()->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);

    ASSERT_EQ(device()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0), D3D_OK);
    ASSERT_EQ(device()->BeginScene(), D3D_OK);
    // The image: the sphere squashed flat below, drawn without depth test or culling.
    D3DMATRIX flat = Identity();
    flat._22 = 0.02f;
    flat._11 = flat._33 = 1.6f;
    flat._42 = -1.4f;
    device()->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device()->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    DrawSphere(flat);
    device()->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device()->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    DrawSphere(Identity());
    // Latitude y = 0.4, just outside the sphere, yellow and unlit.
    std::vector<LineVertex> circle;
    const float y = 0.4f, r = std::sqrt(1.0f - y * y) * 1.01f;
    for (int i = 0; i <= 96; ++i) {
        float phi = 2.0f * pi * float(i) / 96.0f;
        circle.push_back({r * std::cos(phi), y * 1.01f, r * std::sin(phi), 0xFFFFFF00});
    }
    device()->SetTexture(0, nullptr);
    device()->SetRenderState(D3DRS_LIGHTING, FALSE);
    D3DMATRIX world = Identity();
    device()->SetTransform(D3DTS_WORLD, &world);
    device()->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    ASSERT_EQ(device()->DrawPrimitiveUP(D3DPT_LINESTRIP, 96, circle.data(), sizeof(LineVertex)), D3D_OK);
    ASSERT_EQ(device()->EndScene(), D3D_OK);
    ASSERT_EQ(device()->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    ASSERT_TRUE(test_controls::WriteWindowPng(window(), "scene.png"));

    UINT width = 0, height = 0;
    std::vector<DWORD> pixels;
    ASSERT_TRUE(test_controls::ReadWindowImage(window(), width, height, pixels));
    ASSERT_EQ(width, sceneWidth);
    auto at = [&](UINT x, UINT yy) { return pixels[size_t(yy) * width + x] & 0xFFFFFF; };
    const UINT cx = sceneWidth / 2, cy = sceneHeight / 2;
    // The equator at longitude 30 degrees east, (sin 30, 0, -cos 30), lies right of the centre
    // (east is to the right seen from outside) in this column; 30 degrees west as far left.
    const float longitude = pi / 6.0f;
    const float column =
        std::sin(longitude) / (cameraDistance - std::cos(longitude)) / std::tan(halfFov) * float(sceneHeight) / 2.0f;
    const DWORD east = at(UINT(std::lround(float(cx) + column - 0.5f)), cy);
    const DWORD west = at(UINT(std::lround(float(cx) - column - 0.5f)), cy);
    // East is blue, lit by ambient 0x40 and N·L = (cos 30 - sin 30) / sqrt(3) (the light travels
    // along (1, -1, 1)); west is red, lit more than fully.
    EXPECT_EQ(Red(east), 0);
    EXPECT_EQ(Green(east), 0);
    const float eastLight = (std::cos(longitude) - std::sin(longitude)) / std::sqrt(3.0f);
    EXPECT_NEAR(Blue(east), std::lround((64.0f / 255.0f + eastLight) * 255.0f), 3);
    EXPECT_EQ(Rgb(west), 0xFF0000u);
    // The silhouette: radius 1 at distance 3.5 subtends tan = 1/sqrt(3.5^2 - 1) on screen.
    float silhouette =
        (1.0f / std::sqrt(cameraDistance * cameraDistance - 1.0f)) / std::tan(halfFov) * float(sceneHeight) / 2.0f;
    EXPECT_NE(at(cx, UINT(float(cy) - silhouette + 4)), 0u);
    EXPECT_EQ(at(cx, UINT(float(cy) - silhouette - 4)), 0u);
    // The latitude circle's nearest point (0, 0.404, -0.926) lies at this row.
    float lineRow = (1.0f - (0.404f / (cameraDistance - 0.9257f)) / std::tan(halfFov)) * float(sceneHeight) / 2.0f;
    bool yellow = false;
    for (int dy = -1; dy <= 1; ++dy)
        yellow = yellow || at(cx, UINT(std::lround(lineRow) + dy)) == 0xFFFF00u;
    EXPECT_TRUE(yellow) << "row " << lineRow;
    // The flattened image lies at y = -1.4 below the sphere; its far edge (z = 1.6) is this row
    // and it reaches down past the bottom of the picture. Beside the sphere (50 pixels right of
    // the centre) there is black above that edge and the image below it.
    float farEdge = (1.0f + (1.4f / (cameraDistance + 1.6f)) / std::tan(halfFov)) * float(sceneHeight) / 2.0f;
    EXPECT_EQ(at(cx + 60, UINT(farEdge) - 10), 0u);
    EXPECT_NE(at(cx + 50, sceneHeight - 8), 0u);

    device()->SetStreamSource(0, nullptr, 0, 0);
    device()->SetIndices(nullptr);
    texture_->Release();
    vertices_->Release();
    indices_->Release();
}

}  // namespace
}  // namespace quorvane::tests
