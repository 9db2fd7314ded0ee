// Misuse gets Direct3D's answer and nothing breaks: calls outside a scene, null pointers,
// unknown or unsupported states, vertex formats and primitive types.
#include "device_test.h"
#include "scene_helpers.h"

namespace quorvane::tests {
namespace {

using BadUseTest = DeviceTest;

struct Vertex {
    float x, y, z, rhw;
    D3DCOLOR diffuse;
};

TEST_F(BadUseTest, DrawingNeedsAScene)
{
    Vertex triangle[3] = {};
    device()->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    EXPECT_EQ(device()->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle, sizeof(Vertex)), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->EndScene(), D3DERR_INVALIDCALL);
    ASSERT_EQ(device()->BeginScene(), D3D_OK);
    EXPECT_EQ(device()->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle, sizeof(Vertex)), D3D_OK);
    EXPECT_EQ(device()->EndScene(), D3D_OK);
}

TEST_F(BadUseTest, DrawCallsCheckTheirArguments)
{
    Vertex triangle[3] = {};
    device()->BeginScene();
    EXPECT_EQ(device()->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle, sizeof(Vertex)),
              D3DERR_INVALIDCALL);  // no FVF
    device()->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    EXPECT_EQ(device()->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, nullptr, sizeof(Vertex)), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle, 8), D3DERR_INVALIDCALL);  // stride too small
    EXPECT_EQ(device()->DrawPrimitiveUP(D3DPRIMITIVETYPE(9), 1, triangle, sizeof(Vertex)), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 0, triangle, sizeof(Vertex)), D3D_OK);  // nothing to do
    EXPECT_EQ(device()->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3DERR_INVALIDCALL);               // no stream
    EXPECT_EQ(device()->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 3, 0, 1), D3DERR_INVALIDCALL);
    const WORD far[3] = {0, 1, 7};
    EXPECT_EQ(
        device()->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 3, 1, far, D3DFMT_INDEX16, triangle, sizeof(Vertex)),
        D3DERR_INVALIDCALL);  // index 7 is outside the three vertices
    const WORD near[3] = {0, 1, 2};
    EXPECT_EQ(
        device()->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 3, 1, near, D3DFMT_INDEX16, triangle, sizeof(Vertex)),
        D3D_OK);
    device()->EndScene();
}

TEST_F(BadUseTest, StatesAreCheckedAgainstWhatIsKnownAndWhatIsDrawn)
{
    EXPECT_EQ(device()->SetRenderState(D3DRENDERSTATETYPE(3), 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->SetRenderState(D3DRS_CULLMODE, 7), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->SetRenderState(D3DRS_FOGENABLE, TRUE), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(device()->SetRenderState(D3DRS_STENCILENABLE, TRUE), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(device()->SetRenderState(D3DRS_FOGENABLE, FALSE), D3D_OK);
    DWORD value = 0;
    EXPECT_EQ(device()->GetRenderState(D3DRS_CULLMODE, &value), D3D_OK);
    EXPECT_EQ(value, DWORD(D3DCULL_CCW));
    EXPECT_EQ(device()->GetRenderState(D3DRS_CULLMODE, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->GetRenderState(D3DRS_ZENABLE, &value), D3D_OK);
    EXPECT_EQ(value, DWORD(D3DZB_TRUE));  // the device has a depth buffer
    EXPECT_EQ(device()->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(device()->SetTextureStageState(0, D3DTSS_COLOROP, 99), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->SetTextureStageState(8, D3DTSS_COLOROP, D3DTOP_DISABLE), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEMP), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(device()->GetTextureStageState(0, D3DTSS_ALPHAOP, &value), D3D_OK);
    EXPECT_EQ(value, DWORD(D3DTOP_SELECTARG1));
    EXPECT_EQ(device()->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR), D3D_OK);
    EXPECT_EQ(device()->SetSamplerState(0, D3DSAMP_MAGFILTER, 9), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->SetSamplerState(16, D3DSAMP_MAGFILTER, D3DTEXF_POINT), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->GetSamplerState(0, D3DSAMP_ADDRESSU, &value), D3D_OK);
    EXPECT_EQ(value, DWORD(D3DTADDRESS_WRAP));
    EXPECT_EQ(device()->SetFVF(0xFFFFFFFF), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->SetFVF(D3DFVF_XYZB2), D3DERR_NOTAVAILABLE);  // blend weights
}

TEST_F(BadUseTest, NullOutPointersAreRefused)
{
    EXPECT_EQ(device()->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->GetViewport(nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->SetViewport(nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->SetTransform(D3DTS_WORLD, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->SetMaterial(nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->SetLight(0, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->Reset(nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->CreateOffscreenPlainSurface(4, 4, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, nullptr, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->GetDirect3D(nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->QueryInterface(IID_IDirect3DDevice9, nullptr), E_POINTER);
}

TEST_F(BadUseTest, ViewportsLightsAndTransformsOutOfRange)
{
    D3DVIEWPORT9 tooWide{0, 0, backBufferWidth + 1, backBufferHeight, 0.0f, 1.0f};
    EXPECT_EQ(device()->SetViewport(&tooWide), D3DERR_INVALIDCALL);
    D3DVIEWPORT9 badDepth{0, 0, backBufferWidth, backBufferHeight, 0.0f, 2.0f};
    EXPECT_EQ(device()->SetViewport(&badDepth), D3DERR_INVALIDCALL);
    D3DVIEWPORT9 empty{0, 0, 0, backBufferHeight, 0.0f, 1.0f};
    EXPECT_EQ(device()->SetViewport(&empty), D3DERR_INVALIDCALL);
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;  // with a zero direction
    EXPECT_EQ(device()->SetLight(0, &light), D3DERR_INVALIDCALL);
    light.Type = D3DLIGHTTYPE(9);
    EXPECT_EQ(device()->SetLight(0, &light), D3DERR_INVALIDCALL);
    D3DLIGHT9 got{};
    EXPECT_EQ(device()->GetLight(5, &got), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->LightEnable(5, TRUE), D3D_OK);  // an unset light gets the default one
    EXPECT_EQ(device()->GetLight(5, &got), D3D_OK);
    EXPECT_EQ(got.Type, D3DLIGHT_DIRECTIONAL);
    EXPECT_EQ(got.Direction.z, 1.0f);
    for (DWORD i = 10; i < 17; ++i)
        EXPECT_EQ(device()->LightEnable(i, TRUE), D3D_OK);
    EXPECT_EQ(device()->LightEnable(17, TRUE), D3DERR_INVALIDCALL);  // a ninth active light
    D3DMATRIX m = Identity();
    EXPECT_EQ(device()->SetTransform(D3DTRANSFORMSTATETYPE(4), &m), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->SetTransform(D3DTS_TEXTURE7, &m), D3D_OK);
}

TEST_F(BadUseTest, ClearChecksItsFlagsAndRectangles)
{
    EXPECT_EQ(device()->Clear(0, nullptr, 0, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->Clear(1, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 0), D3DERR_INVALIDCALL);  // D16 has no stencil
    EXPECT_EQ(device()->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.5f, 0), D3DERR_INVALIDCALL);
    D3DRECT outside{1000, 1000, 2000, 2000};
    EXPECT_EQ(device()->Clear(1, &outside, D3DCLEAR_TARGET, 0, 1.0f, 0), D3D_OK);  // clipped to nothing
}

TEST_F(BadUseTest, ForeignObjectsAreRefused)
{
    // A resource of another device cannot be bound here.
    TestWindow otherWindow(32, 32);
    D3DPRESENT_PARAMETERS pp = WindowedParameters(otherWindow.Handle(), 32, 32);
    IDirect3DDevice9* other = nullptr;
    ASSERT_EQ(direct3d()->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, otherWindow.Handle(),
                                       D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &other),
              D3D_OK);
    IDirect3DTexture9* texture = nullptr;
    other->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr);
    EXPECT_EQ(device()->SetTexture(0, texture), D3DERR_INVALIDCALL);
    texture->Release();
    EXPECT_EQ(other->Release(), 0u);
}

}  // namespace
}  // namespace quorvane::tests
