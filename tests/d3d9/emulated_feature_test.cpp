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

struct TexturedScreenVertex {
    float x, y, z, rhw;
    float u, v;
};
constexpr DWORD texturedFvf = D3DFVF_XYZRHW | D3DFVF_TEX1;

class EmulatedFeatureTest : public DeviceTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(DeviceTest::SetUp());
        device()->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    }

    // Runs `draw` on a cleared frame and checks the probes.
    template <class Draw>
    void ExpectProbes(const std::string& name, const std::vector<Probe>& probes, D3DCOLOR clear, Draw draw)
    {
        device()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clear, 1.0f, 0);
        device()->BeginScene();
        draw();
        device()->EndScene();
        std::vector<DWORD> pixels = ReadBackBuffer();
        ASSERT_FALSE(pixels.empty()) << name;
        for (const Probe& p : probes)
            EXPECT_EQ(Rgb(At(pixels, p.x, p.y)), p.rgb) << name << " at " << p.x << ", " << p.y;
    }
};

constexpr D3DCOLOR red = 0xFFFF0000, green = 0xFF00FF00, blue = 0xFF0000FF, white = 0xFFFFFFFF, odd = 0xFF123456;

// Flat shading takes the first vertex of each primitive (for a fan, the first after the centre),
// also through a base vertex; wireframe draws a triangle's edges, point fill its corners, in the
// vertex colour with its channels in Direct3D's order.
TEST_F(EmulatedFeatureTest, FlatShadingAndFillModesDrawAsDirect3DDoes)
{
    struct Case {
        const char* name;
        D3DPRIMITIVETYPE type;
        UINT primitives;
        DWORD shade, fill;
        std::vector<ScreenVertex> vertices;
        INT baseVertex;  // < 0: drawn from memory without indices
        std::vector<Probe> probes;
    };
    const std::vector<ScreenVertex> quad = {
        {0, 0, 0.5f, 1, red}, {64, 0, 0.5f, 1, green}, {0, 48, 0.5f, 1, blue}, {64, 48, 0.5f, 1, white}};
    const std::vector<ScreenVertex> fan = {quad[0], quad[1], quad[3], quad[2]};
    const std::vector<ScreenVertex> triangle = {{8, 8, 0.5f, 1, odd}, {56, 8, 0.5f, 1, odd}, {8, 40, 0.5f, 1, odd}};
    // clang-format off
    const std::vector<Case> cases = {
        {"flat strip", D3DPT_TRIANGLESTRIP, 2, D3DSHADE_FLAT, D3DFILL_SOLID, quad, -1, {{10, 10, 0xFF0000}, {54, 40, 0x00FF00}}},
        {"flat fan", D3DPT_TRIANGLEFAN, 2, D3DSHADE_FLAT, D3DFILL_SOLID, fan, -1, {{54, 10, 0x00FF00}, {10, 40, 0xFFFFFF}}},
        {"flat line", D3DPT_LINELIST, 1, D3DSHADE_FLAT, D3DFILL_SOLID, {{4, 10, 0.5f, 1, red}, {60, 10, 0.5f, 1, green}}, -1,
         {{8, 10, 0xFF0000}, {56, 10, 0xFF0000}}},
        {"flat from vertex 2", D3DPT_TRIANGLELIST, 1, D3DSHADE_FLAT, D3DFILL_SOLID, {quad[3], quad[3], quad[2], quad[1], quad[0]}, 2,
         {{4, 40, 0x0000FF}, {56, 2, 0x0000FF}, {10, 10, 0x0000FF}}},
        {"solid", D3DPT_TRIANGLELIST, 1, D3DSHADE_GOURAUD, D3DFILL_SOLID, triangle, -1, {{20, 20, 0x123456}, {30, 10, 0x123456}}},
        {"wireframe", D3DPT_TRIANGLELIST, 1, D3DSHADE_GOURAUD, D3DFILL_WIREFRAME, triangle, 0,
         {{20, 20, 0}, {30, 8, 0x123456}, {8, 30, 0x123456}, {8, 8, 0x123456}}},
        {"point", D3DPT_TRIANGLELIST, 1, D3DSHADE_GOURAUD, D3DFILL_POINT, triangle, -1,
         {{20, 20, 0}, {30, 8, 0}, {8, 8, 0x123456}, {56, 8, 0x123456}}},
    };
    // clang-format on
    device()->SetFVF(screenFvf);
    for (const Case& c : cases) {
        device()->SetRenderState(D3DRS_SHADEMODE, c.shade);
        device()->SetRenderState(D3DRS_FILLMODE, c.fill);
        if (c.baseVertex < 0) {
            ExpectProbes(c.name, c.probes, 0xFF000000, [&] {
                EXPECT_EQ(device()->DrawPrimitiveUP(c.type, c.primitives, c.vertices.data(), sizeof(ScreenVertex)),
                          D3D_OK);
            });
            continue;
        }
        IDirect3DVertexBuffer9* vertices = nullptr;
        IDirect3DIndexBuffer9* indices = nullptr;
        ASSERT_EQ(device()->CreateVertexBuffer(UINT(c.vertices.size() * sizeof(ScreenVertex)), 0, screenFvf,
                                               D3DPOOL_MANAGED, &vertices, nullptr),
                  D3D_OK);
        ASSERT_EQ(device()->CreateIndexBuffer(6, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &indices, nullptr), D3D_OK);
        CopyToBuffer(vertices, c.vertices);
        CopyToBuffer(indices, std::vector<WORD>{0, 1, 2});
        device()->SetStreamSource(0, vertices, 0, sizeof(ScreenVertex));
        device()->SetIndices(indices);
        ExpectProbes(c.name, c.probes, 0xFF000000, [&] {
            EXPECT_EQ(device()->DrawIndexedPrimitive(c.type, c.baseVertex, 0, 3, 0, c.primitives), D3D_OK);
        });
        device()->SetStreamSource(0, nullptr, 0, 0);
        device()->SetIndices(nullptr);
        vertices->Release();
        indices->Release();
    }
}

// A 2 x 2 texture over texture coordinates -0.5 to 1.5, point sampled: border addressing shows
// the border colour (cyan) outside [0, 1] on the axes that have it, the texels inside.
TEST_F(EmulatedFeatureTest, BorderAddressingShowsTheBorderColourOutsideTheTexture)
{
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
        {"u", D3DTADDRESS_BORDER, D3DTADDRESS_CLAMP, {{4, 24, 0x00FFFF}, {20, 2, 0xFF0000}, {44, 46, 0xFFFFFF}}},
        {"v", D3DTADDRESS_CLAMP, D3DTADDRESS_BORDER, {{2, 16, 0xFF0000}, {32, 2, 0x00FFFF}, {62, 32, 0xFFFFFF}}},
    };
    IDirect3DTexture9* texture = MakeTexture(2, 2, {red, green, blue, white});
    ASSERT_NE(texture, nullptr);
    // Corners at pixel edges: -0.5 moves Direct3D's pixel centres onto them.
    const TexturedScreenVertex quad[] = {{-0.5f, -0.5f, 0.5f, 1, -0.5f, -0.5f},
                                         {63.5f, -0.5f, 0.5f, 1, 1.5f, -0.5f},
                                         {-0.5f, 47.5f, 0.5f, 1, -0.5f, 1.5f},
                                         {63.5f, 47.5f, 0.5f, 1, 1.5f, 1.5f}};
    device()->SetTexture(0, texture);
    device()->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device()->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    device()->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    device()->SetSamplerState(0, D3DSAMP_BORDERCOLOR, 0xFF00FFFF);
    device()->SetFVF(texturedFvf);
    for (const Case& c : cases) {
        device()->SetSamplerState(0, D3DSAMP_ADDRESSU, c.u);
        device()->SetSamplerState(0, D3DSAMP_ADDRESSV, c.v);
        ExpectProbes(c.name, c.probes, 0xFF000000,
                     [&] { device()->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(TexturedScreenVertex)); });
    }
    device()->SetTexture(0, nullptr);
    texture->Release();
}

// One texel of each 8- and 16-bit format reads as Direct3D defines its channels, whatever layout
// the context stores it in; blended over white, its alpha shows in the colour.
TEST_F(EmulatedFeatureTest, SmallTexelFormatsReadAsDirect3DDefinesThem)
{
    struct Case {
        D3DFORMAT format;
        WORD texel;  // the format's bits
        DWORD rgb;   // over white
    };
    const std::vector<Case> cases = {
        {D3DFMT_R5G6B5, 0xF800, 0xFF0000},   {D3DFMT_R5G6B5, 0x07E0, 0x00FF00},   {D3DFMT_X1R5G5B5, 0x001F, 0x0000FF},
        {D3DFMT_A1R5G5B5, 0x7C00, 0xFFFFFF}, {D3DFMT_A4R4G4B4, 0xF0F0, 0x00FF00}, {D3DFMT_A4R4G4B4, 0x80F0, 0x77FF77},
        {D3DFMT_L8, 0x80, 0x808080},         {D3DFMT_A8, 0x40, 0xBFBFBF},
    };
    const TexturedScreenVertex quad[] = {{-0.5f, -0.5f, 0.5f, 1, 0, 0},
                                         {7.5f, -0.5f, 0.5f, 1, 1, 0},
                                         {-0.5f, 7.5f, 0.5f, 1, 0, 1},
                                         {7.5f, 7.5f, 0.5f, 1, 1, 1}};
    device()->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device()->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device()->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device()->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device()->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device()->SetFVF(texturedFvf);
    for (const Case& c : cases) {
        IDirect3DTexture9* texture = nullptr;
        ASSERT_EQ(device()->CreateTexture(1, 1, 1, 0, c.format, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
        D3DLOCKED_RECT locked;
        ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
        std::memcpy(locked.pBits, &c.texel, c.format == D3DFMT_L8 || c.format == D3DFMT_A8 ? 1 : 2);
        texture->UnlockRect(0);
        device()->SetTexture(0, texture);
        ExpectProbes("format " + std::to_string(c.format) + " texel " + std::to_string(c.texel), {{3, 3, c.rgb}},
                     0xFFFFFFFF,
                     [&] { device()->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(TexturedScreenVertex)); });
        device()->SetTexture(0, nullptr);
        texture->Release();
    }
}

// A frame drawn after Present is the frame drawn before it, whatever the display did in the
// device's context while presenting (QUORVANE_HEADLESS_COMPOSE=device leaves a compositor's
// state there): culling by winding, flat shading's vertex and the colour of a vertex without one.
TEST_F(EmulatedFeatureTest, PresentLeavesTheNextFrameAsTheOneBefore)
{
    const ScreenVertex front[] = {{0, 0, 0.5f, 1, red}, {64, 0, 0.5f, 1, green}, {0, 48, 0.5f, 1, blue}};
    const ScreenVertex back[] = {{64, 48, 0.5f, 1, green}, {64, 0, 0.5f, 1, green}, {0, 48, 0.5f, 1, green}};
    const float plain[3][4] = {{40, 40, 0.5f, 1}, {63, 40, 0.5f, 1}, {40, 47, 0.5f, 1}};
    device()->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    device()->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_FLAT);
    for (int frame = 0; frame < 2; ++frame) {
        ExpectProbes("frame " + std::to_string(frame), {{10, 10, 0xFF0000}, {60, 30, 0}, {45, 42, 0xFFFFFF}},
                     0xFF000000, [&] {
                         device()->SetFVF(screenFvf);
                         device()->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, front, sizeof(ScreenVertex));
                         device()->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, back, sizeof(ScreenVertex));
                         device()->SetFVF(D3DFVF_XYZRHW);
                         device()->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, plain, sizeof plain[0]);
                     });
        ASSERT_EQ(device()->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    }
}

}  // namespace
}  // namespace quorvane::tests
