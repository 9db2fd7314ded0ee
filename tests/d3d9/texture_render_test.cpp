// Texturing as drawn: stage 0 modulates texture and diffuse colour, point sampling shows texels
// exactly, interpolation is perspective-correct with the full homogeneous w, and a stage
// without a texture passes the diffuse colour and alpha on.
#include <cmath>

#include "back_buffer.h"
#include "device_test.h"
#include "scene_helpers.h"

namespace quorvane::tests {
namespace {

struct TexturedScreenVertex {
    float x, y, z, rhw;
    D3DCOLOR diffuse;
    D3DCOLOR specular;
    float u, v;
};
constexpr DWORD texturedScreenFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1;

struct TexturedVertex {
    float x, y, z;
    D3DCOLOR diffuse;
    float u, v;
};
constexpr DWORD texturedFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

class TextureRenderTest : public DeviceTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(DeviceTest::SetUp());
        device()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        device()->BeginScene();
    }

    // A screen rectangle [x0, x1) x [y0, y1) with texture coordinates 0..1 across it. The half
    // pixel makes texel edges meet pixel edges: Direct3D 9 samples at pixel centres.
    void DrawTexturedRect(float x0, float y0, float x1, float y1, D3DCOLOR diffuse)
    {
        x0 -= 0.5f, y0 -= 0.5f, x1 -= 0.5f, y1 -= 0.5f;
        TexturedScreenVertex quad[] = {{x0, y0, 0.5f, 1, diffuse, 0, 0, 0},
                                       {x1, y0, 0.5f, 1, diffuse, 0, 1, 0},
                                       {x0, y1, 0.5f, 1, diffuse, 0, 0, 1},
                                       {x1, y1, 0.5f, 1, diffuse, 0, 1, 1}};
        device()->SetFVF(texturedScreenFvf);
        EXPECT_EQ(device()->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(TexturedScreenVertex)), D3D_OK);
    }

    std::vector<DWORD> Finish()
    {
        device()->EndScene();
        return ReadBackBuffer();
    }
};

TEST_F(TextureRenderTest, TwoByTwoTextureStretchedShowsItsFourTexelsExactly)
{
    IDirect3DTexture9* texture = MakeTexture(2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF});
    ASSERT_NE(texture, nullptr);
    device()->SetTexture(0, texture);
    DrawTexturedRect(0, 0, 32, 32, 0xFFFFFFFF);
    std::vector<DWORD> pixels = Finish();
    ASSERT_TRUE(SavePng("texels.png"));
    device()->SetTexture(0, nullptr);
    texture->Release();
    ASSERT_FALSE(pixels.empty());
    for (UINT y = 0; y < 32; ++y) {
        for (UINT x = 0; x < 32; ++x) {
            DWORD expected = y < 16 ? (x < 16 ? 0xFF0000u : 0x00FF00u) : (x < 16 ? 0x0000FFu : 0xFFFFFFu);
            ASSERT_EQ(Rgb(At(pixels, x, y)), expected) << x << ", " << y;
        }
    }
    EXPECT_EQ(Rgb(At(pixels, 32, 10)), 0u);
}

// The 32-bit formats keep their channel order through a whole upload and through a later
// sub-rectangle update from a wider system-memory surface; an X8R8G8B8 texel is opaque whatever
// its unused byte holds, so blending and the alpha test let it through at full strength.
TEST_F(TextureRenderTest, ThirtyTwoBitTexturesKeepChannelOrderThroughWholeAndPartialUpdates)
{
    device()->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device()->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device()->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device()->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device()->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    const D3DFORMAT formats[] = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8};
    const DWORD unusedByte[] = {0xFF000000u, 0x00000000u};  // X8's byte is zero: still opaque
    for (int f = 0; f < 2; ++f) {
        const DWORD a = unusedByte[f];
        IDirect3DTexture9* texture =
            MakeTexture(2, 2, {a | 0xC01020, a | 0x30D040, a | 0x5060E0, a | 0x708090}, formats[f]);
        ASSERT_NE(texture, nullptr) << f;
        // Texel (1, 1) replaced from column 2 of a 3 x 1 source.
        IDirect3DSurface9* patch = nullptr;
        ASSERT_EQ(device()->CreateOffscreenPlainSurface(3, 1, formats[f], D3DPOOL_SYSTEMMEM, &patch, nullptr), D3D_OK);
        D3DLOCKED_RECT locked{};
        ASSERT_EQ(patch->LockRect(&locked, nullptr, 0), D3D_OK);
        static_cast<DWORD*>(locked.pBits)[2] = a | 0x0A0B0C;
        patch->UnlockRect();
        IDirect3DSurface9* level = nullptr;
        texture->GetSurfaceLevel(0, &level);
        const RECT column{2, 0, 3, 1};
        const POINT at{1, 1};
        EXPECT_EQ(device()->UpdateSurface(patch, &column, level, &at), D3D_OK) << f;
        level->Release();
        patch->Release();
        device()->SetTexture(0, texture);
        DrawTexturedRect(float(32 * f), 0, float(32 * f + 32), 32, 0xFFFFFFFF);
        device()->SetTexture(0, nullptr);
        texture->Release();
    }
    std::vector<DWORD> pixels = Finish();
    ASSERT_FALSE(pixels.empty());
    for (UINT f = 0; f < 2; ++f) {
        const UINT left = 32 * f;  // texels of 16 x 16 pixels
        EXPECT_EQ(Rgb(At(pixels, left + 8, 8)), 0xC01020u) << f;
        EXPECT_EQ(Rgb(At(pixels, left + 24, 8)), 0x30D040u) << f;
        EXPECT_EQ(Rgb(At(pixels, left + 8, 24)), 0x5060E0u) << f;
        EXPECT_EQ(Rgb(At(pixels, left + 24, 24)), 0x0A0B0Cu) << f;
    }
}

TEST_F(TextureRenderTest, StageZeroModulatesTextureWithDiffuseAndTakesTextureAlpha)
{
    IDirect3DTexture9* texture = MakeTexture(1, 1, {0x80FF8040});
    ASSERT_NE(texture, nullptr);
    device()->SetTexture(0, texture);
    device()->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device()->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device()->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    DrawTexturedRect(0, 0, 32, 32, 0x40808080);  // diffuse alpha 0x40 is ignored: alpha = texture
    std::vector<DWORD> pixels = Finish();
    device()->SetTexture(0, nullptr);
    texture->Release();
    ASSERT_FALSE(pixels.empty());
    // colour = texel * diffuse (0.502), then blended at alpha 0x80 over black.
    DWORD c = At(pixels, 10, 10);
    EXPECT_NEAR(Red(c), 64, 1);
    EXPECT_NEAR(Green(c), 32, 1);
    EXPECT_NEAR(Blue(c), 16, 1);
}

TEST_F(TextureRenderTest, NullTexturePassesDiffuseColourAndAlpha)
{
    device()->SetTexture(0, nullptr);
    device()->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device()->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device()->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    DrawTexturedRect(0, 0, 32, 32, 0x80FF8040);
    device()->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device()->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    DrawTexturedRect(32, 0, 64, 32, 0x00FFFFFF);  // alpha 0 from the diffuse colour: dropped
    std::vector<DWORD> pixels = Finish();
    ASSERT_FALSE(pixels.empty());
    DWORD c = At(pixels, 10, 10);
    EXPECT_NEAR(Red(c), 128, 1);
    EXPECT_NEAR(Green(c), 64, 1);
    EXPECT_NEAR(Blue(c), 32, 1);
    EXPECT_EQ(Rgb(At(pixels, 40, 10)), 0u);
}

TEST_F(TextureRenderTest, SpecularIsAddedOnlyWhenEnabled)
{
    TexturedScreenVertex quad[] = {{0, 0, 0.5f, 1, 0xFF400000, 0xFF004000, 0, 0},
                                   {64, 0, 0.5f, 1, 0xFF400000, 0xFF004000, 0, 0},
                                   {0, 48, 0.5f, 1, 0xFF400000, 0xFF004000, 0, 0}};
    device()->SetFVF(texturedScreenFvf);
    device()->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, quad, sizeof(TexturedScreenVertex));
    std::vector<DWORD> without = Finish();
    device()->BeginScene();
    device()->SetRenderState(D3DRS_SPECULARENABLE, TRUE);
    device()->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, quad, sizeof(TexturedScreenVertex));
    std::vector<DWORD> with = Finish();
    ASSERT_FALSE(with.empty());
    EXPECT_EQ(Rgb(At(without, 5, 5)), 0x400000u);
    EXPECT_EQ(Rgb(At(with, 5, 5)), 0x404000u);
}

TEST_F(TextureRenderTest, AddressModesWrapByDefaultAndClampWhenAsked)
{
    IDirect3DTexture9* texture = MakeTexture(2, 1, {0xFFFF0000, 0xFF0000FF});
    ASSERT_NE(texture, nullptr);
    device()->SetTexture(0, texture);
    // u from -1 to 1 over 32 pixels: wrapping repeats the texture twice.
    TexturedScreenVertex quad[] = {{-0.5f, -0.5f, 0.5f, 1, 0xFFFFFFFF, 0, -1, 0},
                                   {31.5f, -0.5f, 0.5f, 1, 0xFFFFFFFF, 0, 1, 0},
                                   {-0.5f, 15.5f, 0.5f, 1, 0xFFFFFFFF, 0, -1, 1},
                                   {31.5f, 15.5f, 0.5f, 1, 0xFFFFFFFF, 0, 1, 1}};
    device()->SetFVF(texturedScreenFvf);
    device()->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(TexturedScreenVertex));
    device()->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    for (auto& vertex : quad)
        vertex.y += 16;
    device()->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(TexturedScreenVertex));
    std::vector<DWORD> pixels = Finish();
    device()->SetTexture(0, nullptr);
    texture->Release();
    ASSERT_FALSE(pixels.empty());
    const UINT wrapRow = 8, clampRow = 24;
    EXPECT_EQ(Rgb(At(pixels, 2, wrapRow)), 0xFF0000u);    // u = -0.9 -> 0.1
    EXPECT_EQ(Rgb(At(pixels, 12, wrapRow)), 0x0000FFu);   // u = -0.2 -> 0.8
    EXPECT_EQ(Rgb(At(pixels, 12, clampRow)), 0xFF0000u);  // clamped to the left texel
    EXPECT_EQ(Rgb(At(pixels, 28, clampRow)), 0x0000FFu);
}

TEST_F(TextureRenderTest, ProjectiveWorldMatrixTexturesPerspectiveCorrect)
{
    // A quad x in [-0.6, 0.4], y in [-0.5, 0.5] through a world matrix that makes w = 1 + x/2,
    // textured with four texels across (u = 0 at the left edge, 1 at the right).
    const float x0 = -0.6f, x1 = 0.4f, a = 0.5f;
    const DWORD texels[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    IDirect3DTexture9* texture = MakeTexture(4, 1, {texels[0], texels[1], texels[2], texels[3]});
    ASSERT_NE(texture, nullptr);
    device()->SetTexture(0, texture);
    device()->SetRenderState(D3DRS_LIGHTING, FALSE);
    device()->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    D3DMATRIX world = Identity();
    world._14 = a;
    device()->SetTransform(D3DTS_WORLD, &world);
    TexturedVertex quad[] = {{x0, 0.5f, 0.5f, 0xFFFFFFFF, 0, 0},
                             {x1, 0.5f, 0.5f, 0xFFFFFFFF, 1, 0},
                             {x0, -0.5f, 0.5f, 0xFFFFFFFF, 0, 1},
                             {x1, -0.5f, 0.5f, 0xFFFFFFFF, 1, 1}};
    device()->SetFVF(texturedFvf);
    ASSERT_EQ(device()->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(TexturedVertex)), D3D_OK);
    std::vector<DWORD> pixels = Finish();
    ASSERT_TRUE(SavePng("perspective.png"));
    device()->SetTexture(0, nullptr);
    texture->Release();
    ASSERT_FALSE(pixels.empty());

    // Texel edge k lies at object x = x0 + k/4, on screen at s = (x/w + 1) * width/2, where
    // Direct3D 9 samples pixel i at s = i. Affine interpolation would put the edges 3 to 5
    // pixels further left.
    const UINT row = backBufferHeight / 2;
    for (int k = 1; k < 4; ++k) {
        float x = x0 + float(k) / 4.0f;
        float screen = (x / (1.0f + a * x) + 1.0f) * float(backBufferWidth) / 2.0f;
        UINT left = UINT(std::floor(screen));
        EXPECT_EQ(Rgb(At(pixels, left, row)), Rgb(texels[k - 1])) << "edge " << k << " at " << screen;
        EXPECT_EQ(Rgb(At(pixels, left + 1, row)), Rgb(texels[k])) << "edge " << k << " at " << screen;
    }
}

}  // namespace
}  // namespace quorvane::tests
