// Drawing from buffers and from memory: a system-memory buffer's OpenGL copy follows what is
// written into it, its indices are checked again once they change, and data drawn from memory
// streams correctly however large each draw and however many there are.
#include <vector>

#include "back_buffer.h"
#include "device_test.h"
#include "scene_helpers.h"

namespace quorvane::tests {
namespace {

// Two triangles covering the pixels [x0, x1) x [y0, y1).
std::vector<ScreenVertex> Rect(float x0, float y0, float x1, float y1, D3DCOLOR colour)
{
    x0 -= 0.5f, y0 -= 0.5f, x1 -= 0.5f, y1 -= 0.5f;
    return {{x0, y0, 0.5f, 1, colour}, {x1, y0, 0.5f, 1, colour}, {x0, y1, 0.5f, 1, colour},
            {x0, y1, 0.5f, 1, colour}, {x1, y0, 0.5f, 1, colour}, {x1, y1, 0.5f, 1, colour}};
}

class BufferDrawTest : public DeviceTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(DeviceTest::SetUp());
        device()->SetFVF(screenFvf);
    }

    void BeginFrame()
    {
        device()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        device()->BeginScene();
    }

    std::vector<DWORD> Finish()
    {
        device()->EndScene();
        return ReadBackBuffer();
    }
};

TEST_F(BufferDrawTest, ASystemMemoryVertexBufferDrawsWhatWasLastWrittenIntoIt)
{
    IDirect3DVertexBuffer9* buffer = nullptr;
    std::vector<ScreenVertex> red = Rect(0, 0, 32, 48, 0xFFFF0000);
    ASSERT_EQ(device()->CreateVertexBuffer(UINT(red.size() * sizeof(ScreenVertex)), 0, screenFvf, D3DPOOL_SYSTEMMEM,
                                           &buffer, nullptr),
              D3D_OK);
    CopyToBuffer(buffer, red);
    device()->SetStreamSource(0, buffer, 0, sizeof(ScreenVertex));
    BeginFrame();
    EXPECT_EQ(device()->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2), D3D_OK);
    std::vector<DWORD> first = Finish();

    // A read-only lock changes nothing; a written one moves the rectangle and turns it green.
    void* data = nullptr;
    ASSERT_EQ(buffer->Lock(0, 0, &data, D3DLOCK_READONLY), D3D_OK);
    buffer->Unlock();
    BeginFrame();
    device()->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2);
    std::vector<DWORD> again = Finish();
    CopyToBuffer(buffer, Rect(32, 0, 64, 48, 0xFF00FF00));
    BeginFrame();
    device()->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2);
    std::vector<DWORD> second = Finish();
    device()->SetStreamSource(0, nullptr, 0, 0);
    buffer->Release();
    ASSERT_FALSE(second.empty());
    EXPECT_EQ(Rgb(At(first, 16, 24)), 0xFF0000u);
    EXPECT_EQ(again, first);
    EXPECT_EQ(Rgb(At(second, 16, 24)), 0u);
    EXPECT_EQ(Rgb(At(second, 48, 24)), 0x00FF00u);
}

TEST_F(BufferDrawTest, IndicesWrittenAfterADrawAreCheckedAgain)
{
    std::vector<ScreenVertex> quad = Rect(0, 0, 64, 48, 0xFF0000FF);
    IDirect3DVertexBuffer9* vertices = nullptr;
    IDirect3DIndexBuffer9* indices = nullptr;
    ASSERT_EQ(device()->CreateVertexBuffer(UINT(quad.size() * sizeof(ScreenVertex)), 0, screenFvf, D3DPOOL_SYSTEMMEM,
                                           &vertices, nullptr),
              D3D_OK);
    ASSERT_EQ(device()->CreateIndexBuffer(6 * sizeof(WORD), 0, D3DFMT_INDEX16, D3DPOOL_SYSTEMMEM, &indices, nullptr),
              D3D_OK);
    CopyToBuffer(vertices, quad);
    CopyToBuffer(indices, std::vector<WORD>{0, 1, 2, 3, 4, 5});
    device()->SetStreamSource(0, vertices, 0, sizeof(ScreenVertex));
    device()->SetIndices(indices);
    BeginFrame();
    EXPECT_EQ(device()->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 6, 0, 2), D3D_OK);
    CopyToBuffer(indices, std::vector<WORD>{0, 1, 2, 3, 4, 6});  // vertex 6 does not exist
    EXPECT_EQ(device()->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 6, 0, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 3, 0, 1), D3D_OK);  // the first triangle
    CopyToBuffer(indices, std::vector<WORD>{3, 4, 5, 0, 1, 2});
    EXPECT_EQ(device()->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 6, 0, 2), D3D_OK);
    std::vector<DWORD> pixels = Finish();
    device()->SetStreamSource(0, nullptr, 0, 0);
    device()->SetIndices(nullptr);
    vertices->Release();
    indices->Release();
    ASSERT_FALSE(pixels.empty());
    EXPECT_EQ(Rgb(At(pixels, 60, 44)), 0x0000FFu);
}

TEST_F(BufferDrawTest, DrawsFromMemoryLargerThanTheStreamAndManySmallOnesAllLand)
{
    // Each large draw: 100 000 empty triangles (about 6 MB of vertices), then one rectangle.
    auto largeDraw = [](float x0, D3DCOLOR colour) {
        std::vector<ScreenVertex> vertices(300000, ScreenVertex{0, 0, 0.5f, 1, colour});
        std::vector<ScreenVertex> rect = Rect(x0, 0, x0 + 16, 16, colour);
        vertices.insert(vertices.end(), rect.begin(), rect.end());
        return vertices;
    };
    BeginFrame();
    std::vector<ScreenVertex> first = largeDraw(0, 0xFFFF0000);
    EXPECT_EQ(device()->DrawPrimitiveUP(D3DPT_TRIANGLELIST, UINT(first.size() / 3), first.data(), sizeof(ScreenVertex)),
              D3D_OK);
    std::vector<ScreenVertex> second = largeDraw(16, 0xFF00FF00);
    EXPECT_EQ(
        device()->DrawPrimitiveUP(D3DPT_TRIANGLELIST, UINT(second.size() / 3), second.data(), sizeof(ScreenVertex)),
        D3D_OK);
    // Then a small draw per pixel of a 32 x 32 square, each its own colour.
    for (UINT y = 0; y < 32; ++y) {
        for (UINT x = 0; x < 32; ++x) {
            std::vector<ScreenVertex> pixel = Rect(float(32 + x), float(16 + y), float(33 + x), float(17 + y),
                                                   0xFF000000 | (x * 8) << 16 | (y * 8) << 8 | 0x80);
            device()->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, pixel.data(), sizeof(ScreenVertex));
        }
    }
    std::vector<DWORD> pixels = Finish();
    ASSERT_FALSE(pixels.empty());
    EXPECT_EQ(Rgb(At(pixels, 8, 8)), 0xFF0000u);
    EXPECT_EQ(Rgb(At(pixels, 24, 8)), 0x00FF00u);
    for (UINT y = 0; y < 32; ++y)
        for (UINT x = 0; x < 32; ++x)
            ASSERT_EQ(Rgb(At(pixels, 32 + x, 16 + y)), (x * 8) << 16 | (y * 8) << 8 | 0x80u) << x << ", " << y;
}

}  // namespace
}  // namespace quorvane::tests
