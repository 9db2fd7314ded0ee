// Direct3D features a context may lack (OpenGL ES 3.0 has no provoking-vertex choice, polygon
// modes, base vertex, border addressing, BGRA attributes or reversed 16-bit texel layouts) drawn
// and read back: the same pictures whichever OpenGL the device runs on (QUORVANE_GL).
#include <cstring>

#include "back_buffer.h"
#include "device_test.h"
#include "scene_helpers.h"

namespace quorvane::tests {
namespace {

struct Probe {
    UINT x, y;
    DWORD rgb;
};

class EmulatedFeatureTest : public DeviceTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(DeviceTest::SetUp());
        device()->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        device()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        device()->BeginScene();
    }

    void ExpectProbes(const char* name, const std::vector<Probe>& probes)
    {
        device()->EndScene();
        std::vector<DWORD> pixels = ReadBackBuffer();
        ASSERT_FALSE(pixels.empty()) << name;
        for (const Probe& p : probes)
            EXPECT_EQ(Rgb(At(pixels, p.x, p.y)), p.rgb) << name << " at " << p.x << ", " << p.y;
    }
};

constexpr D3DCOLOR red = 0xFFFF0000, green = 0xFF00FF00, blue = 0xFF0000FF, white = 0xFFFFFFFF;

// Flat shading takes the first vertex of each primitive (for a fan, the first after the centre),
// also when the vertices come from a buffer through a base vertex.
TEST_F(EmulatedFeatureTest, FlatShadingTakesEachPrimitivesFirstVertex)
{
    struct Case {
        const char* name;
        D3DPRIMITIVETYPE type;
        UINT primitives;
        std::vector<ScreenVertex> vertices;
        INT baseVertex;  // < 0: drawn from memory without indices
        std::vector<Probe> probes;
    };
    const std::vector<Case> cases = {
        {"strip",
         D3DPT_TRIANGLESTRIP,
         2,
         {{0, 0, 0.5f, 1, red}, {64, 0, 0.5f, 1, green}, {0, 48, 0.5f, 1, blue}, {64, 48, 0.5f, 1, white}},
         -1,
         {{10, 10, 0xFF0000}, {54, 40, 0x00FF00}}},
        {"fan",
         D3DPT_TRIANGLEFAN,
         2,
         {{0, 0, 0.5f, 1, red}, {64, 0, 0.5f, 1, green}, {64, 48, 0.5f, 1, blue}, {0, 48, 0.5f, 1, white}},
         -1,
         {{54, 10, 0x00FF00}, {10, 40, 0x0000FF}}},
        {"line list",
         D3DPT_LINELIST,
         1,
         {{4, 10, 0.5f, 1, red}, {60, 10, 0.5f, 1, green}},
         -1,
         {{8, 10, 0xFF0000}, {56, 10, 0xFF0000}}},
        {"indexed from vertex 2",
         D3DPT_TRIANGLELIST,
         1,
         {{0, 0, 0.5f, 1, white},
          {0, 0, 0.5f, 1, white},
          {0, 0, 0.5f, 1, blue},
          {64, 0, 0.5f, 1, red},
          {0, 48, 0.5f, 1, green}},
         2,
         {{10, 10, 0x0000FF}, {40, 4, 0x0000FF}, {4, 30, 0x0000FF}}},
    };
    device()->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_FLAT);
    device()->SetFVF(screenFvf);
    for (const Case& c : cases) {
        device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        IDirect3DVertexBuffer9* vertices = nullptr;
        IDirect3DIndexBuffer9* indices = nullptr;
        if (c.baseVertex < 0) {
            ASSERT_EQ(device()->DrawPrimitiveUP(c.type, c.primitives, c.vertices.data(), sizeof(ScreenVertex)), D3D_OK);
        } else {
            ASSERT_EQ(device()->CreateVertexBuffer(UINT(c.vertices.size() * sizeof(ScreenVertex)), 0, screenFvf,
                                                   D3DPOOL_MANAGED, &vertices, nullptr),
                      D3D_OK);
            ASSERT_EQ(device()->CreateIndexBuffer(6, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &indices, nullptr), D3D_OK);
            CopyToBuffer(vertices, c.vertices);
            CopyToBuffer(indices, std::vector<WORD>{0, 1, 2});
            device()->SetStreamSource(0, vertices, 0, sizeof(ScreenVertex));
            device()->SetIndices(indices);
            ASSERT_EQ(device()->DrawIndexedPrimitive(c.type, c.baseVertex, 0, 3, 0, c.primitives), D3D_OK);
            device()->SetStreamSource(0, nullptr, 0, 0);
            device()->SetIndices(nullptr);
            vertices->Release();
            indices->Release();
        }
        ExpectProbes(c.name, c.probes);
        device()->BeginScene();
    }
}

// Wireframe draws a triangle's edges only, point fill its corners only, in the vertex colour
// with its channels in Direct3D's order.
TEST_F(EmulatedFeatureTest, FillModesDrawEdgesOrCorners)
{
    struct Case {
        DWORD fill;
        std::vector<Probe> probes;
    };
    const DWORD colour = 0x123456;
    const std::vector<Case> cases = {
        {D3DFILL_SOLID, {{20, 20, colour}, {30, 10, colour}}},
        {D3DFILL_WIREFRAME, {{20, 20, 0}, {30, 8, colour}, {8, 30, colour}, {8, 8, colour}}},
        {D3DFILL_POINT, {{20, 20, 0}, {30, 8, 0}, {8, 8, colour}, {56, 8, colour}}},
    };
    ScreenVertex triangle[] = {{8, 8, 0.5f, 1, 0xFF000000 | colour},
                               {56, 8, 0.5f, 1, 0xFF000000 | colour},
                               {8, 40, 0.5f, 1, 0xFF000000 | colour}};
    device()->SetFVF(screenFvf);
    for (const Case& c : cases) {
        device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        device()->SetRenderState(D3DRS_FILLMODE, c.fill);
        ASSERT_EQ(device()->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle, sizeof(ScreenVertex)), D3D_OK);
        ExpectProbes(c.fill == D3DFILL_SOLID ? "solid" : c.fill == D3DFILL_POINT ? "point" : "wireframe", c.probes);
        device()->BeginScene();
    }
}

struct TexturedScreenVertex {
    float x, y, z, rhw;
    float u, v;
};
constexpr DWORD texturedScreenFvf = D3DFVF_XYZRHW | D3DFVF_TEX1;

// A 2 x 2 texture over texture coordinates -0.5 to 1.5, point sampled: border addressing shows
// the border colour outside [0, 1] on the axes that have it, the texels inside.
TEST_F(EmulatedFeatureTest, BorderAddressingShowsTheBorderColourOutsideTheTexture)
{
    IDirect3DTexture9* texture = MakeTexture(2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF});
    ASSERT_NE(texture, nullptr);
    struct Case {
        const char* name;
        DWORD u, v;
        std::vector<Probe> probes;
    };
    const std::vector<Case> cases = {
        {"both",
         D3DTADDRESS_BORDER,
         D3DTADDRESS_BORDER,
         {{4, 24, 0x00FFFF}, {32, 2, 0x00FFFF}, {20, 16, 0xFF0000}, {44, 32, 0xFFFFFF}}},
        {"u only", D3DTADDRESS_BORDER, D3DTADDRESS_CLAMP, {{4, 24, 0x00FFFF}, {20, 2, 0xFF0000}, {44, 46, 0xFFFFFF}}},
        {"v only", D3DTADDRESS_CLAMP, D3DTADDRESS_BORDER, {{2, 16, 0xFF0000}, {32, 2, 0x00FFFF}, {62, 32, 0xFFFFFF}}},
    };
    // Corners at pixel edges: -0.5 moves Direct3D's pixel centres onto them.
    TexturedScreenVertex quad[] = {{-0.5f, -0.5f, 0.5f, 1, -0.5f, -0.5f},
                                   {63.5f, -0.5f, 0.5f, 1, 1.5f, -0.5f},
                                   {-0.5f, 47.5f, 0.5f, 1, -0.5f, 1.5f},
                                   {63.5f, 47.5f, 0.5f, 1, 1.5f, 1.5f}};
    device()->SetTexture(0, texture);
    device()->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device()->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device()->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    device()->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    device()->SetSamplerState(0, D3DSAMP_BORDERCOLOR, 0xFF00FFFF);
    device()->SetFVF(texturedScreenFvf);
    for (const Case& c : cases) {
        device()->SetSamplerState(0, D3DSAMP_ADDRESSU, c.u);
        device()->SetSamplerState(0, D3DSAMP_ADDRESSV, c.v);
        ASSERT_EQ(device()->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(TexturedScreenVertex)), D3D_OK);
        ExpectProbes(c.name, c.probes);
        device()->BeginScene();
    }
    device()->SetTexture(0, nullptr);
    texture->Release();
}

// One texel of each 8- and 16-bit format reads as Direct3D defines its channels (missing alpha
// and colour channels as Direct3D fills them), whatever layout the context stores it in.
TEST_F(EmulatedFeatureTest, SmallTexelFormatsReadAsDirect3DDefinesThem)
{
    struct Case {
        D3DFORMAT format;
        DWORD texel;  // the format's bits
        DWORD argb;   // what the sampler reads
    };
    const std::vector<Case> cases = {
        {D3DFMT_R5G6B5, 0xF800, 0xFFFF0000},   {D3DFMT_R5G6B5, 0x07E0, 0xFF00FF00},
        {D3DFMT_X1R5G5B5, 0x001F, 0xFF0000FF}, {D3DFMT_A1R5G5B5, 0x7C00, 0x00FF0000},
        {D3DFMT_A4R4G4B4, 0xF0F0, 0xFF00FF00}, {D3DFMT_L8, 0x80, 0xFF808080},
        {D3DFMT_A8, 0x40, 0x40000000},         {D3DFMT_X8R8G8B8, 0x00336699, 0xFF336699},
    };
    device()->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device()->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device()->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device()->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    // Blended over white, the alpha shows in the colour: white * (1 - a) + colour * a.
    device()->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device()->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device()->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    TexturedScreenVertex quad[] = {{-0.5f, -0.5f, 0.5f, 1, 0, 0},
                                   {7.5f, -0.5f, 0.5f, 1, 1, 0},
                                   {-0.5f, 7.5f, 0.5f, 1, 0, 1},
                                   {7.5f, 7.5f, 0.5f, 1, 1, 1}};
    device()->SetFVF(texturedScreenFvf);
    for (const Case& c : cases) {
        IDirect3DTexture9* texture = nullptr;
        ASSERT_EQ(device()->CreateTexture(1, 1, 1, 0, c.format, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
        D3DLOCKED_RECT locked;
        ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
        const std::size_t bytes = c.format == D3DFMT_X8R8G8B8                      ? 4
                                  : c.format == D3DFMT_L8 || c.format == D3DFMT_A8 ? 1
                                                                                   : 2;
        std::memcpy(locked.pBits, &c.texel, bytes);
        texture->UnlockRect(0);
        device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0);
        device()->SetTexture(0, texture);
        ASSERT_EQ(device()->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(TexturedScreenVertex)), D3D_OK);
        device()->SetTexture(0, nullptr);
        texture->Release();
        // The blend of the expected texel over white, to the nearest 8-bit step.
        DWORD a = c.argb >> 24, expected = 0;
        for (int shift = 0; shift < 24; shift += 8)
            expected |= ((((c.argb >> shift) & 0xFF) * a + 255 * (255 - a) + 127) / 255) << shift;
        device()->EndScene();
        std::vector<DWORD> pixels = ReadBackBuffer();
        ASSERT_FALSE(pixels.empty());
        DWORD got = Rgb(At(pixels, 3, 3));
        for (int shift = 0; shift < 24; shift += 8)
            EXPECT_NEAR(int((got >> shift) & 0xFF), int((expected >> shift) & 0xFF), 1)
                << "format " << c.format << " texel " << std::hex << c.texel;
        device()->BeginScene();
    }
}

// A frame drawn after Present is the frame drawn before it, whatever the display did in the
// device's context while presenting (QUORVANE_HEADLESS_COMPOSE=device leaves a compositor's
// state there): culling by winding, flat shading's vertex and the colour of a vertex without one.
TEST_F(EmulatedFeatureTest, PresentLeavesTheNextFrameAsTheOneBefore)
{
    struct PlainVertex {
        float x, y, z, rhw;
    };
    ScreenVertex front[] = {{0, 0, 0.5f, 1, red}, {64, 0, 0.5f, 1, green}, {0, 48, 0.5f, 1, blue}};
    ScreenVertex back[] = {{64, 48, 0.5f, 1, green}, {64, 0, 0.5f, 1, green}, {0, 48, 0.5f, 1, green}};
    PlainVertex plain[] = {{40, 40, 0.5f, 1}, {63, 40, 0.5f, 1}, {40, 47, 0.5f, 1}};
    std::vector<std::vector<DWORD>> frames;
    device()->EndScene();
    for (int frame = 0; frame < 2; ++frame) {
        device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        device()->BeginScene();
        device()->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
        device()->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_FLAT);
        device()->SetFVF(screenFvf);
        device()->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, front, sizeof(ScreenVertex));
        device()->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, back, sizeof(ScreenVertex));
        device()->SetFVF(D3DFVF_XYZRHW);
        device()->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, plain, sizeof(PlainVertex));
        device()->EndScene();
        frames.push_back(ReadBackBuffer());
        ASSERT_EQ(device()->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    }
    EXPECT_EQ(Rgb(At(frames[0], 10, 10)), 0xFF0000u);
    EXPECT_EQ(Rgb(At(frames[0], 60, 30)), 0u);
    EXPECT_EQ(Rgb(At(frames[0], 45, 42)), 0xFFFFFFu);
    EXPECT_TRUE(frames[0] == frames[1]);
    device()->BeginScene();
}

}  // namespace
}  // namespace quorvane::tests
